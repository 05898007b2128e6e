// Fuzz target: the transducer loader and the search over loaded records.
// Input layout: byte 0 (bits 0-6) mod 33 is the text length n, its bit 7 asks for a
// copying load; bytes 1..n are the text (a NUL ends it early); the rest are
// transition records. A loaded transducer is searched
// with a small step bound and the best path projected three ways; the text's
// mass and split point are computed as well.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "frontend/wfst_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 1 << 16) return 0;
  g_nStatePrint = 3;
  size_t n = (data[0] & 0x7f) % 33;
  if (n > size - 1) n = size - 1;
  std::string text((const char*)data + 1, n);
  text = text.c_str();  // up to the first NUL
  if (text.size() >= 2) {
    size_t cut = wfst_split_point(text.c_str(), text.size());
    if (cut == 0 || cut >= text.size()) abort();
  }
  wfst_str_mass(text.c_str());

  VXN_Wfst fst;
  VXN_Wfst_initialize(&fst);
  if (VXN_Wfst_load(&fst, data + 1 + n, size - 1 - n, data[0] & 0x80)) {
    VXN_WfstPath path;
    VXN_WfstResult best;
    VXN_WfstPath_initialize(&path);
    VXN_WfstResult_initialize(&best);
    best.limit = 20000;
    if (wfst_transduce(&fst, 0, wfst_record_target_final(&fst, 0), text.c_str(), &path, &best)) {
      if (path.count != 0) abort();  // the working path is restored
      VXN_free(wfst_project_output(&fst, &best.path));
      VXN_free(wfst_project_input(&fst, &best.path));
      VXN_free(wfst_project_io(&fst, &best.path));
    }
    VXN_WfstPath_clear(&path);
    VXN_WfstResult_clear(&best);
  }
  VXN_Wfst_clear(&fst);
  return 0;
}
