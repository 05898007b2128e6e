// Phrasing of the chain: break-type tests on words, the phrasing modules that
// build the Phrase relation (trivial, punctuation, phonetic, tree-driven) with
// the default choice among them, and pause insertion at utterance and phrase
// boundaries and at annotated pause marks.
// Stateless; one thread per utterance.
#ifndef PHRASING_COMMON_H
#define PHRASING_COMMON_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

// Break names: "BB" big break, "B" minor break, "NB" no break.
VXN_EXPORT const char* post_punc_break_type(const cst_item* word);
VXN_EXPORT const char* pre_punc_break_type(const cst_item* word);

// Phrase tests (feature-function form, the answer lives on the phrase item):
// the last punctuation character of the token of the phrase's last word ("" when
// none), and the prepunctuation of the token of its first word.
VXN_EXPORT const cst_val* phrase_punc(const cst_item* phrase);
VXN_EXPORT const cst_val* phrase_prepunc(const cst_item* phrase);

VXN_EXPORT cst_utterance* trivial_phrasing(cst_utterance* u);
VXN_EXPORT cst_utterance* punctuation_phrasing(cst_utterance* u);
VXN_EXPORT cst_utterance* phonetic_phrasing(cst_utterance* u);
VXN_EXPORT cst_utterance* cart_phrasing(cst_utterance* u, const cst_cart* tree);
// Phrases start unnamed; at the last word of a token the phrase closes with
// the next word's prepunctuation break, else, when the tree answers 1 for the
// word, with the post-punctuation break ("B" for "NB"). The last phrase is
// named "BB". A null tree closes phrases at prepunctuation only.
VXN_EXPORT cst_utterance* cart_assisted_phrasing(cst_utterance* u, const cst_cart* tree);
// Phonetic phrasing, the voice's "phrasing_func_with_phonetic", cart phrasing
// with "phrasing_cart", or punctuation phrasing, in that order of preference.
extern "C++" VXN_EXPORT cst_utterance* default_phrasing(cst_utterance* u);

extern "C++" VXN_EXPORT cst_utterance* default_pause_insertion(cst_utterance* u);
VXN_EXPORT cst_utterance* default_transparent_pause_insertion(cst_utterance* u);

}  // extern "C"

#endif
