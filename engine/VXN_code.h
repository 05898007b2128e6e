// Model package reader: loads the four files of a voice (.qt question names,
// .pt patterns, .am acoustic model, .dt decision trees) into the engine's
// model set. One reader lives for the duration of one initialisation; it owns
// the two descrambled string tables until the parameter files are loaded.
#ifndef VXN_CODE_H
#define VXN_CODE_H

#include "engine/VXN_engine.h"

class CVxnCode {
 public:
  CVxnCode();
  ~CVxnCode();
  CVxnCode(const CVxnCode&) = delete;
  CVxnCode& operator=(const CVxnCode&) = delete;

  // Both return 1 when the files were read and accepted, 0 otherwise (the
  // reason has been printed). On 0 the model set holds nothing.
  int VXN_Code_load_question_from_fn(char* qt_path, char* pt_path);
  int VXN_Code_load_parameter_from_fn(VXN_Engine* engine, char* am_path, char* dt_path, int n);
};

#endif
