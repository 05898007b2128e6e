// What a European language module consists of: one constant eu_language
// record of tables (phone set, legal onsets, function words, letters,
// symbols, abbreviations, units, currencies, month names, acronyms) and a few
// rules (clock times, dates, ordinals, money, an optional token rule of its
// own), plus the generated pronunciation data (eu_lexdata). The kit
// (eu_voice, eu_lexicon, eu_tokens, eu_text) turns the record into a voice.
// Every text in the tables is UTF-8, whatever encoding the module reads;
// the kit converts at its edges. Tables are constant; rules are stateless.
#ifndef EU_LANGUAGE_H
#define EU_LANGUAGE_H

#include <string>
#include <vector>

#include "frontend/gpos_common.h"
#include "frontend/kvap_flite.h"
#include "modules/common/eu_lexdata.h"
#include "modules/common/eu_numbers.h"

struct eu_context;

// A phone and its Flite phone-set features, eight characters in the order
// vc vlng vheight vfront vrnd ctype cplace cvox (for example "+s32-000" for a
// short open central unrounded vowel, "-0000sl-" for a voiceless labial stop).
// A vowel may carry a ninth character EU_NONSYLLABIC: the second part of a
// diphthong (Finnish "ai" is a ix), which never begins a syllable and has no
// stress of its own.
enum { EU_NONSYLLABIC = 'n' };
struct eu_phone {
  const char* name;
  const char* features;
};

// Abbreviation flags: the token must be followed by '.', the key is matched
// with its case, the expansion applies only before a number.
enum { EU_ABBR_DOT = 1, EU_ABBR_CASE = 2, EU_ABBR_NUMBER = 4 };

struct eu_abbrev {
  const char* key;    // as written, without the final '.' ("z.B", "Nr")
  const char* words;  // words separated by spaces
  unsigned flags;
};

// A unit after a number ("km", "°C"): singular after exactly 1, plural
// otherwise; a language with more plural forms writes them "few|many|other"
// (eu_push_plural), and a name may begin with the spellout rule set of its count
// ("%spellout-cardinal-feminine tona") when it differs from count_rules.
struct eu_unit {
  const char* key;
  const char* one;
  const char* many;
};

// A currency by symbol or code, with its main and minor unit names (plural
// forms and rule sets as for units).
struct eu_currency {
  const char* key;  // "€", "EUR", "$"
  const char* one;
  const char* many;
  const char* minor_one;
  const char* minor_many;
};

// A string and the words it is read as (letter names, symbol names).
struct eu_name {
  const char* text;
  const char* words;
};

// Upper-case tokens whose reading is fixed: said as a word (true) or spelled.
struct eu_acronym {
  const char* text;
  bool as_word;
};

struct eu_language {
  const char* code;        // "de"
  const eu_locale* locale; // the locale's name and number rules (generated from CLDR)
  const char* encoding;    // the encoding the module reads, "ISO-8859-15"
  const char* version;     // module version string
  const eu_lexdata* lexdata;
  const eu_phone* phones;  // the pause "pau" first; ended by a null name
  // Legal syllable onsets (phones separated by spaces), null-terminated;
  // single consonants must be listed too.
  const char* const* onsets;
  // Glides that may follow any legal onset (or start a syllable alone), or null.
  const char* const* onset_glides;
  const kvap_gpos_class* gpos;  // function-word classes, ended by a null name

