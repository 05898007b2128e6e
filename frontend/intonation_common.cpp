#include "frontend/intonation_common.h"

#include <string.h>

cst_utterance* cart_intonation(cst_utterance* u) {
  if (feat_present(u->features, "no_intonation_accent_model")) return u;
  const cst_cart* accents = feat_present(u->features, "int_cart_accents") ? val_cart(feat_val(u->features, "int_cart_accents")) : nullptr;
  const cst_cart* tones = feat_present(u->features, "int_cart_tones") ? val_cart(feat_val(u->features, "int_cart_tones")) : nullptr;
  for (cst_item* s = relation_head(utt_relation(u, "Syllable")); s; s = item_next(s)) {
    if (accents) {
      const cst_val* a = cart_interpret(s, accents);
      if (strcmp(val_string(a), "NONE") != 0) item_set(s, "accent", a);
    }
    if (tones) {
      const cst_val* t = cart_interpret(s, tones);
      if (strcmp(val_string(t), "NONE") != 0) item_set(s, "endtone", t);
    }
  }
  return u;
}
