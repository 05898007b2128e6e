// The Brazilian Portuguese module (libVXN_lang_br.so): the Brazilian tables
// and rules of the European module kit, and the entries the analyzer looks
// up by name.
#ifndef BR_LANG_H
#define BR_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language br_language;

extern "C" {
VXN_EXPORT void* initialize_g2p_ptBR_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_ptBR(void* voice);
}

#endif
