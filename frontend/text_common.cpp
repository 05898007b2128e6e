#include "frontend/text_common.h"

#include <ctype.h>
#include <string.h>

namespace {

cst_val* phone_list(const char* phones) {
  cst_val* list = nullptr;
  const char* p = phones;
  while (*p) {
    const char* dot = strchr(p, '.');
    size_t len = dot ? (size_t)(dot - p) : strlen(p);
    if (len > 0) {
      char* piece = cst_substr(p, 0, (int)len);
      list = cons_val(string_val(piece), list);
      cst_free(piece);
    }
    p += len;
    if (*p == '.') ++p;
  }
  return val_reverse(list);
}

}  // namespace

bool kvap_split_token_phones(const char* token, char** name, char** phones) {
  const char* open = strstr(token, "<!");
  if (!open || open == token) return false;
  const char* close = strstr(open + 2, "!>");
  if (!close || close == open + 2) return false;
  size_t head = (size_t)(open - token);
  const char* rest = close + 2;
  *name = cst_alloc(char, head + strlen(rest) + 1);
  memcpy(*name, token, head);
  strcpy(*name + head, rest);
  *phones = cst_substr(open + 2, 0, (int)(close - open - 2));
  return true;
}

cst_utterance* default_tokenization(cst_utterance* u) {
  const char* text = get_param_string(u->features, "input_text", "");
  cst_tokenstream* ts = ts_open_string(
      text, get_param_string(u->features, "text_whitespace", cst_ts_default_whitespacesymbols),
      get_param_string(u->features, "text_singlecharsymbols", cst_ts_default_singlecharsymbols),
      get_param_string(u->features, "text_prepunctuation", cst_ts_default_prepunctuationsymbols),
      get_param_string(u->features, "text_postpunctuation", cst_ts_default_postpunctuationsymbols));
  cst_relation* r = utt_relation_create(u, "Token");
  if (!ts) return u;
  bool inlinePhones = get_param_int(u->features, "kvap.read_token_phones", 0) != 0;
  while (!ts_eof(ts)) {
    const char* token = ts_get(ts);
    if (!token || !token[0]) continue;
    cst_item* t = relation_append(r, nullptr);
    char* name = nullptr;
    char* phones = nullptr;
    if (inlinePhones && kvap_split_token_phones(token, &name, &phones)) {
      item_set_string(t, "name", name);
      item_set(t, "phones", phone_list(phones));
      item_set_int(t, "phones_present", 1);
      item_set_string(t, "phones_string", phones);
      cst_free(name);
      cst_free(phones);
    } else {
      item_set_string(t, "name", token);
    }
    item_set_string(t, "whitespace", ts->whitespace);
    item_set_string(t, "prepunctuation", ts->prepunctuation);
    item_set_string(t, "punc", ts->postpunctuation);
    item_set_int(t, "file_pos", ts->file_pos);
    item_set_int(t, "line_number", ts->line_number);
  }
  ts_close(ts);
  return u;
}

cst_utterance* default_textanalysis(cst_utterance* u) {
  cst_relation* words = utt_relation_create(u, "Word");
  const cst_val* fv = feat_present(u->features, "tokentowords_func") ? feat_val(u->features, "tokentowords_func") : nullptr;
  cst_itemfunc ttw = fv ? val_itemfunc(fv) : nullptr;
  for (cst_item* t = relation_head(utt_relation(u, "Token")); t; t = item_next(t)) {
    cst_val* list = ttw ? ttw(t) : cons_val(string_val(item_feat_string(t, "name")), nullptr);
    for (const cst_val* w = list; w; w = val_cdr(w)) {
      cst_item* word = item_add_daughter(t, nullptr);
      const cst_val* e = val_car(w);
      if (cst_val_consp(e)) {
        item_set(word, "name", val_car(e));
        const cst_val* extra = val_cdr(e);
        if (extra && !cst_val_consp(extra) && CST_VAL_TYPE(extra) == cst_val_type_features)
          feat_copy_into(val_features(extra), item_feats(word));
      } else {
        item_set(word, "name", e);
      }
      relation_append(words, word);
    }
    delete_val(list);
  }
  return u;
}

cst_utterance* default_phonetic_pause_marker(cst_utterance* u) {
  if (!get_param_int(u->features, "kvap.phonetic_pauses", 0) &&
      !get_param_int(u->features, "kvap.phonetic_phrases", 0))
    return u;
  for (cst_item* t = relation_head(utt_relation(u, "Token")); t; t = item_next(t)) {
    const char* punc = item_feat_string(t, "punc");
    bool shortPause = strncmp(punc, ",!", 2) == 0;
    bool longPause = strncmp(punc, ";!", 2) == 0;
    if (!shortPause && !longPause) continue;
    cst_item* w = item_last_daughter(t);
    if (w) {
      item_set_int(w, "phonetic_pause", 1);
      if (longPause) item_set_int(w, "long_phonetic_pause", 1);
    }
    char* rest = cst_strdup(punc + 2);
    item_set_string(t, "punc", rest);
    cst_free(rest);
  }
  return u;
}

int default_utt_break(cst_tokenstream* ts, const char* token, cst_relation* tokens) {
  const char* white = ts->whitespace ? ts->whitespace : "";
  int newlines = 0;
  for (const char* p = white; *p; ++p) newlines += (*p == '\n');
  if (newlines >= 2) return 1;
  cst_item* last = relation_tail(tokens);
  if (!last) return 0;
  const char* punc = item_feat_string(last, "punc");
  const char* ltoken = item_feat_string(last, "name");
  if (strpbrk(punc, ":?!")) return 1;
  if (!strchr(punc, '.')) return 0;
  bool nextUpper = token && isupper((unsigned char)token[0]);
  if (strlen(white) > 1 && nextUpper) return 1;
  size_t ll = strlen(ltoken);
  bool lastEndsUpper = ll > 0 && isupper((unsigned char)ltoken[ll - 1]);
  bool lastStartsUpper = ll > 0 && isupper((unsigned char)ltoken[0]);
  return nextUpper && !lastEndsUpper && (ll > 3 || !lastStartsUpper);
}
