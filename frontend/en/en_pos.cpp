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

bool in_list(const std::string& w, const char* const* list) {
  for (int i = 0; list[i]; ++i)
    if (w == list[i]) return true;
  return false;
}

// "live" as the adjective or adverb (what is broadcast or played as it
// happens) rather than the verb: after a form of "be", of going and
// watching, or of performing and broadcasting (the match is live, we go live,
// she sings live, broadcast live), and at the start of a sentence before
// what is broadcast or when (Live at 8, Live from Wembley, Live coverage).
bool live_is_adjective(const cst_item* token, const std::string& prev, const std::string& next) {
  static const char* const kBefore[] = {"is",   "are",   "was",     "were",  "be",        "been",
                                        "being", "it's", "we're",   "they're", "you're", "he's",
                                        "she's", "go",   "goes",    "going", "went",      "watch",
                                        "watching", "sing", "sings",  "sang",  "singing",   "play",
                                        "plays", "played", "playing", "perform", "performs",
                                        "performed", "performing", "broadcast", "broadcasts",
                                        "streamed", "shown",  "aired",  "televised", nullptr};
  static const char* const kAfter[] = {"at",       "from",  "on",     "now",     "tonight", "today",
                                       "coverage", "sport", "sports", "music",   "news",    "stream",
                                       "event",    "broadcast", "action", "football", "match",
                                       "concert",  "show",  "radio",  nullptr};
  if (in_list(prev, kBefore)) return true;
  const cst_item* before = item_prev(token);
  const bool sentenceStart = !before || strpbrk(item_feat_string(before, "punc"), ".?!:") != nullptr;
  return sentenceStart && in_list(next, kAfter);
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
    if (name == "live" && (alone || next == "tv" || live_is_adjective(t, prev, next))) {
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
