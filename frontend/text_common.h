// Default text steps of the chain: tokenization (with inline phones),
// token-to-words analysis, phonetic pause marks, and the utterance break test
// for token streams. They fill the Token and Word relations of an utterance.
// Stateless; one thread per utterance.
#ifndef TEXT_COMMON_H
#define TEXT_COMMON_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

extern "C++" VXN_EXPORT cst_utterance* default_tokenization(cst_utterance* u);
extern "C++" VXN_EXPORT cst_utterance* default_textanalysis(cst_utterance* u);
VXN_EXPORT cst_utterance* default_phonetic_pause_marker(cst_utterance* u);
// True when an utterance ends before `token` (the next token of ts) given the
// tokens read so far.
extern "C++" VXN_EXPORT int default_utt_break(cst_tokenstream* ts, const char* token, cst_relation* tokens);

// Splits an inline pronunciation "word<!p1.p2!>rest" (the bracket not at the
// start, at least one byte inside). On success writes the name (word + rest)
// and the text between the brackets into new strings and returns true.
bool kvap_split_token_phones(const char* token, char** name, char** phones);

}  // extern "C"

#endif
