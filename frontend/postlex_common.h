// Post-lexical step of the chain: runs the voice's "postlex_func" unless the
// option "kvap.no_postlex" is set. Stateless; one thread per utterance.
#ifndef POSTLEX_COMMON_H
#define POSTLEX_COMMON_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

VXN_EXPORT cst_utterance* generic_postlex(cst_utterance* u);

}  // extern "C"

#endif
