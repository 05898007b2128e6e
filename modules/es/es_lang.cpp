// Spanish (Spain): the Spanish phone set, syllable onsets with glides,
// function words, letters, symbols, abbreviations, units, currencies and the
// rules for clock times ("a las 21:30 h"), dates ("15/03/2025": quince de
// marzo de dos mil veinticinco), ordinals by their marks ("3.ª", "1.er"),
// Roman numerals after names and centuries; amounts are read by the kit
// ("12,50 €": doce euros con cincuenta céntimos).
#include "modules/es/es_lang.h"

#include "modules/common/eu_voice.h"

extern "C" const eu_lexdata es_lexdata;
extern const eu_locale es_locale;  // generated from CLDR: es_ES

namespace {

const eu_phone kPhones[] = {
    {"pau", "-0000000"},
    {"a", "+s32-000"},  {"e", "+s21-000"},  {"i", "+s11-000"},  {"o", "+s23+000"},  {"u", "+s13+000"},
    {"p", "-0000sl-"},  {"b", "-0000sl+"},  {"bh", "-0000fl+"}, {"t", "-0000sd-"},  {"d", "-0000sd+"},
    {"dh", "-0000fd+"}, {"k", "-0000sv-"},  {"g", "-0000sv+"},  {"gh", "-0000fv+"}, {"f", "-0000fb-"},
    {"th", "-0000fd-"}, {"s", "-0000fa-"},  {"x", "-0000fv-"},  {"ch", "-0000ap-"}, {"m", "-0000nl+"},
    {"n", "-0000na+"},  {"ny", "-0000np+"}, {"ng", "-0000nv+"}, {"l", "-0000la+"},  {"ll", "-0000lp+"},
    {"jj", "-0000fp+"}, {"r", "-0000ra+"},  {"rr", "-0000ra+"}, {"j", "-0000rp+"},  {"w", "-0000rl+"},
    {nullptr, nullptr}};

const char* const kOnsets[] = {
    "p", "b", "bh", "t", "d", "dh", "k", "g", "gh", "f", "th", "s", "x", "ch", "m", "n", "ny", "l", "ll", "jj",
    "r", "rr",
    "p r", "p l", "b r", "b l", "bh r", "bh l", "t r", "d r", "dh r", "k r", "k l", "g r", "g l", "gh r", "gh l",
    "f r", "f l",
    nullptr};
const char* const kGlides[] = {"j", "w", nullptr};

const char* const kDet[] = {"el", "la", "los", "las", "un", "una", "unos", "unas", "lo", "este", "esta", "estos",
                            "estas", "ese", "esa", "cada", nullptr};
const char* const kIn[] = {"a",    "ante", "bajo",  "con",  "contra", "de",   "desde", "en",  "entre", "hacia",
                           "hasta", "para", "por",  "según", "sin",   "sobre", "tras", "del", "al",    nullptr};
const char* const kCc[] = {"y", "e", "o", "u", "ni", "pero", "sino", "que", "porque", "si", nullptr};
const char* const kAux[] = {"es", "son", "era", "fue", "ser", "está", "están", "estar", "ha", "han", "he",
                            "hay", "haber", "había", nullptr};
const char* const kPps[] = {"yo", "tú", "él", "ella", "nosotros", "vosotros", "ellos", "ellas", "mi", "tu", "su",
                            "sus", "se", "le", "les", "me", "te", "nos", nullptr};
const char* const kWp[] = {"qué", "quién", "cómo", "dónde", "cuándo", "cuál", "cuánto", nullptr};
const kvap_gpos_class kGpos[] = {{"det", kDet}, {"in", kIn},   {"cc", kCc}, {"aux", kAux},
                                 {"pps", kPps}, {"wp", kWp},   {nullptr, nullptr}};

const char* const kMonths[] = {"enero", "febrero", "marzo",      "abril",   "mayo",      "junio",
                               "julio", "agosto",  "septiembre", "octubre", "noviembre", "diciembre"};

const eu_name kLetters[] = {
    {"a", "a"},     {"b", "be"},    {"c", "ce"},   {"d", "de"},     {"e", "e"},    {"f", "efe"},  {"g", "ge"},
    {"h", "hache"}, {"i", "i"},     {"j", "jota"}, {"k", "ka"},     {"l", "ele"},  {"m", "eme"},  {"n", "ene"},
    {"ñ", "eñe"},   {"o", "o"},     {"p", "pe"},   {"q", "cu"},     {"r", "erre"}, {"s", "ese"},  {"t", "te"},
    {"u", "u"},     {"v", "uve"},   {"w", "uve doble"}, {"x", "equis"}, {"y", "i griega"}, {"z", "zeta"},
    {"á", "a"},     {"é", "e"},     {"í", "i"},    {"ó", "o"},      {"ú", "u"},    {"ü", "u"},
    {nullptr, nullptr}};

const eu_name kSymbols[] = {{"&", "y"},         {"+", "más"},   {"=", "igual a"}, {"@", "arroba"},
                            {"°", "grados"},    {"#", "almohadilla"}, {"*", "asterisco"}, {"€", "euros"},
                            {"$", "dólares"},   {"£", "libras"}, {"%", "por ciento"}, {nullptr, nullptr}};

const eu_abbrev kAbbrevs[] = {
    {"Sr", "señor", EU_ABBR_DOT | EU_ABBR_CASE},   {"Sra", "señora", EU_ABBR_DOT | EU_ABBR_CASE},
    {"Sres", "señores", EU_ABBR_DOT | EU_ABBR_CASE}, {"Srta", "señorita", EU_ABBR_DOT | EU_ABBR_CASE},
    {"Dr", "doctor", EU_ABBR_DOT},                 {"Dra", "doctora", EU_ABBR_DOT},
    {"D", "don", EU_ABBR_DOT | EU_ABBR_CASE},      {"Dña", "doña", EU_ABBR_DOT},
    {"Ud", "usted", EU_ABBR_DOT},                  {"Uds", "ustedes", EU_ABBR_DOT},
    {"etc", "etcétera", EU_ABBR_DOT},              {"pág", "página", EU_ABBR_DOT},
    {"págs", "páginas", EU_ABBR_DOT},              {"Avda", "avenida", EU_ABBR_DOT},
    {"avda", "avenida", EU_ABBR_DOT},              {"c/", "calle", 0},
    {"aprox", "aproximadamente", EU_ABBR_DOT},     {"n.º", "número", 0},
    {"nº", "número", 0},                           {"núm", "número", EU_ABBR_DOT},
    {"tel", "teléfono", EU_ABBR_DOT},              {"EE.UU", "Estados Unidos", EU_ABBR_DOT},      {"EEUU", "Estados Unidos", EU_ABBR_CASE},
    {"S.A", "sociedad anónima", EU_ABBR_DOT},      {"admón", "administración", EU_ABBR_DOT},
    {"depto", "departamento", EU_ABBR_DOT},        {"Gral", "general", EU_ABBR_DOT},
    {"prov", "provincia", EU_ABBR_DOT},            {"Sto", "santo", EU_ABBR_DOT},
    {"Sta", "santa", EU_ABBR_DOT},                 {"mill", "millones", EU_ABBR_DOT},
    {"ene", "enero", EU_ABBR_DOT | EU_ABBR_CASE},  {"feb", "febrero", EU_ABBR_DOT | EU_ABBR_CASE},
    {"sept", "septiembre", EU_ABBR_DOT | EU_ABBR_CASE}, {"oct", "octubre", EU_ABBR_DOT | EU_ABBR_CASE},
    {"nov", "noviembre", EU_ABBR_DOT | EU_ABBR_CASE}, {"dic", "diciembre", EU_ABBR_DOT | EU_ABBR_CASE},
    {nullptr, nullptr, 0}};

const eu_unit kUnits[] = {
    {"km", "kilómetro", "kilómetros"},    {"m", "metro", "metros"},        {"cm", "centímetro", "centímetros"},
    {"mm", "milímetro", "milímetros"},    {"kg", "kilo", "kilos"},         {"g", "gramo", "gramos"},
    {"t", "tonelada", "toneladas"},       {"l", "litro", "litros"},        {"ml", "mililitro", "mililitros"},
    {"km/h", "kilómetro por hora", "kilómetros por hora"},                 {"°C", "grado", "grados"},
    {"ºC", "grado", "grados"},            {"°", "grado", "grados"},        {"º", "grado", "grados"},
    {"min", "minuto", "minutos"},         {"kWh", "kilovatio hora", "kilovatios hora"},
    {"MW", "megavatio", "megavatios"},    {"ha", "hectárea", "hectáreas"}, {"m²", "metro cuadrado", "metros cuadrados"},
    {"GB", "gigabyte", "gigabytes"},      {"MB", "megabyte", "megabytes"},
    {nullptr, nullptr, nullptr}};

const eu_currency kCurrencies[] = {
    {"€", "euro", "euros", "céntimo", "céntimos"},     {"EUR", "euro", "euros", "céntimo", "céntimos"},
    {"$", "dólar", "dólares", "centavo", "centavos"},  {"USD", "dólar", "dólares", "centavo", "centavos"},
    {"£", "libra", "libras", "penique", "peniques"},   {"GBP", "libra", "libras", "penique", "peniques"},
    {nullptr, nullptr, nullptr, nullptr, nullptr}};

const eu_acronym kAcronyms[] = {{"ONU", true},   {"OTAN", true}, {"UEFA", true}, {"FIFA", true},
                                {"RENFE", true}, {"IVA", true},  {"ONCE", true}, {"PSOE", true},
                                {"UE", false},   {"PP", false},  {nullptr, false}};

// Ordinal marks: "3.º", "3.ª", "1.er".
const eu_name kOrdinalMarks[] = {
    {"º", "%spellout-ordinal-masculine"},           {".º", "%spellout-ordinal-masculine"},
    {"o", "%spellout-ordinal-masculine"},           {".o", "%spellout-ordinal-masculine"},
    {"ª", "%spellout-ordinal-feminine"},            {".ª", "%spellout-ordinal-feminine"},
    {"a", "%spellout-ordinal-feminine"},            {".a", "%spellout-ordinal-feminine"},
    {"er", "%spellout-ordinal-masculine-adjective"}, {".er", "%spellout-ordinal-masculine-adjective"},
    {"os", "%spellout-ordinal-masculine-plural"},   {"as", "%spellout-ordinal-feminine-plural"},
    {nullptr, nullptr}};

bool time_rule(eu_context* c, int hours, int minutes, std::vector<std::string>* out) {
  // Hours agree with "horas" (feminine): "la una", "las veintiuna".
  c->spell("%spellout-cardinal-feminine", std::to_string(hours), out);
  const std::string next = c->token_text(1);
  bool hoursFollow = next == "horas";
  if (minutes > 0) c->spell("%spellout-numbering", std::to_string(minutes), out);
  if (c->punctuation(0).empty() && (next == "h" || next == "hrs")) {
    c->consume_next();
    hoursFollow = false;
    if (minutes == 0) out->push_back("horas");
  } else if (minutes == 0 && !hoursFollow) {
    out->push_back("horas");
  }
  return true;
}

bool date_rule(eu_context* c, int day, int month, int year, std::vector<std::string>* out) {
  c->spell("%spellout-numbering", std::to_string(day), out);
  out->push_back("de");
  out->push_back(kMonths[month - 1]);
  if (year >= 0) {
    out->push_back("de");
    c->spell("%spellout-numbering", std::to_string(year), out);
  }
  return true;
}

bool ordinal_rule(eu_context* c, const std::string& digits, const std::string& mark,
                  std::vector<std::string>* out) {
  if (mark == "R") {
    // Kings and popes take ordinals up to ten, cardinals above (Alfonso XIII:
    // trece); centuries always cardinals (siglo XXI: veintiuno).
    const bool century = eu_lower(c->lang, c->token_text(-1)) == "siglo";
    return c->spell(!century && std::stoi(digits) <= 10 ? "%spellout-ordinal-masculine" : "%spellout-numbering",
                    digits, out);
  }
  return false;
}

// "EE. UU." (two tokens) and centuries in Roman numerals ("siglo XXI").
bool token_rule(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  if (text == "EE" && c->punctuation(0) == "." && c->token_text(1) == "UU") {
    eu_push_words("Estados Unidos", out);
    c->consume_next();
    c->consume_dot();
    return true;
  }
  if (eu_lower(c->lang, c->token_text(-1)) == "siglo" && text.size() <= 6 &&
      text.find_first_not_of("IVXL") == std::string::npos) {
    int value = 0, last = 0;
    for (size_t i = text.size(); i-- > 0;) {
      int v = text[i] == 'I' ? 1 : text[i] == 'V' ? 5 : text[i] == 'X' ? 10 : 50;
      value += v < last ? -v : v;
      last = v > last ? v : last;
    }
    return value > 0 && c->spell("%spellout-numbering", std::to_string(value), out);
  }
  return false;
}

}  // namespace

const eu_language es_language = {
    "es", &es_locale, "ISO-8859-15", "es-1.0", &es_lexdata, kPhones, kOnsets, kGlides, kGpos,
    ',', '.', "%spellout-numbering", nullptr, "%spellout-cardinal-masculine",
    "menos", "por ciento", "a", "a", "punto", "con", true, kOrdinalMarks, kMonths,
    kLetters, kSymbols, kAbbrevs, kUnits, kCurrencies, kAcronyms,
    time_rule, date_rule, ordinal_rule, nullptr, token_rule};

void* initialize_g2p_esES_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return eu_voice_new(&es_language, multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_esES(void* voice) { eu_voice_delete((cst_voice*)voice); }
