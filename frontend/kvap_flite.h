// The parts of Flite's utterance model the front end builds on (utterances,
// relations, items, features, values, CART, lexicon, token stream, phone set).
// Flite's own synthesis chain header is deliberately not included: this front
// end defines its own chain functions, which share names with Flite's.
// Owns nothing; Flite's value and feature objects are not thread-safe.
#ifndef KVAP_FLITE_H
#define KVAP_FLITE_H

extern "C" {
#include <cst_alloc.h>
#include <cst_cart.h>
#include <cst_error.h>
#include <cst_features.h>
#include <cst_ffeatures.h>
#include <cst_item.h>
#include <cst_lexicon.h>
#include <cst_lts.h>
#include <cst_phoneset.h>
#include <cst_regex.h>
#include <cst_relation.h>
#include <cst_string.h>
#include <cst_tokenstream.h>
#include <cst_utterance.h>
#include <cst_val.h>
#include <cst_voice.h>
#include <cst_wave.h>

// Flite's standard feature functions (segment, syllable, word, phone features).
void basic_ff_register(cst_features* ffunctions);
}

#include "engine/VXN_misc.h"  // VXN_EXPORT

#endif
