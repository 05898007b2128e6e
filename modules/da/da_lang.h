// The Danish module (libVXN_lang_dk.so): the Danish tables and rules of
// the European module kit, and the entries the analyzer looks up by name.
#ifndef DA_LANG_H
#define DA_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language da_language;

extern "C" {
VXN_EXPORT void* initialize_g2p_daDK_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_daDK(void* voice);
}

#endif
