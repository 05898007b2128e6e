// French liaison, the module's post-lexical rule. A word of the table
// before a word that begins with a vowel (no pause between, the second word
// not one with an aspirated h) lends its latent consonant to the second
// word's first syllable: les amis l e . z a m i, deux euros, vingt ans,
// c'est un. Numbers also drop or change their final consonant: six and dix
// lose their s before a consonant (six cents) and voice it before a vowel
// (dix-huit: d i z wh i t), huit loses its t before a consonant, neuf is
// n oe v before heures and ans, vingt keeps its t in vingt-deux to
// vingt-neuf, and cent none before un, une, onze, huit.
#include <string.h>

#include <string>

#include "frontend/sylstruct_common.h"
#include "modules/common/eu_voice.h"
#include "modules/fr/fr_lang.h"

namespace {

struct Latent {
  const char* word;
  const char* consonant;
};

// Words that make an obligatory (or in television reading usual) liaison.
const Latent kLatent[] = {
    // determiners and numerals
    {"les", "z"}, {"des", "z"}, {"ces", "z"}, {"mes", "z"}, {"tes", "z"}, {"ses", "z"}, {"nos", "z"},
    {"vos", "z"}, {"leurs", "z"}, {"aux", "z"}, {"quelques", "z"}, {"plusieurs", "z"}, {"certains", "z"},
    {"certaines", "z"}, {"toutes", "z"}, {"quels", "z"}, {"quelles", "z"}, {"un", "n"}, {"aucun", "n"},
    {"mon", "n"}, {"ton", "n"}, {"son", "n"}, {"deux", "z"}, {"trois", "z"}, {"vingt", "t"}, {"vingts", "z"},
    {"cent", "t"}, {"cents", "z"},
    // pronouns
    {"nous", "z"}, {"vous", "z"}, {"ils", "z"}, {"elles", "z"}, {"on", "n"}, {"en", "n"},
    // prepositions and adverbs
    {"dans", "z"}, {"chez", "z"}, {"sans", "z"}, {"sous", "z"}, {"très", "z"}, {"plus", "z"},
    {"bien", "n"}, {"rien", "n"}, {"tout", "t"}, {"quand", "t"}, {"dont", "t"},
    // verbs and preposed adjectives
    {"est", "t"}, {"sont", "t"}, {"c'est", "t"}, {"petit", "t"}, {"grand", "t"}, {"premier", "r"},
    {"dernier", "r"}, {nullptr, nullptr}};

// Words with an aspirated h (and others that refuse liaison): les héros.
const char* const kNoLiaison[] = {
    "haricot", "haricots", "héros", "hasard", "haut", "haute", "hauts", "hautes", "hauteur", "honte", "hall",
    "handicap", "hockey", "huit", "huitième", "onze", "onzième", "oui", "hache", "haine", "hameau", "hangar",
    "harpe", "hérisson", "homard", "hors", "housse", "hibou", "hiboux", "halte", "hamburger", "hamac",
    "hanche", "harcèlement", "hareng", "hausse", "hausses", "hollande", "hongrie", "huée", "yaourt", "yoga",
    "week", "whisky", nullptr};

const char* const kUnits[] = {"un", "une", "deux", "trois", "quatre", "cinq", "six", "sept", "huit", "neuf", nullptr};

bool listed(const char* const* list, const std::string& word) {
  for (int i = 0; list[i]; ++i)
    if (word == list[i]) return true;
  return false;
}

const char* latent_consonant(const std::string& word) {
  for (const Latent* l = kLatent; l->word; ++l)
    if (word == l->word) return l->consonant;
  return nullptr;
}

// First and last segment of a word (through its syllables).
cst_item* first_segment(cst_item* word) {
  cst_item* syl = item_daughter(item_as(word, "SylStructure"));
  return syl ? item_as(item_daughter(syl), "Segment") : nullptr;
}

cst_item* last_segment(cst_item* word) {
  cst_item* syl = item_last_daughter(item_as(word, "SylStructure"));
  return syl ? item_as(item_last_daughter(syl), "Segment") : nullptr;
}

bool is_vowel(const eu_voice_data* d, const char* phone) {
  for (const eu_phone* p = d->lang->phones; p->name; ++p)
    if (strcmp(p->name, phone) == 0) return p->features[0] == '+';
  return false;
}

bool name_is(const cst_item* segment, const char* name) {
  return segment && strcmp(item_feat_string(segment, "name"), name) == 0;
}

// Whether the word begins with a vowel sound liaison links to: a vowel, or
// a glide written with a vowel letter or a silent h (les oiseaux, les yeux,
// les huiles), and the word is not one that refuses liaison.
bool opens_with_vowel(const eu_voice_data* d, const std::string& word, const cst_item* first) {
  if (listed(kNoLiaison, word)) return false;
  const char* phone = item_feat_string(first, "name");
  if (is_vowel(d, phone)) return true;
  if (strcmp(phone, "j") && strcmp(phone, "w") && strcmp(phone, "wh")) return false;
  const char c = word.empty() ? 0 : word[0];
  return strchr("aeiouyh", c) != nullptr || (unsigned char)c >= 0x80;
}

}  // namespace

cst_utterance* fr_liaison(cst_utterance* u) {
  const cst_item* any = relation_head(utt_relation(u, "Segment"));
  eu_voice_data* d = eu_voice_data_of(any);
  if (!d) return u;
  for (cst_item* w = relation_head(utt_relation(u, "Word")); w && item_next(w); w = item_next(w)) {
    cst_item* n = item_next(w);
    cst_item* last = last_segment(w);
    cst_item* first = first_segment(n);
    // Only between neighbours: a pause (comma, phrase break) stops it.
    if (!last || !first || item_next(last) != first) continue;
    const std::string word = eu_to_utf8(d, item_feat_string(w, "name"));
    const std::string next = eu_to_utf8(d, item_feat_string(n, "name"));
    const std::string before = item_prev(w) ? eu_to_utf8(d, item_feat_string(item_prev(w), "name")) : "";
    const bool vowel = opens_with_vowel(d, next, first);
    if (word == "six" || word == "dix") {
      // dix-sept keeps its s; dix-huit, dix-neuf and six ans voice it.
      if (word == "dix" && next == "sept") continue;
      if (name_is(last, "s")) remove_phoneme(last);
      if (vowel || (word == "dix" && (next == "huit" || next == "neuf"))) prepend_phoneme(first, "z");
      continue;
    }
    if (word == "huit" && !vowel && !is_vowel(d, item_feat_string(first, "name"))) {
      if (name_is(last, "t")) remove_phoneme(last);
      continue;
    }
    if (word == "neuf" && (next == "heures" || next == "ans") && name_is(last, "f")) {
      item_set_string(last, "name", "v");
      continue;
    }
    if (word == "vingt" && before == "quatre") continue;  // quatre-vingt-un: no t
    if (word == "vingt" && listed(kUnits, next) && next != "un" && next != "une") {
      prepend_phoneme(first, "t");
      continue;
    }
    if (word == "cent" && (next == "un" || next == "une")) continue;
    const char* consonant = latent_consonant(word);
    if (!consonant || !vowel) continue;
    // A final consonant the lexicon already gives the word is not doubled;
    // a final s becomes the z of the liaison (plus important).
    if (name_is(last, consonant)) continue;
    if (strcmp(consonant, "z") == 0 && name_is(last, "s")) remove_phoneme(last);
    prepend_phoneme(first, consonant);
  }
  return u;
}
