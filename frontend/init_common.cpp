#include "frontend/init_common.h"

#include <string.h>

namespace {

const int kCountMax = 19;

int capped(int n) { return n > kCountMax ? kCountMax : n; }

cst_item* syl_phrase(const cst_item* syl) {
  return path_to_item(syl, "R:SylStructure.parent.R:Phrase.parent");
}

bool syl_has(const cst_item* s, bool accent) {
  if (accent) return item_feat_present(s, "accent") || item_feat_present(s, "endtone");
  const char* st = item_feat_present(s, "stress") ? item_feat_string(s, "stress") : "0";
  return strcmp(st, "0") != 0;
}

// Syllables walked back (or forward) within the phrase to the nearest stressed
// or accented one; 0 when there is none.
int syl_distance(const cst_item* syl, bool forward, bool accent) {
  cst_item* phrase = syl_phrase(syl);
  int d = 1;
  for (cst_item* s = forward ? item_next(item_as(syl, "Syllable")) : item_prev(item_as(syl, "Syllable")); s;
       s = forward ? item_next(s) : item_prev(s), ++d) {
    if (!item_equal(syl_phrase(s), phrase)) break;
    if (syl_has(s, accent)) return capped(d);
  }
  return 0;
}

const cst_val* ff_p_stress(const cst_item* s) { return val_string_n(syl_distance(s, false, false)); }
const cst_val* ff_n_stress(const cst_item* s) { return val_string_n(syl_distance(s, true, false)); }
const cst_val* ff_p_accent(const cst_item* s) { return val_string_n(syl_distance(s, false, true)); }
const cst_val* ff_n_accent(const cst_item* s) { return val_string_n(syl_distance(s, true, true)); }

const cst_val* ff_words_out(const cst_item* w) {
  int n = 0;
  for (cst_item* p = item_as(w, "Phrase"); p; p = item_next(p)) ++n;
  return val_string_n(capped(n));
}

const cst_val* ff_num_syls_in_phrase(const cst_item* phrase) {
  int n = 0;
  for (cst_item* w = item_daughter(phrase); w; w = item_next(w)) n += ffeature_int(w, "word_numsyls");
  return kvap_count_val(phrase, "_num_syls_in_phrase", n);
}

const cst_val* ff_num_words_in_phrase(const cst_item* phrase) {
  int n = 0;
  for (cst_item* w = item_daughter(phrase); w; w = item_next(w)) ++n;
  return kvap_count_val(phrase, "_num_words_in_phrase", n);
}

int relation_size(const cst_item* item, const char* name) {
  cst_relation* r = utt_relation(item_utt(item), name);
  int n = 0;
  for (cst_item* i = r ? relation_head(r) : nullptr; i; i = item_next(i)) ++n;
  return n;
}

const cst_val* ff_total_phrases(const cst_item* i) {
  return kvap_count_val(i, "_total_phrases", relation_size(i, "Phrase"));
}
const cst_val* ff_total_syls(const cst_item* i) {
  return kvap_count_val(i, "_total_syls", relation_size(i, "Syllable"));
}
const cst_val* ff_total_words(const cst_item* i) {
  return kvap_count_val(i, "_total_words", relation_size(i, "Word"));
}

// A syllable of the last phrase of an utterance that ends in a question mark
// and does not start with a wh-word.
const cst_val* ff_syl_yn_question(const cst_item* syl) {
  cst_utterance* u = item_utt(syl);
  cst_relation* tokens = utt_relation(u, "Token");
  cst_relation* phrases = utt_relation(u, "Phrase");
  cst_relation* words = utt_relation(u, "Word");
  if (!tokens || !phrases || !words || !relation_tail(tokens)) return val_string_n(0);
  if (!strchr(item_feat_string(relation_tail(tokens), "punc"), '?')) return val_string_n(0);
  if (strcmp(ffeature_string(relation_head(words), "gpos"), "wp") == 0) return val_string_n(0);
  return val_string_n(item_equal(syl_phrase(syl), relation_tail(phrases)) ? 1 : 0);
}

// Words from this one to the first (this one or later) whose token carries
// punctuation, counting that word; 0 when no such word follows.
const cst_val* ff_dist_to_next_punc(const cst_item* word) {
  int d = 0;
  for (cst_item* w = item_as(word, "Word"); w; w = item_next(w)) {
    ++d;
    cst_item* t = item_parent(item_as(w, "Token"));
    if (t && item_feat_string(t, "punc")[0]) return val_string_n(capped(d));
  }
  return val_string_n(0);
}

// The vowel of a syllable (its first vowel segment's name), "novowel" when it
// has none. Values come from the items, so nothing is allocated per call.
const cst_val* ff_syl_vowel(const cst_item* syl) {
  cst_item* ss = item_as(syl, "SylStructure");
  for (cst_item* s = ss ? item_daughter(ss) : nullptr; s; s = item_next(s))
    if (strcmp(ffeature_string(s, "ph_vc"), "+") == 0) return item_feat(s, "name");
  return kvap_item_string(syl, "_syl_vowel", "novowel");
}

}  // namespace

const cst_val* kvap_count_val(const cst_item* item, const char* slot, int n) {
  if (n >= 0 && n <= kCountMax) return val_string_n(n);
  item_set_int(item, slot, n);
  return item_feat(item, slot);
}

cst_item* kvap_word_phrase(const cst_item* word) { return item_parent(item_as(word, "Phrase")); }

const cst_val* kvap_item_string(const cst_item* item, const char* slot, const char* s) {
  item_set_string(item, slot, s);
  return item_feat(item, slot);
}

void common_ff_register(cst_features* ff) {
  basic_ff_register(ff);
  ff_register(ff, "syl_vowel", ff_syl_vowel);
  ff_register(ff, "lisp_distance_to_p_stress", ff_p_stress);
  ff_register(ff, "lisp_distance_to_n_stress", ff_n_stress);
  ff_register(ff, "lisp_distance_to_p_accent", ff_p_accent);
  ff_register(ff, "lisp_distance_to_n_accent", ff_n_accent);
  ff_register(ff, "words_out", ff_words_out);
  ff_register(ff, "lisp_num_syls_in_phrase", ff_num_syls_in_phrase);
  ff_register(ff, "lisp_num_words_in_phrase", ff_num_words_in_phrase);
  ff_register(ff, "lisp_total_phrases", ff_total_phrases);
  ff_register(ff, "lisp_total_syls", ff_total_syls);
  ff_register(ff, "lisp_total_words", ff_total_words);
  ff_register(ff, "lisp_syl_yn_question", ff_syl_yn_question);
  ff_register(ff, "dist_to_next_punc", ff_dist_to_next_punc);
}
