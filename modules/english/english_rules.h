// English on the European module kit: the tables and rules the British
// (modules/uken) and Australian (modules/auen) modules share. The phone set
// is the British one (Australian English adds the flap dx); numbers are
// ICU's British spellout ("one hundred and twenty"), clock times are read
// "half past eight" or, with am/pm, "seven thirty p m", dates day first
// ("3/4/2025", "3 April": the third of April), amounts in pounds and pence,
// scores "two nil", possessives and contractions through fixed
// pronunciations and clitics. The voice takes the English front end's
// tagger, phrasing and intonation trees and function words, so that its
// labels carry the same kinds of value as the US English ones.
#ifndef ENGLISH_RULES_H
#define ENGLISH_RULES_H

#include <vector>

#include "modules/common/eu_language.h"

// Tables (UTF-8; each ended by a null entry).
extern const eu_phone english_phones[];
extern const char* const english_onsets[];
extern const char* const english_months[];  // twelve
extern const eu_name english_letters[];
extern const eu_name english_symbols[];
extern const eu_name english_ordinal_marks[];
extern const eu_name english_pronunciations[];
extern const eu_abbrev english_abbrevs[];
extern const eu_unit english_units[];
extern const eu_currency english_currencies[];
extern const eu_acronym english_acronyms[];

// A variety's own entries first, then the English table they add to, ended
// by a null entry; key tells a real entry from the end.
template <typename T, typename Key>
std::vector<T> english_joined(const T* own, const T* english, Key key) {
  std::vector<T> all;
  for (const T* t : {own, english})
    for (; key(*t); ++t) all.push_back(*t);
  all.push_back(T());
  return all;
}

// The ICU rule sets of British and Australian English.
extern const char english_cardinal_rules[];  // "%spellout-numbering-verbose"
extern const char english_year_rules[];      // "%spellout-numbering-year"

// Rules of the eu_language record.
bool english_time(eu_context* c, int hours, int minutes, std::vector<std::string>* out);
bool english_date(eu_context* c, int day, int month, int year, std::vector<std::string>* out);
bool english_ordinal(eu_context* c, const std::string& digits, const std::string& mark, std::vector<std::string>* out);
bool english_token(eu_context* c, const std::string& text, std::vector<std::string>* out);
bool english_as_word(eu_context* c, const std::string& text);
// After "a" and before a noun an amount is an adjective: "a £3bn budget" (a
// three billion pound budget), "a 10km walk".
bool english_unit_singular(eu_context* c);

// A year as English speakers say it: 1999 nineteen ninety-nine, 2005 two
// thousand and five, 2025 twenty twenty-five.
void english_year(eu_context* c, int year, std::vector<std::string>* out);

// The syllable nucleus test of the English set: its vowels (the glide "y"
// starts like a vowel but is none).
bool english_is_nucleus(const char* phone);
// The English front end's features on a voice of the kit (tagger, phrasing
// and intonation trees, function words); postlex is its post-lexical rule.
void english_configure(cst_voice* voice, cst_uttfunc postlex);
// Post-lexical rules of British English: the clitics 's, 've, 'll, 'd after
// the phone before them, and "the" before a vowel with the full vowel ii.
cst_utterance* english_postlex(cst_utterance* u);

#endif
