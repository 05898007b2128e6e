// English function-word classes (en_gpos) and the English content-word
// features, whose counts include the word itself and whose distances count the
// words walked even without a content word. Constant tables; stateless.
#ifndef EN_GPOS_H
#define EN_GPOS_H

#include "frontend/gpos_common.h"
#include "frontend/lex_common.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

extern VXN_EXPORT const kvap_gpos_class en_gpos[];
// English part-of-speech dictionary for the default tagger (pairs, null-ended).
extern VXN_EXPORT const kvap_pos_pair en_pos_dict[];

// Feature function: English class of the word, else "content".
VXN_EXPORT const cst_val* en_gpos_ff(const cst_item* word);
// Registers "gpos" and the content-word features with the English versions.
VXN_EXPORT void en_ff_register_gpos(cst_features* ffunctions);

}  // extern "C"

#endif
