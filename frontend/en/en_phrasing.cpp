#include "frontend/en/en_phrasing.h"

#include <string.h>

#include "frontend/phrasing_common.h"

const char* const breaking_words[] = {"unless", "if", "whether", nullptr};

namespace {

const char* name_of(const cst_item* w) { return w ? item_feat_string(w, "name") : ""; }

bool is_breaking_word(const char* name) {
  for (int i = 0; breaking_words[i]; ++i)
    if (strcmp(breaking_words[i], name) == 0) return true;
  return false;
}

}  // namespace

const char* word_break_type(const cst_item* word, int wordsInPhrase) {
  cst_item* w = item_as(word, "Word");
  cst_item* next = w ? item_next(w) : nullptr;
  if (wordsInPhrase < 2 || ffeature_int(w, "dist_to_next_punc") == 0 || !next) return "NB";
  const char* name = name_of(w);
  const char* following = name_of(next);
  if ((strcmp(name, "as") == 0 && strcmp(following, "if") == 0) ||
      (strcmp(name, "such") == 0 && strcmp(following, "as") == 0) ||
      (strcmp(name, "so") == 0 && strcmp(following, "that") == 0))
    return "B";
  if (strcmp(name, "but") == 0) {
    const char* before = name_of(item_prev(w));
    return (strcmp(before, "all") == 0 || strcmp(before, "nothing") == 0) ? "NB" : "B";
  }
  return is_breaking_word(name) ? "B" : "NB";
}

cst_utterance* en_phrasing(cst_utterance* u) {
  cst_relation* r = utt_relation_create(u, "Phrase");
  cst_item* phrase = nullptr;
  int count = 0;
  for (cst_item* w = relation_head(utt_relation(u, "Word")); w; w = item_next(w)) {
    if (!phrase) {
      phrase = relation_append(r, nullptr);
      item_set_string(phrase, "name", "BB");
      count = 0;
    }
    item_add_daughter(phrase, w);
    ++count;
    cst_item* inToken = item_as(w, "Token");
    if (inToken && item_next(inToken)) continue;
    const char* type = post_punc_break_type(w);
    cst_item* next = item_next(w);
    if (strcmp(type, "NB") == 0 && next) type = pre_punc_break_type(next);
    if (strcmp(type, "NB") == 0 && next) type = word_break_type(next, count);
    if (strcmp(type, "NB") != 0) {
      item_set_string(phrase, "name", type);
      phrase = nullptr;
    }
  }
  return u;
}
