#include "frontend/phrasing_common.h"

#include <string.h>

#include "frontend/init_common.h"
#include "frontend/synth_util.h"

namespace {

bool last_char_in(const char* s, const char* set) {
  size_t n = s ? strlen(s) : 0;
  return n > 0 && strchr(set, s[n - 1]) != nullptr;
}

const char* feat_or_empty(const cst_item* item, const char* name) {
  return item && item_feat_present(item, name) ? item_feat_string(item, name) : "";
}

bool is_token_final(const cst_item* word) {
  cst_item* inToken = item_as(word, "Token");
  return inToken && !item_next(inToken);
}

// Adds the words of the utterance to phrases; close(word) names and closes
// the open phrase when it returns a name.
template <typename Close>
cst_utterance* build_phrases(cst_utterance* u, Close close) {
  cst_relation* r = utt_relation_create(u, "Phrase");
  cst_item* phrase = nullptr;
  for (cst_item* w = relation_head(utt_relation(u, "Word")); w; w = item_next(w)) {
    if (!phrase) {
      phrase = relation_append(r, nullptr);
      item_set_string(phrase, "name", "BB");
    }
    item_add_daughter(phrase, w);
    const char* name = close(w);
    if (name) {
      item_set_string(phrase, "name", name);
      phrase = nullptr;
    }
  }
  return u;
}

cst_item* last_segment_of_phrase(cst_item* phrase) {
  for (cst_item* w = item_last_daughter(phrase); w; w = item_prev(w)) {
    cst_item* s = path_to_item(w, "R:SylStructure.daughtern.daughtern.R:Segment");
    if (s) return s;
  }
  return nullptr;
}

cst_item* append_pause(cst_item* after, const char* silence, const char* source) {
  cst_item* s = item_append(after, nullptr);
  item_set_string(s, "name", silence);
  item_set_string(s, "pause_source", source);
  return s;
}

void insert_annotated_pauses(cst_utterance* u) {
  const char* silence = get_param_string(u->features, "silence", "pau");
  for (cst_item* w = relation_head(utt_relation(u, "SylStructure")); w; w = item_next(w)) {
    if (!item_feat_present(w, "phonetic_pause")) continue;
    cst_item* s = path_to_item(w, "daughtern.daughtern.R:Segment");
    if (!s) continue;
    cst_item* n = item_next(s);
    if (n && strcmp(item_feat_string(n, "name"), silence) == 0)
      item_set_string(n, "pause_source", "annotation");
    else
      append_pause(s, silence, "annotation");
  }
}

}  // namespace

const char* post_punc_break_type(const cst_item* word) {
  cst_item* token = item_parent(item_as(word, "Token"));
  if (!token) return "NB";
  const char* punc = item_feat_string(token, "punc");
  cst_utterance* u = item_utt(word);
  if (last_char_in(punc, get_param_string(u->features, "strong_punctuation", ".?!"))) return "BB";
  if (last_char_in(punc, get_param_string(u->features, "weak_postpunctuation", ",;:"))) return "B";
  cst_item* next = item_next(token);
  if (next) {
    int newlines = 0;
    for (const char* p = item_feat_string(next, "whitespace"); *p; ++p) newlines += (*p == '\n');
    if (newlines >= 2) return "BB";
  }
  return "NB";
}

const char* pre_punc_break_type(const cst_item* word) {
  cst_item* token = item_parent(item_as(word, "Token"));
  if (!token) return "NB";
  const char* pre = item_feat_string(token, "prepunctuation");
  const char* weak = get_param_string(item_utt(word)->features, "weak_prepunctuation", "(");
  return (pre[0] && strchr(weak, pre[0])) ? "B" : "NB";
}

cst_utterance* trivial_phrasing(cst_utterance* u) {
  return build_phrases(u, [](cst_item*) -> const char* { return nullptr; });
}

cst_utterance* punctuation_phrasing(cst_utterance* u) {
  return build_phrases(u, [](cst_item* w) -> const char* {
    if (!is_token_final(w)) return nullptr;
    const char* type = post_punc_break_type(w);
    return strcmp(type, "NB") == 0 ? nullptr : type;
  });
}

cst_utterance* phonetic_phrasing(cst_utterance* u) {
  return build_phrases(u, [](cst_item* w) -> const char* {
    if (!is_token_final(w)) return nullptr;
    if (item_feat_present(w, "phonetic_pause") && item_feat_present(w, "long_phonetic_pause")) return "BB";
    return nullptr;
  });
}

