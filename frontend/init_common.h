// Feature functions every voice of the front end registers: Flite's standard
// set plus the phrase, utterance and distance counts the label writer reads
// (words_out, lisp_num_*_in_phrase, lisp_total_*, lisp_distance_to_*_stress and
// _accent, lisp_syl_yn_question, dist_to_next_punc). Positional counts stop at 19.
// Registration writes into the given feature set; the functions are stateless.
#ifndef INIT_COMMON_H
#define INIT_COMMON_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

VXN_EXPORT void common_ff_register(cst_features* ffunctions);

// A count as a feature value: a shared constant below 20, otherwise a value
// kept on the item under `slot`.
const cst_val* kvap_count_val(const cst_item* item, const char* slot, int n);
// The phrase item of a word (in Phrase or any relation), or null.
cst_item* kvap_word_phrase(const cst_item* word);
// A string answer of a feature function, kept on the item under `slot` so
// that it lives exactly as long as the utterance.
const cst_val* kvap_item_string(const cst_item* item, const char* slot, const char* s);

}  // extern "C"

#endif
