// Editing of the syllable structure after lexical insertion: phones inserted,
// removed and moved between syllables, syllables merged, words resyllabified,
// stress cleared or fixed, and the nucleus tests these edits rely on. Every
// operation keeps the Segment, SylStructure and Syllable relations consistent:
// a phone is in Segment and under its syllable, a syllable with no phones is
// deleted from both SylStructure and Syllable. Stateless; one thread per utterance.
#ifndef SYLSTRUCT_COMMON_H
#define SYLSTRUCT_COMMON_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

// A phone test: true when the phone name is a syllable nucleus. Stored in a
// voice as "syl_nucleus_func" with the value type "phonefunc".
typedef bool (*kvap_phonefunc)(const char* phone);
extern const int cst_val_type_phonefunc;
VXN_EXPORT cst_val* phonefunc_val(kvap_phonefunc f);
// The function of a "phonefunc" value; null for any other value.
VXN_EXPORT kvap_phonefunc val_phonefunc(const cst_val* v);

// Nucleus tests. default_is_syl_nucleus: the name starts with one of
// "aeiouy@". generic_is_syl_nucleus: the voice's "syl_nucleus_func" of u when
// present (u may be null), else the default.
VXN_EXPORT bool default_is_syl_nucleus(const char* phone);
VXN_EXPORT bool generic_is_syl_nucleus(const cst_utterance* u, const char* phone);
// True when some name in the list of phone names is a nucleus.
VXN_EXPORT bool has_nucleus_in_list(const cst_utterance* u, const cst_val* phones);
// True when a phone of the segment's syllable up to and including the segment
// is a nucleus (the test syllable-boundary functions ask while building).
VXN_EXPORT bool has_vowel_in_syl(const cst_item* segment);
// True when some phone of the syllable is a nucleus.
VXN_EXPORT bool ssyl_has_nucleus(const cst_item* syllable);
// The segment is the first / last phone of its word.
VXN_EXPORT bool is_word_initial(const cst_item* segment);
VXN_EXPORT bool is_word_final(const cst_item* segment);
// The word's token carries inline phones ("phones" on the token).
VXN_EXPORT bool has_token_pronunciation(const cst_item* word);

// New segment named `name` after / before `segment`, in Segment and in the
// same syllable of SylStructure. Returns the new item (in Segment).
VXN_EXPORT cst_item* append_phoneme(cst_item* segment, const char* name);
VXN_EXPORT cst_item* prepend_phoneme(cst_item* segment, const char* name);
// Deletes the segment from Segment and SylStructure (a syllable left empty is
// deleted as well).
VXN_EXPORT void remove_phoneme_unchecked(cst_item* segment);
// Deletes the segment; when it was the nucleus and its syllable has a
// previous syllable in the same word, the rest of the syllable joins that one.
VXN_EXPORT void remove_phoneme(cst_item* segment);
// As remove_phoneme, but the previous syllable may end the previous word
// (not across a pause segment).
VXN_EXPORT void remove_phoneme_merge_across_words(cst_item* segment);
// Removes the nucleus and merges the rest of its syllable with the
// neighbouring syllables of the word (both, next only, previous only).
VXN_EXPORT void remove_syllable_nucleus(cst_item* segment);
// Moves every phone of the syllable to the previous / next syllable of its
// word and deletes it; the "endtone" moves to the previous syllable. False
// (nothing changed) when there is no such syllable.
VXN_EXPORT bool merge_syllable_with_previous(cst_item* syllable);
VXN_EXPORT bool merge_syllable_with_next(cst_item* syllable);
// Phones after the nucleus go to the next syllable, phones before it to the
// previous one; the syllable and the nucleus are deleted. False when a
// neighbour is missing or nucleus is not a phone of the syllable.
VXN_EXPORT bool merge_syllable_with_neighbors(cst_item* syllable, cst_item* nucleus);
// Regroups the word's phones into syllables with the lexicon's boundary test
// (voice feature "lexicon"), adding a syllable after the last when needed and
// deleting syllables left empty. False when there is no boundary test.
VXN_EXPORT bool resyllabify_word(cst_item* word);
// The word's phone names in order (a new list, free with delete_val).
VXN_EXPORT cst_val* get_word_phones(const cst_item* word);
VXN_EXPORT int stressed_syl_count(const cst_item* word);
// Sets every syllable's stress to "0".
VXN_EXPORT void remove_word_stress(cst_item* word);
// Keeps the last stressed syllable of the word and sets every earlier
// non-zero stress to "0".
VXN_EXPORT void acronym_fix_stress(cst_item* word);
// Default lexical insertion, then acronym_fix_stress on every word with the
// feature "acronym".
VXN_EXPORT cst_utterance* lexical_insertion_with_acronym_stress(cst_utterance* u);

}  // extern "C"

#endif
