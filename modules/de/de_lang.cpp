// German: the phone set of the German voices, syllable onsets, function
// words, letters, symbols, abbreviations, units, currencies and the rules for
// clock times ("20:15 Uhr", "20.15 Uhr"), dates with their case ("am
// 3. Oktober"), ordinals after articles and Roman numerals after names
// ("Ludwig XIV."); amounts are read by the kit ("12,50 €": zwölf Euro
// fünfzig).
#include "modules/de/de_lang.h"

#include "modules/common/eu_voice.h"

extern "C" const eu_lexdata de_lexdata;
extern const eu_locale de_locale;  // generated from CLDR: de_DE

namespace {

const eu_phone kPhones[] = {
    {"pau", "-0000000"},
    {"a", "+s32-000"},   {"aa", "+l32-000"},  {"an", "+l32-000"}, {"aw", "+d32-000"}, {"ax", "+a22-000"},
    {"axr", "+a32-000"}, {"ay", "+d32-000"},  {"e", "+s21-000"},  {"ee", "+l21-000"}, {"eeu", "+l21+000"},
    {"en", "+l21-000"},  {"i", "+s11-000"},   {"ii", "+l11-000"}, {"o", "+s23+000"},  {"oe", "+s21+000"},
    {"on", "+l23+000"},  {"oo", "+l23+000"},  {"oy", "+d23+000"}, {"u", "+s13+000"},  {"ue", "+s11+000"},
    {"uu", "+l13+000"},  {"uue", "+l11+000"},
    {"p", "-0000sl-"},   {"b", "-0000sl+"},   {"t", "-0000sa-"},  {"d", "-0000sa+"},  {"k", "-0000sv-"},
    {"g", "-0000sv+"},   {"gs", "-0000sg+"},  {"f", "-0000fb-"},  {"v", "-0000fb+"},  {"s", "-0000fa-"},
    {"z", "-0000fa+"},   {"sh", "-0000fp-"},  {"zh", "-0000fp+"}, {"c", "-0000fp-"},  {"x", "-0000fv-"},
    {"hh", "-0000fg+"},  {"j", "-0000rp+"},   {"l", "-0000la+"},  {"m", "-0000nl+"},  {"n", "-0000na+"},
    {"ng", "-0000nv+"},  {"r", "-0000rv+"},   {"xr", "-0000rv+"},
    {nullptr, nullptr}};

const char* const kOnsets[] = {
    "p", "b", "t", "d", "k", "g", "gs", "f", "v", "s", "z", "sh", "zh", "c", "x", "hh", "j", "l", "m", "n", "r",
    "p l", "p r", "b l", "b r", "t r", "d r", "k l", "k r", "k n", "k v", "g l", "g r", "g n", "f l", "f r",
    "sh p", "sh t", "sh m", "sh n", "sh l", "sh r", "sh v", "sh p r", "sh p l", "sh t r",
    "t s", "t s v", "p f", "p f l", "p f r", "s p", "s t", "s k", "s k r", "p s", "t sh", "d zh",
    nullptr};

const char* const kDet[] = {"der", "die", "das", "den", "dem", "des", "ein", "eine", "einen", "einem", "einer",
                            "eines", "kein", "keine", "keinen", "keinem", "keiner", nullptr};
const char* const kIn[] = {"in", "im", "an", "am", "auf", "aus", "bei", "beim", "mit", "nach", "von", "vom", "vor",
                           "zu", "zum", "zur", "über", "unter", "für", "durch", "gegen", "ohne", "um", "zwischen",
                           "seit", "bis", "ins", "ans", nullptr};
const char* const kCc[] = {"und", "oder", "aber", "doch", "sondern", "denn", "dass", "weil", "wenn", "als", nullptr};
const char* const kAux[] = {"ist", "sind", "war", "waren", "hat", "haben", "hatte", "wird", "werden", "wurde",
                            "wurden", "sein", "bin", "bist", nullptr};
const char* const kPps[] = {"ich", "du", "er", "sie", "es", "wir", "ihr", "mein", "dein", "sein", "unser", "euer",
                            "man", "sich", nullptr};
const char* const kMd[] = {"kann", "können", "muss", "müssen", "soll", "sollen", "will", "wollen", "darf",
                           "dürfen", "mag", nullptr};
const char* const kWp[] = {"wer", "was", "wo", "wie", "wann", "warum", "welche", "welcher", "welches", nullptr};
const kvap_gpos_class kGpos[] = {{"det", kDet}, {"in", kIn},   {"cc", kCc}, {"aux", kAux},
                                 {"pps", kPps}, {"md", kMd},   {"wp", kWp}, {nullptr, nullptr}};

const char* const kMonths[] = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                               "Juli",   "August",  "September", "Oktober", "November", "Dezember"};

