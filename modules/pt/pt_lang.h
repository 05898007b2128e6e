// The European Portuguese module (libVXN_lang_pt.so): the Portuguese tables
// and rules of the European module kit, and the entries the analyzer looks
// up by name.
#ifndef PT_LANG_H
#define PT_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language pt_language;

extern "C" {
VXN_EXPORT void* initialize_g2p_ptPT_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_ptPT(void* voice);
}

#endif
