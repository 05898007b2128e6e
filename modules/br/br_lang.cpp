// Brazilian Portuguese: the Brazilian phone set (the affricates ch and jh of
// "tia" and "dia", rr the fricative of "carro", the nasal vowels and
// glides), syllable onsets with glides, letters, symbols, abbreviations,
// units, currencies (reais first: "R$ 12,50" is doze reais e cinquenta
// centavos) and the Portuguese rules for clock times, dates ("1º de maio":
// primeiro de maio), ordinals ("1º", "3ª"), Roman numerals, feminine numbers
// and telephone numbers ("98765-4321" digit by digit).
#include "modules/br/br_lang.h"

#include "modules/common/eu_voice.h"
#include "modules/pt/pt_rules.h"

extern "C" const eu_lexdata br_lexdata;
extern const eu_locale br_locale;  // generated from CLDR: pt_BR

namespace {

const eu_phone kPhones[] = {
    {"pau", "-0000000"},
    {"a", "+s32-000"},   {"ax", "+a22-000"},  {"an", "+n22-000"},  {"e", "+s21-000"},  {"eh", "+s31-000"},
    {"en", "+n21-000"},  {"i", "+s11-000"},   {"in", "+n11-000"},  {"o", "+s23+000"},  {"oh", "+s33+000"},
    {"on", "+n23+000"},  {"u", "+s13+000"},   {"un", "+n13+000"},
    {"p", "-0000sl-"},   {"b", "-0000sl+"},   {"t", "-0000sd-"},   {"d", "-0000sd+"},  {"ch", "-0000ap-"},
    {"jh", "-0000ap+"},  {"k", "-0000sv-"},   {"g", "-0000sv+"},   {"f", "-0000fb-"},  {"v", "-0000fb+"},
    {"s", "-0000fa-"},   {"z", "-0000fa+"},   {"sh", "-0000fp-"},  {"zh", "-0000fp+"}, {"m", "-0000nl+"},
    {"n", "-0000na+"},   {"ni", "-0000np+"},  {"l", "-0000la+"},   {"lh", "-0000lp+"}, {"r", "-0000ra+"},
    {"rr", "-0000fg-"},  {"w", "-0000rl+"},   {"wx", "-0000rl+"},  {"j", "-0000rp+"},  {"jx", "-0000rp+"},
    {nullptr, nullptr}};

const char* const kOnsets[] = {
    "p", "b", "t", "d", "ch", "jh", "k", "g", "f", "v", "s", "z", "sh", "zh", "m", "n", "ni", "l", "lh", "r", "rr",
    "p r", "p l", "b r", "b l", "t r", "t l", "d r", "k r", "k l", "g r", "g l", "f r", "f l", "v r",
    nullptr};
const char* const kGlides[] = {"j", "w", nullptr};

const char* const kMonths[] = {"janeiro", "fevereiro", "março",    "abril",   "maio",     "junho",
                               "julho",   "agosto",    "setembro", "outubro", "novembro", "dezembro"};

const eu_name kLetters[] = {
    {"a", "á"},     {"b", "bê"},    {"c", "cê"},    {"d", "dê"},     {"e", "é"},     {"f", "efe"},   {"g", "gê"},
    {"h", "agá"},   {"i", "i"},     {"j", "jota"},  {"k", "cá"},     {"l", "ele"},   {"m", "eme"},   {"n", "ene"},
    {"o", "ó"},     {"p", "pê"},    {"q", "quê"},   {"r", "erre"},   {"s", "esse"},  {"t", "tê"},    {"u", "u"},
    {"v", "vê"},    {"w", "dáblio"}, {"x", "xis"},  {"y", "ípsilon"}, {"z", "zê"},   {"ç", "cê cedilha"},
    {"á", "á"},     {"à", "á"},     {"â", "á"},     {"ã", "á"},      {"é", "é"},     {"ê", "é"},     {"í", "i"},
    {"ó", "ó"},     {"ô", "ó"},     {"õ", "ó"},     {"ú", "u"},      {nullptr, nullptr}};

const eu_name kSymbols[] = {{"&", "e"},         {"+", "mais"},      {"=", "igual a"},    {"@", "arroba"},
                            {"§", "parágrafo"}, {"°", "graus"},     {"#", "cerquilha"},  {"*", "asterisco"},
                            {"€", "euros"},     {"$", "dólares"},   {"£", "libras"},     {"%", "por cento"},
                            {nullptr, nullptr}};

const eu_abbrev kAbbrevs[] = {
    {"Sr", "senhor", EU_ABBR_DOT | EU_ABBR_CASE},    {"Sra", "senhora", EU_ABBR_DOT | EU_ABBR_CASE},
    {"Srs", "senhores", EU_ABBR_DOT | EU_ABBR_CASE}, {"Dr", "doutor", EU_ABBR_DOT},
    {"Dra", "doutora", EU_ABBR_DOT},                 {"Eng", "engenheiro", EU_ABBR_DOT},
    {"Prof", "professor", EU_ABBR_DOT},              {"Profa", "professora", EU_ABBR_DOT},
    {"etc", "etcétera", EU_ABBR_DOT},                {"pág", "página", EU_ABBR_DOT},
    {"págs", "páginas", EU_ABBR_DOT},                {"Av", "avenida", EU_ABBR_DOT},
    {"tel", "telefone", EU_ABBR_DOT},                {"aprox", "aproximadamente", EU_ABBR_DOT},
    {"nº", "número", 0},                             {"n.º", "número", 0},
    {"séc", "século", EU_ABBR_DOT},                  {"Ltda", "limitada", EU_ABBR_DOT},
    {"S.A", "sociedade anônima", EU_ABBR_DOT},       {"Sto", "santo", EU_ABBR_DOT},
    {"Sta", "santa", EU_ABBR_DOT},                   {"EUA", "Estados Unidos", EU_ABBR_CASE},
    {"máx", "máximo", EU_ABBR_DOT},                  {"mín", "mínimo", EU_ABBR_DOT},
    {"apto", "apartamento", EU_ABBR_DOT},
    {"jan", "janeiro", EU_ABBR_DOT | EU_ABBR_CASE},  {"fev", "fevereiro", EU_ABBR_DOT | EU_ABBR_CASE},
    {"abr", "abril", EU_ABBR_DOT | EU_ABBR_CASE},    {"jun", "junho", EU_ABBR_DOT | EU_ABBR_CASE},
    {"jul", "julho", EU_ABBR_DOT | EU_ABBR_CASE},    {"ago", "agosto", EU_ABBR_DOT | EU_ABBR_CASE},
    {"nov", "novembro", EU_ABBR_DOT | EU_ABBR_CASE}, {"dez", "dezembro", EU_ABBR_DOT | EU_ABBR_CASE},
    {nullptr, nullptr, 0}};

const eu_unit kUnits[] = {
    {"km", "quilômetro", "quilômetros"},    {"m", "metro", "metros"},        {"cm", "centímetro", "centímetros"},
    {"mm", "milímetro", "milímetros"},      {"kg", "quilo", "quilos"},       {"g", "grama", "gramas"},
    {"l", "litro", "litros"},               {"ml", "mililitro", "mililitros"},
    {"km/h", "quilômetro por hora", "quilômetros por hora"},                  {"°C", "grau", "graus"},
    {"ºC", "grau", "graus"},                {"°", "grau", "graus"},          {"min", "minuto", "minutos"},
    {"kWh", "quilowatt hora", "quilowatts hora"}, {"MW", "megawatt", "megawatts"}, {"ha", "hectare", "hectares"},
    {"m²", "metro quadrado", "metros quadrados"}, {"GB", "gigabyte", "gigabytes"}, {"MB", "megabyte", "megabytes"},
    {"mi", "milhão", "milhões"},            {"bi", "bilhão", "bilhões"},
    {nullptr, nullptr, nullptr}};

const eu_currency kCurrencies[] = {
    {"R$", "real", "reais", "centavo", "centavos"},   {"BRL", "real", "reais", "centavo", "centavos"},
    {"US$", "dólar", "dólares", "centavo", "centavos"}, {"$", "dólar", "dólares", "centavo", "centavos"},
    {"USD", "dólar", "dólares", "centavo", "centavos"}, {"€", "euro", "euros", "centavo", "centavos"},
    {"EUR", "euro", "euros", "centavo", "centavos"},  {"£", "libra", "libras", "pêni", "pence"},
    {nullptr, nullptr, nullptr, nullptr, nullptr}};

const eu_acronym kAcronyms[] = {{"ONU", true},  {"OTAN", true}, {"FIFA", true}, {"IBGE", false}, {"INSS", false},
                                {"STF", false}, {"PT", false},  {"PIB", true},  {"SUS", true},   {"CBF", false},
                                {"TV", false},  {"UE", false},  {nullptr, false}};

const eu_name kOrdinalMarks[] = {
    {"º", "%spellout-ordinal-masculine"},  {".º", "%spellout-ordinal-masculine"},
    {"ª", "%spellout-ordinal-feminine"},   {".ª", "%spellout-ordinal-feminine"},
    {"o", "%spellout-ordinal-masculine"},  {"a", "%spellout-ordinal-feminine"},
    {nullptr, nullptr}};

// Brazil: "1 de maio" is primeiro de maio; "98765-4321" is a telephone number.
const pt_variant kVariant = {true, true, kMonths};

bool date_rule(eu_context* c, int day, int month, int year, std::vector<std::string>* out) {
  return pt_read_date(c, kVariant, day, month, year, out);
}

bool token_rule(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  return pt_token_rule(c, kVariant, text, out);
}

}  // namespace

const eu_language br_language = {
    "br", &br_locale, "ISO-8859-15", "br-1.0", &br_lexdata, kPhones, kOnsets, kGlides, pt_function_words,
    ',', '.', "%spellout-numbering", nullptr, "%spellout-cardinal-masculine",
    "menos", "por cento", "a", "a", "ponto", "e", true, kOrdinalMarks, kMonths,
    kLetters, kSymbols, kAbbrevs, kUnits, kCurrencies, kAcronyms,
    pt_read_time, date_rule, pt_ordinal_rule, nullptr, token_rule,
    nullptr, nullptr, nullptr, nullptr, nullptr, "de"};

void* initialize_g2p_ptBR_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return eu_voice_new(&br_language, multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_ptBR(void* voice) { eu_voice_delete((cst_voice*)voice); }
