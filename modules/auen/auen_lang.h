// The Australian English module (libVXN_lang_auen.so): the English tables and
// rules of the European module kit with Australian pronunciations, and the
// entries the analyzer looks up by name.
#ifndef AUEN_LANG_H
#define AUEN_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language auen_language;

extern "C" {
VXN_EXPORT void* initialize_g2p_enAU_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_enAU(void* voice);
}

// The Australian post-lexical rules: the British ones, then t and d flapped
// (dx) between a vowel and an unstressed reduced vowel (ax, i, ii, u:
// "butter", "city", "got it"), not before a full vowel ("holiday").
cst_utterance* auen_postlex(cst_utterance* u);

#endif
