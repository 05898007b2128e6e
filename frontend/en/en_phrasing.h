// English phrasing tree: a big break "BB" after a token with punctuation,
// before "--", at a "break" mark and at the end of the text; "NB" otherwise.
// Constant data; safe to share between threads.
#ifndef EN_PHRASING_H
#define EN_PHRASING_H

#include "frontend/kvap_flite.h"

extern "C" {
extern const cst_cart en_phrasing_cart;
}

#endif
