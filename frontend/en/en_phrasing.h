// English phrasing: the phrasing tree (a big break "BB" after a token with
// punctuation, before "--", at a "break" mark and at the end of the text; "NB"
// otherwise), the word-pair break test and the English phrasing module.
// Constant data and stateless functions.
#ifndef EN_PHRASING_H
#define EN_PHRASING_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

extern "C" {
extern const cst_cart en_phrasing_cart;
}

// Words that open a minor phrase: "unless", "if", "whether" (null-ended).
extern VXN_EXPORT const char* const breaking_words[];

// "B" before a clause-opening word once the phrase has at least two words
// and punctuation lies ahead; "NB" otherwise.
VXN_EXPORT const char* word_break_type(const cst_item* word, int wordsInPhrase);
// Phrases closed by punctuation, prepunctuation and word_break_type.
VXN_EXPORT cst_utterance* en_phrasing(cst_utterance* u);

}  // extern "C"

#endif
