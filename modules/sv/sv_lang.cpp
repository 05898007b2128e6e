// Swedish: the phone set of the Swedish voices, syllable onsets, function
// words, letters, symbols, abbreviations, units, currencies and the rules for
// clock times ("kl. 19.30": klockan nitton och trettio), dates ("den 24
// december", "24/12", "2025-12-24"), ordinals ("1:a", "3:e"), Roman numerals
// after names ("Karl XVI Gustaf": Karl den sextonde Gustaf) and prices with
// a colon ("12:50 kr", "25:-"); other amounts are read by the kit ("12,50
// kr": tolv kronor och femtio öre).
#include "modules/sv/sv_lang.h"

#include "modules/common/eu_voice.h"

extern "C" const eu_lexdata sv_lexdata;
extern const eu_locale sv_locale;  // generated from CLDR: sv_SE

namespace {

// Long and short vowels, au and eu of loans; sh is the sj-sound, tj the
// tj-sound, rs the retroflex s of "fors". The engine's Swedish voiced-sound
// class is the European Portuguese table: ng is voiced but not in it.
const eu_phone kPhones[] = {
    {"pau", "-0000000"},
    {"ii", "+l11-000"}, {"ee", "+l21-000"}, {"eea", "+l21-000"}, {"aa", "+l33-000"}, {"oo", "+l23+000"},
    {"uu", "+l13+000"}, {"uuy", "+l12+000"}, {"yy", "+l11+000"}, {"ooe", "+l21+000"}, {"i", "+s11-000"},
    {"e", "+s21-000"},  {"ea", "+s21-000"}, {"a", "+s31-000"},   {"o", "+s23+000"},  {"u", "+s13+000"},
    {"uy", "+s22+000"}, {"y", "+s11+000"},  {"oe", "+s21+000"},  {"au", "+d32-000"}, {"eu", "+d22-000"},
    {"p", "-0000sl-"},  {"b", "-0000sl+"},  {"t", "-0000sa-"},   {"d", "-0000sa+"},  {"k", "-0000sv-"},
    {"g", "-0000sv+"},  {"f", "-0000fb-"},  {"v", "-0000fb+"},   {"s", "-0000fa-"},  {"sh", "-0000fv-"},
    {"tj", "-0000fp-"},  {"rs", "-0000fp-"}, {"h", "-0000fg-"},   {"m", "-0000nl+"},  {"n", "-0000na+"},
    {"ng", "-0000nv+"}, {"l", "-0000la+"},  {"r", "-0000ra+"},   {"j", "-0000rp+"},
    {nullptr, nullptr}};

const char* const kOnsets[] = {
    "p", "b", "t", "d", "k", "g", "f", "v", "s", "sh", "tj", "rs", "h", "m", "n", "l", "r", "j",
    "p r", "p l", "p j", "b r", "b l", "b j", "t r", "t v", "t j", "d r", "d v", "d j", "k r", "k l", "k v",
    "k n", "k j", "g r", "g l", "g n", "g j", "f r", "f l", "f j", "v r", "m j", "n j", "s p", "s t", "s k",
    "s l", "s m", "s n", "s v", "s j", "s p r", "s p l", "s t r", "s k r", "s k v",
    nullptr};

const char* const kDet[] = {"en", "ett", "den", "det", "de", "denna", "detta", "dessa", "varje", nullptr};
const char* const kIn[] = {"i",     "på",    "till",  "från",   "med",  "av",    "om",    "för",
                           "vid",   "efter", "under", "över",   "mot",  "hos",   "utan",  "mellan",
                           "genom", "sedan", "bland", "kring",  nullptr};
const char* const kCc[] = {"och", "eller", "men", "att", "som", "eftersom", "när", "då", "än", "samt", nullptr};
const char* const kAux[] = {"är", "var", "har", "hade", "blir", "blev", "vara", "varit", "bli", nullptr};
const char* const kPps[] = {"jag", "du", "han", "hon", "vi",  "ni",  "dem", "sig", "mig",    "dig",
                            "min", "din", "sin", "hans", "hennes", "vår", "er", nullptr};
const char* const kMd[] = {"kan", "ska", "skall", "vill", "måste", "kunde", "skulle", "ville", "får", nullptr};
const char* const kWp[] = {"vem", "vad", "varför", "vilken", "vilket", "vilka", "hur", nullptr};
const kvap_gpos_class kGpos[] = {{"det", kDet}, {"in", kIn}, {"cc", kCc}, {"aux", kAux},
                                 {"pps", kPps}, {"md", kMd}, {"wp", kWp}, {nullptr, nullptr}};

const char* const kMonths[] = {"januari", "februari", "mars",      "april",   "maj",      "juni",
                               "juli",    "augusti",  "september", "oktober", "november", "december"};

const eu_name kLetters[] = {
    {"a", "a"},   {"b", "be"},  {"c", "se"},  {"d", "de"},   {"e", "e"},   {"f", "eff"}, {"g", "ge"},
    {"h", "hå"},  {"i", "i"},   {"j", "ji"},  {"k", "kå"},   {"l", "ell"}, {"m", "emm"}, {"n", "enn"},
    {"o", "o"},   {"p", "pe"},  {"q", "ku"},  {"r", "ärr"},  {"s", "ess"}, {"t", "te"},  {"u", "u"},
    {"v", "ve"},  {"w", "dubbelve"}, {"x", "eks"}, {"y", "y"}, {"z", "säta"}, {"å", "å"}, {"ä", "ä"},
    {"ö", "ö"},   {"é", "e"},   {"ü", "y"},   {"æ", "ä"},    {"ø", "ö"},   {nullptr, nullptr}};

const eu_name kSymbols[] = {{"&", "och"},      {"+", "plus"},     {"=", "lika med"}, {"@", "snabel a"},
                            {"§", "paragraf"}, {"°", "grader"},   {"#", "fyrkant"},  {"*", "stjärna"},
                            {"€", "euro"},     {"$", "dollar"},   {"£", "pund"},     {"%", "procent"},
                            {nullptr, nullptr}};

const eu_abbrev kAbbrevs[] = {
    {"t.ex", "till exempel", EU_ABBR_DOT},      {"bl.a", "bland annat", EU_ABBR_DOT},
    {"osv", "och så vidare", EU_ABBR_DOT},      {"o.s.v", "och så vidare", EU_ABBR_DOT},
    {"dvs", "det vill säga", EU_ABBR_DOT},      {"d.v.s", "det vill säga", EU_ABBR_DOT},
    {"m.m", "med mera", EU_ABBR_DOT},           {"ca", "cirka", 0},
    {"nr", "nummer", 0},                        {"kl", "klockan", 0},
    {"st", "stycken", EU_ABBR_DOT | EU_ABBR_CASE}, {"resp", "respektive", EU_ABBR_DOT},
    {"fr.o.m", "från och med", EU_ABBR_DOT},    {"t.o.m", "till och med", EU_ABBR_DOT},
    {"f.d", "före detta", EU_ABBR_DOT},         {"p.g.a", "på grund av", EU_ABBR_DOT},
    {"milj", "miljoner", EU_ABBR_DOT},          {"mdr", "miljarder", 0},
    {"kr", "kronor", 0},                        {"tel", "telefon", EU_ABBR_DOT},
    {"S:t", "sankt", EU_ABBR_CASE},             {"jfr", "jämför", EU_ABBR_DOT},
    {"inkl", "inklusive", EU_ABBR_DOT},         {"exkl", "exklusive", EU_ABBR_DOT},
    {"ev", "eventuellt", EU_ABBR_DOT},          {"prof", "professor", EU_ABBR_DOT},
    {"dr", "doktor", EU_ABBR_DOT},              {"vd", "ve de", EU_ABBR_CASE},
    // Weekdays only before a date ("sön." alone is not one).
    {"mån", "måndag", EU_ABBR_DOT | EU_ABBR_NUMBER},   {"tis", "tisdag", EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"ons", "onsdag", EU_ABBR_DOT | EU_ABBR_NUMBER},   {"tors", "torsdag", EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"fre", "fredag", EU_ABBR_DOT | EU_ABBR_NUMBER},   {"lör", "lördag", EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"sön", "söndag", EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"jan", "januari", EU_ABBR_DOT | EU_ABBR_CASE},    {"feb", "februari", EU_ABBR_DOT | EU_ABBR_CASE},
    {"aug", "augusti", EU_ABBR_DOT | EU_ABBR_CASE},    {"sept", "september", EU_ABBR_DOT | EU_ABBR_CASE},
    {"okt", "oktober", EU_ABBR_DOT | EU_ABBR_CASE},    {"nov", "november", EU_ABBR_DOT | EU_ABBR_CASE},
    {"dec", "december", EU_ABBR_DOT | EU_ABBR_CASE},   {"AB", "a be", EU_ABBR_CASE},
    {nullptr, nullptr, 0}};

const eu_unit kUnits[] = {
    {"km", "kilometer", "kilometer"},     {"mil", "mil", "mil"},             {"m", "meter", "meter"},
    {"cm", "centimeter", "centimeter"},   {"mm", "millimeter", "millimeter"}, {"kg", "kilo", "kilo"},
    {"g", "gram", "gram"},                {"l", "liter", "liter"},           {"dl", "deciliter", "deciliter"},
    {"ml", "milliliter", "milliliter"},   {"km/h", "kilometer i timmen", "kilometer i timmen"},
    {"°C", "grad celsius", "grader celsius"}, {"°", "grad", "grader"},   {"min", "minut", "minuter"},
    {"tim", "timme", "timmar"},           {"kWh", "kilowattimme", "kilowattimmar"},
    {"MW", "megawatt", "megawatt"},       {"ha", "hektar", "hektar"},        {"m²", "kvadratmeter", "kvadratmeter"},
    {"GB", "gigabyte", "gigabyte"},       {"MB", "megabyte", "megabyte"},
    {nullptr, nullptr, nullptr}};

const eu_currency kCurrencies[] = {
    {"kr", "krona", "kronor", "öre", "öre"},      {"SEK", "krona", "kronor", "öre", "öre"},
    {"€", "euro", "euro", "cent", "cent"},        {"EUR", "euro", "euro", "cent", "cent"},
    {"$", "dollar", "dollar", "cent", "cent"},    {"USD", "dollar", "dollar", "cent", "cent"},
    {"£", "pund", "pund", "pence", "pence"},      {"GBP", "pund", "pund", "pence", "pence"},
    {"NOK", "norsk krona", "norska kronor", "öre", "öre"},
    {"DKK", "dansk krona", "danska kronor", "öre", "öre"},
    {nullptr, nullptr, nullptr, nullptr, nullptr}};

const eu_acronym kAcronyms[] = {{"NATO", true}, {"IKEA", true}, {"SAS", true},  {"SAAB", true},
                                {"UEFA", true}, {"FIFA", true}, {"EU", false},  {"FN", false},
                                {"USA", false}, {"TV", false},  {"SVT", false}, {nullptr, false}};

// "1:a", "2:a", "3:e", "4:e".
const eu_name kOrdinalMarks[] = {{":a", "%spellout-ordinal-neuter"}, {":e", "%spellout-ordinal-neuter"},
                                 {nullptr, nullptr}};

int month_of(const eu_language* lang, const std::string& word) {
  const std::string w = eu_lower(lang, word);
  for (int m = 0; m < 12; ++m)
    if (w == kMonths[m]) return m + 1;
  return 0;
}

// "19.30": nitton och trettio; "20.00": tjugo; "8.05": åtta noll fem.
bool time_rule(eu_context* c, int hours, int minutes, std::vector<std::string>* out) {
  c->spell("%spellout-numbering", std::to_string(hours), out);
  if (minutes > 0 && minutes < 10) {
    out->push_back("noll");
  } else if (minutes > 0) {
    out->push_back("och");
  }
  if (minutes > 0) c->spell("%spellout-numbering", std::to_string(minutes), out);
  return true;
}

// "24/12 2025": tjugofjärde december två tusen tjugofem.
bool date_rule(eu_context* c, int day, int month, int year, std::vector<std::string>* out) {
  c->spell("%spellout-ordinal-neuter", std::to_string(day), out);
  out->push_back(kMonths[month - 1]);
  eu_spell_year(c, year, out);
  return true;
}

bool ordinal_rule(eu_context* c, const std::string& digits, const std::string& mark,
                  std::vector<std::string>* out) {
  if (mark == "R") {
    // Regnal numbers: "Gustav II Adolf" is Gustav den andre Adolf.
    out->push_back("den");
    c->spell("%spellout-ordinal-masculine", digits, out);
    c->consume_dot();
    return true;
  }
  // Swedish marks ordinals with a colon; "3." is the number.
  return false;
}

// A price with a colon: "12:50 kr", "25:-", "25:- kr".
bool colon_price(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0 || !eu_is_digits(text.substr(0, colon))) return false;
  const std::string main = text.substr(0, colon), minor = text.substr(colon + 1);
  const std::string next = c->token_text(1);
  const eu_currency* currency = nullptr;
  for (const eu_currency* k = c->lang->currencies; k->key; ++k)
    if (next == k->key) currency = k;
  if (minor == "-") {
    if (!currency) currency = &c->lang->currencies[0];
    else if (c->punctuation(0).empty()) c->consume_next();
    return eu_read_money(c, currency, main, "", out);
  }
  if (minor.size() != 2 || !eu_is_digits(minor) || !currency || !c->punctuation(0).empty()) return false;
  eu_read_money(c, currency, main, minor, out);
  c->consume_next();
  return true;
}

