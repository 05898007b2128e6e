// Intonation of the chain: accents and end tones from the voice's trees
// ("int_cart_accents", "int_cart_tones"). Stateless; one thread per utterance.
#ifndef INTONATION_COMMON_H
#define INTONATION_COMMON_H

#include "frontend/kvap_flite.h"

VXN_EXPORT cst_utterance* cart_intonation(cst_utterance* u);

#endif
