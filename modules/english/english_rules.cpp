#include "modules/english/english_rules.h"

#include <ctype.h>
#include <string.h>

#include "frontend/en/en_expand.h"
#include "frontend/en/en_gpos.h"
#include "frontend/en/en_norm.h"
#include "frontend/en/en_phrasing.h"
#include "frontend/en/en_pos.h"
#include "frontend/en/en_postlex.h"
#include "frontend/sylstruct_common.h"
#include "modules/common/eu_voice.h"

const char english_cardinal_rules[] = "%spellout-numbering-verbose";
const char english_year_rules[] = "%spellout-numbering-year";

// Vowels, then consonants; features vc vlng vheight vfront vrnd ctype cplace
// cvox (vlng: s short, l long, d diphthong, a schwa; height and frontness
// 1..3; ctype: s stop, f fricative, a affricate, n nasal, l lateral, r
// approximant; cplace: l labial, b labiodental, d dental, a alveolar, p
// palatal, v velar, g glottal).
const eu_phone english_phones[] = {
    {"pau", "-0000000"},
    {"aa", "+l33-000"}, {"ii", "+l11-000"}, {"i", "+s11-000"},  {"e", "+s21-000"},  {"er", "+l22-000"},
    {"a", "+s31-000"},  {"uh", "+s32-000"}, {"o", "+s33+000"},  {"oo", "+l23+000"}, {"u", "+s13+000"},
    {"uu", "+l13+000"}, {"ax", "+a22-000"}, {"ei", "+d21-000"}, {"ai", "+d31-000"}, {"oi", "+d23+000"},
    {"ou", "+d22+000"}, {"au", "+d32+000"}, {"ia", "+d11-000"}, {"ea", "+d21-000"}, {"ua", "+d13+000"},
    {"p", "-0000sl-"},  {"b", "-0000sl+"},  {"t", "-0000sa-"},  {"d", "-0000sa+"},  {"k", "-0000sv-"},
    {"g", "-0000sv+"},  {"f", "-0000fb-"},  {"v", "-0000fb+"},  {"th", "-0000fd-"}, {"dh", "-0000fd+"},
    {"s", "-0000fa-"},  {"z", "-0000fa+"},  {"sh", "-0000fp-"}, {"zh", "-0000fp+"}, {"ch", "-0000ap-"},
    {"jh", "-0000ap+"}, {"hh", "-0000fg-"}, {"m", "-0000nl+"},  {"n", "-0000na+"},  {"ng", "-0000nv+"},
    {"l", "-0000la+"},  {"r", "-0000ra+"},  {"w", "-0000rl+"},  {"y", "-0000rp+"},
    {nullptr, nullptr}};

const char* const english_onsets[] = {
    "p", "b", "t", "d", "k", "g", "f", "v", "th", "dh", "s", "z", "sh", "zh", "ch", "jh", "hh", "m", "n", "l",
    "r", "w", "y",
    "p l", "p r", "p y", "b l", "b r", "b y", "t r", "t w", "t y", "d r", "d w", "d y", "k l", "k r", "k w",
    "k y", "g l", "g r", "g w", "g y", "f l", "f r", "f y", "th r", "th w", "sh r", "m y", "n y", "v y",
    "hh y", "l y", "s y",
    "s p", "s t", "s k", "s m", "s n", "s l", "s w", "s f", "s p l", "s p r", "s p y", "s t r", "s t y",
    "s k l", "s k r", "s k w", "s k y",
    nullptr};

const char* const english_months[] = {"January", "February", "March",     "April",   "May",      "June",
                                      "July",    "August",   "September", "October", "November", "December",
                                      nullptr};

// Spelled letters are words of their own ("_a" is the letter, "a" the article).
const eu_name english_letters[] = {
    {"a", "_a"}, {"b", "b"}, {"c", "c"}, {"d", "d"}, {"e", "e"}, {"f", "f"}, {"g", "g"}, {"h", "h"}, {"i", "i"},
    {"j", "j"},  {"k", "k"}, {"l", "l"}, {"m", "m"}, {"n", "n"}, {"o", "o"}, {"p", "p"}, {"q", "q"}, {"r", "r"},
    {"s", "s"},  {"t", "t"}, {"u", "u"}, {"v", "v"}, {"w", "w"}, {"x", "x"}, {"y", "y"}, {"z", "z"},
    {nullptr, nullptr}};

const eu_name english_symbols[] = {{"&", "and"},     {"+", "plus"},        {"=", "equals"},  {"@", "at"},
                                   {"#", "hash"},    {"*", "star"},        {"%", "per cent"}, {"°", "degrees"},
                                   {"£", "pounds"},  {"€", "euros"},       {"$", "dollars"}, {"¥", "yen"},
                                   {"§", "section"}, {"©", "copyright"},   {nullptr, nullptr}};

const eu_name english_ordinal_marks[] = {{"st", "%spellout-ordinal-verbose"},
                                         {"nd", "%spellout-ordinal-verbose"},
                                         {"rd", "%spellout-ordinal-verbose"},
                                         {"th", "%spellout-ordinal-verbose"},
                                         {nullptr, nullptr}};

