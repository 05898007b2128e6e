// Italian: the Italian phone set, syllable onsets with glides, function
// words, elided forms ("l'", "dell'", "c'"), letters, symbols,
// abbreviations, units, currencies and the rules for clock times ("alle
// 20:30", "ore 20.30": venti e trenta), dates ("1° gennaio", "15/03/2025"),
// ordinals ("3°", "2ª", "XXI secolo", "Giovanni Paolo II": secondo) and the
// degree sign as a unit or an ordinal; amounts are read by the kit ("12,50
// €": dodici euro e cinquanta centesimi).
#include "modules/it/it_lang.h"

#include "modules/common/eu_voice.h"

extern "C" const eu_lexdata it_lexdata;
extern const eu_locale it_locale;  // generated from CLDR: it_IT

namespace {

const eu_phone kPhones[] = {
    {"pau", "-0000000"},
    {"a", "+s32-000"},  {"e", "+s11-000"},  {"eh", "+s21-000"}, {"i", "+s11-000"},  {"o", "+s23+000"},
    {"oh", "+s33+000"}, {"u", "+s13+000"},
    {"p", "-0000sl-"},  {"b", "-0000sl+"},  {"t", "-0000sd-"},  {"d", "-0000sd+"},  {"k", "-0000sv-"},
    {"g", "-0000sv+"},  {"f", "-0000fb-"},  {"v", "-0000fb+"},  {"s", "-0000fa-"},  {"z", "-0000fa+"},
    {"sh", "-0000fp-"}, {"ts", "-0000aa-"}, {"dz", "-0000aa+"}, {"ch", "-0000ap-"}, {"jh", "-0000ap+"},
    {"m", "-0000nl+"},  {"n", "-0000na+"},  {"ny", "-0000np+"}, {"ng", "-0000nv+"}, {"l", "-0000la+"},
    {"lh", "-0000lp+"}, {"r", "-0000ra+"},  {"rr", "-0000ra+"}, {"j", "-0000rp+"},  {"w", "-0000rl+"},
    {nullptr, nullptr}};

const char* const kOnsets[] = {
    "p", "b", "t", "d", "k", "g", "f", "v", "s", "z", "sh", "ts", "dz", "ch", "jh", "m", "n", "ny", "l", "lh",
    "r", "rr",
    "p r", "p l", "b r", "b l", "t r", "d r", "k r", "k l", "g r", "g l", "f r", "f l", "v r", "p s", "p n",
    "s p", "s t", "s k", "s f", "s p r", "s t r", "s k r", "s p l", "s k l", "s f r",
    "z b", "z d", "z g", "z v", "z m", "z n", "z l", "z r", "z b r", "z d r", "z g r",
    nullptr};
const char* const kGlides[] = {"j", "w", nullptr};

const char* const kDet[] = {"il",  "lo",  "la",  "i",  "gli",  "le",  "un",    "uno",    "una",
                            "questo", "questa", "questi", "queste", "quel", "quello", "quella", "ogni", nullptr};
const char* const kIn[] = {"di",    "a",     "da",    "in",   "con",   "su",    "per",   "tra",   "fra",
                           "del",   "dello", "della", "dei",  "degli", "delle", "al",    "allo",  "alla",
                           "ai",    "agli",  "alle",  "dal",  "dallo", "dalla", "dai",   "dagli", "dalle",
                           "nel",   "nello", "nella", "nei",  "negli", "nelle", "sul",   "sullo", "sulla",
                           "sui",   "sugli", "sulle", nullptr};
const char* const kCc[] = {"e", "ed", "o", "od", "ma", "però", "che", "se", "perché", "quando", "come", "né", nullptr};
const char* const kAux[] = {"è", "sono", "era", "erano", "essere", "ha", "hanno", "aveva", "avevano", "avere",
                            "stato", "stata", "sarà", nullptr};
const char* const kPps[] = {"io", "tu", "lui", "lei", "noi", "voi", "loro", "mi", "ti", "si", "ci", "vi", "ne",
                            nullptr};
const char* const kMd[] = {"può", "possono", "deve", "devono", "vuole", "vogliono", nullptr};
const char* const kWp[] = {"chi", "cosa", "dove", "quale", "quali", "quanto", "quanti", nullptr};
const kvap_gpos_class kGpos[] = {{"det", kDet}, {"in", kIn}, {"cc", kCc}, {"aux", kAux},
                                 {"pps", kPps}, {"md", kMd}, {"wp", kWp}, {nullptr, nullptr}};

const char* const kMonths[] = {"gennaio", "febbraio", "marzo",     "aprile",  "maggio",   "giugno",
                               "luglio",  "agosto",   "settembre", "ottobre", "novembre", "dicembre"};

const eu_name kLetters[] = {
    {"a", "a"},      {"b", "bi"},     {"c", "ci"},      {"d", "di"},        {"e", "e"},      {"f", "effe"},
    {"g", "gi"},     {"h", "acca"},   {"i", "i"},       {"j", "i lunga"},   {"k", "cappa"},  {"l", "elle"},
    {"m", "emme"},   {"n", "enne"},   {"o", "o"},       {"p", "pi"},        {"q", "cu"},     {"r", "erre"},
    {"s", "esse"},   {"t", "ti"},     {"u", "u"},       {"v", "vu"},        {"w", "doppia vu"}, {"x", "ics"},
    {"y", "ipsilon"}, {"z", "zeta"},  {"à", "à"},       {"è", "è"},         {"é", "é"},      {"ì", "ì"},
    {"ò", "ò"},      {"ù", "ù"},      {nullptr, nullptr}};

const eu_name kSymbols[] = {{"&", "e"},       {"+", "più"},     {"=", "uguale"},  {"@", "chiocciola"},
                            {"°", "gradi"},   {"#", "cancelletto"}, {"*", "asterisco"}, {"€", "euro"},
                            {"$", "dollari"}, {"£", "sterline"}, {"%", "per cento"}, {nullptr, nullptr}};

const eu_abbrev kAbbrevs[] = {
    {"Sig", "signor", EU_ABBR_DOT | EU_ABBR_CASE},  {"Sig.ra", "signora", EU_ABBR_CASE},
    {"Sig.na", "signorina", EU_ABBR_CASE},          {"Sigg", "signori", EU_ABBR_DOT},
    {"Dott", "dottor", EU_ABBR_DOT},                {"Dott.ssa", "dottoressa", 0},
    {"Prof", "professor", EU_ABBR_DOT},             {"Prof.ssa", "professoressa", 0},
    {"Avv", "avvocato", EU_ABBR_DOT},               {"Ing", "ingegner", EU_ABBR_DOT},
    {"Arch", "architetto", EU_ABBR_DOT},            {"Geom", "geometra", EU_ABBR_DOT},
    {"Rag", "ragionier", EU_ABBR_DOT},              {"On", "onorevole", EU_ABBR_DOT | EU_ABBR_CASE},
    {"Gen", "generale", EU_ABBR_DOT | EU_ABBR_CASE}, {"S", "san", EU_ABBR_DOT | EU_ABBR_CASE},
    {"ecc", "eccetera", EU_ABBR_DOT},               {"pag", "pagina", EU_ABBR_DOT},
    {"p", "pagina", EU_ABBR_DOT | EU_ABBR_NUMBER},  {"n", "numero", EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"n°", "numero", 0},                            {"nr", "numero", 0},
    {"tel", "telefono", EU_ABBR_DOT},               {"S.p.A", "esse pi a", 0},
    {"mln", "milioni", 0},                          {"mld", "miliardi", 0},
    {"P.zza", "piazza", 0},                         {"C.so", "corso", 0},
    {"V.le", "viale", 0},                           {"d.C", "dopo Cristo", EU_ABBR_DOT},
    {"a.C", "avanti Cristo", EU_ABBR_DOT},          {"FdI", "effe di i", EU_ABBR_CASE},
    {"vs", "contro", 0},
    {nullptr, nullptr, 0}};

const eu_unit kUnits[] = {
    {"km", "chilometro", "chilometri"},   {"m", "metro", "metri"},        {"cm", "centimetro", "centimetri"},
    {"mm", "millimetro", "millimetri"},   {"kg", "chilo", "chili"},       {"g", "grammo", "grammi"},
    {"t", "tonnellata", "tonnellate"},    {"l", "litro", "litri"},        {"ml", "millilitro", "millilitri"},
    {"km/h", "chilometro orario", "chilometri orari"},                    {"°C", "grado", "gradi"},
    {"°", "grado", "gradi"},              {"h", "ora", "ore"},            {"min", "minuto", "minuti"},
    {"kWh", "chilowattora", "chilowattora"}, {"MW", "megawatt", "megawatt"}, {"ha", "ettaro", "ettari"},
    {"m²", "metro quadrato", "metri quadrati"}, {"mq", "metro quadrato", "metri quadrati"},
    {"GB", "gigabyte", "gigabyte"},       {"MB", "megabyte", "megabyte"},
    {nullptr, nullptr, nullptr}};

const eu_currency kCurrencies[] = {
    {"€", "euro", "euro", "centesimo", "centesimi"},   {"EUR", "euro", "euro", "centesimo", "centesimi"},
    {"$", "dollaro", "dollari", "centesimo", "centesimi"}, {"USD", "dollaro", "dollari", "centesimo", "centesimi"},
    {"£", "sterlina", "sterline", "penny", "pence"},   {"GBP", "sterlina", "sterline", "penny", "pence"},
    {"CHF", "franco", "franchi", "centesimo", "centesimi"}, {nullptr, nullptr, nullptr, nullptr, nullptr}};

// Feminine nouns take feminine numbers: una tonnellata, un'ora.
const eu_name kNounCounts[] = {{"tonnellata", "%spellout-cardinal-feminine"}, {"ora", "%spellout-cardinal-feminine"},
                               {"sterlina", "%spellout-cardinal-feminine"}, {nullptr, nullptr}};

const eu_acronym kAcronyms[] = {{"RAI", true},  {"ANSA", true}, {"ISTAT", true}, {"INPS", true}, {"FIAT", true},
                                {"NATO", true}, {"ONU", true},  {"UEFA", true},  {"FIFA", true}, {"IVA", true},
                                {"ENI", true},  {"ENEL", true}, {"ANAS", true},  {"CISL", true}, {"USA", false},
                                {"UE", false},  {"PD", false},  {"TG", false},   {"CGIL", false}, {nullptr, false}};

// Ordinal marks: "3º", "2ª", and the degree sign written for "º" ("1°").
const eu_name kOrdinalMarks[] = {{"º", "%spellout-ordinal-masculine"}, {"ª", "%spellout-ordinal-feminine"},
                                 {".º", "%spellout-ordinal-masculine"}, {".ª", "%spellout-ordinal-feminine"},
                                 {nullptr, nullptr}};

// Elided forms before a vowel, with the phones they add to the word.
const eu_name kElisions[] = {
    {"l'", "l"},          {"dell'", "d e l l"}, {"nell'", "n e l l"},   {"all'", "a l l"},    {"dall'", "d a l l"},
    {"sull'", "s u l l"}, {"coll'", "k o l l"}, {"un'", "u n"},         {"quell'", "k w e l l"},
    {"quest'", "k w e s t"}, {"bell'", "b eh l l"}, {"sant'", "s a n t"}, {"tutt'", "t u t t"},
    {"d'", "d"},          {"c'", "ch"},         {"ch'", "k"},           {"anch'", "a n k"},   {"t'", "t"},
    {"m'", "m"},          {"s'", "s"},          {"v'", "v"},            {"n'", "n"},          {"dov'", "d o v"},
    {"com'", "k o m"},    {"cos'", "k oh z"},   {"mezz'", "m eh d dz"}, {"nessun'", "n e s s u n"},
    {"buon'", "b w oh n"}, {"ultim'", "u l t i m"}, {nullptr, nullptr}};

bool is_month(const std::string& word) {
  for (const char* m : kMonths)
    if (word == m) return true;
  return false;
}

// "alle 20:30": venti e trenta; one o'clock is una (all'una), the other
// hours keep the plain number (le ventuno).
bool time_rule(eu_context* c, int hours, int minutes, std::vector<std::string>* out) {
  c->spell(hours == 1 ? "%spellout-cardinal-feminine" : "%spellout-numbering", std::to_string(hours), out);
  if (minutes > 0) {
    out->push_back("e");
    c->spell("%spellout-numbering", std::to_string(minutes), out);
  }
  return true;
}

bool date_rule(eu_context* c, int day, int month, int year, std::vector<std::string>* out) {
  c->spell(day == 1 ? "%spellout-ordinal-masculine" : "%spellout-numbering", std::to_string(day), out);
  out->push_back(kMonths[month - 1]);
  if (year >= 0) c->spell("%spellout-numbering", std::to_string(year), out);
  return true;
}

// A round amount of millions takes "di" before its unit: un milione di euro.
bool money_rule(eu_context* c, const eu_currency* currency, const std::string& main, const std::string& minor,
                std::vector<std::string>* out) {
  const bool millions = main.size() >= 7 && main.compare(main.size() - 6, 6, "000000") == 0 &&
                        minor.find_first_not_of('0') == std::string::npos;
  if (!millions) return eu_read_money(c, currency, main, minor, out);
  c->spell(c->lang->count_rules, main, out);
  out->push_back("di");
  eu_push_words(currency->many, out);
  return true;
}

// Regnal numbers and popes are ordinals: Vittorio Emanuele II, secondo.
bool ordinal_rule(eu_context* c, const std::string& digits, const std::string& mark,
                  std::vector<std::string>* out) {
  if (mark == "R") return c->spell("%spellout-ordinal-masculine", digits, out);
  return false;
}

int roman_value(const std::string& s) {
  int value = 0, last = 0;
  for (size_t i = s.size(); i-- > 0;) {
    int v = s[i] == 'I' ? 1 : s[i] == 'V' ? 5 : s[i] == 'X' ? 10 : s[i] == 'L' ? 50 : s[i] == 'C' ? 100 : 0;
    if (v == 0) return 0;
    value += v < last ? -v : v;
    last = v > last ? v : last;
  }
  return value;
}

// Words after which "20.30" is a clock time and "3°" an ordinal.
bool before_time(const std::string& w) {
  static const char* const kWords[] = {"alle", "dalle", "le", "ore", "entro", "verso", "delle", "sulle",
                                       "fino", "dopo", "prima", nullptr};
  for (int i = 0; kWords[i]; ++i)
    if (w == kWords[i]) return true;
  return false;
}

bool before_ordinal(const std::string& w) {
  static const char* const kWords[] = {"il", "lo", "la", "i", "gli", "le", "al", "del", "nel", "dal", "sul",
                                       "alla", "della", "nella", "dalla", "sulla", nullptr};
  for (int i = 0; kWords[i]; ++i)
    if (w == kWords[i]) return true;
  return false;
}

bool token_rule(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  const std::string prev = eu_lower(c->lang, c->token_text(-1));
  // "ore 20.30", "alle 9.15": a clock time written with a dot.
  size_t dot = text.find('.');
  if (dot != std::string::npos && dot > 0 && dot <= 2 && text.size() == dot + 3 && before_time(prev) &&
      eu_is_digits(text.substr(0, dot)) && eu_is_digits(text.substr(dot + 1))) {
    int h = std::stoi(text.substr(0, dot)), m = std::stoi(text.substr(dot + 1));
    if (h <= 24 && m <= 59) return time_rule(c, h, m, out);
  }
  // "1° gennaio", "il 3° posto": the degree sign as an ordinal mark; else a unit.
  const std::string degree = "\xC2\xB0";
  if (text.size() > degree.size() && text.compare(text.size() - degree.size(), degree.size(), degree) == 0) {
    const std::string digits = text.substr(0, text.size() - degree.size());
    const std::string next = eu_lower(c->lang, c->token_text(1));
    if (eu_is_digits(digits) && digits.size() <= 3 &&
        (is_month(next) || (before_ordinal(prev) && eu_starts_with_letter(next) && c->punctuation(0).empty())))
      return c->spell("%spellout-ordinal-masculine", digits, out);
  }
  // "XXI secolo", "il XX secolo": centuries are ordinals.
  if (text.size() >= 2 && text.find_first_not_of("IVXLC") == std::string::npos &&
      eu_lower(c->lang, c->token_text(1)) == "secolo")
    return roman_value(text) > 0 && c->spell("%spellout-ordinal-masculine", std::to_string(roman_value(text)), out);
  return false;
}

}  // namespace

const eu_language it_language = {
    "it", &it_locale, "ISO-8859-15", "it-1.0", &it_lexdata, kPhones, kOnsets, kGlides, kGpos,
    ',', '.', "%spellout-numbering", nullptr, "%spellout-cardinal-masculine",
    "meno", "per cento", "a", "a", "punto", "e", true, kOrdinalMarks, kMonths,
    kLetters, kSymbols, kAbbrevs, kUnits, kCurrencies, kAcronyms,
    time_rule, date_rule, ordinal_rule, money_rule, token_rule,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, kElisions, kNounCounts, true};

void* initialize_g2p_itIT_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return eu_voice_new(&it_language, multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_itIT(void* voice) { eu_voice_delete((cst_voice*)voice); }
