// The German module (libVXN_lang_ge.so): the German tables and rules of the
// European module kit, and the entries the analyzer looks up by name.
#ifndef DE_LANG_H
#define DE_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language de_language;

extern "C" {
VXN_EXPORT void* initialize_g2p_deDE_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_deDE(void* voice);
}

#endif
