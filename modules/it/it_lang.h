// The Italian module (libVXN_lang_it.so): the Italian tables and rules of the
// European module kit, and the entries the analyzer looks up by name.
#ifndef IT_LANG_H
#define IT_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language it_language;

extern "C" {
VXN_EXPORT void* initialize_g2p_itIT_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_itIT(void* voice);
}

#endif
