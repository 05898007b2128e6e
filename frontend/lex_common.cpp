#include "frontend/lex_common.h"

#include <ctype.h>
#include <string.h>

#include "frontend/kvap_debug.h"
#include "frontend/synth_util.h"

namespace {

bool same_phones(const cst_val* a, const cst_val* b) {
  for (; a && b; a = val_cdr(a), b = val_cdr(b))
    if (strcmp(val_string(val_car(a)), val_string(val_car(b))) != 0) return false;
  return !a && !b;
}

}  // namespace

bool lex_in_addenda(const cst_lexicon* lex, const char* word) {
  for (const cst_val* a = lex ? lex->lex_addenda : nullptr; a; a = val_cdr(a)) {
    const cst_val* e = val_car(a);
    if (cst_val_consp(e) && strcmp(val_string(val_car(e)), word) == 0) return true;
  }
  return false;
}

int lex_lookup_variants(const cst_lexicon* lex, const char* word, const char* pos,
                        cst_val** out, const char** tags, int max) {
  static const char* const kTags[] = {"n", "v", "j"};
  int n = 0;
  if (!lex || !word || max < 1) return 0;
  // Run-time addenda (user dictionaries) override the lexicon: entries are
  // lists (word pos phone ...).
  for (const cst_val* a = lex->lex_addenda; a && n < max; a = val_cdr(a)) {
    const cst_val* e = val_car(a);
    if (!cst_val_consp(e) || strcmp(val_string(val_car(e)), word) != 0 || !val_cdr(e)) continue;
    cst_val* copy = nullptr;
    for (const cst_val* p = val_cdr(val_cdr(e)); p; p = val_cdr(p)) copy = cons_val(string_val(val_string(val_car(p))), copy);
    copy = val_reverse(copy);
    bool seen = false;
    for (int k = 0; k < n && !seen; ++k) seen = same_phones(out[k], copy);
    if (seen) {
      delete_val(copy);
      continue;
    }
    const char* entryPos = val_string(val_car(val_cdr(e)));
    out[n] = copy;
    tags[n] = strcmp(entryPos, "nil") == 0 ? "0" : entryPos;
    ++n;
  }
  if (n > 0) return n;
  out[n] = lex_lookup(lex, word, pos, nullptr);
  tags[n] = (pos && pos[0]) ? pos : "0";
  if (!out[n]) return 0;
  ++n;
  for (const char* tag : kTags) {
    if (n >= max) break;
    cst_val* v = lex_lookup(lex, word, tag, nullptr);
    bool seen = !v;
    for (int k = 0; k < n && !seen; ++k) seen = same_phones(out[k], v);
    if (seen) {
      delete_val(v);
      continue;
    }
    out[n] = v;
    tags[n] = tag;
    ++n;
  }
  return n;
}

const char* lex_pos_dict_lookup(const cst_features* f, const char* word) {
  if (!f || !word || !feat_present(f, "lex_pos_dict")) return nullptr;
  const kvap_pos_pair* dict = (const kvap_pos_pair*)val_userdata(feat_val(f, "lex_pos_dict"));
  for (int i = 0; dict && dict[i][0]; ++i)
    if (strcmp(dict[i][0], word) == 0) return dict[i][1];
  return nullptr;
}

cst_utterance* default_pos_tagger(cst_utterance* u) {
  if (!feat_present(u->features, "pos_tagger_cart")) return u;
  const cst_cart* tree = val_cart(feat_val(u->features, "pos_tagger_cart"));
  for (cst_item* w = relation_head(utt_relation(u, "Word")); w; w = item_next(w)) {
    const char* tag = lex_pos_dict_lookup(u->features, item_feat_string(w, "name"));
    if (tag)
      item_set_string(w, "pos", tag);
    else
      item_set(w, "pos", cart_interpret(w, tree));
  }
  return u;
}