  // Numbers: separators, spellout rule sets (CLDR), and the words around numbers. A
  // group separator ' ' joins a number of up to three digits with the
  // tokens of exactly three digits that follow it ("1 500 000").
  char decimal_separator;
  char group_separator;
  const char* cardinal_rules;  // "%spellout-numbering"
  const char* year_rules;      // read 4-digit numbers 1100..1999 with these; null: as cardinals
  const char* count_rules;     // numbers before a unit or currency ("ein Kilometer")
  const char* minus;
  const char* percent;         // one word, or "one|few|many|other" forms (eu_push_plural)
  const char* range;           // between two numbers of a range ("bis")
  const char* score;           // between the two sides of a score ("zu")
  const char* dot;             // between the numbers of an address or version ("Punkt")
  // Amounts: the word between main and minor units ("con"; null: none) and
  // whether the minor unit is named after a main amount ("con cincuenta
  // céntimos") or not ("zwölf Euro fünfzig").
  const char* money_and;
  bool money_minor_named;
  // Ordinal marks written after the digits and the spellout rule set each takes
  // ("º" -> "%spellout-ordinal-masculine", "ten" -> "%spellout-ordinal-n").
  const eu_name* ordinal_marks;
  const char* const* months;   // twelve month names

  const eu_name* letters;      // letter names for spelling, ended by a null text
  const eu_name* symbols;      // single symbols read out, ended by a null text
  const eu_abbrev* abbrevs;    // ended by a null key
  const eu_unit* units;        // ended by a null key
  const eu_currency* currencies;  // ended by a null key
  const eu_acronym* acronyms;  // ended by a null text

  // Rules. Each appends UTF-8 words to out and returns true, or returns
  // false (nothing appended) when it does not apply.
  // A clock time (hours 0..24, minutes 0..59).
  bool (*time)(eu_context* c, int hours, int minutes, std::vector<std::string>* out);
  // A date; month 1..12; year -1 when not given.
  bool (*date)(eu_context* c, int day, int month, int year, std::vector<std::string>* out);
  // A number with an ordinal mark not in ordinal_marks: "." for "3." (the
  // dot in the token's punctuation) and "R" for a Roman numeral after a
  // name; the context tells the rest.
  bool (*ordinal)(eu_context* c, const std::string& digits, const std::string& mark, std::vector<std::string>* out);
  // An amount: main and minor units as digit strings (minor may be empty);
  // null: the kit's reading (eu_read_money).
  bool (*money)(eu_context* c, const eu_currency* currency, const std::string& main, const std::string& minor,
                std::vector<std::string>* out);
  // A rule of the language's own, tried first on every token (or null).
  bool (*token)(eu_context* c, const std::string& text, std::vector<std::string>* out);

  // Optional parts (null when the language has none; a record may end before them).
  // Fixed pronunciations, looked up before the generated data: words the
  // rules emit that no word list holds (letter names, clitics) and weak
  // forms. Phones separated by spaces, vowels with a stress digit.
  const eu_name* pronunciations = nullptr;
  // Whether an upper-case letter string not in the acronym table is said as
  // a word (null: the kit's test, a vowel and a speakable shape).
  bool (*as_word)(eu_context* c, const std::string& text) = nullptr;
  // Further voice features, set last: trees for tagging, phrasing and
  // intonation, a post-lexical rule, feature functions.
  void (*configure)(cst_voice* voice) = nullptr;
  // Whether a unit or currency after this token's number takes its singular
  // whatever the number (English "a 50c coin": a fifty cent coin).
  bool (*unit_singular)(eu_context* c) = nullptr;
  // Words of the CLDR spellout written the way the lexicon reads them right
  // (Dutch "een" -> "één": the numeral, not the article), or null.
  const eu_name* number_words = nullptr;
  // The word between a unit and the currency of an amount written with both
  // ("R$ 2,5 mi": dois vírgula cinco milhões de reais), or null.
  const char* money_unit_joiner = nullptr;
  // Elided forms written with an apostrophe before the next word ("l'",
  // "qu'", "dell'") and their phones (vowels without stress digits): the
  // form and the word are one word, the form's phones before the word's
  // own. Ended by a null text; null when the language has none.
  const eu_name* elisions = nullptr;
  // Nouns (the singular of a unit or currency) counted with another spellout rule
  // set than count_rules ("tonne" -> "%spellout-cardinal-feminine": une
  // tonne); ended by a null text, or null.
  const eu_name* noun_counts = nullptr;
  // A part of a spelled number that ends in a consonant joins the part after
  // it (Italian vent|uno is the one word ventuno, cent|otto centotto);
  // otherwise every part CLDR marks is a word of its own.
  bool join_elided_number_parts = false;
};