const eu_name kLetters[] = {
    {"a", "a"},    {"b", "be"},  {"c", "ze"},  {"d", "de"},   {"e", "e"},        {"f", "eff"},  {"g", "ge"},
    {"h", "ha"},   {"i", "i"},   {"j", "jott"}, {"k", "ka"},  {"l", "ell"},      {"m", "emm"},  {"n", "enn"},
    {"o", "o"},    {"p", "pe"},  {"q", "ku"},  {"r", "err"},  {"s", "ess"},      {"t", "te"},   {"u", "u"},
    {"v", "fau"},  {"w", "we"},  {"x", "ix"},  {"y", "üpsilon"}, {"z", "zett"},  {"ä", "ä"},    {"ö", "ö"},
    {"ü", "ü"},    {"ß", "eszett"}, {nullptr, nullptr}};

const eu_name kSymbols[] = {{"&", "und"},    {"+", "plus"},       {"=", "gleich"}, {"@", "ät"},
                            {"§", "paragraf"}, {"°", "grad"},     {"#", "raute"},  {"*", "stern"},
                            {"€", "euro"},   {"$", "dollar"},     {"£", "pfund"},  {"%", "prozent"},
                            {nullptr, nullptr}};

const eu_abbrev kAbbrevs[] = {
    {"z.B", "zum Beispiel", EU_ABBR_DOT},
    {"u.a", "unter anderem", EU_ABBR_DOT}, {"d.h", "das heißt", EU_ABBR_DOT},
    {"usw", "und so weiter", EU_ABBR_DOT}, {"bzw", "beziehungsweise", EU_ABBR_DOT},
    {"ca", "circa", EU_ABBR_DOT},          {"evtl", "eventuell", EU_ABBR_DOT},
    {"inkl", "inklusive", EU_ABBR_DOT},    {"ggf", "gegebenenfalls", EU_ABBR_DOT},
    {"vgl", "vergleiche", EU_ABBR_DOT},    {"Dr", "Doktor", EU_ABBR_DOT},
    {"Prof", "Professor", EU_ABBR_DOT},    {"Hr", "Herr", EU_ABBR_DOT},
    {"Fr", "Frau", EU_ABBR_DOT | EU_ABBR_CASE}, {"St", "Sankt", EU_ABBR_DOT | EU_ABBR_CASE},
    {"Str", "Straße", EU_ABBR_DOT},        {"Nr", "Nummer", EU_ABBR_DOT},
    {"Tel", "Telefon", EU_ABBR_DOT},       {"Mio", "Millionen", EU_ABBR_DOT},
    {"Mrd", "Milliarden", EU_ABBR_DOT},    {"Tsd", "Tausend", EU_ABBR_DOT},
    {"Jh", "Jahrhundert", EU_ABBR_DOT},    {"Abb", "Abbildung", EU_ABBR_DOT},
    {"S", "Seite", EU_ABBR_DOT | EU_ABBR_CASE | EU_ABBR_NUMBER}, {"Kap", "Kapitel", EU_ABBR_DOT},
    {"bspw", "beispielsweise", EU_ABBR_DOT}, {"sog", "sogenannte", EU_ABBR_DOT},
    {"zzgl", "zuzüglich", EU_ABBR_DOT},    {"Mo", "Montag", EU_ABBR_DOT | EU_ABBR_CASE},
    {"Di", "Dienstag", EU_ABBR_DOT | EU_ABBR_CASE}, {"Mi", "Mittwoch", EU_ABBR_DOT | EU_ABBR_CASE},
    {"Do", "Donnerstag", EU_ABBR_DOT | EU_ABBR_CASE}, {"Sa", "Samstag", EU_ABBR_DOT | EU_ABBR_CASE},
    {"So", "Sonntag", EU_ABBR_DOT | EU_ABBR_CASE}, {"Jan", "Januar", EU_ABBR_DOT | EU_ABBR_CASE},
    {"Feb", "Februar", EU_ABBR_DOT | EU_ABBR_CASE}, {"Aug", "August", EU_ABBR_DOT | EU_ABBR_CASE},
    {"Sept", "September", EU_ABBR_DOT | EU_ABBR_CASE}, {"Okt", "Oktober", EU_ABBR_DOT | EU_ABBR_CASE},
    {"Nov", "November", EU_ABBR_DOT | EU_ABBR_CASE}, {"Dez", "Dezember", EU_ABBR_DOT | EU_ABBR_CASE},
    {"GmbH", "Gesellschaft mit beschränkter Haftung", EU_ABBR_CASE},
    {"ZDF", "zett de eff", EU_ABBR_CASE},
    {nullptr, nullptr, 0}};

