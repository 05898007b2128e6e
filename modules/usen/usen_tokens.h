// US English token rules: the words a token of the Token relation is read as.
// Each token is classified in turn as inline phones, a transduced span, money,
// a clock time, a range, a unit expression, an ordinal, a decade, a
// percentage, a fraction or date, a number read in its context (cardinal,
// year, digits, identifier), a version, a Roman numeral, a state, a day or
// month, an abbreviation or acronym, a word, a symbol, or else split into
// subtokens that are read one by one. Numbers, units, letters and
// abbreviations come from the front end's English expansion functions; this
// file only decides which applies. Stateless; one thread per utterance.
#ifndef USEN_TOKENS_H
#define USEN_TOKENS_H

#include "frontend/kvap_flite.h"

// The words of a token (a new list of string values, or of (word . features)
// pairs), the voice's "tokentowords_func".
cst_val* usen_tokentowords(cst_item* token);

#endif
