// English configuration of the token normalisation layer: the word-or-spell
// test with its pronounceability automata, the English acronym lists, the
// explicit expansion tables for abbreviations, product and channel names, and
// the letter spelling and symbol name tables stored as voice features.
// Constant data; stateless and reentrant.
#ifndef EN_NORM_H
#define EN_NORM_H

#include "frontend/norm_common.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

// A letter automaton: a state is an index into trans; its transitions run from
// there to the first zero entry; an entry is symbol + vocab_size * target.
typedef struct {
  unsigned short vocab_size;
  unsigned short num_transitions;
  const unsigned short* trans;
} norm_fsm;

// Onsets read forwards (fsm_aswdP) and codas read backwards (fsm_aswdS), over
// letters mapped n, m -> 'N' and a, e, i, o, u, y -> 'V'.
extern VXN_EXPORT const norm_fsm fsm_aswdP;
extern VXN_EXPORT const norm_fsm fsm_aswdS;
// Target of the transition on symbol from state, or -1.
VXN_EXPORT int norm_fsm_transition(const norm_fsm* fsm, int state, int symbol);

// 1 when s is said as a word, 0 when it is spelled.
VXN_EXPORT int en_aswd(const cst_item* token, const char* s);
// 1 when the lower-case letters `low` start with an English onset followed
// by a vowel (the first half of the word test).
VXN_EXPORT int en_aswd_onset(const char* low);
// Exact member of en_acronym_exceptions or default_acronym_exceptions, or
// lower (s downcased; null: s with ASCII lowered) in the case-insensitive list.
VXN_EXPORT int en_is_acronym(const char* s, const char* lower);
extern VXN_EXPORT const char* const en_acronym_exceptions[];                   // 13, null-terminated
extern VXN_EXPORT const char* const en_case_insensitive_acronym_exceptions[];  // 5, null-terminated

extern VXN_EXPORT const norm_expansion_row en_explicit_expansion_dictionary[];  // 5 rows
extern VXN_EXPORT const norm_expansion_row en_expanded_abbrevs_acronyms[];      // 60 rows
// en_explicit_expansion_dictionary, then en_expanded_abbrevs_acronyms, then
// common_explicit_expansions. Null when no row applies.
VXN_EXPORT cst_val* en_exp_abbrev(cst_item* token, const char* s);

// Spelling and symbol names by byte of ISO-8859-15.
extern VXN_EXPORT const char* const en_spelling_table[256];
extern VXN_EXPORT const char* const en_symbol_name_table[256];
// Stores "spelling_table", "symbol_name_table" and "aswd_func" (en_aswd) in f.
VXN_EXPORT void en_norm_set_features(cst_features* f);

}  // extern "C"

#endif