const eu_unit kUnits[] = {
    {"km", "Kilometer", "Kilometer"},   {"m", "Meter", "Meter"},           {"cm", "Zentimeter", "Zentimeter"},
    {"mm", "Millimeter", "Millimeter"}, {"kg", "Kilogramm", "Kilogramm"},  {"g", "Gramm", "Gramm"},
    {"t", "Tonne", "Tonnen"},           {"l", "Liter", "Liter"},           {"ml", "Milliliter", "Milliliter"},
    {"km/h", "Kilometer pro Stunde", "Kilometer pro Stunde"},              {"°C", "Grad Celsius", "Grad Celsius"},
    {"°", "Grad", "Grad"},              {"h", "Stunde", "Stunden"},        {"min", "Minute", "Minuten"},
    {"kWh", "Kilowattstunde", "Kilowattstunden"},                          {"MW", "Megawatt", "Megawatt"},
    {"ha", "Hektar", "Hektar"},         {"m²", "Quadratmeter", "Quadratmeter"},
    {"qm", "Quadratmeter", "Quadratmeter"}, {"GB", "Gigabyte", "Gigabyte"}, {"MB", "Megabyte", "Megabyte"},
    {nullptr, nullptr, nullptr}};

const eu_currency kCurrencies[] = {
    {"€", "Euro", "Euro", "Cent", "Cent"},         {"EUR", "Euro", "Euro", "Cent", "Cent"},
    {"$", "Dollar", "Dollar", "Cent", "Cent"},     {"USD", "Dollar", "Dollar", "Cent", "Cent"},
    {"£", "Pfund", "Pfund", "Penny", "Pence"},     {"GBP", "Pfund", "Pfund", "Penny", "Pence"},
    {"CHF", "Franken", "Franken", "Rappen", "Rappen"}, {nullptr, nullptr, nullptr, nullptr, nullptr}};

const eu_acronym kAcronyms[] = {{"USA", false}, {"ADAC", false}, {"NATO", true}, {"UNO", true},
                                {"UEFA", true}, {"FIFA", true},  {"DAX", true},  {"ABBA", true},
                                {nullptr, false}};

// Endings written after the digits: "3te", "3ten", "3ter".
const eu_name kOrdinalMarks[] = {{"te", "%spellout-ordinal"},    {"ten", "%spellout-ordinal-n"},
                                 {"ter", "%spellout-ordinal-r"}, {"tes", "%spellout-ordinal-s"},
                                 {"tem", "%spellout-ordinal-m"}, {"ste", "%spellout-ordinal"},
                                 {"sten", "%spellout-ordinal-n"}, {"ster", "%spellout-ordinal-r"},
                                 {nullptr, nullptr}};

bool is_month(const std::string& word) {
  for (const char* m : kMonths)
    if (word == m) return true;
  return false;
}

