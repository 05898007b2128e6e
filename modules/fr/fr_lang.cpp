// French (France): the French phone set, syllable onsets with glides,
// function words, elided forms ("l'", "qu'"), letters, symbols,
// abbreviations, units, currencies and the rules for clock times ("20h15",
// "20 h 30", "20:15": vingt heures quinze), dates ("1er janvier",
// "14/07/2024"), ordinals ("2e", "1re", "XXIe siècle", "François Ier"),
// regnal numbers ("Louis XIV": quatorze), numbers grouped by spaces
// ("1 500 000") and telephone numbers read in pairs; amounts are read by the
// kit ("12,50 €": douze euros cinquante). Liaison is fr_liaison.cpp.
#include "modules/fr/fr_lang.h"

#include <string.h>

#include "modules/common/eu_voice.h"

extern "C" const eu_lexdata fr_lexdata;
extern const eu_locale fr_locale;  // generated from CLDR: fr_FR

namespace {

const eu_phone kPhones[] = {
    {"pau", "-0000000"},
    {"a", "+s32-000"},   {"an", "+l33-000"},  {"ax", "+a22-000"}, {"e", "+s11-000"},  {"eh", "+s21-000"},
    {"en", "+l21-000"},  {"eu", "+s21+000"},  {"i", "+s11-000"},  {"o", "+s23+000"},  {"oe", "+s31+000"},
    {"oen", "+l31+000"}, {"oh", "+s33+000"},  {"on", "+l23+000"}, {"u", "+s13+000"},  {"ue", "+s11+000"},
    {"p", "-0000sl-"},   {"b", "-0000sl+"},   {"t", "-0000sa-"},  {"d", "-0000sa+"},  {"k", "-0000sv-"},
    {"g", "-0000sv+"},   {"f", "-0000fb-"},   {"v", "-0000fb+"},  {"s", "-0000fa-"},  {"z", "-0000fa+"},
    {"sh", "-0000fp-"},  {"zh", "-0000fp+"},  {"m", "-0000nl+"},  {"n", "-0000na+"},  {"ni", "-0000np+"},
    {"ng", "-0000nv+"},  {"l", "-0000la+"},   {"r", "-0000rv+"},  {"j", "-0000rp+"},  {"w", "-0000rl+"},
    {"wh", "-0000rp+"},
    {nullptr, nullptr}};

// Inside a word an s before a stop closes its syllable (es.pace), so only
// obstruent and liquid clusters begin one.
const char* const kOnsets[] = {
    "p", "b", "t", "d", "k", "g", "f", "v", "s", "z", "sh", "zh", "m", "n", "ni", "l", "r",
    "p r", "p l", "b r", "b l", "t r", "d r", "k r", "k l", "g r", "g l", "f r", "f l", "v r",
    nullptr};
const char* const kGlides[] = {"j", "w", "wh", nullptr};

const char* const kDet[] = {"le",   "la",    "les",   "un",  "une",  "des",  "du",  "au",   "aux",  "ce",
                            "cet",  "cette", "ces",   "mon", "ma",   "mes",  "ton", "ta",   "tes",  "son",
                            "sa",   "ses",   "notre", "nos", "votre", "vos", "leur", "leurs", "chaque", nullptr};
const char* const kIn[] = {"à",     "de",    "en",    "dans",  "sur",  "sous",   "par",    "pour", "avec",
                           "sans",  "chez",  "entre", "vers",  "contre", "depuis", "pendant", "après", "avant",
                           "selon", "malgré", nullptr};
const char* const kCc[] = {"et", "ou", "mais", "donc", "ni", "car", "que", "quand", "si", "comme", nullptr};
const char* const kAux[] = {"est", "sont", "était", "étaient", "être", "a", "ont", "avait", "avaient", "avoir",
                            "été", "sera", "seront", nullptr};
const char* const kPps[] = {"je", "tu", "il", "elle", "nous", "vous", "ils", "elles", "on", "se", "me", "te",
                            "lui", "y", nullptr};
const char* const kMd[] = {"peut", "peuvent", "doit", "doivent", "veut", "veulent", nullptr};
const char* const kWp[] = {"qui", "quoi", "où", "comment", "pourquoi", "quel", "quelle", "quels", "quelles", nullptr};
const kvap_gpos_class kGpos[] = {{"det", kDet}, {"in", kIn}, {"cc", kCc}, {"aux", kAux},
                                 {"pps", kPps}, {"md", kMd}, {"wp", kWp}, {nullptr, nullptr}};

const char* const kMonths[] = {"janvier", "février", "mars",      "avril",   "mai",      "juin",
                               "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};

const eu_name kLetters[] = {
    {"a", "a"},     {"b", "bé"},    {"c", "cé"},    {"d", "dé"},    {"e", "e"},      {"f", "effe"},
    {"g", "gé"},    {"h", "ache"},  {"i", "i"},     {"j", "ji"},    {"k", "ka"},     {"l", "elle"},
    {"m", "emme"},  {"n", "enne"},  {"o", "o"},     {"p", "pé"},    {"q", "cu"},     {"r", "erre"},
    {"s", "esse"},  {"t", "té"},    {"u", "u"},     {"v", "vé"},    {"w", "double vé"}, {"x", "ixe"},
    {"y", "i grec"}, {"z", "zède"}, {"à", "à"},     {"â", "a"},     {"ç", "cé cédille"}, {"é", "é"},
    {"è", "è"},     {"ê", "è"},     {"ë", "e"},     {"î", "i"},     {"ï", "i"},      {"ô", "o"},
    {"ù", "u"},     {"û", "u"},     {"ü", "u"},     {"œ", "o e"},   {"æ", "a e"},    {nullptr, nullptr}};

const eu_name kSymbols[] = {{"&", "et"},      {"+", "plus"},    {"=", "égal"},     {"@", "arobase"},
                            {"°", "degrés"},  {"#", "dièse"},   {"*", "étoile"},   {"€", "euros"},
                            {"$", "dollars"}, {"£", "livres"},  {"%", "pour cent"}, {"§", "paragraphe"},
                            {nullptr, nullptr}};

const eu_abbrev kAbbrevs[] = {
    {"M", "monsieur", EU_ABBR_DOT | EU_ABBR_CASE},     {"MM", "messieurs", EU_ABBR_DOT | EU_ABBR_CASE},
    {"Mme", "madame", EU_ABBR_CASE},                   {"Mmes", "mesdames", EU_ABBR_CASE},
    {"Mlle", "mademoiselle", EU_ABBR_CASE},            {"Mlles", "mesdemoiselles", EU_ABBR_CASE},
    {"Dr", "docteur", EU_ABBR_CASE},                   {"Pr", "professeur", EU_ABBR_CASE},
    {"Mgr", "monseigneur", EU_ABBR_CASE},              {"St", "saint", EU_ABBR_CASE},
    {"Ste", "sainte", EU_ABBR_CASE},                   {"Cie", "compagnie", EU_ABBR_CASE},
    {"av", "avenue", EU_ABBR_DOT},                     {"bd", "boulevard", 0},
    {"etc", "et cetera", EU_ABBR_DOT},                 {"env", "environ", EU_ABBR_DOT},
    {"cf", "confer", EU_ABBR_DOT},                     {"p", "page", EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"n°", "numéro", 0},                               {"no", "numéro", EU_ABBR_NUMBER},
    {"tél", "téléphone", EU_ABBR_DOT},                 {"hab", "habitants", EU_ABBR_DOT},
    {"c.-à-d", "c'est à dire", EU_ABBR_DOT},           {"J.-C", "Jésus Christ", EU_ABBR_DOT},
    {"janv", "janvier", EU_ABBR_DOT},                  {"févr", "février", EU_ABBR_DOT},
    {"avr", "avril", EU_ABBR_DOT},                     {"juil", "juillet", EU_ABBR_DOT},
    {"sept", "septembre", EU_ABBR_DOT | EU_ABBR_NUMBER}, {"oct", "octobre", EU_ABBR_DOT},
    {"nov", "novembre", EU_ABBR_DOT},                  {"déc", "décembre", EU_ABBR_DOT},
    {"vs", "contre", 0},
    {nullptr, nullptr, 0}};

const eu_unit kUnits[] = {
    {"km", "kilomètre", "kilomètres"},    {"m", "mètre", "mètres"},          {"cm", "centimètre", "centimètres"},
    {"mm", "millimètre", "millimètres"},  {"kg", "kilo", "kilos"},           {"g", "gramme", "grammes"},
    {"t", "tonne", "tonnes"},             {"l", "litre", "litres"},          {"ml", "millilitre", "millilitres"},
    {"km/h", "kilomètre heure", "kilomètres heure"},                         {"°C", "degré", "degrés"},
    {"°", "degré", "degrés"},             {"h", "heure", "heures"},          {"min", "minute", "minutes"},
    {"s", "seconde", "secondes"},         {"kWh", "kilowattheure", "kilowattheures"},
    {"MW", "mégawatt", "mégawatts"},      {"ha", "hectare", "hectares"},     {"m²", "mètre carré", "mètres carrés"},
    {"Go", "gigaoctet", "gigaoctets"},    {"Mo", "mégaoctet", "mégaoctets"},
    {"M€", "million d'euros", "millions d'euros"},                           {"Md€", "milliard d'euros", "milliards d'euros"},
    {"Mds€", "milliard d'euros", "milliards d'euros"},                       {"Mds", "milliard", "milliards"},
    {nullptr, nullptr, nullptr}};

const eu_currency kCurrencies[] = {
    {"€", "euro", "euros", "centime", "centimes"},    {"EUR", "euro", "euros", "centime", "centimes"},
    {"$", "dollar", "dollars", "cent", "cents"},      {"USD", "dollar", "dollars", "cent", "cents"},
    {"£", "livre", "livres", "penny", "pence"},       {"GBP", "livre", "livres", "penny", "pence"},
    {"CHF", "franc", "francs", "centime", "centimes"}, {nullptr, nullptr, nullptr, nullptr, nullptr}};

// Feminine nouns take feminine numbers: une tonne, vingt-et-une heures.
const eu_name kNounCounts[] = {{"tonne", "%spellout-cardinal-feminine"}, {"heure", "%spellout-cardinal-feminine"},
                               {"minute", "%spellout-cardinal-feminine"}, {"seconde", "%spellout-cardinal-feminine"},
                               {"livre", "%spellout-cardinal-feminine"}, {nullptr, nullptr}};

const eu_acronym kAcronyms[] = {{"ONU", true},  {"OTAN", true}, {"UNESCO", true}, {"UEFA", true}, {"FIFA", true},
                                {"CAC", true},  {"SMIC", true}, {"ENA", true},    {"INSEE", true}, {"OVNI", true},
                                {"SIDA", true}, {"NASA", true}, {"SAMU", true},   {"USA", false},  {"RER", false},
                                {"UE", false},  {"PDG", false}, {nullptr, false}};

// Ordinal marks: "1er", "1re", "1ère", "2e", "2ème", "3es".
const eu_name kOrdinalMarks[] = {
    {"er", "%spellout-ordinal-masculine"},         {"re", "%spellout-ordinal-feminine"},
    {"ère", "%spellout-ordinal-feminine"},         {"e", "%spellout-ordinal-masculine"},
    {"è", "%spellout-ordinal-masculine"},          {"ème", "%spellout-ordinal-masculine"},
    {"ers", "%spellout-ordinal-masculine-plural"}, {"res", "%spellout-ordinal-feminine-plural"},
    {"ères", "%spellout-ordinal-feminine-plural"}, {"es", "%spellout-ordinal-masculine-plural"},
    {"èmes", "%spellout-ordinal-masculine-plural"}, {nullptr, nullptr}};

// Elided forms before a vowel, with the phones they add to the word.
const eu_name kElisions[] = {
    {"l'", "l"},          {"d'", "d"},          {"j'", "zh"},          {"m'", "m"},         {"n'", "n"},
    {"s'", "s"},          {"t'", "t"},          {"c'", "s"},           {"qu'", "k"},        {"jusqu'", "zh ue s k"},
    {"lorsqu'", "l oh r s k"}, {"puisqu'", "p wh i s k"}, {"quoiqu'", "k w a k"}, {"presqu'", "p r eh s k"},
    {"quelqu'", "k eh l k"}, {"aujourd'", "o zh u r d"}, {"entr'", "an t r"}, {"prud'", "p r ue d"},
    {nullptr, nullptr}};

const char* find_mark_rules(const std::string& mark) {
  for (const eu_name* m = kOrdinalMarks; m->text; ++m)
    if (mark == m->text) return m->words;
  return "%spellout-ordinal-masculine";
}

int roman_value(const std::string& s) {
  int value = 0, last = 0;
  for (size_t i = s.size(); i-- > 0;) {
    const char* letters = "IVXLC";
    const int values[] = {1, 5, 10, 50, 100};
    const char* p = strchr(letters, s[i]);
    if (!p || !s[i]) return 0;
    int v = values[p - letters];
    value += v < last ? -v : v;
    last = v > last ? v : last;
  }
  return value;
}

// Hours agree with "heure" (feminine: une heure, vingt-et-une heures);
// minutes follow as a number (feminine too: vingt heures une).
bool time_rule(eu_context* c, int hours, int minutes, std::vector<std::string>* out) {
  c->spell("%spellout-cardinal-feminine", std::to_string(hours), out);
  out->push_back(hours <= 1 ? "heure" : "heures");
  if (minutes > 0) c->spell("%spellout-cardinal-feminine", std::to_string(minutes), out);
  return true;
}

bool date_rule(eu_context* c, int day, int month, int year, std::vector<std::string>* out) {
  c->spell(day == 1 ? "%spellout-ordinal-masculine" : "%spellout-numbering", std::to_string(day), out);
  out->push_back(kMonths[month - 1]);
  if (year >= 0) c->spell("%spellout-numbering", std::to_string(year), out);
  return true;
}

// A round amount of millions takes "de" before its unit, elided before a
// vowel: un million d'euros, deux milliards de dollars.
bool money_rule(eu_context* c, const eu_currency* currency, const std::string& main, const std::string& minor,
                std::vector<std::string>* out) {
  const bool millions = main.size() >= 7 && main.compare(main.size() - 6, 6, "000000") == 0 &&
                        minor.find_first_not_of('0') == std::string::npos;
  if (!millions) return eu_read_money(c, currency, main, minor, out);
  c->spell(c->lang->count_rules, main, out);
  std::vector<std::string> unit;
  eu_push_words(currency->many, &unit);
  if (unit.empty()) return true;
  if (strchr("aeiouy", unit[0][0])) {
    unit[0] = "d'" + unit[0];
  } else {
    out->push_back("de");
  }
  out->insert(out->end(), unit.begin(), unit.end());
  return true;
}

// Regnal numbers are cardinals but for the first (Louis XIV: quatorze,
// François I: premier); "2nd", "2nde" are second, seconde.
bool ordinal_rule(eu_context* c, const std::string& digits, const std::string& mark,
                  std::vector<std::string>* out) {
  if (mark == "R") return c->spell(digits == "1" ? "%spellout-ordinal-masculine" : "%spellout-numbering", digits, out);
  if (digits == "2" && (mark == "nd" || mark == "nde" || mark == "nds" || mark == "ndes")) {
    out->push_back(mark == "nd" ? "second" : mark == "nde" ? "seconde" : mark == "nds" ? "seconds" : "secondes");
    return true;
  }
  return false;
}

bool is_digits_of(const std::string& s, size_t from, size_t to) {
  if (from >= to || to > s.size()) return false;
  for (size_t i = from; i < to; ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

// "20h15", "20h", "20 h 15", "20 h": a clock time.
bool clock_time(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  size_t h = text.find_first_of("hH");
  int hours = -1, minutes = 0;
  if (h != std::string::npos && h > 0 && h <= 2 && is_digits_of(text, 0, h) &&
      (h + 1 == text.size() || (text.size() == h + 3 && is_digits_of(text, h + 1, h + 3)))) {
    hours = std::stoi(text.substr(0, h));
    if (h + 1 < text.size()) minutes = std::stoi(text.substr(h + 1));
  } else if (text.size() <= 2 && eu_is_digits(text) && c->punctuation(0).empty() &&
             (c->token_text(1) == "h" || c->token_text(1) == "H")) {
    hours = std::stoi(text);
    c->consume_next();
    const std::string m = c->token_text(1);
    if (c->punctuation(0).empty() && m.size() == 2 && eu_is_digits(m) && std::stoi(m) <= 59) {
      minutes = std::stoi(m);
      c->consume_next();
    }
  } else {
    return false;
  }
  if (hours > 24 || minutes > 59) return false;
  return time_rule(c, hours, minutes, out);
}

// Telephone numbers in pairs ("01 23 45 67 89"): every pair after one with
// a leading zero is read as a number of its own (zéro un, vingt-trois, ...).
bool telephone_pair(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  if (text.size() != 2 || !eu_is_digits(text)) return false;
  bool inNumber = false;
  for (int back = -1; back >= -4; --back) {
    const std::string prev = c->token_text(back);
    if (prev.size() != 2 || !eu_is_digits(prev) || !c->punctuation(back).empty()) break;
    if (prev[0] == '0') inNumber = true;
  }
  if (!inNumber) return false;
  if (text[0] == '0') c->spell("%spellout-numbering", "0", out);
  return c->spell("%spellout-numbering", text, out);
}

bool token_rule(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  if (clock_time(c, text, out) || telephone_pair(c, text, out)) return true;
  // "XXIe siècle", "Ier", "Ve République": a Roman numeral with a singular
  // ordinal mark. L and C alone are left out: "Le", "Ce" are words.
  size_t roman = text.find_first_not_of("IVXLC");
  if (roman != std::string::npos && roman > 0 && text.compare(0, roman, "L") != 0 &&
      text.compare(0, roman, "C") != 0) {
    static const char* const kSingular[] = {"er", "re", "ère", "e", "è", "ème", nullptr};
    const std::string mark = text.substr(roman);
    const int value = roman_value(text.substr(0, roman));
    for (int m = 0; kSingular[m]; ++m)
      if (mark == kSingular[m] && value > 0)
        return c->spell(find_mark_rules(mark), std::to_string(value), out);
  }
  // "a-t-il": the euphonic t joins the pronoun.
  size_t t = text.find("-t-");
  if (t != std::string::npos && t > 0 && t + 3 < text.size() && eu_starts_with_letter(text.substr(t + 3))) {
    out->push_back(text.substr(0, t));
    out->push_back("t'" + text.substr(t + 3));
    return true;
  }
  // "St-Étienne", "Ste-Maxime": saint, sainte before a hyphenated name.
  for (const char* prefix : {"St-", "Ste-"}) {
    const std::string p = prefix;
    if (text.size() > p.size() && text.compare(0, p.size(), p) == 0 && eu_starts_with_letter(text.substr(p.size()))) {
      out->push_back(p == "St-" ? "saint" : "sainte");
      std::string rest = text.substr(p.size());
      for (size_t dash; (dash = rest.find('-')) != std::string::npos; rest.erase(0, dash + 1))
        if (dash > 0) out->push_back(rest.substr(0, dash));
      if (!rest.empty()) out->push_back(rest);
      return true;
    }
  }
  // "av. J.-C.": before Christ.
  if (text == "av" && c->punctuation(0) == "." && c->token_text(1) == "J.-C") {
    eu_push_words("avant Jésus Christ", out);
    c->consume_next();
    c->consume_dot();
    return true;
  }
  // "1.500.000" with dots: the groups of a number.
  if (text.size() > 4 && text.find('.') != std::string::npos && eu_is_digits(text.substr(0, text.find('.')))) {
    std::string digits;
    size_t start = 0;
    for (size_t dot = text.find('.');; dot = text.find('.', start)) {
      const std::string group = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
      if (!eu_is_digits(group) || (start == 0 ? group.size() > 3 : group.size() != 3)) return false;
      digits += group;
      if (dot == std::string::npos) break;
      start = dot + 1;
    }
    return c->spell("%spellout-numbering", digits, out);
  }
  return false;
}

// Liaison runs over the utterance once every word has its phones.
void configure(cst_voice* voice) { feat_set(voice->features, "postlex_func", uttfunc_val(fr_liaison)); }

}  // namespace

const eu_language fr_language = {
    "fr", &fr_locale, "ISO-8859-15", "fr-1.0", &fr_lexdata, kPhones, kOnsets, kGlides, kGpos,
    ',', ' ', "%spellout-numbering", nullptr, "%spellout-cardinal-masculine",
    "moins", "pour cent", "à", "à", "point", nullptr, false, kOrdinalMarks, kMonths,
    kLetters, kSymbols, kAbbrevs, kUnits, kCurrencies, kAcronyms,
    time_rule, date_rule, ordinal_rule, money_rule, token_rule,
    nullptr, nullptr, configure, nullptr, nullptr, nullptr, kElisions, kNounCounts, false};

void* initialize_g2p_frFR_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return eu_voice_new(&fr_language, multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_frFR(void* voice) { eu_voice_delete((cst_voice*)voice); }
