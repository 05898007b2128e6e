// Voice of a European language module: builds a voice of the utterance model
// from an eu_language record (phone set, lexicon with letter-to-sound rules
// and exceptions, maximal-onset syllables, token rules, function words,
// phrasing by punctuation, end-tone marks) and releases it. Each voice owns
// its phone set, lexicon, text converter and number formatter (eu_voice_data,
// reachable from every utterance as the feature "eu_voice"); one thread per
// voice.
#ifndef EU_VOICE_H
#define EU_VOICE_H

#include <map>

#include "modules/common/eu_language.h"
#include "modules/common/eu_numbers.h"
#include "modules/common/eu_text.h"

struct eu_voice_data {
  const eu_language* lang;
  cst_phoneset* phoneset;
  cst_lexicon* lexicon;
  eu_codec* codec;             // the module's 8-bit encoding <-> Unicode
  eu_spellout* spellout;       // the locale's number spellout
  eu_plural_rules* plurals;    // the locale's plural rules (plural forms of names)
  // The function-word classes with their words in the module's encoding.
  kvap_gpos_class* gpos;
  std::vector<std::string>* gpos_words;
};

// A new voice for lang. encoding: the encoding the text arrives in (the
// language's own when null or empty; another one is converted to it).
// dictPath: an optional user lexicon (addenda lines "word : phones"; ignored
// when the file does not exist). Null when the language's data are unusable.
cst_voice* eu_voice_new(const eu_language* lang, int multiplePronunciations, const char* dictPath,
                        const char* encoding);
void eu_voice_delete(cst_voice* voice);

// The voice's lexicon: Flite's record first (so that the lexicon's functions
// find the pronunciation data behind it), then what it was built from.
struct eu_lexicon_record {
  cst_lexicon lex;
  const eu_lexdata* data;
  const eu_language* lang;
  char** phone_table;  // every phone, vowels also with stress digits (user lexicon check)
  // The language's fixed pronunciations, words in the module's encoding.
  std::map<std::string, std::string>* fixed;
  // The language's elided forms in the module's encoding, with their phones
  // (vowels with stress digit 0).
  std::vector<std::pair<std::string, std::vector<std::string>>>* elisions;
};

// The voice data of the utterance an item belongs to, or null.
eu_voice_data* eu_voice_data_of(const cst_item* item);

// Converts between the module's encoding and UTF-8 (characters without a
// byte in the encoding are dropped).
std::string eu_to_utf8(const eu_voice_data* d, const char* bytes);
std::string eu_from_utf8(const eu_voice_data* d, const std::string& utf8);

// Lexicon parts (eu_lexicon.cpp): the pronunciation of a lower-case word in
// the module encoding (fixed pronunciations, exceptions, else the
// letter-to-sound rules and the stress rule), as a list of phone strings with stress digits on vowels, and
// the maximal-onset syllable boundary test.
cst_val* eu_lexicon_lookup(const eu_lexdata* data, const char* word);
// The same, with the fixed pronunciations of the voice's lexicon first.
cst_val* eu_lexicon_lookup_fixed(const eu_lexicon_record* lexicon, const char* word);
cst_val* eu_lts_function(const cst_lexicon* lex, const char* word, const char* pos, const cst_features* feats);
int eu_syl_boundary(const cst_item* segment, const cst_val* rest);
// True when phones (base names separated by spaces) form a legal onset.
bool eu_is_onset(const eu_language* lang, const std::string& phones);
// True when phone (a base name) is a non-syllabic vowel of the language.
bool eu_is_nonsyllabic(const eu_language* lang, const std::string& phone);

// The token-to-words function of every European module (eu_tokens.cpp).
cst_val* eu_tokentowords(cst_item* token);

#endif