// Clock times with a dot ("19.30"; a day and month "24.12." when the dot
// ends the token and no clock word comes before), dates "24/12" and "den 24
// december", prices with a colon.
bool token_rule(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  int a = 0, b = 0;
  if (eu_dotted_time(text, &a, &b)) {
    const std::string previous = eu_lower(c->lang, c->token_text(-1));
    const bool dayMonth = a >= 1 && a <= 31 && b >= 1 && b <= 12 && c->punctuation(0)[0] == '.' &&
                          previous != "kl" && previous != "klockan";
    if (!dayMonth) return time_rule(c, a, b, out);
  }
  if (colon_price(c, text, out)) return true;
  size_t slash = text.find('/');
  if (slash != std::string::npos && slash > 0 && slash <= 2 && text.size() - slash - 1 <= 2 &&
      eu_is_digits(text.substr(0, slash)) && eu_is_digits(text.substr(slash + 1))) {
    const int d = std::stoi(text.substr(0, slash)), m = std::stoi(text.substr(slash + 1));
    if (d >= 1 && d <= 31 && m >= 1 && m <= 12) return date_rule(c, d, m, -1, out);
  }
  // A day before a month name is an ordinal: "den 1 maj" (första maj).
  if (eu_is_digits(text) && text.size() <= 2 && c->punctuation(0).empty() && month_of(c->lang, c->token_text(1))) {
    const int d = std::stoi(text);
    if (d >= 1 && d <= 31) return c->spell("%spellout-ordinal-neuter", text, out);
  }
  return false;
}

}  // namespace

const eu_language sv_language = {
    "sv", &sv_locale, "ISO-8859-15", "sv-1.0", &sv_lexdata, kPhones, kOnsets, nullptr, kGpos,
    ',', ' ', "%spellout-numbering", "%spellout-numbering-year", "%spellout-cardinal-reale",
    "minus", "procent", "till", "", "punkt", "och", true, kOrdinalMarks, kMonths,
    kLetters, kSymbols, kAbbrevs, kUnits, kCurrencies, kAcronyms,
    time_rule, date_rule, ordinal_rule, nullptr, token_rule};

void* initialize_g2p_svSE_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return eu_voice_new(&sv_language, multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_svSE(void* voice) { eu_voice_delete((cst_voice*)voice); }
