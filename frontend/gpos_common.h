// Function-word classes ("gpos") and content-word counts on words. A class
// table lists class names with their words; words in no list are "content".
// Language-independent versions read the voice feature "gpos_table"; the
// English versions live in en/en_gpos. Tables are constant; stateless.
#ifndef GPOS_COMMON_H
#define GPOS_COMMON_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

struct kvap_gpos_class {
  const char* name;
  const char* const* words;  // null-terminated
};

// Class of word in table (ended by a null name), or "content".
VXN_EXPORT const char* gpos_lookup(const kvap_gpos_class* table, const char* word);
// Feature function: class from the voice's "gpos_table" (userdata), else "content".
VXN_EXPORT const cst_val* gpos(const cst_item* word);

// Counts of content words in the word's phrase. With includeSelf the word
// itself counts (English); with walkAll a distance counts the words walked
// even when no content word is found (English), otherwise it is 0.
int gpos_content_words(const cst_item* word, bool forward, bool includeSelf);
int gpos_content_distance(const cst_item* word, bool forward, bool walkAll);

// Registers "gpos", "content_words_in", "content_words_out",
// "lisp_distance_to_p_content", "lisp_distance_to_n_content".
VXN_EXPORT void ff_register_gpos(cst_features* ffunctions);

}  // extern "C"

#endif
