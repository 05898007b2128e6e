// The Dutch module (libVXN_lang_nl.so): the Dutch tables and rules of the
// European module kit, and the entries the analyzer looks up by name.
#ifndef NL_LANG_H
#define NL_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language nl_language;

extern "C" {
VXN_EXPORT void* initialize_g2p_nlNL_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_nlNL(void* voice);
}

#endif
