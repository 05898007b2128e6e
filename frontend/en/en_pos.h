// English part-of-speech tagging: the default tagger (dictionary, then the
// tagging tree) with the English corrections ("live" before "tv" or alone is an
// adjective, a lone "record" a verb, a noun after a modal-like word a verb),
// and the English trees the language modules install as voice features.
// Constant tables; stateless functions; one thread per utterance.
#ifndef EN_POS_H
#define EN_POS_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

extern "C" {
// Trees converted from Flite's US English package (see their source files).
extern const cst_cart en_pos_cart;         // word: "n", "v", "j", "r", "0"
extern const cst_cart en_int_accent_cart;  // syllable: "H*", "!H*", "L+H*", "NONE"
extern const cst_cart en_int_tone_cart;    // syllable: "L-L%", "L-H%", "H-H%", "H-", "NONE"
extern const cst_cart en_nums_cart;        // token: "cardinal", "ordinal", "digits", "year"
}

// Words after which a noun is re-tagged as a verb (null-ended; "to" is
// listed but the rule leaves it out).
extern VXN_EXPORT const char* const eedwords[];

VXN_EXPORT cst_utterance* en_pos_tagger(cst_utterance* u);

}  // extern "C"

#endif
