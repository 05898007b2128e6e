// Debug tags on items: short lists of strings kept in an item feature, used to
// show which lexicon and post-lexical rules touched a word (debug table).
// Owns nothing beyond the feature values it stores on the item; one thread.
#ifndef KVAP_DEBUG_H
#define KVAP_DEBUG_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

// Appends tag to the list in the item's feature (created when absent) unless
// an equal tag is already there.
VXN_EXPORT void item_add_debug_tag(cst_item* item, const char* feature, const char* tag);
// The tags joined by single spaces, in a new string the caller frees with
// cst_free; "" when there are none.
VXN_EXPORT char* item_get_debug_tag_string(const cst_item* item, const char* feature);

}  // extern "C"

#endif