// Words the rules emit that no word list holds, and the weak forms of
// function words (unstressed, as in running speech).
const eu_name english_pronunciations[] = {
    // Letter names.
    {"_a", "ei1"}, {"b", "b ii1"}, {"c", "s ii1"}, {"d", "d ii1"}, {"e", "ii1"}, {"f", "e1 f"},
    {"g", "jh ii1"}, {"h", "ei1 ch"}, {"i", "ai1"}, {"j", "jh ei1"}, {"k", "k ei1"}, {"l", "e1 l"},
    {"m", "e1 m"}, {"n", "e1 n"}, {"o", "ou1"}, {"p", "p ii1"}, {"q", "k y uu1"}, {"r", "aa1"},
    {"s", "e1 s"}, {"t", "t ii1"}, {"u", "y uu1"}, {"v", "v ii1"}, {"w", "d uh1 b ax0 l y uu0"},
    {"x", "e1 k s"}, {"y", "w ai1"}, {"z", "z e1 d"},
    // Clitics: the post-lexical rule fits them to the phone before them.
    {"'s", "z"}, {"'ll", "l"}, {"'ve", "v"}, {"'d", "d"}, {"'re", "ax0"}, {"'m", "m"}, {"n't", "ax0 n t"},
    // Contractions.
    {"don't", "d ou1 n t"}, {"doesn't", "d uh1 z ax0 n t"}, {"didn't", "d i1 d ax0 n t"},
    {"can't", "k aa1 n t"}, {"couldn't", "k u1 d ax0 n t"}, {"won't", "w ou1 n t"},
    {"wouldn't", "w u1 d ax0 n t"}, {"shouldn't", "sh u1 d ax0 n t"}, {"isn't", "i1 z ax0 n t"},
    {"aren't", "aa1 n t"}, {"wasn't", "w o1 z ax0 n t"}, {"weren't", "w er1 n t"},
    {"hasn't", "hh a1 z ax0 n t"}, {"haven't", "hh a1 v ax0 n t"}, {"hadn't", "hh a1 d ax0 n t"},
    {"mustn't", "m uh1 s ax0 n t"}, {"needn't", "n ii1 d ax0 n t"}, {"shan't", "sh aa1 n t"},
    {"ain't", "ei1 n t"}, {"i'm", "ai1 m"}, {"i'll", "ai1 l"}, {"i've", "ai1 v"}, {"i'd", "ai1 d"},
    {"you're", "y oo1"}, {"you'll", "y uu1 l"}, {"you've", "y uu1 v"}, {"you'd", "y uu1 d"},
    {"he's", "hh ii1 z"}, {"she's", "sh ii1 z"}, {"it's", "i1 t s"}, {"that's", "dh a1 t s"},
    {"what's", "w o1 t s"}, {"there's", "dh ea1 z"}, {"here's", "hh ia1 z"}, {"who's", "hh uu1 z"},
    {"where's", "w ea1 z"}, {"let's", "l e1 t s"}, {"we're", "w ia1"}, {"we'll", "w ii1 l"},
    {"we've", "w ii1 v"}, {"we'd", "w ii1 d"}, {"they're", "dh ea1"}, {"they'll", "dh ei1 l"},
    {"they've", "dh ei1 v"}, {"they'd", "dh ei1 d"}, {"he'll", "hh ii1 l"}, {"she'll", "sh ii1 l"},
    {"he'd", "hh ii1 d"}, {"she'd", "sh ii1 d"}, {"it'll", "i1 t ax0 l"}, {"o'clock", "ax0 k l o1 k"},
    // "co" of web addresses.
    {"co", "k ou1"},
    // The oracle's northern vowel of "one" (wɒn) for the broadcast one.
    {"one", "w uh1 n"},
    // Weak forms.
    {"a", "ax0"}, {"an", "ax0 n"}, {"the", "dh ax0"}, {"of", "ax0 v"}, {"to", "t ax0"}, {"and", "ax0 n d"},
    {"for", "f ax0"}, {"from", "f r ax0 m"}, {"at", "ax0 t"}, {"as", "ax0 z"}, {"than", "dh ax0 n"},
    {"but", "b ax0 t"}, {"was", "w ax0 z"}, {"were", "w ax0"}, {"are", "aa0"}, {"am", "a0 m"},
    {"be", "b ii0"}, {"been", "b ii0 n"}, {"has", "hh ax0 z"}, {"have", "hh ax0 v"}, {"had", "hh ax0 d"},
    {"can", "k ax0 n"}, {"could", "k u0 d"}, {"would", "w u0 d"}, {"should", "sh u0 d"},
    {"must", "m ax0 s t"}, {"shall", "sh ax0 l"}, {"do", "d uu0"}, {"does", "d ax0 z"}, {"is", "i0 z"},
    {"it", "i0 t"}, {"in", "i0 n"}, {"on", "o0 n"}, {"with", "w i0 dh"}, {"by", "b ai0"}, {"he", "hh ii0"},
    {"she", "sh ii0"}, {"we", "w ii0"}, {"you", "y uu0"}, {"they", "dh ei0"}, {"his", "hh i0 z"},
    {"her", "hh er0"}, {"him", "hh i0 m"}, {"them", "dh ax0 m"}, {"us", "ax0 s"}, {"me", "m ii0"},
    {"my", "m ai0"}, {"your", "y oo0"}, {"their", "dh ea0"}, {"some", "s ax0 m"},
    {nullptr, nullptr}};

