#include "frontend/kvap_debug.h"

#include <string.h>

void item_add_debug_tag(cst_item* item, const char* feature, const char* tag) {
  if (!item || !feature || !tag) return;
  const cst_val* list = item_feat_present(item, feature) ? item_feat(item, feature) : nullptr;
  for (const cst_val* v = list; v; v = val_cdr(v))
    if (cst_streq(val_string(val_car(v)), tag)) return;
  // Rebuild the list with the tag at the end so the order of application shows.
  cst_val* copy = nullptr;
  for (const cst_val* v = list; v; v = val_cdr(v)) copy = cons_val(string_val(val_string(val_car(v))), copy);
  copy = cons_val(string_val(tag), copy);
  item_set(item, feature, val_reverse(copy));
}

char* item_get_debug_tag_string(const cst_item* item, const char* feature) {
  size_t len = 1;
  const cst_val* list = (item && item_feat_present(item, feature)) ? item_feat(item, feature) : nullptr;
  for (const cst_val* v = list; v; v = val_cdr(v)) len += strlen(val_string(val_car(v))) + 1;
  char* out = cst_alloc(char, len);
  for (const cst_val* v = list; v; v = val_cdr(v)) {
    if (out[0]) strcat(out, " ");
    strcat(out, val_string(val_car(v)));
  }
  return out;
}
