// Australian English: the English tables and rules (modules/english) over
// pronunciation data generated from espeak-ng's British English voice (it
// has no Australian one) and the Australian hunspell word list, mapped with
// the Australian vowel of "dance" and "example"; the flap dx for t and d
// between vowels; the states and street words of Australian addresses;
// ICU's en_AU spellout.
#include "modules/auen/auen_lang.h"

#include <string.h>

#include "frontend/sylstruct_common.h"
#include "modules/common/eu_voice.h"
#include "modules/english/english_rules.h"

extern "C" const eu_lexdata auen_lexdata;
extern const eu_locale auen_locale;  // generated from CLDR: en_AU

namespace {

// The British set and the flap.
const eu_phone kFlap[] = {{"dx", "-0000sa+"}, {nullptr, nullptr}};
const std::vector<eu_phone> kPhones =
    english_joined(english_phones, kFlap, [](const eu_phone& p) { return p.name != nullptr; });

const eu_abbrev kOwnAbbrevs[] = {
    {"NSW", "new south wales", EU_ABBR_CASE},   {"Qld", "queensland", EU_ABBR_CASE},
    {"Vic", "victoria", EU_ABBR_CASE},          {"Tas", "tasmania", EU_ABBR_CASE},
    {"WA", "western australia", EU_ABBR_CASE},  {"SA", "south australia", EU_ABBR_CASE},
    {"NT", "northern territory", EU_ABBR_CASE}, {"NZ", "new zealand", EU_ABBR_CASE},
    {"Pty", "proprietary", EU_ABBR_CASE},       {"Pde", "parade", EU_ABBR_CASE},
    {"Tce", "terrace", EU_ABBR_CASE},           {"Cct", "circuit", EU_ABBR_CASE},
    {"Esp", "esplanade", EU_ABBR_CASE},
    // The emergency number is said as a name.
    {"000", "triple zero", EU_ABBR_CASE},       {nullptr, nullptr, 0}};
const std::vector<eu_abbrev> kAbbrevs =
    english_joined(kOwnAbbrevs, english_abbrevs, [](const eu_abbrev& a) { return a.key != nullptr; });

const eu_acronym kOwnAcronyms[] = {{"ACT", false}, {"ANZ", false}, {"CSIRO", false}, {"TAFE", true},
                                   {"QANTAS", true}, {nullptr, false}};
const std::vector<eu_acronym> kAcronyms =
    english_joined(kOwnAcronyms, english_acronyms, [](const eu_acronym& a) { return a.text != nullptr; });

const eu_name kOwnPronunciations[] = {{"g'day", "g ax0 d ei1"}, {nullptr, nullptr}};
const std::vector<eu_name> kPronunciations =
    english_joined(kOwnPronunciations, english_pronunciations, [](const eu_name& n) { return n.text != nullptr; });

void configure(cst_voice* voice) { english_configure(voice, auen_postlex); }

}  // namespace

cst_utterance* auen_postlex(cst_utterance* u) {
  english_postlex(u);
  for (cst_item* s = relation_head(utt_relation(u, "Segment")); s; s = item_next(s)) {
    const char* name = item_feat_string(s, "name");
    if ((strcmp(name, "t") != 0 && strcmp(name, "d") != 0) || is_word_initial(s)) continue;
    cst_item* next = item_next(s);
    if (!item_prev(s) || !next) continue;
    if (strcmp(ffeature_string(s, "p.ph_vc"), "+") != 0 || strcmp(ffeature_string(next, "ph_vc"), "+") != 0)
      continue;
    if (strcmp(ffeature_string(next, "R:SylStructure.parent.stress"), "0") != 0) continue;
    const char* vowel = item_feat_string(next, "name");
    if (strcmp(vowel, "ax") != 0 && strcmp(vowel, "i") != 0 && strcmp(vowel, "ii") != 0 && strcmp(vowel, "u") != 0)
      continue;
    item_set_string(s, "name", "dx");
  }
  return u;
}

const eu_language auen_language = {
    "auen", &auen_locale, "ISO-8859-15", "auen-1.0", &auen_lexdata, kPhones.data(), english_onsets, nullptr, nullptr,
    '.', ',', english_cardinal_rules, english_year_rules, english_cardinal_rules,
    "minus", "per cent", "to", "to", "dot", nullptr, false, english_ordinal_marks, english_months,
    english_letters, english_symbols, kAbbrevs.data(), english_units, english_currencies, kAcronyms.data(),
    english_time, english_date, english_ordinal, nullptr, english_token,
    kPronunciations.data(), english_as_word, configure, english_unit_singular};

void* initialize_g2p_enAU_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return eu_voice_new(&auen_language, multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_enAU(void* voice) { eu_voice_delete((cst_voice*)voice); }