const eu_abbrev english_abbrevs[] = {
    {"Mr", "mister", 0},                  {"Mrs", "missus", 0},
    {"Ms", "miz", EU_ABBR_CASE},          {"Prof", "professor", EU_ABBR_CASE},
    {"Rev", "reverend", EU_ABBR_CASE},    {"Revd", "reverend", EU_ABBR_CASE},
    {"Sgt", "sergeant", EU_ABBR_CASE},    {"Capt", "captain", EU_ABBR_CASE},
    {"Col", "colonel", EU_ABBR_CASE},     {"Gen", "general", EU_ABBR_CASE},
    {"Lt", "lieutenant", EU_ABBR_CASE},   {"Cllr", "councillor", EU_ABBR_CASE},
    {"Supt", "superintendent", EU_ABBR_CASE}, {"Insp", "inspector", EU_ABBR_CASE},
    {"Rt", "right", EU_ABBR_CASE},        {"Hon", "honourable", EU_ABBR_CASE},
    {"Jr", "junior", EU_ABBR_CASE},       {"Jnr", "junior", EU_ABBR_CASE},
    {"Sr", "senior", EU_ABBR_CASE},       {"Snr", "senior", EU_ABBR_CASE},
    {"Rd", "road", EU_ABBR_CASE},         {"Ave", "avenue", EU_ABBR_CASE},
    {"Ln", "lane", EU_ABBR_CASE},         {"Sq", "square", EU_ABBR_CASE},
    {"Cres", "crescent", EU_ABBR_CASE},   {"Blvd", "boulevard", EU_ABBR_CASE},
    {"Hwy", "highway", EU_ABBR_CASE},     {"Mt", "mount", EU_ABBR_CASE},
    {"Ltd", "limited", EU_ABBR_CASE},     {"plc", "p l c", 0},
    {"Inc", "incorporated", EU_ABBR_CASE}, {"Corp", "corporation", EU_ABBR_CASE},
    {"Bros", "brothers", EU_ABBR_CASE},   {"Utd", "united", EU_ABBR_CASE},
    {"FTSE", "footsie", EU_ABBR_CASE},   {"Co", "company", EU_ABBR_CASE | EU_ABBR_DOT},
    {"etc", "et cetera", 0},              {"e.g", "for example", EU_ABBR_DOT},
    {"eg", "for example", EU_ABBR_DOT},   {"i.e", "that is", EU_ABBR_DOT},
    {"ie", "that is", EU_ABBR_DOT},       {"vs", "versus", 0},
    {"approx", "approximately", 0},       {"esp", "especially", EU_ABBR_DOT},
    {"incl", "including", EU_ABBR_DOT},   {"govt", "government", 0},
    {"dept", "department", 0},            {"tel", "telephone", EU_ABBR_DOT},
    {"No", "number", EU_ABBR_CASE | EU_ABBR_NUMBER}, {"Nos", "numbers", EU_ABBR_CASE | EU_ABBR_NUMBER},
    {"no", "number", EU_ABBR_CASE | EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"Vol", "volume", EU_ABBR_CASE},      {"Jan", "January", EU_ABBR_CASE | EU_ABBR_DOT},
    {"Feb", "February", EU_ABBR_CASE | EU_ABBR_DOT},    {"Apr", "April", EU_ABBR_CASE | EU_ABBR_DOT},
    {"Aug", "August", EU_ABBR_CASE | EU_ABBR_DOT},      {"Sept", "September", EU_ABBR_CASE | EU_ABBR_DOT},
    {"Oct", "October", EU_ABBR_CASE | EU_ABBR_DOT},     {"Nov", "November", EU_ABBR_CASE | EU_ABBR_DOT},
    {"Dec", "December", EU_ABBR_CASE | EU_ABBR_DOT},    {"Mon", "Monday", EU_ABBR_CASE},
    {"Tue", "Tuesday", EU_ABBR_CASE},     {"Tues", "Tuesday", EU_ABBR_CASE},
    {"Wed", "Wednesday", EU_ABBR_CASE | EU_ABBR_NUMBER}, {"Thu", "Thursday", EU_ABBR_CASE},
    {"Thur", "Thursday", EU_ABBR_CASE},   {"Thurs", "Thursday", EU_ABBR_CASE},
    {"Fri", "Friday", EU_ABBR_CASE},      {"Sat", "Saturday", EU_ABBR_CASE | EU_ABBR_NUMBER},
    {"Sun", "Sunday", EU_ABBR_CASE | EU_ABBR_NUMBER},
    {nullptr, nullptr, 0}};

const eu_unit english_units[] = {
    {"km", "kilometre", "kilometres"},     {"m", "metre", "metres"},          {"cm", "centimetre", "centimetres"},
    {"mm", "millimetre", "millimetres"},   {"kg", "kilogram", "kilograms"},   {"g", "gram", "grams"},
    {"mg", "milligram", "milligrams"},     {"l", "litre", "litres"},          {"ml", "millilitre", "millilitres"},
    {"mph", "mile per hour", "miles per hour"}, {"km/h", "kilometre per hour", "kilometres per hour"},
    {"kph", "kilometre per hour", "kilometres per hour"}, {"°C", "degree celsius", "degrees celsius"},
    {"C", "degree celsius", "degrees celsius"}, {"°F", "degree fahrenheit", "degrees fahrenheit"},
    {"°", "degree", "degrees"},            {"ft", "foot", "feet"},            {"mi", "mile", "miles"},
    {"yd", "yard", "yards"},               {"lb", "pound", "pounds"},         {"lbs", "pound", "pounds"},
    {"oz", "ounce", "ounces"},             {"h", "hour", "hours"},
    {"hr", "hour", "hours"},               {"hrs", "hours", "hours"},         {"min", "minute", "minutes"},
    {"mins", "minute", "minutes"},         {"sec", "second", "seconds"},      {"secs", "second", "seconds"},
    {"GB", "gigabyte", "gigabytes"},       {"MB", "megabyte", "megabytes"},   {"TB", "terabyte", "terabytes"},
    {"GHz", "gigahertz", "gigahertz"},     {"MHz", "megahertz", "megahertz"}, {"kW", "kilowatt", "kilowatts"},
    {"kWh", "kilowatt hour", "kilowatt hours"}, {"MW", "megawatt", "megawatts"}, {"ha", "hectare", "hectares"},
    {"m²", "square metre", "square metres"}, {"km²", "square kilometre", "square kilometres"},
    {"p", "penny", "pence"},               {"c", "cent", "cents"},
    {nullptr, nullptr, nullptr}};

const eu_currency english_currencies[] = {
    {"£", "pound", "pounds", "penny", "pence"},         {"GBP", "pound", "pounds", "penny", "pence"},
    {"€", "euro", "euros", "cent", "cents"},            {"EUR", "euro", "euros", "cent", "cents"},
    {"US$", "u s dollar", "u s dollars", "cent", "cents"}, {"USD", "u s dollar", "u s dollars", "cent", "cents"},
    {"A$", "australian dollar", "australian dollars", "cent", "cents"},
    {"AUD", "australian dollar", "australian dollars", "cent", "cents"},
    {"NZ$", "new zealand dollar", "new zealand dollars", "cent", "cents"},
    {"$", "dollar", "dollars", "cent", "cents"},        {"¥", "yen", "yen", nullptr, nullptr},
    {"CHF", "swiss franc", "swiss francs", "centime", "centimes"},
    {nullptr, nullptr, nullptr, nullptr, nullptr}};

