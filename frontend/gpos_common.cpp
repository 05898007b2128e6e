#include "frontend/gpos_common.h"

#include <string.h>

#include "frontend/init_common.h"

const char* gpos_lookup(const kvap_gpos_class* table, const char* word) {
  for (int c = 0; table && table[c].name; ++c)
    for (int k = 0; table[c].words[k]; ++k)
      if (strcmp(table[c].words[k], word) == 0) return table[c].name;
  return "content";
}

const cst_val* gpos(const cst_item* word) {
  cst_utterance* u = item_utt(word);
  const kvap_gpos_class* table = nullptr;
  if (u && feat_present(u->features, "gpos_table"))
    table = (const kvap_gpos_class*)val_userdata(feat_val(u->features, "gpos_table"));
  return kvap_item_string(word, "_gpos", gpos_lookup(table, item_feat_string(word, "name")));
}

namespace {

bool is_content(const cst_item* w) { return strcmp(ffeature_string(w, "gpos"), "content") == 0; }

const int kCountMax = 19;

const cst_val* ff_in(const cst_item* w) { return val_string_n(gpos_content_words(w, false, false)); }
const cst_val* ff_out(const cst_item* w) { return val_string_n(gpos_content_words(w, true, false)); }
const cst_val* ff_p(const cst_item* w) { return val_string_n(gpos_content_distance(w, false, false)); }
const cst_val* ff_n(const cst_item* w) { return val_string_n(gpos_content_distance(w, true, false)); }

}  // namespace

int gpos_content_words(const cst_item* word, bool forward, bool includeSelf) {
  cst_item* self = item_as(word, "Phrase");
  if (!self) return 0;
  int n = (includeSelf && is_content(self)) ? 1 : 0;
  for (cst_item* w = forward ? item_next(self) : item_prev(self); w && n < kCountMax;
       w = forward ? item_next(w) : item_prev(w))
    if (is_content(w)) ++n;
  return n;
}

int gpos_content_distance(const cst_item* word, bool forward, bool walkAll) {
  cst_item* self = item_as(word, "Phrase");
  if (!self) return 0;
  int d = 0;
  for (cst_item* w = forward ? item_next(self) : item_prev(self); w; w = forward ? item_next(w) : item_prev(w)) {
    if (d < kCountMax) ++d;
    if (is_content(w)) return d;
  }
  return walkAll ? d : 0;
}

void ff_register_gpos(cst_features* ff) {
  ff_register(ff, "gpos", gpos);
  ff_register(ff, "content_words_in", ff_in);
  ff_register(ff, "content_words_out", ff_out);
  ff_register(ff, "lisp_distance_to_p_content", ff_p);
  ff_register(ff, "lisp_distance_to_n_content", ff_n);
}
