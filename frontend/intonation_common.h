// Intonation of the chain: accents and end tones from the voice's trees
// ("int_cart_accents", "int_cart_tones"), or end-tone marks on the last
// syllable of each phrase ("Q" question, "S" statement, "P" minor phrase).
// Stateless; one thread per utterance.
#ifndef INTONATION_COMMON_H
#define INTONATION_COMMON_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

extern "C++" VXN_EXPORT cst_utterance* cart_intonation(cst_utterance* u);
// "endtone" "Q" on the last syllable of a "BB" phrase whose last punctuation
// character is in the voice's "question_punc" (default "?"), else "S".
VXN_EXPORT cst_utterance* generic_qs_intonation(cst_utterance* u);
// As generic_qs_intonation, but phrases not named "BB" get "P".
VXN_EXPORT cst_utterance* generic_qsp_intonation(cst_utterance* u);

}  // extern "C"

#endif
