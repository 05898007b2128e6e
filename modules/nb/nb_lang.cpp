// Norwegian (Bokmål): the phone set of the Norwegian voices, syllable onsets,
// function words, letters, symbols, abbreviations, units, currencies and the
// rules for clock times ("kl. 20.15": klokka tjue femten), dates ("17. mai",
// "24.12.2025"), ordinals before words and Roman numerals after names
// ("Harald V": Harald den femte); amounts are read by the kit ("kr 299,-":
// to hundre og nittini kroner).
#include "modules/nb/nb_lang.h"

#include "modules/common/eu_voice.h"

extern "C" const eu_lexdata nb_lexdata;
extern const eu_locale nb_locale;  // generated from CLDR: nb_NO

namespace {

// Long and short vowels and the diphthongs; r before t, d, n and l gives the
// retroflex consonants rt rd rn rl, before s the sh-sound; c is the
// kj-sound. The syllabic consonants of the engine's Norwegian classes (el,
// en, erl, ern) are not used: a schwa and the consonant stand for them.
const eu_phone kPhones[] = {
    {"pau", "-0000000"},
    {"ii", "+l11-000"},  {"i", "+s11-000"},  {"yy", "+l11+000"}, {"y", "+s11+000"},  {"uuy", "+l12+000"},
    {"uy", "+s12+000"},  {"uu", "+l13+000"}, {"u", "+s13+000"},  {"ee", "+l21-000"}, {"ea", "+s21-000"},
    {"ooe", "+l21+000"}, {"oe", "+s21+000"}, {"oo", "+l23+000"}, {"o", "+s23+000"},  {"aae", "+l31-000"},
    {"ae", "+s31-000"},  {"aa", "+l33-000"}, {"a", "+s33-000"},  {"ax", "+a22-000"}, {"eu", "+d31-000"},
    {"aei", "+d31-000"}, {"oey", "+d21+000"}, {"ai", "+d33-000"}, {"oy", "+d23+000"},
    {"p", "-0000sl-"},   {"b", "-0000sl+"},  {"t", "-0000sa-"},  {"d", "-0000sa+"},  {"rt", "-0000sr-"},
    {"rd", "-0000sr+"},  {"k", "-0000sv-"},  {"g", "-0000sv+"},  {"f", "-0000fb-"},  {"v", "-0000fb+"},
    {"s", "-0000fa-"},   {"sh", "-0000fr-"}, {"c", "-0000fp-"},  {"h", "-0000fg-"},  {"m", "-0000nl+"},
    {"n", "-0000na+"},   {"rn", "-0000nr+"}, {"ng", "-0000nv+"}, {"l", "-0000la+"},  {"rl", "-0000lr+"},
    {"r", "-0000ra+"},   {"j", "-0000rp+"},
    {nullptr, nullptr}};

const char* const kOnsets[] = {
    "p", "b", "t", "d", "rt", "rd", "k", "g", "f", "v", "s", "sh", "c", "h", "m", "n", "rn", "l", "rl", "r", "j",
    "p r", "p l", "p j", "b r", "b l", "b j", "t r", "t v", "t j", "d r", "d v", "d j", "k r", "k l", "k v",
    "k n", "k j", "g r", "g l", "g n", "g j", "f r", "f l", "f j", "v r", "v j", "m j", "n j", "s p", "s t",
    "s k", "s l", "s m", "s n", "s v", "s j", "s p r", "s p l", "s t r", "s k r", "s k l", "s k v",
    nullptr};

const char* const kDet[] = {"en", "ei", "et", "den", "det", "de", "denne", "dette", "disse", "hver", nullptr};
const char* const kIn[] = {"i",      "på",    "til",   "fra",   "med",   "av",   "om",   "for",
                           "ved",    "etter", "under", "over",  "mot",   "hos",  "uten", "mellom",
                           "gjennom", "siden", "blant", "rundt", nullptr};
const char* const kCc[] = {"og", "eller", "men", "at", "som", "fordi", "hvis", "når", "da", "enn", nullptr};
const char* const kAux[] = {"er", "var", "har", "hadde", "blir", "ble", "være", "vært", "bli", nullptr};
const char* const kPps[] = {"jeg", "du",  "han", "hun",  "vi",     "dere", "dem", "seg", "meg",
                            "deg", "min", "din", "sin",  "hans",   "hennes", "vår", nullptr};
const char* const kMd[] = {"kan", "skal", "vil", "må", "kunne", "skulle", "ville", "bør", nullptr};
const char* const kWp[] = {"hvem", "hva", "hvor", "hvorfor", "hvilken", "hvilket", "hvordan", nullptr};
const kvap_gpos_class kGpos[] = {{"det", kDet}, {"in", kIn}, {"cc", kCc}, {"aux", kAux},
                                 {"pps", kPps}, {"md", kMd}, {"wp", kWp}, {nullptr, nullptr}};

const char* const kMonths[] = {"januar", "februar", "mars",      "april",   "mai",      "juni",
                               "juli",   "august",  "september", "oktober", "november", "desember"};

const eu_name kLetters[] = {
    {"a", "a"},   {"b", "be"},  {"c", "se"},  {"d", "de"},   {"e", "e"},   {"f", "eff"}, {"g", "ge"},
    {"h", "hå"},  {"i", "i"},   {"j", "je"},  {"k", "kå"},   {"l", "ell"}, {"m", "emm"}, {"n", "enn"},
    {"o", "o"},   {"p", "pe"},  {"q", "ku"},  {"r", "ærr"},  {"s", "ess"}, {"t", "te"},  {"u", "u"},
    {"v", "ve"},  {"w", "dobbeltve"}, {"x", "eks"}, {"y", "y"}, {"z", "sett"}, {"æ", "æ"}, {"ø", "ø"},
    {"å", "å"},   {"é", "e"},   {"ü", "y"},   {"ä", "æ"},    {"ö", "ø"},   {nullptr, nullptr}};

const eu_name kSymbols[] = {{"&", "og"},       {"+", "pluss"},    {"=", "er lik"},  {"@", "krøllalfa"},
                            {"§", "paragraf"}, {"°", "grader"},   {"#", "firkant"}, {"*", "stjerne"},
                            {"€", "euro"},     {"$", "dollar"},   {"£", "pund"},    {"%", "prosent"},
                            {nullptr, nullptr}};

const eu_abbrev kAbbrevs[] = {
    {"bl.a", "blant annet", EU_ABBR_DOT},       {"f.eks", "for eksempel", EU_ABBR_DOT},
    {"osv", "og så videre", EU_ABBR_DOT},       {"dvs", "det vil si", EU_ABBR_DOT},
    {"ca", "cirka", 0},                         {"mv", "med videre", EU_ABBR_DOT},
    {"mfl", "med flere", EU_ABBR_DOT},          {"m.fl", "med flere", EU_ABBR_DOT},
    {"nr", "nummer", 0},                        {"kl", "klokka", 0},
    {"tlf", "telefon", EU_ABBR_DOT},            {"mill", "millioner", EU_ABBR_DOT},
    {"mrd", "milliarder", EU_ABBR_DOT},         {"pst", "prosent", EU_ABBR_DOT},
    {"ev", "eventuelt", EU_ABBR_DOT},           {"evt", "eventuelt", EU_ABBR_DOT},
    {"inkl", "inklusive", EU_ABBR_DOT},         {"ekskl", "eksklusive", EU_ABBR_DOT},
    {"jf", "jamfør", EU_ABBR_DOT},              {"St", "sankt", EU_ABBR_DOT | EU_ABBR_CASE},
    {"dr", "doktor", EU_ABBR_DOT},              {"prof", "professor", EU_ABBR_DOT},
    {"kr", "kroner", 0},                        {"AS", "a ess", EU_ABBR_CASE},
    {"ASA", "a ess a", EU_ABBR_CASE},
    // Weekdays only before a date ("søn." alone is a son).
    {"man", "mandag", EU_ABBR_DOT | EU_ABBR_NUMBER},   {"tir", "tirsdag", EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"ons", "onsdag", EU_ABBR_DOT | EU_ABBR_NUMBER},   {"tor", "torsdag", EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"fre", "fredag", EU_ABBR_DOT | EU_ABBR_NUMBER},   {"lør", "lørdag", EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"søn", "søndag", EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"jan", "januar", EU_ABBR_DOT | EU_ABBR_CASE},     {"feb", "februar", EU_ABBR_DOT | EU_ABBR_CASE},
    {"aug", "august", EU_ABBR_DOT | EU_ABBR_CASE},     {"sep", "september", EU_ABBR_DOT | EU_ABBR_CASE},
    {"sept", "september", EU_ABBR_DOT | EU_ABBR_CASE}, {"okt", "oktober", EU_ABBR_DOT | EU_ABBR_CASE},
    {"nov", "november", EU_ABBR_DOT | EU_ABBR_CASE},   {"des", "desember", EU_ABBR_DOT | EU_ABBR_CASE},
    {nullptr, nullptr, 0}};

const eu_unit kUnits[] = {
    {"km", "kilometer", "kilometer"},     {"mil", "mil", "mil"},             {"m", "meter", "meter"},
    {"cm", "centimeter", "centimeter"},   {"mm", "millimeter", "millimeter"}, {"kg", "kilo", "kilo"},
    {"g", "gram", "gram"},                {"l", "liter", "liter"},           {"dl", "desiliter", "desiliter"},
    {"ml", "milliliter", "milliliter"},   {"km/t", "kilometer i timen", "kilometer i timen"},
    {"km/h", "kilometer i timen", "kilometer i timen"}, {"°C", "grad celsius", "grader celsius"},
    {"°", "grad", "grader"},              {"min", "minutt", "minutter"},
    {"kWh", "kilowattime", "kilowattimer"}, {"MW", "megawatt", "megawatt"}, {"daa", "dekar", "dekar"},
    {"m²", "kvadratmeter", "kvadratmeter"}, {"GB", "gigabyte", "gigabyte"}, {"MB", "megabyte", "megabyte"},
    {nullptr, nullptr, nullptr}};

const eu_currency kCurrencies[] = {
    {"kr", "krone", "kroner", "øre", "øre"},      {"NOK", "krone", "kroner", "øre", "øre"},
    {"€", "euro", "euro", "cent", "cent"},        {"EUR", "euro", "euro", "cent", "cent"},
    {"$", "dollar", "dollar", "cent", "cent"},    {"USD", "dollar", "dollar", "cent", "cent"},
    {"£", "pund", "pund", "pence", "pence"},      {"GBP", "pund", "pund", "pence", "pence"},
    {"SEK", "svensk krone", "svenske kroner", "øre", "øre"},
    {"DKK", "dansk krone", "danske kroner", "øre", "øre"},
    {nullptr, nullptr, nullptr, nullptr, nullptr}};

const eu_acronym kAcronyms[] = {{"NATO", true}, {"NAV", true},  {"UEFA", true}, {"FIFA", true},
                                {"OBOS", true}, {"EU", false},  {"FN", false},  {"USA", false},
                                {"TV", false},  {"NRK", false}, {"LO", false},  {nullptr, false}};

bool is_clock_word(const std::string& word) { return word == "kl" || word == "klokka" || word == "klokken"; }

// "20.15": tjue femten; "20.00": tjue; "8.05": åtte null fem.
bool time_rule(eu_context* c, int hours, int minutes, std::vector<std::string>* out) {
  c->spell("%spellout-numbering", std::to_string(hours), out);
  if (minutes > 0 && minutes < 10) out->push_back("null");
  if (minutes > 0) c->spell("%spellout-numbering", std::to_string(minutes), out);
  return true;
}

// "24.12.2025": tjuefjerde desember to tusen og tjuefem.
bool date_rule(eu_context* c, int day, int month, int year, std::vector<std::string>* out) {
  c->spell("%spellout-ordinal-masculine", std::to_string(day), out);
  out->push_back(kMonths[month - 1]);
  eu_spell_year(c, year, out);
  return true;
}

bool ordinal_rule(eu_context* c, const std::string& digits, const std::string& mark,
                  std::vector<std::string>* out) {
  if (mark == "R") {
    // Regnal numbers: "Haakon VII" is Haakon den sjuende.
    out->push_back("den");
    c->spell("%spellout-ordinal-masculine", digits, out);
    c->consume_dot();
    return true;
  }
  if (mark == ".") {
    // "17." is an ordinal when a word or a number follows ("17. mai", "3. plass").
    const std::string next = c->token_text(1);
    if (next.empty() || !(eu_starts_with_letter(next) || eu_is_digits(next))) return false;
    c->spell("%spellout-ordinal-masculine", digits, out);
    c->consume_dot();
    return true;
  }
  return false;
}

// Clock times with a dot ("20.15"; a day and month "24.12." when the dot
// ends the token and no clock word comes before).
bool token_rule(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  int a = 0, b = 0;
  if (!eu_dotted_time(text, &a, &b)) return false;
  const bool dayMonth = a >= 1 && a <= 31 && b >= 1 && b <= 12 && c->punctuation(0)[0] == '.' &&
                        !is_clock_word(eu_lower(c->lang, c->token_text(-1)));
  return !dayMonth && time_rule(c, a, b, out);
}

}  // namespace

const eu_language nb_language = {
    "nb", &nb_locale, "ISO-8859-15", "nb-1.0", &nb_lexdata, kPhones, kOnsets, nullptr, kGpos,
    ',', ' ', "%spellout-numbering", "%spellout-numbering-year", "%spellout-cardinal-masculine",
    "minus", "prosent", "til", "", "punktum", "og", true, nullptr, kMonths,
    kLetters, kSymbols, kAbbrevs, kUnits, kCurrencies, kAcronyms,
    time_rule, date_rule, ordinal_rule, nullptr, token_rule};

void* initialize_g2p_nbNO_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return eu_voice_new(&nb_language, multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_nbNO(void* voice) { eu_voice_delete((cst_voice*)voice); }
