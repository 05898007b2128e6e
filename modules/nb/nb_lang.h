// The Norwegian (Bokmål) module (libVXN_lang_no.so): the Norwegian tables
// and rules of the European module kit, and the entries the analyzer looks up by name.
#ifndef NB_LANG_H
#define NB_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language nb_language;

extern "C" {
VXN_EXPORT void* initialize_g2p_nbNO_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_nbNO(void* voice);
}

#endif
