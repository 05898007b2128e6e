// The British English module (libVXN_lang_uken.so): the English tables and
// rules of the European module kit with British pronunciations, and the
// entries the analyzer looks up by name.
#ifndef UKEN_LANG_H
#define UKEN_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language uken_language;

extern "C" {
VXN_EXPORT void* initialize_g2p_enGB_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_enGB(void* voice);
}

#endif
