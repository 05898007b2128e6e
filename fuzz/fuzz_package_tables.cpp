// Fuzz target: the string tables (.qt question names, .pt patterns).
// Input layout: byte 0 selects the table (even: .qt, odd: .pt); the rest is
// that file, header (uint16 N, uint16 M) and scrambled entries. The other
// three files come from the reference voice.
#include "fuzz/fuzz_package_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  vxn_fuzz::Package p = vxn_fuzz::reference();
  (data[0] & 1 ? p.pt : p.qt) = vxn_fuzz::Bytes(data + 1, data + size);
  vxn_fuzz::load_and_use(p);
  return 0;
}
