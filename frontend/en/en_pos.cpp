#include "frontend/en/en_pos.h"

#include <ctype.h>
#include <string.h>

#include <string>

#include "frontend/lex_common.h"

const char* const eedwords[] = {"can",  "can't", "cannot", "cant",   "could",    "couldn't", "couldnt", "don't",
                                "dont", "will",  "won't",  "shall",  "would",    "wouldn't", "should",  "shouldn't",
                                "to",   nullptr};

namespace {

std::string lower_name(const cst_item* token) {
  std::string s = token && item_feat_present(token, "name") ? item_feat_string(token, "name") : "";
  for (char& c : s) c = (char)tolower((unsigned char)c);
  return s;
}

bool is_eedword(const std::string& w) {
  if (w == "to") return false;
  for (int i = 0; eedwords[i]; ++i)
    if (w == eedwords[i]) return true;
  return false;
}

}  // namespace

cst_utterance* en_pos_tagger(cst_utterance* u) {
  u = default_pos_tagger(u);
  if (!u) return u;
  for (cst_item* t = relation_head(utt_relation(u, "Token")); t; t = item_next(t)) {
    cst_item* word = item_daughter(t);
    if (!word) continue;
    cst_item* prevToken = item_prev(t);
    cst_item* nextToken = item_next(t);
    std::string name = lower_name(t);
    std::string prev = lower_name(prevToken);
    std::string next = lower_name(nextToken);
    bool alone = !prevToken && !nextToken;
    if (name == "live" && (alone || next == "tv")) {
      item_set_string(word, "pos", "j");
    } else if (name == "record" && alone) {
      item_set_string(word, "pos", "v");
    } else if (prevToken && is_eedword(prev) && item_feat_present(word, "pos") &&
               strcmp(item_feat_string(word, "pos"), "n") == 0) {
      item_set_string(word, "pos", "v");
    }
  }
  return u;
}