namespace {

// Phones of the word's own token when the token carries inline phones and
// this word is its only word; null otherwise.
cst_val* explicit_phones(cst_item* word) {
  cst_item* token = item_parent(item_as(word, "Token"));
  if (!token || !item_feat_present(token, "phones") || item_daughter(token) != item_last_daughter(token))
    return nullptr;
  cst_val* copy = nullptr;
  for (const cst_val* p = item_feat(token, "phones"); p; p = val_cdr(p))
    copy = cons_val(string_val(val_string(val_car(p))), copy);
  return val_reverse(copy);
}

}  // namespace

cst_utterance* default_lexical_insertion(cst_utterance* u) {
  const cst_lexicon* lex = feat_present(u->features, "lexicon") ? val_lexicon(feat_val(u->features, "lexicon")) : nullptr;
  cst_relation* syl = utt_relation_create(u, "Syllable");
  cst_relation* sylstructure = utt_relation_create(u, "SylStructure");
  cst_relation* seg = utt_relation_create(u, "Segment");
  bool filterGlottal = get_param_int(u->features, "kvap.filter_out_glottal_stops", 0) != 0;
  short* choice = utt_variant_choices(u);
  short* count = utt_variant_counts(u);
  int maxVariants = get_param_int(u->features, "kvap.multiple_pronunciations", 0) ? KVAP_MAX_TRANSCRIPTIONS : 1;
  int wordIndex = 0;
  for (cst_item* word = relation_head(utt_relation(u, "Word")); word; word = item_next(word), ++wordIndex) {
    cst_val* phones = explicit_phones(word);
    const char* foundPos = nullptr;
    if (phones) {
      item_set_string(word, "explicit_entry", "1");
      item_add_debug_tag(word, "debug_lex_tags", "explicit");
    } else if (lex) {
      const char* pos = item_feat_present(word, "pos") ? item_feat_string(word, "pos") : nullptr;
      cst_val* variants[KVAP_MAX_TRANSCRIPTIONS];
      const char* tags[KVAP_MAX_TRANSCRIPTIONS];
      int n = lex_lookup_variants(lex, item_feat_string(word, "name"), pos, variants, tags, maxVariants);
      int pick = 0;
      if (choice && wordIndex < KVAP_VARIANT_SLOTS) {
        if (choice[wordIndex] < 0) {
          count[wordIndex] = (short)(n > 0 ? n : 1);
          choice[wordIndex] = 0;
        }
        pick = choice[wordIndex] < n ? choice[wordIndex] : 0;
      }
      item_set_int(word, "word_index", pick);
      if (n > 1) item_add_debug_tag(word, "debug_lex_tags", "variants");
      if (n > 0 && lex_in_addenda(lex, item_feat_string(word, "name"))) item_add_debug_tag(word, "debug_lex_tags", "user");
      for (int k = 0; k < n; ++k) {
        if (k == pick) {
          phones = variants[k];
          foundPos = tags[k];
        } else {
          delete_val(variants[k]);
        }
      }
    }
    if (foundPos) item_set_string(word, "found_pos", foundPos);
    cst_item* ssword = relation_append(sylstructure, word);
    cst_item* sylitem = nullptr;
    cst_item* ssyl = nullptr;
    for (const cst_val* p = phones; p; p = val_cdr(p)) {
      const char* raw = val_string(val_car(p));
      if (filterGlottal && strncmp(raw, "gs", 2) == 0) continue;
      if (!sylitem) {
        sylitem = relation_append(syl, nullptr);
        ssyl = item_add_daughter(ssword, sylitem);
        item_set_string(ssyl, "stress", "0");
      }
      size_t len = strlen(raw);
      char* name = cst_strdup(raw);
      if (len > 1 && isdigit((unsigned char)raw[len - 1])) {
        char stress[2] = {raw[len - 1], '\0'};
        item_set_string(ssyl, "stress", stress);
        name[len - 1] = '\0';
      }
      cst_item* segitem = relation_append(seg, nullptr);
      item_set_string(segitem, "name", name);
      item_set_int(segitem, "align", -1);
      cst_free(name);
      cst_item* inSyl = item_add_daughter(ssyl, segitem);
      if (!val_cdr(p) || (lex && lex->syl_boundary && lex->syl_boundary(inSyl, val_cdr(p)))) sylitem = nullptr;
    }
    delete_val(phones);
  }
  return u;
}
