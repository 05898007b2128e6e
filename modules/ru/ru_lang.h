// The Russian module (libVXN_lang_ru.so): the Russian tables and rules of
// the European module kit, and the entries the analyzer looks up by name.
#ifndef RU_LANG_H
#define RU_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language ru_language;

extern "C" {
VXN_EXPORT void* initialize_g2p_ruRU_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_ruRU(void* voice);
}

#endif
