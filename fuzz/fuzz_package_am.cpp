// Fuzz target: the acoustic model file (.am).
// Input layout: the whole .am file: sections of a 9-byte header (code word
// 0xEF, kind/stream byte, int32) and a model body (V, pdf counts, K, codebook
// type, codebooks, codes). The .qt, .pt and .dt files are the reference voice's.
#include "fuzz/fuzz_package_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vxn_fuzz::Package p = vxn_fuzz::reference();
  p.am.assign(data, data + size);
  vxn_fuzz::load_and_use(p);
  return 0;
}
