// The Finnish module (libVXN_lang_fi.so): the Finnish tables and rules of
// the European module kit, and the entries the analyzer looks up by name.
#ifndef FI_LANG_H
#define FI_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language fi_language;

extern "C" {
VXN_EXPORT void* initialize_g2p_fiFI_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_fiFI(void* voice);
}

#endif