const eu_acronym english_acronyms[] = {
    {"USA", false}, {"IRA", false}, {"CEO", false}, {"VAT", false}, {"UN", false},   {"US", false},
    {"OK", false},  {"PM", false},  {"AM", false},  {"ID", false},  {"NATO", true},  {"NASA", true},
    {"UEFA", true}, {"FIFA", true}, {"OPEC", true}, {"UNESCO", true}, {"UNICEF", true}, {"AIDS", true},
    {"COVID", true}, {"BAFTA", true}, {"OFSTED", true}, {"ASEAN", true}, {"ANZAC", true}, {"SARS", true},
    {nullptr, false}};

namespace {

typedef std::vector<std::string> Words;

const char kOrdinalRules[] = "%spellout-ordinal-verbose";

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string lower(const eu_context* c, const std::string& s) { return eu_lower(c->lang, s); }

bool in_list(const std::string& word, const char* const* list) {
  for (; *list; ++list)
    if (word == *list) return true;
  return false;
}

// A word starting with a capital letter and going on in small letters ("Arsenal").
bool capitalised(const std::string& s) { return s.size() > 1 && s[0] >= 'A' && s[0] <= 'Z' && eu_starts_with_letter(s) && s[1] >= 'a' && s[1] <= 'z'; }

void number_words(eu_context* c, int value, Words* out) {
  c->spell(english_cardinal_rules, std::to_string(value), out);
}

// Month 1..12 of a month name or its short form, else 0.
int month_of(const eu_context* c, const std::string& word) {
  static const char* const kShort[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                       "jul", "aug", "sep", "oct", "nov", "dec"};
  const std::string w = lower(c, word);
  for (int m = 0; m < 12; ++m)
    if (w == kShort[m] || w == lower(c, english_months[m])) return m + 1;
  return w == "sept" ? 9 : 0;
}

// A day of the month as written before or after a month: "3", "03", "3rd".
int day_of(const std::string& t) {
  size_t n = 0;
  while (n < t.size() && is_digit(t[n])) ++n;
  if (n == 0 || n > 2) return 0;
  const std::string mark = t.substr(n);
  if (!mark.empty() && mark != "st" && mark != "nd" && mark != "rd" && mark != "th") return 0;
  const int d = std::stoi(t.substr(0, n));
  return d >= 1 && d <= 31 ? d : 0;
}

// A four-digit year from 1000 to 2099, else -1.
int year_of(const std::string& t) {
  if (t.size() != 4 || !eu_is_digits(t)) return -1;
  const int y = std::stoi(t);
  return y >= 1000 && y <= 2099 ? y : -1;
}

// "am" or "pm" for the ways they are written ("pm", "PM", "p.m"), else "".
std::string am_pm(const eu_context* c, const std::string& s) {
  std::string w = lower(c, s);
  if (w.size() == 3 && w[1] == '.') w.erase(1, 1);
  if (w.size() == 3 && w[2] == '.') w.pop_back();
  return w == "am" || w == "pm" ? w : "";
}

struct Clock {
  int hours = 0;
  int minutes = 0;
  bool written_minutes = false;  // "7.30", "7:30", not "7"
  std::string suffix;            // "am", "pm" or ""
};

// "7", "7.30", "19:30", "7pm", "7.30pm", "10:45a.m".
bool parse_clock(const eu_context* c, const std::string& t, Clock* k) {
  size_t n = 0;
  while (n < t.size() && is_digit(t[n])) ++n;
  if (n == 0 || n > 2) return false;
  k->hours = std::stoi(t.substr(0, n));
  size_t i = n;
  if (i + 3 <= t.size() && (t[i] == ':' || t[i] == '.') && is_digit(t[i + 1]) && is_digit(t[i + 2])) {
    k->minutes = std::stoi(t.substr(i + 1, 2));
    k->written_minutes = true;
    i += 3;
  }
  k->suffix = am_pm(c, t.substr(i));
  if (i < t.size() && k->suffix.empty()) return false;
  if (k->minutes > 59 || k->hours > 24) return false;
  return k->suffix.empty() || (k->hours >= 1 && k->hours <= 12);
}

// A clock time: with am/pm as digits are read ("seven thirty p m", "nine oh
// five"), else the British way ("half past seven", "twenty to ten").
void clock_words(eu_context* c, const Clock& k, const std::string& style, bool sayStyle, Words* out) {
  const int h12 = k.hours % 12 == 0 ? 12 : k.hours % 12;
  if (!style.empty()) {
    number_words(c, h12, out);
    if (k.minutes > 0 && k.minutes < 10) out->push_back("oh");
    if (k.minutes > 0) number_words(c, k.minutes, out);
    if (sayStyle) {
      out->push_back(style == "am" ? "_a" : "p");
      out->push_back("m");
    }
    return;
  }
  const int next = (k.hours + 1) % 12 == 0 ? 12 : (k.hours + 1) % 12;
  if (k.minutes == 0 && (k.hours == 0 || k.hours == 24)) return out->push_back("midnight");
  if (k.minutes == 0 && k.hours == 12) return out->push_back("midday");
  if (k.minutes == 0) {
    number_words(c, h12, out);
    out->push_back("o'clock");
    return;
  }
  const bool past = k.minutes <= 30;
  const int m = past ? k.minutes : 60 - k.minutes;
  if (m == 15) {
    out->push_back("quarter");
  } else if (m == 30) {
    out->push_back("half");
  } else {
    number_words(c, m, out);
    if (m % 5 != 0) out->push_back(m == 1 ? "minute" : "minutes");
  }
  out->push_back(past ? "past" : "to");
  number_words(c, past ? h12 : next, out);
}

// Words before a clock time written with a dot ("at 7.30"), which is
// otherwise a decimal number.
const char* const kClockWords[] = {"at", "from", "until", "till", "by", "before", "after", "between", nullptr};

bool time_token(eu_context* c, const std::string& text, Words* out) {
  // A range of times: "9am-5pm", "7.30-9pm", "10:00-11:30".
  const size_t dash = text.find('-');
  if (dash != std::string::npos && dash > 0) {
    Clock a, b;
    if (!parse_clock(c, text.substr(0, dash), &a) || !parse_clock(c, text.substr(dash + 1), &b)) return false;
    const bool styled = !a.suffix.empty() || !b.suffix.empty();
    if (!styled && !(a.written_minutes && b.written_minutes)) return false;
    clock_words(c, a, a.suffix.empty() ? b.suffix : a.suffix, !a.suffix.empty() && a.suffix != b.suffix, out);
    out->push_back("to");
    clock_words(c, b, b.suffix.empty() ? a.suffix : b.suffix, true, out);
    return true;
  }
  Clock k;
  if (!parse_clock(c, text, &k)) return false;
  if (k.suffix.empty() && c->punctuation(0).empty()) {
    k.suffix = am_pm(c, c->token_text(1));
    if (!k.suffix.empty()) {
      if (k.hours < 1 || k.hours > 12) return false;
      c->consume_next();
    }
  }
  if (!k.suffix.empty()) {
    clock_words(c, k, k.suffix, true, out);
    return true;
  }
  if (k.written_minutes && text.find('.') != std::string::npos && in_list(lower(c, c->token_text(-1)), kClockWords)) {
    clock_words(c, k, "", false, out);
    return true;
  }
  return false;
}

// Football and rugby scores: "Arsenal 2-1 Chelsea", "won 3-0" (nil for 0).
const char* const kScoreWords[] = {"won", "lost", "beat", "beaten", "drew", "draw", "drawn", "led", "lead",
                                   "leads", "leading", "trail", "trails", "trailing", "win", "defeat", "victory",
                                   "loss", nullptr};

bool score_token(eu_context* c, const std::string& text, Words* out) {
  const size_t dash = text.find('-');
  if (dash == std::string::npos || dash == 0 || dash > 2 || text.size() - dash - 1 > 2) return false;
  const std::string a = text.substr(0, dash), b = text.substr(dash + 1);
  if (!eu_is_digits(a) || !eu_is_digits(b)) return false;
  bool score = capitalised(c->token_text(-1)) && capitalised(c->token_text(1)) && c->punctuation(-1).empty();
  // "won 3-0", "beat Man City 3-1": a result word up to three words before.
  for (int back = -1; back >= -3 && !score; --back) {
    score = in_list(lower(c, c->token_text(back)), kScoreWords);
    if (back < -1 && !c->punctuation(back).empty()) break;
  }
  if (!score) return false;
  for (const std::string& side : {a, b}) {
    if (std::stoi(side) == 0)
      out->push_back("nil");
    else
      number_words(c, std::stoi(side), out);
  }
  return true;
}

// "1939-45", "2024-25", "1914-1918": years with their second part.
bool year_range_token(eu_context* c, const std::string& text, Words* out) {
  const size_t dash = text.find('-');
  if (dash != 4) return false;
  const int from = year_of(text.substr(0, 4));
  const std::string rest = text.substr(5);
  if (from < 1100 || !eu_is_digits(rest) || (rest.size() != 2 && rest.size() != 4)) return false;
  english_year(c, from, out);
  out->push_back("to");
  if (rest.size() == 4) {
    if (year_of(rest) < from) return false;
    english_year(c, year_of(rest), out);
  } else {
    number_words(c, std::stoi(rest), out);
  }
  return true;
}

// "1980s", "80s", "2000s": the year's words with the last one plural.
bool decade_token(eu_context* c, const std::string& text, Words* out) {
  if (text.size() < 3 || text.back() != 's') return false;
  const std::string digits = text.substr(0, text.size() - 1);
  if (!eu_is_digits(digits) || digits.back() != '0') return false;
  Words words;
  if (digits.size() == 4 && year_of(digits) >= 1100) {
    english_year(c, std::stoi(digits), &words);
  } else if (digits.size() == 2 && digits[0] != '0') {
    number_words(c, std::stoi(digits), &words);
  } else {
    return false;
  }
  if (words.empty()) return false;
  std::string& last = words.back();
  if (last.size() > 1 && last.back() == 'y')
    last = last.substr(0, last.size() - 1) + "ies";
  else
    last += "s";
  out->insert(out->end(), words.begin(), words.end());
  return true;
}

// The currency written before the amount of text ("£4", "US$20"), the
// longest key that a digit follows, or null.
const eu_currency* leading_currency(const std::string& text) {
  const eu_currency* currency = nullptr;
  for (const eu_currency* cur = english_currencies; cur->key; ++cur) {
    const size_t n = strlen(cur->key);
    if (text.size() > n && text.compare(0, n, cur->key) == 0 && is_digit(text[n]) &&
        (!currency || n > strlen(currency->key)))
      currency = cur;
  }
  return currency;
}

// Amounts with a magnitude: "£1.5m", "$3bn", "£20k", "3m", "£3 million".
bool magnitude_token(eu_context* c, const std::string& text, Words* out) {
  static const char* const kSuffix[][2] = {{"bn", "billion"}, {"tn", "trillion"}, {"m", "million"}, {"k", "thousand"},
                                           {nullptr, nullptr}};
  static const char* const kWords[] = {"thousand", "million", "billion", "trillion", nullptr};
  const eu_currency* currency = leading_currency(text);
  std::string rest = text;
  if (currency) rest = rest.substr(strlen(currency->key));
  size_t n = 0;
  while (n < rest.size() && (is_digit(rest[n]) || rest[n] == '.' || rest[n] == ',')) ++n;
  if (n == 0 || !is_digit(rest[0]) || !is_digit(rest[n - 1])) return false;
  const std::string number = rest.substr(0, n), suffix = rest.substr(n);
  const char* magnitude = nullptr;
  bool consumed = false;
  for (int i = 0; kSuffix[i][0]; ++i)
    if (suffix == kSuffix[i][0]) magnitude = kSuffix[i][1];
  if (!magnitude && suffix.empty() && currency && c->punctuation(0).empty() &&
      in_list(lower(c, c->token_text(1)), kWords)) {
    consumed = true;
  }
  if (!magnitude && !consumed) return false;
  if (magnitude && !currency) {
    // Millions are written with few digits ("3m", "1.5m"); distances with
    // more ("100m", "8,848m" are metres, read by the units).
    if (suffix == "k") return false;
    if (suffix == "m" && number.find('.') == std::string::npos && number.size() > 2) return false;
  }
  Words words;
  if (!c->number(number, &words)) return false;
  out->insert(out->end(), words.begin(), words.end());
  if (consumed) {
    out->push_back(lower(c, c->token_text(1)));
    c->consume_next();
  } else {
    out->push_back(magnitude);
  }
  if (currency) eu_push_words(english_unit_singular(c) ? currency->one : currency->many, out);
  return true;
}

// A price per period with a slash: "£4.99/month" is four pounds ninety
// nine a month, "$10/night" ten dollars a night.
bool price_period_token(eu_context* c, const std::string& text, Words* out) {
  const size_t slash = text.find('/');
  if (slash == std::string::npos) return false;
  const std::string price = text.substr(0, slash);
  const char* period = en_price_period(text.c_str() + slash + 1);
  if (!period || !leading_currency(price)) return false;
  Words read;
  if (!c->read(price, &read)) return false;
  out->insert(out->end(), read.begin(), read.end());
  eu_push_words(period, out);
  return true;
}

// Chart places: "#1" is number one.
bool number_sign_token(eu_context* c, const std::string& text, Words* out) {
  if (text.size() < 2 || text.size() > 4 || text[0] != '#' || !eu_is_digits(text.substr(1))) return false;
  out->push_back("number");
  return c->number(text.substr(1), out);
}

// Codes to type in after "code" or "PIN" ("4821", "AB12-CD34"): every letter
// and digit on its own, as they are typed.
bool code_token(eu_context* c, const std::string& text, Words* out) {
  if (!en_announces_code(c->token_text(-1).c_str()) || !c->punctuation(-1).empty()) return false;
  bool digit = false;
  for (char ch : text) {
    const bool letter = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
    if (!is_digit(ch) && !letter && ch != '-') return false;
    digit = digit || is_digit(ch);
  }
  if (!digit) return false;
  for (char ch : text) {
    if (ch == '-') continue;
    if (is_digit(ch)) {
      if (!c->number(std::string(1, ch), out)) return false;
    } else {
      c->spell_letters(std::string(1, ch), out);
    }
  }
  return true;
}

// Dimensions and resolutions: "3840x2160" is thirty eight forty by twenty
// one sixty, "4x4" four by four.
bool dimensions_token(eu_context* c, const std::string& text, Words* out) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos || x == 0 || x + 1 >= text.size()) return false;
  const std::string a = text.substr(0, x), b = text.substr(x + 1);
  if (!eu_is_digits(a) || !eu_is_digits(b) || a.size() > 4 || b.size() > 4 || a[0] == '0' || b[0] == '0')
    return false;
  // Four-digit sides in pairs, as years are said.
  auto side = [c](const std::string& d, Words* w) {
    return d.size() == 4 ? c->spell(english_year_rules, d, w) : c->number(d, w);
  };
  Words words;
  if (!side(a, &words)) return false;
  words.push_back("by");
  if (!side(b, &words)) return false;
  out->insert(out->end(), words.begin(), words.end());
  return true;
}

