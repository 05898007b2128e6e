#include "frontend/sylstruct_common.h"

#include <string.h>

#include "frontend/lex_common.h"

// Flite's value-type table ends with an empty entry (index 27, type 55) that
// none of its own types use; values of this type carry no delete function.
const int cst_val_type_phonefunc = 55;

cst_val* phonefunc_val(kvap_phonefunc f) { return val_new_typed(cst_val_type_phonefunc, (void*)f); }

kvap_phonefunc val_phonefunc(const cst_val* v) {
  if (!v || cst_val_consp(v) || CST_VAL_TYPE(v) != cst_val_type_phonefunc) return nullptr;
  return (kvap_phonefunc)CST_VAL_VOID(v);
}

namespace {

const char* name_of(const cst_item* i) { return i && item_feat_present(i, "name") ? item_feat_string(i, "name") : ""; }

// The segment as it sits under its syllable, and that syllable (SylStructure).
cst_item* ss_phone(const cst_item* segment) { return item_as(segment, "SylStructure"); }
cst_item* ss_syllable_of(const cst_item* segment) { return item_parent(ss_phone(segment)); }
cst_item* ss_word(const cst_item* word) { return item_as(word, "SylStructure"); }

// Deletes a syllable from SylStructure and Syllable; its phones must be gone.
void delete_syllable(cst_item* syllable) {
  cst_item* flat = item_as(syllable, "Syllable");
  cst_item* tree = item_as(syllable, "SylStructure");
  if (tree) delete_item(tree);
  if (flat) delete_item(flat);
}

void delete_syllable_if_empty(cst_item* syllable) {
  if (syllable && !item_daughter(syllable)) delete_syllable(syllable);
}

// Deletes the segment from SylStructure and Segment; returns its former
// syllable (SylStructure), which may now be empty.
cst_item* delete_segment(cst_item* segment) {
  cst_item* tree = ss_phone(segment);
  cst_item* flat = item_as(segment, "Segment");
  cst_item* syllable = item_parent(tree);
  if (tree) delete_item(tree);
  if (flat) delete_item(flat);
  return syllable;
}

// Moves a phone (its Segment position unchanged) into a syllable right after
// `after` (a phone of that syllable), or to its start when `after` is null.
void place_phone(cst_item* segment, cst_item* syllable, cst_item* after) {
  cst_item* flat = item_as(segment, "Segment");
  cst_item* tree = ss_phone(segment);
  if (!flat || !syllable) return;
  // The SylStructure item goes first: the contents would otherwise lose their
  // back reference to the new item.
  if (tree) delete_item(tree);
  if (after)
    item_append(after, flat);
  else if (item_daughter(syllable))
    item_prepend(item_daughter(syllable), flat);
  else
    item_add_daughter(syllable, flat);
}

// Moves a phone of another syllable to the end or the start of `target`.
void move_phone(cst_item* segment, cst_item* target, bool atEnd) {
  place_phone(segment, target, atEnd ? item_last_daughter(target) : nullptr);
}

void move_endtone(cst_item* from, cst_item* to) {
  if (!from || !to || !item_feat_present(from, "endtone")) return;
  item_set(to, "endtone", item_feat(from, "endtone"));
  item_feat_remove(from, "endtone");
}

bool merge_into_previous(cst_item* syllable, cst_item* previous) {
  if (!syllable || !previous) return false;
  while (cst_item* p = item_daughter(syllable)) move_phone(p, previous, true);
  move_endtone(syllable, previous);
  delete_syllable(syllable);
  return true;
}

bool merge_into_next(cst_item* syllable, cst_item* next) {
  if (!syllable || !next) return false;
  while (cst_item* p = item_last_daughter(syllable)) move_phone(p, next, false);
  delete_syllable(syllable);
  return true;
}

// Previous syllable of the utterance that ends the previous word, when no
// segment (a pause) lies between it and the syllable.
cst_item* previous_syllable_across_words(cst_item* syllable) {
  cst_item* inWord = item_prev(syllable);
  if (inWord) return inWord;
  cst_item* word = item_parent(syllable);
  cst_item* prevWord = item_prev(word);
  while (prevWord && !item_daughter(prevWord)) prevWord = item_prev(prevWord);
  cst_item* previous = prevWord ? item_last_daughter(prevWord) : nullptr;
  cst_item* last = previous ? item_last_daughter(previous) : nullptr;
  cst_item* first = item_daughter(syllable);
  if (!last || !first) return previous;
  return item_equal(item_next(item_as(last, "Segment")), first) ? previous : nullptr;
}

void remove_phone_and_merge(cst_item* segment, bool acrossWords) {
  cst_item* syllable = ss_syllable_of(segment);
  bool nucleus = generic_is_syl_nucleus(item_utt(segment), name_of(segment));
  cst_item* previous = nullptr;
  if (syllable && nucleus) previous = acrossWords ? previous_syllable_across_words(syllable) : item_prev(syllable);
  delete_segment(segment);
  if (!syllable) return;
  if (previous && item_daughter(syllable))
    merge_into_previous(syllable, previous);
  else
    delete_syllable_if_empty(syllable);
}

const cst_lexicon* utt_lexicon(const cst_utterance* u) {
  if (!u || !feat_present(u->features, "lexicon")) return nullptr;
  return val_lexicon(feat_val(u->features, "lexicon"));
}

cst_item* new_syllable_after(cst_item* syllable) {
  cst_item* created = item_append(syllable, nullptr);
  item_set_string(created, "stress", "0");
  cst_item* flat = item_as(syllable, "Syllable");
  if (flat) item_append(flat, created);
  return created;
}

}  // namespace

