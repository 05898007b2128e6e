// The Swedish module (libVXN_lang_se.so): the Swedish tables and rules of
// the European module kit, and the entries the analyzer looks up by name.
#ifndef SV_LANG_H
#define SV_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language sv_language;

extern "C" {
VXN_EXPORT void* initialize_g2p_svSE_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_svSE(void* voice);
}

#endif