// Heights in feet and inches: 5'7" is "five foot seven" (the closing inch
// mark is the token's punctuation).
bool feet_inches_token(eu_context* c, const std::string& text, Words* out) {
  const size_t mark = text.find('\'');
  if (mark != 1 || c->punctuation(0).empty() || c->punctuation(0)[0] != '"') return false;
  const std::string feet = text.substr(0, 1), inches = text.substr(2);
  if (!eu_is_digits(feet) || !eu_is_digits(inches) || inches.empty() || inches.size() > 2 ||
      std::stoi(inches) > 11)
    return false;
  Words words;
  if (!c->number(feet, &words)) return false;
  words.push_back("foot");
  if (!c->number(inches, &words)) return false;
  out->insert(out->end(), words.begin(), words.end());
  return true;
}

// "1/2": one half; "3/4": three quarters; "2/3": two thirds; other pairs
// that make a day and a month are dates ("31/12").
bool fraction_token(eu_context* c, const std::string& text, Words* out) {
  if (text == "24/7") {
    eu_push_words("twenty four seven", out);
    return true;
  }
  const size_t slash = text.find('/');
  if (slash == std::string::npos || slash == 0) return false;
  const std::string a = text.substr(0, slash), b = text.substr(slash + 1);
  if (!eu_is_digits(a) || !eu_is_digits(b) || a.size() > 2 || b.size() > 2) return false;
  const int num = std::stoi(a), den = std::stoi(b);
  // After "on", "from", "until" or "since" a day and a month ("airs on 3/4").
  const bool day = en_leads_date(c->token_text(-1).c_str()) && c->punctuation(-1).empty();
  if (num < 1 || den < 2 || den > 10 || num >= den || day) {
    // Not a fraction: a day and a month ("31/12").
    if (num < 1 || num > 31 || den < 1 || den > 12) return false;
    return english_date(c, num, den, -1, out);
  }
  number_words(c, num, out);
  if (den == 2) {
    out->push_back(num == 1 ? "half" : "halves");
  } else if (den == 4) {
    out->push_back(num == 1 ? "quarter" : "quarters");
  } else {
    c->spell(kOrdinalRules, b, out);
    if (num > 1) out->back() += "s";
  }
  return true;
}

