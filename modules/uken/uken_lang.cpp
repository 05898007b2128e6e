// British English: the English tables and rules (modules/english) over the
// pronunciation data generated from espeak-ng's British English voice and
// the British word list, with ICU's en_GB spellout.
#include "modules/uken/uken_lang.h"

#include "modules/common/eu_voice.h"
#include "modules/english/english_rules.h"

extern "C" const eu_lexdata uken_lexdata;
extern const eu_locale uken_locale;  // generated from CLDR: en_GB

namespace {

// The emergency number is said digit by digit.
const eu_abbrev kOwnAbbrevs[] = {{"999", "nine nine nine", EU_ABBR_CASE}, {nullptr, nullptr, 0}};
const std::vector<eu_abbrev> kAbbrevs =
    english_joined(kOwnAbbrevs, english_abbrevs, [](const eu_abbrev& a) { return a.key != nullptr; });

void configure(cst_voice* voice) { english_configure(voice, english_postlex); }

}  // namespace

const eu_language uken_language = {
    "uken", &uken_locale, "ISO-8859-15", "uken-1.0", &uken_lexdata, english_phones, english_onsets, nullptr, nullptr,
    '.', ',', english_cardinal_rules, english_year_rules, english_cardinal_rules,
    "minus", "per cent", "to", "to", "dot", nullptr, false, english_ordinal_marks, english_months,
    english_letters, english_symbols, kAbbrevs.data(), english_units, english_currencies, english_acronyms,
    english_time, english_date, english_ordinal, nullptr, english_token,
    english_pronunciations, english_as_word, configure, english_unit_singular};

void* initialize_g2p_enGB_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return eu_voice_new(&uken_language, multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_enGB(void* voice) { eu_voice_delete((cst_voice*)voice); }