// Case of an ordinal from the word before it: dative or accusative after
// these prepositions and articles ("am dritten"), nominative after the
// definite article ("der dritte"), strong nominative otherwise ("dritter").
const char* ordinal_rules(const std::string& previous, bool beforeMonth) {
  static const char* const kOblique[] = {"am", "vom", "zum", "im", "beim", "dem", "den", "des", "zur", "ab",
                                         "seit", "bis", "einem", "einen", "ihrem", "seinem", nullptr};
  static const char* const kWeak[] = {"der", "die", "das", nullptr};
  for (int i = 0; kOblique[i]; ++i)
    if (previous == kOblique[i]) return "%spellout-ordinal-n";
  for (int i = 0; kWeak[i]; ++i)
    if (previous == kWeak[i]) return "%spellout-ordinal";
  return beforeMonth ? "%spellout-ordinal-r" : "%spellout-ordinal";
}

bool time_rule(eu_context* c, int hours, int minutes, std::vector<std::string>* out) {
  c->spell(hours == 1 ? "%spellout-cardinal-masculine" : "%spellout-numbering", std::to_string(hours), out);
  out->push_back("Uhr");
  if (minutes > 0) c->spell("%spellout-numbering", std::to_string(minutes), out);
  if (c->punctuation(0).empty() && c->token_text(1) == "Uhr") c->consume_next();
  return true;
}

bool date_rule(eu_context* c, int day, int month, int year, std::vector<std::string>* out) {
  c->spell(ordinal_rules(eu_lower(c->lang, c->token_text(-1)), true), std::to_string(day), out);
  out->push_back(kMonths[month - 1]);
  eu_spell_year(c, year, out);
  return true;
}

bool ordinal_rule(eu_context* c, const std::string& digits, const std::string& mark,
                  std::vector<std::string>* out) {
  const std::string previous = eu_lower(c->lang, c->token_text(-1));
  const std::string next = c->token_text(1);
  if (mark == "R") {
    // Regnal numbers: "Ludwig XIV." is Ludwig der Vierzehnte.
    out->push_back("der");
    c->spell("%spellout-ordinal", digits, out);
    c->consume_dot();
    return true;
  }
  if (mark == ".") {
    // "3." is an ordinal only when text follows (else the dot ends the sentence).
    if (next.empty() || !(eu_starts_with_letter(next) || eu_is_digits(next))) return false;
    c->spell(ordinal_rules(previous, is_month(next)), digits, out);
    c->consume_dot();
    return true;
  }
  return false;
}

// "20.15 Uhr": a clock time written with a dot; "z. B." and "d. h." written
// as two tokens.
bool token_rule(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  static const char* const kSplit[][3] = {{"z", "B", "zum Beispiel"}, {"d", "h", "das heißt"},
                                          {"u", "a", "unter anderem"}};
  for (const auto& s : kSplit)
    if (text == s[0] && c->punctuation(0) == "." && c->token_text(1) == s[1] && c->punctuation(1)[0] == '.') {
      eu_push_words(s[2], out);
      c->consume_next();
      c->consume_dot();
      return true;
    }
  size_t dot = text.find('.');
  if (dot == std::string::npos || dot == 0 || dot > 2 || text.size() - dot != 3 || c->token_text(1) != "Uhr" ||
      !c->punctuation(0).empty())
    return false;
  const std::string h = text.substr(0, dot), m = text.substr(dot + 1);
  if (!eu_is_digits(h) || !eu_is_digits(m) || std::stoi(h) > 24 || std::stoi(m) > 59) return false;
  return time_rule(c, std::stoi(h), std::stoi(m), out);
}

}  // namespace

const eu_language de_language = {
    "de", &de_locale, "ISO-8859-15", "de-1.0", &de_lexdata, kPhones, kOnsets, nullptr, kGpos,
    ',', '.', "%spellout-numbering", "%spellout-numbering-year", "%spellout-cardinal-masculine",
    "minus", "Prozent", "bis", "zu", "Punkt", nullptr, false, kOrdinalMarks, kMonths,
    kLetters, kSymbols, kAbbrevs, kUnits, kCurrencies, kAcronyms,
    time_rule, date_rule, ordinal_rule, nullptr, token_rule};

void* initialize_g2p_deDE_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return eu_voice_new(&de_language, multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_deDE(void* voice) { eu_voice_delete((cst_voice*)voice); }