// Possessives and contractions: fixed forms ("don't", "o'clock"), else the
// word and its clitic ("John's", "BBC's", "it'll").
bool apostrophe_token(eu_context* c, const std::string& text, Words* out) {
  if (text.find('\'') == std::string::npos) return false;
  const std::string low = lower(c, text);
  for (const eu_name* p = c->lang->pronunciations; p && p->text; ++p)
    if (low == p->text && strchr(p->text, '\'')) {
      out->push_back(low);
      return true;
    }
  static const char* const kClitics[] = {"n't", "'s", "'ll", "'ve", "'d", "'re", "'m", nullptr};
  for (int i = 0; kClitics[i]; ++i) {
    const std::string clitic = kClitics[i];
    if (low.size() <= clitic.size() || low.compare(low.size() - clitic.size(), clitic.size(), clitic) != 0) continue;
    const std::string stem = text.substr(0, text.size() - clitic.size());
    if (stem.find('\'') != std::string::npos || !c->read(stem, out)) return false;
    out->push_back(clitic);
    return true;
  }
  return false;
}

// Plural acronyms: "MPs", "DVDs" are the letters and the plural ending.
bool acronym_plural_token(eu_context* c, const std::string& text, Words* out) {
  if (text.size() < 3 || text.back() != 's') return false;
  for (size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] < 'A' || text[i] > 'Z') return false;
  if (!c->read(text.substr(0, text.size() - 1), out)) return false;
  out->push_back("'s");
  return true;
}

