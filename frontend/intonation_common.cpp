#include "frontend/intonation_common.h"

#include <string.h>

#include "frontend/phrasing_common.h"

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

namespace {

cst_utterance* mark_end_tones(cst_utterance* u, bool minorPhrases) {
  const char* questionPunc = get_param_string(u->features, "question_punc", "?");
  for (cst_item* p = relation_head(utt_relation(u, "Phrase")); p; p = item_next(p)) {
    cst_item* syl = path_to_item(p, "daughtern.R:SylStructure.daughtern");
    if (!syl) continue;
    bool big = strcmp(item_feat_present(p, "name") ? item_feat_string(p, "name") : "", "BB") == 0;
    const char* tone = "S";
    if (minorPhrases && !big) {
      tone = "P";
    } else if (big) {
      const char* punc = val_string(phrase_punc(p));
      if (punc[0] && strchr(questionPunc, punc[0])) tone = "Q";
    }
    item_set_string(syl, "endtone", tone);
  }
  return u;
}

}  // namespace

cst_utterance* generic_qs_intonation(cst_utterance* u) { return mark_end_tones(u, false); }

cst_utterance* generic_qsp_intonation(cst_utterance* u) { return mark_end_tones(u, true); }
