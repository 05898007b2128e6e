// Extended voice options: (name, value) pairs stored as string features of a
// voice (keys beginning with "kvap."), and their application: user lexicon
// addenda, voice selection through "setvoice_func", and the input conversion
// handle "iconv_handler" (closed by common_deinit). One thread per voice.
#ifndef KVAP_OPTS_H
#define KVAP_OPTS_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

// A null-terminated array of pointers to two strings (name, value).
typedef char** kvap_option;

typedef void (*kvap_setvoice_func)(const char* name);
// Value for the voice feature "setvoice_func" (kept as userdata pointing at a
// static descriptor that holds the function).
struct kvap_setvoice {
  const char* tag;  // must be kvap_setvoice_tag
  kvap_setvoice_func fn;
};
extern const char kvap_setvoice_tag[];

VXN_EXPORT void set_ext_options(cst_voice* voice, kvap_option* options);
VXN_EXPORT void apply_ext_options(cst_voice* voice);
VXN_EXPORT void common_deinit(cst_voice* voice);
// Loads a lexicon addenda file in front of the voice lexicon's addenda.
extern "C++" VXN_EXPORT cst_lexicon* flite_voice_add_lex_addenda(cst_voice* voice, const char* path);

}  // extern "C"

#endif
