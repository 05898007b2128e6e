#include "frontend/en/en_postlex.h"

#include <string.h>

#include "frontend/kvap_debug.h"
#include "frontend/sylstruct_common.h"

namespace {

const char kTags[] = "debug_postlex_tags";

const char* word_name(const cst_item* segment) {
  return ffeature_string(segment, "R:SylStructure.parent.parent.name");
}

// Tags the segment's syllable and its word.
void tag(const cst_item* segment, const char* t) {
  cst_item* syllable = item_parent(item_as(segment, "SylStructure"));
  if (!syllable) return;
  item_add_debug_tag(syllable, kTags, t);
  cst_item* word = item_parent(syllable);
  if (word) item_add_debug_tag(word, kTags, t);
}

char first_char(const char* s) { return s ? s[0] : '\0'; }

const char* phone_feat(const cst_phoneset* ps, const char* phone, const char* feature) {
  if (!ps || phone_id(ps, phone) < 0) return "";
  return phone_feature_string(ps, phone, feature);
}

}  // namespace

cst_utterance* remove_r(cst_utterance* u) {
  cst_item* next;
  for (cst_item* s = relation_head(utt_relation(u, "Syllable")); s; s = next) {
    next = item_next(s);
    cst_item* last = item_last_daughter(item_as(s, "SylStructure"));
    if (!last || strcmp(item_feat_string(last, "name"), "r") != 0) continue;
    if (strcmp(ffeature_string(last, "R:Segment.n.ph_vc"), "+") == 0) continue;
    if (strcmp(word_name(last), "r") == 0) continue;
    tag(last, "-r");
    remove_phoneme(item_as(last, "Segment"));
  }
  return u;
}

cst_utterance* apostrophe_s(cst_utterance* u, const char* schwa) {
  if (!u || !schwa || !feat_present(u->features, "phoneset")) return u;
  const cst_phoneset* ps = val_phoneset(feat_val(u->features, "phoneset"));
  cst_item* head = relation_head(utt_relation(u, "Segment"));
  for (cst_item* s = item_next(head); s; s = item_next(s)) {
    if (!is_word_initial(s)) continue;
    const char* word = word_name(s);
    const char* prev = item_feat_string(item_prev(s), "name");
    if (strcmp(word, "'s") == 0) {
      char ctype = first_char(phone_feat(ps, prev, "ctype"));
      char cplace = first_char(phone_feat(ps, prev, "cplace"));
      bool sibilant = (ctype == 'f' || ctype == 'a') && !(cplace == 'd' || cplace == 'b' || cplace == 'g');
      if (sibilant) {
        prepend_phoneme(s, schwa);
        tag(s, "+ax");
      } else if (strcmp(phone_feat(ps, prev, "cvox"), "-") == 0) {
        item_set_string(s, "name", "s");
        tag(s, "devoi_'s");
      }
    } else if (strcmp(word, "'ve") == 0 || strcmp(word, "'ll") == 0 || strcmp(word, "'d") == 0) {
      if (strcmp(phone_feat(ps, prev, "vc"), "-") == 0) {
        prepend_phoneme(s, schwa);
        tag(s, "+ax");
      }
    }
  }
  return u;
}

cst_utterance* the_before_vowel(cst_utterance* u, const char* reduced, const char* full) {
  for (cst_item* s = relation_head(utt_relation(u, "Segment")); s; s = item_next(s)) {
    if (strcmp(item_feat_string(s, "name"), reduced) != 0 || strcmp(word_name(s), "the") != 0) continue;
    if (strcmp(ffeature_string(s, "n.ph_vc"), "+") != 0) continue;
    item_set_string(s, "name", full);
    tag(s, "the_iy");
  }
  return u;
}

cst_utterance* en_postlex(cst_utterance* u) {
  apostrophe_s(u, "ax");
  return the_before_vowel(u, "ax", "iy");
}
