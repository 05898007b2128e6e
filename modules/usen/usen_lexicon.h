// The US module's lexicon: Flite's CMU lexicon with the loanwords that
// programme text writes with their accents, each in the reading English
// speakers give it (café and Beyoncé end in "ay", résumé is the noun).
// Words are ISO-8859-15, as the analyzer reads them.
#ifndef USEN_LEXICON_H
#define USEN_LEXICON_H

#include <string>

#include "frontend/kvap_flite.h"

// The shared lexicon (built on first use; never released).
cst_lexicon* usen_lexicon();

// True when `lower` (lower case, ISO-8859-15) has an entry of its own in
// `lex` with its accents: a loanword of the module or a user dictionary word.
bool usen_lexicon_has_accented(const cst_lexicon* lex, const std::string& lower);

// The ISO-8859-15 letters with accents folded to ASCII (é e, ü u, ß ss,
// œ oe, þ th); other bytes unchanged.
std::string usen_fold_accents(const std::string& latin9);

#endif