bool default_is_syl_nucleus(const char* phone) { return phone && phone[0] && strchr("aeiouy@", phone[0]); }

bool generic_is_syl_nucleus(const cst_utterance* u, const char* phone) {
  if (u && feat_present(u->features, "syl_nucleus_func")) {
    kvap_phonefunc f = val_phonefunc(feat_val(u->features, "syl_nucleus_func"));
    if (f) return f(phone ? phone : "");
  }
  return default_is_syl_nucleus(phone);
}

bool has_nucleus_in_list(const cst_utterance* u, const cst_val* phones) {
  for (const cst_val* p = phones; p; p = val_cdr(p))
    if (generic_is_syl_nucleus(u, val_string(val_car(p)))) return true;
  return false;
}

bool has_vowel_in_syl(const cst_item* segment) {
  cst_item* tree = ss_phone(segment);
  if (!tree) tree = (cst_item*)segment;
  for (cst_item* p = tree; p; p = item_prev(p))
    if (generic_is_syl_nucleus(item_utt(segment), name_of(p))) return true;
  return false;
}

bool ssyl_has_nucleus(const cst_item* syllable) {
  cst_item* tree = item_as(syllable, "SylStructure");
  for (cst_item* p = item_daughter(tree); p; p = item_next(p))
    if (generic_is_syl_nucleus(item_utt(syllable), name_of(p))) return true;
  return false;
}

bool is_word_initial(const cst_item* segment) {
  cst_item* tree = ss_phone(segment);
  return tree && !item_prev(tree) && !item_prev(item_parent(tree));
}

bool is_word_final(const cst_item* segment) {
  cst_item* tree = ss_phone(segment);
  return tree && !item_next(tree) && !item_next(item_parent(tree));
}

bool has_token_pronunciation(const cst_item* word) {
  cst_item* token = item_parent(item_as(word, "Token"));
  return token && item_feat_present(token, "phones");
}

cst_item* append_phoneme(cst_item* segment, const char* name) {
  cst_item* flat = item_as(segment, "Segment");
  if (!flat || !name) return nullptr;
  cst_item* created = item_append(flat, nullptr);
  item_set_string(created, "name", name);
  cst_item* tree = ss_phone(flat);
  if (tree) item_append(tree, created);
  return created;
}

cst_item* prepend_phoneme(cst_item* segment, const char* name) {
  cst_item* flat = item_as(segment, "Segment");
  if (!flat || !name) return nullptr;
  cst_item* created = item_prepend(flat, nullptr);
  item_set_string(created, "name", name);
  cst_item* tree = ss_phone(flat);
  if (tree) item_prepend(tree, created);
  return created;
}

void remove_phoneme_unchecked(cst_item* segment) {
  if (!segment) return;
  delete_syllable_if_empty(delete_segment(segment));
}

void remove_phoneme(cst_item* segment) {
  if (segment) remove_phone_and_merge(segment, false);
}

void remove_phoneme_merge_across_words(cst_item* segment) {
  if (segment) remove_phone_and_merge(segment, true);
}

bool merge_syllable_with_previous(cst_item* syllable) {
  cst_item* tree = item_as(syllable, "SylStructure");
  return merge_into_previous(tree, item_prev(tree));
}

bool merge_syllable_with_next(cst_item* syllable) {
  cst_item* tree = item_as(syllable, "SylStructure");
  return merge_into_next(tree, item_next(tree));
}

