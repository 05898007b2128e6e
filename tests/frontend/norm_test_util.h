// Helpers shared by the normalisation tests: an utterance whose Token relation
// is built from a text with Flite's token stream, and word-list printing.
#ifndef NORM_TEST_UTIL_H
#define NORM_TEST_UTIL_H

#include <string>

#include "frontend/kvap_flite.h"

namespace normtest {

// Tokenises text with Flite's default symbol sets into a new utterance (name,
// punc, prepunctuation, whitespace per token).
inline cst_utterance* tokenize(const char* text) {
  cst_utterance* u = new_utterance();
  cst_relation* r = utt_relation_create(u, "Token");
  cst_tokenstream* ts = ts_open_string(text, cst_ts_default_whitespacesymbols, cst_ts_default_singlecharsymbols,
                                       cst_ts_default_prepunctuationsymbols, cst_ts_default_postpunctuationsymbols);
  while (!ts_eof(ts)) {
    const char* token = ts_get(ts);
    if (!token || !token[0]) continue;
    cst_item* t = relation_append(r, nullptr);
    item_set_string(t, "name", token);
    item_set_string(t, "punc", ts->postpunctuation);
    item_set_string(t, "prepunctuation", ts->prepunctuation);
    item_set_string(t, "whitespace", ts->whitespace);
  }
  ts_close(ts);
  return u;
}

// The n-th token (0-based) of u.
inline cst_item* token_at(cst_utterance* u, int n) {
  cst_item* t = relation_head(utt_relation(u, "Token"));
  while (t && n-- > 0) t = item_next(t);
  return t;
}

// The words of a word list joined with spaces (paired words by their word);
// frees the list.
inline std::string words(cst_val* list) {
  std::string out;
  for (const cst_val* v = list; v; v = val_cdr(v)) {
    const cst_val* w = val_car(v);
    if (cst_val_consp(w)) w = val_car(w);
    if (!out.empty()) out += ' ';
    out += val_string(w);
  }
  delete_val(list);
  return out;
}

// Takes ownership of a new char* and returns it as a std::string.
inline std::string take(char* s) {
  std::string r = s ? s : "<null>";
  cst_free(s);
  return r;
}

}  // namespace normtest

#endif