cst_utterance* cart_phrasing(cst_utterance* u, const cst_cart* tree) {
  if (!tree) return punctuation_phrasing(u);
  return build_phrases(u, [tree](cst_item* w) -> const char* {
    const char* answer = val_string(cart_interpret(w, tree));
    return strcmp(answer, "BB") == 0 ? "BB" : nullptr;
  });
}

cst_utterance* cart_assisted_phrasing(cst_utterance* u, const cst_cart* tree) {
  cst_relation* r = utt_relation_create(u, "Phrase");
  cst_item* phrase = nullptr;
  for (cst_item* w = relation_head(utt_relation(u, "Word")); w; w = item_next(w)) {
    if (!phrase) phrase = relation_append(r, nullptr);
    item_add_daughter(phrase, w);
    if (!is_token_final(w)) continue;
    cst_item* next = item_next(w);
    const char* name = next ? pre_punc_break_type(next) : "NB";
    if (strcmp(name, "NB") == 0) {
      if (!tree || val_int(cart_interpret(w, tree)) != 1) continue;
      name = post_punc_break_type(w);
      if (strcmp(name, "NB") == 0) name = "B";
    }
    item_set_string(phrase, "name", name);
    phrase = nullptr;
  }
  cst_item* last = relation_tail(r);
  if (last) item_set_string(last, "name", "BB");
  return u;
}

const cst_val* phrase_punc(const cst_item* phrase) {
  cst_item* token = path_to_item(phrase, "daughtern.R:Token.parent");
  const char* punc = feat_or_empty(token, "punc");
  size_t n = strlen(punc);
  char last[2] = {n > 0 ? punc[n - 1] : '\0', '\0'};
  return kvap_item_string(phrase, "_phrase_punc", last);
}

const cst_val* phrase_prepunc(const cst_item* phrase) {
  cst_item* token = path_to_item(phrase, "daughter1.R:Token.parent");
  return kvap_item_string(phrase, "_phrase_prepunc", feat_or_empty(token, "prepunctuation"));
}

cst_utterance* default_phrasing(cst_utterance* u) {
  if (get_param_int(u->features, "kvap.phonetic_phrases", 0)) return phonetic_phrasing(u);
  cst_uttfunc f = kvap_feature_uttfunc(u->features, "phrasing_func_with_phonetic");
  if (f) return f(u);
  if (feat_present(u->features, "phrasing_cart")) return cart_phrasing(u, val_cart(feat_val(u->features, "phrasing_cart")));
  return punctuation_phrasing(u);
}

cst_utterance* default_pause_insertion(cst_utterance* u) {
  const char* silence = get_param_string(u->features, "silence", "pau");
  cst_relation* seg = utt_relation(u, "Segment");
  if (!seg) seg = utt_relation_create(u, "Segment");
  cst_item* first = relation_head(seg);
  cst_item* s = first ? item_prepend(first, nullptr) : relation_append(seg, nullptr);
  item_set_string(s, "name", silence);
  item_set_string(s, "pause_source", "utt_boundary");
  cst_relation* phrases = utt_relation(u, "Phrase");
  cst_item* lastPhrase = phrases ? relation_tail(phrases) : nullptr;
  if (get_param_int(u->features, "kvap.phrasal_pauses", 0)) {
    for (cst_item* p = phrases ? relation_head(phrases) : nullptr; p; p = item_next(p)) {
      cst_item* last = last_segment_of_phrase(p);
      if (last) append_pause(last, silence, p == lastPhrase ? "utt_boundary" : "phrase_boundary");
    }
  } else if (lastPhrase) {
    cst_item* last = last_segment_of_phrase(lastPhrase);
    if (last) append_pause(last, silence, "utt_boundary");
  }
  if (get_param_int(u->features, "kvap.phonetic_pauses", 0) &&
      !get_param_int(u->features, "kvap.transparent_phonetic_pauses", 1))
    insert_annotated_pauses(u);
  return u;
}

cst_utterance* default_transparent_pause_insertion(cst_utterance* u) {
  if (get_param_int(u->features, "kvap.phonetic_pauses", 0) &&
      get_param_int(u->features, "kvap.transparent_phonetic_pauses", 1))
    insert_annotated_pauses(u);
  return u;
}
