// English post-lexical rules on the syllable structure: non-rhotic r removal,
// the possessive and contracted endings ('s, 've, 'll, 'd) and, for US English,
// "the" before a vowel. Every edit goes through the syllable-editing
// operations, so Segment and SylStructure stay consistent; edits are tagged in
// "debug_postlex_tags" of the syllable and its word. Stateless; one thread per utterance.
#ifndef EN_POSTLEX_H
#define EN_POSTLEX_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

// Removes a syllable-final "r" not followed by a vowel (tag "-r"), except in
// the word "r".
VXN_EXPORT cst_utterance* remove_r(cst_utterance* u);
// 's: the phone `schwa` before it after a sibilant (tag "+ax"), else "s"
// after a voiceless phone (tag "devoi_'s"); 've, 'll, 'd: `schwa` before them
// after a consonant (tag "+ax"). Needs the voice's "phoneset".
VXN_EXPORT cst_utterance* apostrophe_s(cst_utterance* utterance, const char* schwa);
// The vowel `reduced` of "the" becomes `full` before a vowel (tag "the_iy").
VXN_EXPORT cst_utterance* the_before_vowel(cst_utterance* u, const char* reduced, const char* full);
// The US English "postlex_func": apostrophe_s with "ax", then
// the_before_vowel from "ax" to "iy".
VXN_EXPORT cst_utterance* en_postlex(cst_utterance* u);

}  // extern "C"

#endif
