// The synthesis chain on the utterance model: utterance initialisation from a
// voice, the twelve-step chain (each step a voice feature or its default), the
// 50 pronunciation-variant slots of an utterance and their enumeration, and
// the first two default steps (encoding conversion, preprocessing).
// Utterances are owned by the caller (delete_utterance); one thread per voice.
// Flite's error jump is process-wide, so chains of different threads run one
// at a time.
#ifndef SYNTH_UTIL_H
#define SYNTH_UTIL_H

#include <setjmp.h>

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

enum { KVAP_VARIANT_SLOTS = 50 };

// Chosen alternative per slot (-1 undecided) and number of alternatives per
// slot; both arrays have KVAP_VARIANT_SLOTS entries and live as long as the
// utterance. Null when the utterance has no slots.
VXN_EXPORT short* utt_variant_choices(const cst_utterance* u);
VXN_EXPORT short* utt_variant_counts(const cst_utterance* u);
// Gives u fresh slots (previous null) or the slots of previous advanced by one
// step of the mixed-radix counter. False when previous was the last variant.
VXN_EXPORT bool utt_variants_advance(cst_utterance* u, const cst_utterance* previous);

// Copies the voice's features and feature functions into u and calls the
// voice's initialisation hook; returns u (or what the hook returns).
extern "C++" VXN_EXPORT cst_utterance* utt_init(cst_utterance* u, cst_voice* voice);
// Runs all twelve steps (utt_synth) or the first four (utt_norm). Returns u, or
// null when a step fails or Flite raises an error; u is then not deleted.
extern "C++" VXN_EXPORT cst_utterance* utt_synth(cst_utterance* u);
VXN_EXPORT cst_utterance* utt_norm(cst_utterance* u);
// New utterance for text with the variant after previous (first variant when
// previous is null), initialised with voice and run through the chain. Null
// when previous was the last variant or the chain failed.
extern "C++" VXN_EXPORT cst_utterance* flite_synth_text(const char* text, cst_voice* voice, cst_utterance* previous);
VXN_EXPORT cst_utterance* flite_norm_text(const char* text, cst_voice* voice, cst_utterance* previous);

// Default steps 1 and 2 (they work on the utterance feature "input_text").
VXN_EXPORT cst_utterance* default_convert_encoding(cst_utterance* u);
VXN_EXPORT cst_utterance* default_preprocessing(cst_utterance* u);

// Voice feature lookup helpers: the uttfunc stored under name, or null.
cst_uttfunc kvap_feature_uttfunc(const cst_features* f, const char* name);
// The error jump of the utterance chain running on this thread, or null
// outside a chain.
jmp_buf* kvap_chain_jump(void);

}  // extern "C"

#endif