// Web addresses: "bbc.co.uk", "www.abc.net.au/news" read part by part with
// "dot" and "slash".
bool web_address_token(eu_context* c, const std::string& text, Words* out) {
  static const char* const kEndings[] = {".com", ".uk", ".au", ".org", ".net", ".gov", ".edu", ".nz", nullptr};
  const std::string low = lower(c, text);
  bool web = low.compare(0, 4, "www.") == 0;
  const std::string host = low.substr(0, low.find('/'));
  for (int i = 0; kEndings[i] && !web; ++i) {
    const size_t n = strlen(kEndings[i]);
    web = host.size() > n && host.compare(host.size() - n, n, kEndings[i]) == 0;
  }
  if (!web) return false;
  std::string part;
  for (size_t i = 0; i <= low.size(); ++i) {
    const char ch = i < low.size() ? low[i] : '\0';
    if (ch == '.' || ch == '/' || ch == '\0') {
      // Parts are said or spelled as if in capitals ("bbc" b b c, "news").
      std::string upper = part;
      for (char& u : upper) u = (char)toupper((unsigned char)u);
      if (part == "co")
        out->push_back("co");
      else if (!part.empty())
        c->read(upper, out);
      part.clear();
      if (ch == '.' && i + 1 < low.size()) out->push_back("dot");
      if (ch == '/' && i + 1 < low.size()) out->push_back("slash");
    } else {
      part += ch;
    }
  }
  return true;
}

bool weekday_range_token(eu_context* c, const std::string& text, Words* out) {
  static const char* const kDays[][2] = {{"Mon", "Monday"},   {"Tue", "Tuesday"}, {"Tues", "Tuesday"},
                                         {"Wed", "Wednesday"}, {"Thu", "Thursday"}, {"Thur", "Thursday"},
                                         {"Thurs", "Thursday"}, {"Fri", "Friday"}, {"Sat", "Saturday"},
                                         {"Sun", "Sunday"},    {nullptr, nullptr}};
  const size_t dash = text.find('-');
  if (dash == std::string::npos) return false;
  const char* from = nullptr;
  const char* to = nullptr;
  for (int i = 0; kDays[i][0]; ++i) {
    if (text.substr(0, dash) == kDays[i][0]) from = kDays[i][1];
    if (text.substr(dash + 1) == kDays[i][0]) to = kDays[i][1];
  }
  (void)c;
  if (!from || !to) return false;
  out->push_back(from);
  out->push_back("to");
  out->push_back(to);
  return true;
}

// Dates written with the month's name: "3 April", "3rd April 2025", and the
// American order "April 3, 2025" (read "April the third").
bool month_date_token(eu_context* c, const std::string& text, Words* out) {
  const int day = day_of(text);
  if (!day) return false;
  if (c->punctuation(0).empty()) {
    const int month = month_of(c, c->token_text(1));
    if (month) {
      if (lower(c, c->token_text(-1)) != "the") out->push_back("the");
      c->spell(kOrdinalRules, std::to_string(day), out);
      out->push_back("of");
      out->push_back(english_months[month - 1]);
      c->consume_next();
      const int year = year_of(c->token_text(1));
      if (c->punctuation(0).empty() && year >= 0) {
        c->consume_next();
        english_year(c, year, out);
      }
      return true;
    }
  }
  if (month_of(c, c->token_text(-1)) && c->punctuation(-1).empty()) {
    out->push_back("the");
    c->spell(kOrdinalRules, std::to_string(day), out);
    const int year = year_of(c->token_text(1));
    if ((c->punctuation(0).empty() || c->punctuation(0) == ",") && year >= 0) {
      c->consume_next();
      english_year(c, year, out);
    }
    return true;
  }
  return false;
}

// A year in the twenty-first century where the words before say it is one
// ("in 2025"); years 1100-1999 are read as years by the kit anyway.
const char* const kYearWords[] = {"in", "since", "from", "until", "till", "by", "during", "before", "after",
                                  "of", "year", "early", "late", "mid", "spring", "summer", "autumn", "winter",
                                  "around", nullptr};

bool year_token(eu_context* c, const std::string& text, Words* out) {
  const int year = year_of(text);
  if (year < 2000) return false;
  if (!in_list(lower(c, c->token_text(-1)), kYearWords) && !month_of(c, c->token_text(-1))) return false;
  english_year(c, year, out);
  return true;
}

// "St" and "Dr" before a name are titles, after one street words.
bool title_or_street_token(eu_context* c, const std::string& text, Words* out) {
  const char* before = text == "St" ? "saint" : text == "Dr" ? "doctor" : nullptr;
  if (!before) return false;
  const std::string punc = c->punctuation(0);
  const bool nameFollows = (punc.empty() || punc == ".") && capitalised(c->token_text(1));
  if (!nameFollows && capitalised(c->token_text(-1))) {
    out->push_back(text == "St" ? "street" : "drive");
  } else {
    out->push_back(before);
  }
  c->consume_dot();
  return true;
}

}  // namespace

