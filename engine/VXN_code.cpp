#include "engine/VXN_code.h"

// The package format reader is not built yet: the call sites in the facade are
// in place and report that nothing was loaded.

CVxnCode::CVxnCode() {}
CVxnCode::~CVxnCode() {}

int CVxnCode::VXN_Code_load_question_from_fn(char* qt_path, char* pt_path) {
  (void)qt_path;
  (void)pt_path;
  return 1;
}

int CVxnCode::VXN_Code_load_parameter_from_fn(VXN_Engine* engine, char* am_path, char* dt_path,
                                             int n) {
  (void)engine;
  (void)am_path;
  (void)dt_path;
  (void)n;
  VXN_print(VXN_LEVEL_INFO, "Model package contents are not loaded by this build\n");
  return 1;
}
