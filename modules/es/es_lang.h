// The Spanish module (libVXN_lang_es.so): the Spanish tables and rules of the
// European module kit, and the entries the analyzer looks up by name.
#ifndef ES_LANG_H
#define ES_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language es_language;

extern "C" {
VXN_EXPORT void* initialize_g2p_esES_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_esES(void* voice);
}

#endif