void english_year(eu_context* c, int year, std::vector<std::string>* out) {
  const std::string y = std::to_string(year);
  if ((year >= 1100 && year <= 1999) || (year >= 2010 && year <= 2099))
    c->spell(english_year_rules, y, out);
  else
    c->spell(english_cardinal_rules, y, out);
}

bool english_time(eu_context* c, int hours, int minutes, std::vector<std::string>* out) {
  Clock k;
  k.hours = hours;
  k.minutes = minutes;
  k.written_minutes = true;
  clock_words(c, k, "", false, out);
  return true;
}

bool english_date(eu_context* c, int day, int month, int year, std::vector<std::string>* out) {
  if (lower(c, c->token_text(-1)) != "the") out->push_back("the");
  c->spell(kOrdinalRules, std::to_string(day), out);
  out->push_back("of");
  out->push_back(english_months[month - 1]);
  if (year >= 0) english_year(c, year, out);
  return true;
}

bool english_ordinal(eu_context* c, const std::string& digits, const std::string& mark,
                     std::vector<std::string>* out) {
  if (mark != "R") return false;
  // Kings and queens take "the" and an ordinal (Henry VIII: the eighth);
  // wars, parts and sequels a cardinal (World War II: two).
  static const char* const kCardinal[] = {"war", "part", "chapter", "series", "volume", "act", "book", "phase",
                                          "stage", "episode", "level", "round", "class", "grade", "type", nullptr};
  if (in_list(lower(c, c->token_text(-1)), kCardinal)) return c->spell(english_cardinal_rules, digits, out);
  out->push_back("the");
  return c->spell(kOrdinalRules, digits, out);
}

bool english_token(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  if (text == "v" && capitalised(c->token_text(-1)) && capitalised(c->token_text(1))) {
    out->push_back("versus");
    return true;
  }
  // A capital A is the article at the start of a sentence or phrase and
  // before running text ("A fine of"), the letter after a name ("Plan A").
  if (text == "A" && c->punctuation(0).empty() && !c->token_text(1).empty() &&
      (c->token_text(-1).empty() || !c->punctuation(-1).empty() || !capitalised(c->token_text(-1)))) {
    out->push_back("a");
    return true;
  }
  return apostrophe_token(c, text, out) || code_token(c, text, out) || number_sign_token(c, text, out) || title_or_street_token(c, text, out) ||
         magnitude_token(c, text, out) || score_token(c, text, out) || time_token(c, text, out) ||
         year_range_token(c, text, out) || decade_token(c, text, out) || month_date_token(c, text, out) ||
         year_token(c, text, out) || price_period_token(c, text, out) || dimensions_token(c, text, out) ||
         feet_inches_token(c, text, out) || fraction_token(c, text, out) || weekday_range_token(c, text, out) ||
         acronym_plural_token(c, text, out) || web_address_token(c, text, out);
}

bool english_unit_singular(eu_context* c) {
  const std::string before = lower(c, c->token_text(-1));
  return (before == "a" || before == "an") && c->punctuation(0).empty() && eu_starts_with_letter(c->token_text(1));
}

bool english_as_word(eu_context* c, const std::string& text) {
  // Headline words in capitals ("RESIGNS") are words; shorter strings are
  // said when the English onset and coda automata can say them.
  if (text.size() >= 6 && text.find_first_of("AEIOUY") != std::string::npos) return true;
  // Two capitals are spelled ("VE Day") unless they are a short word of a
  // headline ("TO", "IS").
  static const char* const kShortWords[] = {"AM", "AN", "AS", "AT", "BE", "BY", "DO", "GO", "HE", "IF", "IN",
                                            "IS", "IT", "ME", "MY", "NO", "OF", "ON", "OR", "SO", "TO", "UP",
                                            "WE", nullptr};
  if (text.size() <= 2) return in_list(text, kShortWords);
  const std::string bytes = eu_from_utf8(c->data, text);
  return !bytes.empty() && en_aswd(c->token, bytes.c_str()) != 0;
}

bool english_is_nucleus(const char* phone) {
  // The vowels of the set; the glide "y" is a consonant.
  for (const eu_phone* p = english_phones; p->name; ++p)
    if (p->features[0] == '+' && strncmp(p->name, phone, strlen(p->name)) == 0 &&
        (phone[strlen(p->name)] == '\0' || (phone[strlen(p->name)] >= '0' && phone[strlen(p->name)] <= '9')))
      return true;
  return false;
}

cst_utterance* english_postlex(cst_utterance* u) {
  apostrophe_s(u, "ax");
  return the_before_vowel(u, "ax", "ii");
}

void english_configure(cst_voice* voice, cst_uttfunc postlex) {
  cst_features* f = voice->features;
  feat_set(f, "pos_tagger_cart", cart_val(&en_pos_cart));
  feat_set(f, "lex_pos_dict", userdata_val((void*)en_pos_dict));
  feat_set(f, "pos_tagger_func", uttfunc_val(en_pos_tagger));
  feat_set(f, "gpos_table", userdata_val((void*)en_gpos));
  feat_set(f, "phrasing_cart", cart_val(&en_phrasing_cart));
  // Accents and ToBI end tones from the English trees (the default
  // intonation step) rather than the kit's Q/S/P marks.
  feat_set(f, "int_cart_accents", cart_val(&en_int_accent_cart));
  feat_set(f, "int_cart_tones", cart_val(&en_int_tone_cart));
  feat_remove(f, "intonation_func");
  feat_set(f, "syl_nucleus_func", phonefunc_val(english_is_nucleus));
  feat_set(f, "postlex_func", uttfunc_val(postlex));
  en_ff_register_gpos(voice->ffunctions);
}
