// Fuzz target: the transducer compiler's parser. Input: source text. Whatever
// compiles must load with the front end's loader and survive a short search.
#include <stdint.h>
#include <stdlib.h>

#include <string>

#include "frontend/wfst_common.h"
#include "tools/wfstc/wfst_compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 14) return 0;
  g_nStatePrint = 3;
  std::string source((const char*)data, size);
  WfstcOutput out;
  std::string error;
  if (!wfstc_compile(source, &out, &error)) {
    if (error.empty()) abort();
    return 0;
  }
  VXN_Wfst fst;
  VXN_Wfst_initialize(&fst);
  if (!VXN_Wfst_load(&fst, out.records.data(), out.records.size(), 0)) abort();
  if (wfst_record_target_final(&fst, 0)) abort();  // the start is never final
  VXN_WfstPath path;
  VXN_WfstResult best;
  VXN_WfstPath_initialize(&path);
  VXN_WfstResult_initialize(&best);
  best.limit = 20000;
  if (wfst_transduce(&fst, 0, 0, "ab 12:30", &path, &best)) VXN_free(wfst_project_io(&fst, &best.path));
  VXN_WfstPath_clear(&path);
  VXN_WfstResult_clear(&best);
  VXN_Wfst_clear(&fst);
  wfstc_c_array(out.records, "fuzz", "fuzz");
  return 0;
}
