// The French module (libVXN_lang_fr.so): the French tables and rules of the
// European module kit, and the entries the analyzer looks up by name.
#ifndef FR_LANG_H
#define FR_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language fr_language;

// Liaison between the words of an utterance (the module's post-lexical rule).
cst_utterance* fr_liaison(cst_utterance* u);

extern "C" {
VXN_EXPORT void* initialize_g2p_frFR_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_frFR(void* voice);
}

#endif
