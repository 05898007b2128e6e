// Fuzz target: the decision tree file (.dt).
// Input layout: the whole .dt file: sections of a 9-byte header (code word
// 0xEF, kind/stream byte, int32 S) and S bytes of question and tree packets.
// The .qt, .pt and .am files are the reference voice's.
#include "fuzz/fuzz_package_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vxn_fuzz::Package p = vxn_fuzz::reference();
  p.dt.assign(data, data + size);
  vxn_fuzz::load_and_use(p);
  return 0;
}
