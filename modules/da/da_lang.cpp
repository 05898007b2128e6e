// Danish: the phone set of the Danish voices, syllable onsets, function
// words, letters, symbols, abbreviations, units, currencies and the rules for
// clock times ("kl. 20.15": klokken tyve femten), dates ("den 5. juni",
// "24.12.2025", "24/12"), ordinals before words and Roman numerals after
// names ("Frederik X": Frederik den tiende); amounts are read by the kit
// ("12,50 kr.": tolv kroner og halvtreds øre).
#include "modules/da/da_lang.h"

#include "modules/common/eu_voice.h"

extern "C" const eu_lexdata da_lexdata;
extern const eu_locale da_locale;  // generated from CLDR: da_DK

namespace {

// Vowels in long/short pairs; r is the consonantal r of the onset, rh the
// vocalised r after a vowel, dh the soft d. The engine's Danish voiced-sound
// class has no velar nasal: ng is read as n.
const eu_phone kPhones[] = {
    {"pau", "-0000000"},
    {"ii", "+l11-000"},  {"i", "+s11-000"},  {"yy", "+l11+000"},  {"y", "+s11+000"},  {"uu", "+l13+000"},
    {"u", "+s13+000"},   {"ee", "+l21-000"}, {"e", "+s21-000"},   {"eeh", "+l21-000"}, {"eh", "+s21-000"},
    {"ooy", "+l21+000"}, {"oy", "+s21+000"}, {"ooe", "+l31+000"}, {"oe", "+s31+000"}, {"oo", "+l23+000"},
    {"o", "+s23+000"},   {"ooh", "+l23+000"}, {"oh", "+s23+000"}, {"ooa", "+l33+000"}, {"oa", "+s33+000"},
    {"aa", "+l31-000"},  {"a", "+s31-000"},  {"aao", "+l33-000"}, {"ao", "+s33-000"},  {"ax", "+a22-000"},
    {"ah", "+a32-000"},
    {"p", "-0000sl-"},   {"b", "-0000sl+"},  {"t", "-0000sa-"},   {"d", "-0000sa+"},   {"k", "-0000sv-"},
    {"g", "-0000sv+"},   {"f", "-0000fb-"},  {"v", "-0000fb+"},   {"s", "-0000fa-"},   {"sh", "-0000fp-"},
    {"h", "-0000fg-"},   {"dh", "-0000fd+"}, {"m", "-0000nl+"},   {"n", "-0000na+"},   {"l", "-0000la+"},
    {"j", "-0000rp+"},   {"w", "-0000rl+"},  {"r", "-0000rv+"},   {"rh", "-0000rv+"},
    {nullptr, nullptr}};

const char* const kOnsets[] = {
    "p", "b", "t", "d", "k", "g", "f", "v", "s", "sh", "h", "dh", "m", "n", "l", "j", "w", "r",
    "p r", "p l", "p j", "b r", "b l", "b j", "t r", "t v", "t j", "d r", "d v", "d j", "k r", "k l", "k v",
    "k n", "k j", "g r", "g l", "g n", "g j", "f r", "f l", "f j", "v r", "v j", "m j", "n j", "h j", "s p",
    "s t", "s k", "s l", "s m", "s n", "s v", "s j", "s p r", "s p l", "s t r", "s k r", "s k l", "s k v",
    nullptr};

const char* const kDet[] = {"den", "det", "de", "en", "et", "denne", "dette", "disse", "hver", "hvert", nullptr};
const char* const kIn[] = {"i",     "på",    "til",    "fra",     "med",    "af",   "om",  "for",
                           "ved",   "efter", "under",  "over",    "mod",    "hos",  "uden", "mellem",
                           "gennem", "siden", "bag",   "blandt",  "omkring", nullptr};
const char* const kCc[] = {"og", "eller", "men", "at", "som", "fordi", "hvis", "når", "da", "end", nullptr};
const char* const kAux[] = {"er", "var", "har", "havde", "bliver", "blev", "være", "været", "blive", nullptr};
const char* const kPps[] = {"jeg", "du",   "han",  "hun",  "vi",     "dem",   "sig", "mig", "dig",
                            "min", "din",  "sin",  "hans", "hendes", "vores", "jer", nullptr};
const char* const kMd[] = {"kan", "skal", "vil", "må", "kunne", "skulle", "ville", "burde", nullptr};
const char* const kWp[] = {"hvem", "hvad", "hvor", "hvornår", "hvorfor", "hvilken", "hvilket", "hvordan", nullptr};
const kvap_gpos_class kGpos[] = {{"det", kDet}, {"in", kIn}, {"cc", kCc}, {"aux", kAux},
                                 {"pps", kPps}, {"md", kMd}, {"wp", kWp}, {nullptr, nullptr}};

const char* const kMonths[] = {"januar", "februar", "marts",     "april",   "maj",      "juni",
                               "juli",   "august",  "september", "oktober", "november", "december"};

const eu_name kLetters[] = {
    {"a", "a"},   {"b", "be"},  {"c", "se"},  {"d", "de"},   {"e", "e"},   {"f", "æf"},  {"g", "ge"},
    {"h", "hå"},  {"i", "i"},   {"j", "jod"}, {"k", "kå"},   {"l", "æl"},  {"m", "æm"},  {"n", "æn"},
    {"o", "o"},   {"p", "pe"},  {"q", "ku"},  {"r", "ær"},   {"s", "æs"},  {"t", "te"},  {"u", "u"},
    {"v", "ve"},  {"w", "dobbelt ve"}, {"x", "æks"}, {"y", "y"}, {"z", "sæt"}, {"æ", "æ"}, {"ø", "ø"},
    {"å", "å"},   {"é", "e"},   {"ü", "y"},   {"ö", "ø"},    {"ä", "æ"},   {nullptr, nullptr}};

const eu_name kSymbols[] = {{"&", "og"},      {"+", "plus"},     {"=", "lig med"}, {"@", "snabel a"},
                            {"§", "paragraf"}, {"°", "grader"},  {"#", "havelåge"}, {"*", "stjerne"},
                            {"€", "euro"},    {"$", "dollar"},   {"£", "pund"},    {"%", "procent"},
                            {nullptr, nullptr}};

const eu_abbrev kAbbrevs[] = {
    {"bl.a", "blandt andet", EU_ABBR_DOT},      {"f.eks", "for eksempel", EU_ABBR_DOT},
    {"osv", "og så videre", EU_ABBR_DOT},       {"dvs", "det vil sige", EU_ABBR_DOT},
    {"ca", "cirka", EU_ABBR_DOT},               {"mv", "med videre", EU_ABBR_DOT},
    {"m.m", "med mere", EU_ABBR_DOT},           {"jf", "jævnfør", EU_ABBR_DOT},
    {"evt", "eventuelt", EU_ABBR_DOT},          {"inkl", "inklusive", EU_ABBR_DOT},
    {"ekskl", "eksklusive", EU_ABBR_DOT},       {"pct", "procent", EU_ABBR_DOT},
    {"nr", "nummer", EU_ABBR_DOT},              {"kl", "klokken", EU_ABBR_DOT},
    {"tlf", "telefon", EU_ABBR_DOT},            {"mio", "millioner", EU_ABBR_DOT},
    {"mia", "milliarder", EU_ABBR_DOT},         {"hr", "herr", EU_ABBR_DOT},
    {"dr", "doktor", EU_ABBR_DOT},              {"prof", "professor", EU_ABBR_DOT},
    {"Skt", "sankt", EU_ABBR_DOT},              {"St", "store", EU_ABBR_DOT | EU_ABBR_CASE},
    {"gl", "gammel", EU_ABBR_DOT},              {"ndr", "nordre", EU_ABBR_DOT},
    {"kr", "kroner", EU_ABBR_DOT},
    // Weekdays only before a date ("søn." alone is a son).
    {"man", "mandag", EU_ABBR_DOT | EU_ABBR_NUMBER},   {"tirs", "tirsdag", EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"ons", "onsdag", EU_ABBR_DOT | EU_ABBR_NUMBER},   {"tors", "torsdag", EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"fre", "fredag", EU_ABBR_DOT | EU_ABBR_NUMBER},   {"lør", "lørdag", EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"søn", "søndag", EU_ABBR_DOT | EU_ABBR_NUMBER},
    // Months in lower case ("Jan." is a name).
    {"jan", "januar", EU_ABBR_DOT | EU_ABBR_CASE},     {"feb", "februar", EU_ABBR_DOT | EU_ABBR_CASE},
    {"aug", "august", EU_ABBR_DOT | EU_ABBR_CASE},     {"sept", "september", EU_ABBR_DOT | EU_ABBR_CASE},
    {"okt", "oktober", EU_ABBR_DOT | EU_ABBR_CASE},    {"nov", "november", EU_ABBR_DOT | EU_ABBR_CASE},
    {"dec", "december", EU_ABBR_DOT | EU_ABBR_CASE},   {"A/S", "a æs", EU_ABBR_CASE},
    {"ApS", "a pe æs", EU_ABBR_CASE},
    {nullptr, nullptr, 0}};

const eu_unit kUnits[] = {
    {"km", "kilometer", "kilometer"},     {"m", "meter", "meter"},           {"cm", "centimeter", "centimeter"},
    {"mm", "millimeter", "millimeter"},   {"kg", "kilo", "kilo"},            {"g", "gram", "gram"},
    {"l", "liter", "liter"},              {"ml", "milliliter", "milliliter"},
    {"km/t", "kilometer i timen", "kilometer i timen"}, {"km/h", "kilometer i timen", "kilometer i timen"},
    {"°C", "grad celsius", "grader celsius"}, {"°", "grad", "grader"},   {"min", "minut", "minutter"},
    {"sek", "sekund", "sekunder"},        {"kWh", "kilowatttime", "kilowatttimer"},
    {"MW", "megawatt", "megawatt"},       {"ha", "hektar", "hektar"},
    {"m²", "kvadratmeter", "kvadratmeter"}, {"GB", "gigabyte", "gigabyte"}, {"MB", "megabyte", "megabyte"},
    {nullptr, nullptr, nullptr}};

const eu_currency kCurrencies[] = {
    {"kr", "krone", "kroner", "øre", "øre"},      {"DKK", "krone", "kroner", "øre", "øre"},
    {"€", "euro", "euro", "cent", "cent"},        {"EUR", "euro", "euro", "cent", "cent"},
    {"$", "dollar", "dollar", "cent", "cent"},    {"USD", "dollar", "dollar", "cent", "cent"},
    {"£", "pund", "pund", "pence", "pence"},      {"GBP", "pund", "pund", "pence", "pence"},
    {"SEK", "svensk krone", "svenske kroner", "øre", "øre"},
    {"NOK", "norsk krone", "norske kroner", "øre", "øre"},
    {nullptr, nullptr, nullptr, nullptr, nullptr}};

const eu_acronym kAcronyms[] = {{"NATO", true}, {"UEFA", true}, {"FIFA", true}, {"LEGO", true},
                                {"EU", false},  {"FN", false},  {"USA", false}, {"DSB", false},
                                {"TV", false},  {"SAS", false}, {nullptr, false}};

// "1ste", "2den", "3dje", "4de", "20ende".
const eu_name kOrdinalMarks[] = {{"ste", "%spellout-ordinal-common"}, {"den", "%spellout-ordinal-common"},
                                 {"dje", "%spellout-ordinal-common"}, {"de", "%spellout-ordinal-common"},
                                 {"nde", "%spellout-ordinal-common"}, {"ende", "%spellout-ordinal-common"},
                                 {nullptr, nullptr}};

bool is_clock_word(const std::string& word) { return word == "kl" || word == "klokken"; }

// "20.15": tyve femten; "20.00": tyve; "8.05": otte nul fem.
bool time_rule(eu_context* c, int hours, int minutes, std::vector<std::string>* out) {
  c->spell("%spellout-numbering", std::to_string(hours), out);
  if (minutes > 0 && minutes < 10) out->push_back("nul");
  if (minutes > 0) c->spell("%spellout-numbering", std::to_string(minutes), out);
  return true;
}

// "24.12.2025": fireogtyvende december to tusind og femogtyve.
bool date_rule(eu_context* c, int day, int month, int year, std::vector<std::string>* out) {
  c->spell("%spellout-ordinal-common", std::to_string(day), out);
  out->push_back(kMonths[month - 1]);
  eu_spell_year(c, year, out);
  return true;
}

bool ordinal_rule(eu_context* c, const std::string& digits, const std::string& mark,
                  std::vector<std::string>* out) {
  if (mark == "R") {
    // Regnal numbers: "Christian IV" is Christian den fjerde.
    out->push_back("den");
    c->spell("%spellout-ordinal-common", digits, out);
    c->consume_dot();
    return true;
  }
  if (mark == ".") {
    // "5." is an ordinal when a word or a number follows ("den 5. juni", "3. plads").
    const std::string next = c->token_text(1);
    if (next.empty() || !(eu_starts_with_letter(next) || eu_is_digits(next))) return false;
    c->spell("%spellout-ordinal-common", digits, out);
    c->consume_dot();
    return true;
  }
  return false;
}

// Clock times written with a dot ("20.15"; a day and month "24.12." when the
// dot ends the token and no clock word comes before), dates "24/12".
bool token_rule(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  int a = 0, b = 0;
  if (eu_dotted_time(text, &a, &b)) {
    const bool dayMonth = a >= 1 && a <= 31 && b >= 1 && b <= 12 && c->punctuation(0)[0] == '.' &&
                          !is_clock_word(eu_lower(c->lang, c->token_text(-1)));
    if (!dayMonth) return time_rule(c, a, b, out);
  }
  size_t slash = text.find('/');
  if (slash != std::string::npos && slash > 0 && slash <= 2 && text.size() - slash - 1 <= 2) {
    const std::string d = text.substr(0, slash), m = text.substr(slash + 1);
    if (eu_is_digits(d) && eu_is_digits(m) && std::stoi(d) >= 1 && std::stoi(d) <= 31 && std::stoi(m) >= 1 &&
        std::stoi(m) <= 12)
      return date_rule(c, std::stoi(d), std::stoi(m), -1, out);
  }
  return false;
}

}  // namespace

const eu_language da_language = {
    "da", &da_locale, "ISO-8859-15", "da-1.0", &da_lexdata, kPhones, kOnsets, nullptr, kGpos,
    ',', '.', "%spellout-cardinal-common", "%spellout-numbering-year", "%spellout-cardinal-common",
    "minus", "procent", "til", "", "punktum", "og", true, kOrdinalMarks, kMonths,
    kLetters, kSymbols, kAbbrevs, kUnits, kCurrencies, kAcronyms,
    time_rule, date_rule, ordinal_rule, nullptr, token_rule};

void* initialize_g2p_daDK_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return eu_voice_new(&da_language, multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_daDK(void* voice) { eu_voice_delete((cst_voice*)voice); }