bool merge_syllable_with_neighbors(cst_item* syllable, cst_item* nucleus) {
  cst_item* tree = item_as(syllable, "SylStructure");
  cst_item* core = ss_phone(nucleus);
  cst_item* previous = item_prev(tree);
  cst_item* next = item_next(tree);
  if (!tree || !core || !previous || !next || item_parent(core) != tree) return false;
  while (item_next(core)) move_phone(item_last_daughter(tree), next, false);
  while (item_prev(core)) move_phone(item_daughter(tree), previous, true);
  move_endtone(tree, previous);
  delete_segment(core);
  delete_syllable(tree);
  return true;
}

void remove_syllable_nucleus(cst_item* segment) {
  cst_item* syllable = ss_syllable_of(segment);
  if (!syllable) {
    remove_phoneme_unchecked(segment);
    return;
  }
  cst_item* previous = item_prev(syllable);
  cst_item* next = item_next(syllable);
  if (previous && next) {
    merge_syllable_with_neighbors(syllable, segment);
  } else if (next) {
    delete_segment(segment);
    if (item_daughter(syllable)) merge_into_next(syllable, next);
    else delete_syllable(syllable);
  } else if (previous) {
    delete_segment(segment);
    if (item_daughter(syllable)) merge_into_previous(syllable, previous);
    else delete_syllable(syllable);
  } else {
    remove_phoneme_unchecked(segment);
  }
}

cst_val* get_word_phones(const cst_item* word) {
  cst_val* phones = nullptr;
  for (cst_item* s = item_daughter(ss_word(word)); s; s = item_next(s))
    for (cst_item* p = item_daughter(s); p; p = item_next(p)) phones = cons_val(string_val(name_of(p)), phones);
  return val_reverse(phones);
}

bool resyllabify_word(cst_item* word) {
  cst_item* w = ss_word(word);
  const cst_lexicon* lex = utt_lexicon(item_utt(word));
  if (!w || !lex || !lex->syl_boundary) return false;
  cst_item* syllable = item_daughter(w);
  if (!syllable) return true;
  // Segment items of the word's phones, in order.
  int n = 0;
  for (cst_item* s = syllable; s; s = item_next(s))
    for (cst_item* p = item_daughter(s); p; p = item_next(p)) ++n;
  if (n == 0) return true;
  cst_item** phones = cst_alloc(cst_item*, n);
  int k = 0;
  for (cst_item* s = syllable; s; s = item_next(s))
    for (cst_item* p = item_daughter(s); p; p = item_next(p)) phones[k++] = item_as(p, "Segment");
  cst_val* names = get_word_phones(word);
  const cst_val* rest = names;
  cst_item* lastInSyllable = nullptr;  // the phone placed last in `syllable`
  for (int i = 0; i < n; ++i) {
    rest = val_cdr(rest);  // the phones after phone i
    cst_item* tree = ss_phone(phones[i]);
    if (item_parent(tree) != syllable || item_prev(tree) != lastInSyllable) place_phone(phones[i], syllable, lastInSyllable);
    lastInSyllable = ss_phone(phones[i]);
    if (rest && lex->syl_boundary(lastInSyllable, rest)) {
      cst_item* next = item_next(syllable);
      syllable = next ? next : new_syllable_after(syllable);
      lastInSyllable = nullptr;
    }
  }
  delete_val(names);
  cst_free(phones);
  for (cst_item* s = item_daughter(w); s;) {
    cst_item* next = item_next(s);
    delete_syllable_if_empty(s);
    s = next;
  }
  return true;
}

int stressed_syl_count(const cst_item* word) {
  int n = 0;
  for (cst_item* s = item_daughter(ss_word(word)); s; s = item_next(s))
    if (item_feat_present(s, "stress") && strcmp(item_feat_string(s, "stress"), "0") != 0) ++n;
  return n;
}

void remove_word_stress(cst_item* word) {
  for (cst_item* s = item_daughter(ss_word(word)); s; s = item_next(s)) item_set_string(s, "stress", "0");
}

void acronym_fix_stress(cst_item* word) {
  bool kept = false;
  for (cst_item* s = item_last_daughter(ss_word(word)); s; s = item_prev(s)) {
    if (!item_feat_present(s, "stress") || strcmp(item_feat_string(s, "stress"), "0") == 0) continue;
    if (kept) item_set_string(s, "stress", "0");
    kept = true;
  }
}

cst_utterance* lexical_insertion_with_acronym_stress(cst_utterance* u) {
  u = default_lexical_insertion(u);
  if (!u) return u;
  for (cst_item* w = relation_head(utt_relation(u, "Word")); w; w = item_next(w))
    if (item_feat_present(w, "acronym")) acronym_fix_stress(w);
  return u;
}