// ---------------------------------------------------------------------------
// What the rules see: the token being read and the kit's helpers.
// ---------------------------------------------------------------------------
struct eu_context {
  const eu_language* lang;
  cst_item* token;
  struct eu_voice_data* data;

  // Neighbouring tokens (0 = this one, -1 previous, 1 next, counting
  // consumed ones), UTF-8; "" when absent.
  std::string token_text(int offset) const;
  std::string punctuation(int offset) const;  // "punc" of a token
  std::string prepunctuation(int offset) const;
  // Reads the next token not yet read as part of this one: it yields no
  // words and its punctuation moves to this token (call twice to take two).
  void consume_next();
  // Removes the leading '.' of this token's punctuation (an abbreviation or
  // ordinal dot) when another token follows.
  void consume_dot();

  // Number words of a spellout rule set (a rule set name such as
  // "%spellout-ordinal-n"); value is a decimal digit string, optionally with
  // a '-' and a '.' fraction. Split into words at spaces and soft hyphens.
  bool spell(const char* rules, const std::string& value, std::vector<std::string>* out) const;
  // Cardinal words of a number as written in the language (group and
  // decimal separators, sign).
  bool number(const std::string& text, std::vector<std::string>* out) const;
  // Letter names of every character.
  void spell_letters(const std::string& text, std::vector<std::string>* out) const;
  // Reads a piece of this token as the kit reads the parts of a token
  // (numbers, amounts, letters, words, symbols); false when nothing applied.
  bool read(const std::string& text, std::vector<std::string>* out);
};

// The kit's reading of an amount: the main amount with count_rules and the
// unit (singular for 1), then the minor amount (with money_and and its unit
// name as the language has them); a minor amount alone with its unit.
bool eu_read_money(eu_context* c, const eu_currency* currency, const std::string& main, const std::string& minor,
                   std::vector<std::string>* out);
// Appends the form of a name that goes with a number (a digit string, with a
// '.' for written decimals). forms is one form, or "few|many|other" forms
// chosen by the locale's plural rules (CLDR: Polish 2 złote, 5 złotych,
// 2,5 złotego), with one as the "one" form; one may be null, and then forms
// is "one|few|many|other". A missing form repeats the last. Either may begin
// with the spellout rule set the count takes ("%spellout-cardinal-feminine tona"),
// which is not read.
void eu_push_plural(eu_context* c, const std::string& number, const char* one, const char* forms,
                    std::vector<std::string>* out);
// Reads this token by an abbreviation table (the language's own table is
// read by the kit; a rule may read another): the words of the entry, whose
// dot is consumed when text follows. False when no entry applies.
bool eu_read_abbreviation(eu_context* c, const eu_abbrev* table, const std::string& text,
                          std::vector<std::string>* out);
// The spellout rule set that counts noun (a unit's or currency's singular).
const char* eu_count_rules(const eu_language* lang, const char* noun);

// A year as a date says it: with the language's year rules from 1100 to
// 1999 ("neunzehnhundertneunzig"), otherwise as a plain number; nothing for
// a negative (absent) year.
void eu_spell_year(eu_context* c, int year, std::vector<std::string>* out);
// Appends the words of a space-separated list.
void eu_push_words(const char* words, std::vector<std::string>* out);
// Lower-cased UTF-8.
std::string eu_lower(const eu_language* lang, const std::string& utf8);
// True when the first character is a letter.
bool eu_starts_with_letter(const std::string& utf8);
// True when every character is a decimal digit (and there is one).
bool eu_is_digits(const std::string& s);
// A clock time written with a dot, "20.15" or "8.05" (hours up to 24, two
// digits of minutes up to 59).
bool eu_dotted_time(const std::string& text, int* hours, int* minutes);

#endif
