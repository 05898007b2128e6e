// Lexicon access of the front end: all transcriptions the lexicon holds for a
// word (pronunciation variants), the part-of-speech dictionary kept beside the
// lexicon, default tagging and default lexical insertion (syllables, stress,
// segments). The lexicon itself belongs to the voice (feature "lexicon").
// Stateless; one thread per utterance.
#ifndef LEX_COMMON_H
#define LEX_COMMON_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

enum { KVAP_MAX_TRANSCRIPTIONS = 8 };

// The exact-name part-of-speech dictionary: pairs of word and tag, ended by a
// pair of nulls. Stored as the voice feature "lex_pos_dict" (userdata).
typedef const char* const kvap_pos_pair[2];

// Distinct transcriptions of word (those of the run-time addenda alone when
// the word is there) (phone lists with stress digits, to be freed
// with delete_val), the one for `pos` first, then those for the tags n, v, j.
// Writes the tag each came from into tags (static strings). Returns the count.
VXN_EXPORT int lex_lookup_variants(const cst_lexicon* lex, const char* word, const char* pos,
                                   cst_val** out, const char** tags, int max);
// True when the lexicon's run-time addenda hold the word.
VXN_EXPORT bool lex_in_addenda(const cst_lexicon* lex, const char* word);
// Tag of word in the dictionary, or null.
VXN_EXPORT const char* lex_pos_dict_lookup(const cst_features* f, const char* word);

extern "C++" VXN_EXPORT cst_utterance* default_pos_tagger(cst_utterance* u);
extern "C++" VXN_EXPORT cst_utterance* default_lexical_insertion(cst_utterance* u);

}  // extern "C"

#endif
