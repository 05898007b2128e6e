// Dutch (Netherlands): the Dutch phone set, syllable onsets, function words,
// letters, symbols, abbreviations, units, currencies and the rules for clock
// times ("20.15 uur", "20:15": twintig uur vijftien), dates ("15-03-2025":
// vijftien maart), ordinals by their endings ("3e", "21ste"), regnal numbers
// ("Willem III": Willem de derde) and match scores ("won met 2-1": twee
// één); amounts are read by the kit ("€ 12,50": twaalf euro vijftig). The
// numeral one is written "één" so that it is not read as the article.
#include "modules/nl/nl_lang.h"

#include "modules/common/eu_voice.h"

extern "C" const eu_lexdata nl_lexdata;
extern const eu_locale nl_locale;  // generated from CLDR: nl_NL

namespace {

const eu_phone kPhones[] = {
    {"pau", "-0000000"},
    {"ax", "+a22-000"},  {"a", "+s33-000"},   {"aa", "+l31-000"},  {"e", "+s21-000"},  {"eh", "+l21-000"},
    {"i", "+s11-000"},   {"ii", "+l11-000"},  {"o", "+s23+000"},   {"oo", "+l23+000"}, {"u", "+s12+000"},
    {"uy", "+l11+000"},  {"y", "+l21+000"},   {"oe", "+l13+000"},  {"ei", "+d21-000"}, {"oey", "+d21+000"},
    {"au", "+d23+000"},
    {"p", "-0000sl-"},   {"b", "-0000sl+"},   {"t", "-0000sa-"},   {"d", "-0000sa+"},  {"k", "-0000sv-"},
    {"g", "-0000sv+"},   {"f", "-0000fb-"},   {"v", "-0000fb+"},   {"s", "-0000fa-"},  {"z", "-0000fa+"},
    {"sh", "-0000fp-"},  {"zh", "-0000fp+"},  {"kh", "-0000fv-"},  {"h", "-0000fg+"},  {"m", "-0000nl+"},
    {"n", "-0000na+"},   {"ng", "-0000nv+"},  {"l", "-0000la+"},   {"r", "-0000ra+"},  {"j", "-0000rp+"},
    {"w", "-0000rb+"},
    {nullptr, nullptr}};

// Word-internal s before a stop closes the syllable before it ("las-tig"),
// so s-stop clusters are not onsets; word-initial clusters stay together
// whatever this table says.
const char* const kOnsets[] = {
    "p", "b", "t", "d", "k", "g", "f", "v", "s", "z", "sh", "zh", "kh", "h", "m", "n", "l", "r", "j", "w",
    "p r", "p l", "b r", "b l", "t r", "d r", "k r", "k l", "k n", "k w", "g r", "g l", "f r", "f l", "v r",
    "v l", "s l", "s m", "s n", "s w", "s kh", "s kh r", "z w", "t w", "d w", "kh r", "kh l", "t j",
    nullptr};

const char* const kDet[] = {"de", "het", "een", "deze", "dit", "die", "dat", "geen", "elke", "ieder", nullptr};
const char* const kIn[] = {"in",  "op",   "aan", "van",   "voor", "met",    "bij",    "naar",   "uit", "over",
                           "onder", "tot", "door", "om",  "tegen", "zonder", "na",    "sinds",  "tijdens",
                           "achter", "naast", "tussen", "vanaf", "per", nullptr};
const char* const kCc[] = {"en", "of", "maar", "want", "dus", "omdat", "als", "toen", "terwijl", "hoewel", nullptr};
const char* const kAux[] = {"is", "zijn", "was", "waren", "heeft", "hebben", "had", "hadden", "wordt", "worden",
                            "werd", "werden", "ben", "bent", nullptr};
const char* const kPps[] = {"ik", "jij", "je", "hij", "zij", "ze", "wij", "we", "u", "jullie", "hem", "haar",
                            "hun", "mijn", "jouw", "ons", "onze", "zich", "men", nullptr};
const char* const kMd[] = {"kan", "kunnen", "moet", "moeten", "zal", "zullen", "wil", "willen", "mag", "mogen",
                           "zou", "zouden", nullptr};
const char* const kWp[] = {"wie", "wat", "waar", "wanneer", "waarom", "hoe", "welke", "welk", nullptr};
const kvap_gpos_class kGpos[] = {{"det", kDet}, {"in", kIn}, {"cc", kCc}, {"aux", kAux},
                                 {"pps", kPps}, {"md", kMd}, {"wp", kWp}, {nullptr, nullptr}};

const char* const kMonths[] = {"januari", "februari", "maart",     "april",   "mei",      "juni",
                               "juli",    "augustus", "september", "oktober", "november", "december"};

const eu_name kLetters[] = {
    {"a", "a"},   {"b", "bee"},  {"c", "cee"}, {"d", "dee"}, {"e", "ee"},  {"f", "ef"},   {"g", "gee"},
    {"h", "ha"},  {"i", "i"},    {"j", "jee"}, {"k", "ka"},  {"l", "el"},  {"m", "em"},   {"n", "en"},
    {"o", "o"},   {"p", "pee"},  {"q", "ku"},  {"r", "er"},  {"s", "es"},  {"t", "tee"},  {"u", "u"},
    {"v", "vee"}, {"w", "wee"},  {"x", "iks"}, {"y", "ij"},  {"z", "zet"}, {"é", "ee"},   {"ë", "ee"},
    {"ï", "i"},   {"ü", "u"},    {nullptr, nullptr}};

const eu_name kSymbols[] = {{"&", "en"},          {"+", "plus"},      {"=", "is"},     {"@", "apenstaartje"},
                            {"§", "paragraaf"},   {"°", "graden"},    {"#", "hekje"},  {"*", "sterretje"},
                            {"€", "euro"},        {"$", "dollar"},    {"£", "pond"},   {"%", "procent"},
                            {nullptr, nullptr}};

const eu_abbrev kAbbrevs[] = {
    {"o.a", "onder andere", EU_ABBR_DOT},          {"d.w.z", "dat wil zeggen", EU_ABBR_DOT},
    {"bijv", "bijvoorbeeld", EU_ABBR_DOT},         {"bv", "bijvoorbeeld", EU_ABBR_DOT},
    {"i.p.v", "in plaats van", EU_ABBR_DOT},       {"m.b.t", "met betrekking tot", EU_ABBR_DOT},
    {"z.s.m", "zo spoedig mogelijk", EU_ABBR_DOT}, {"n.a.v", "naar aanleiding van", EU_ABBR_DOT},
    {"t/m", "tot en met", 0},                      {"enz", "enzovoort", EU_ABBR_DOT},
    {"etc", "etcetera", EU_ABBR_DOT},              {"ca", "circa", EU_ABBR_DOT},
    {"nr", "nummer", EU_ABBR_DOT},                 {"blz", "bladzijde", EU_ABBR_DOT},
    {"dhr", "de heer", EU_ABBR_DOT},               {"mevr", "mevrouw", EU_ABBR_DOT},
    {"mw", "mevrouw", EU_ABBR_DOT},                {"dr", "doctor", EU_ABBR_DOT},
    {"drs", "doctorandus", EU_ABBR_DOT},           {"prof", "professor", EU_ABBR_DOT},
    {"ir", "ingenieur", EU_ABBR_DOT},              {"mr", "meester", EU_ABBR_DOT},
    {"St", "Sint", EU_ABBR_DOT | EU_ABBR_CASE},    {"jl", "jongstleden", EU_ABBR_DOT},
    {"a.s", "aanstaande", EU_ABBR_DOT},            {"evt", "eventueel", EU_ABBR_DOT},
    {"incl", "inclusief", EU_ABBR_DOT},            {"excl", "exclusief", EU_ABBR_DOT},
    {"tel", "telefoon", EU_ABBR_DOT},              {"Min", "minister", EU_ABBR_DOT | EU_ABBR_CASE},
    {"v.a", "vanaf", EU_ABBR_DOT},
    {"mln", "miljoen", EU_ABBR_DOT},               {"mld", "miljard", EU_ABBR_DOT},
    {"ma", "maandag", EU_ABBR_DOT | EU_ABBR_CASE}, {"di", "dinsdag", EU_ABBR_DOT | EU_ABBR_CASE},
    {"wo", "woensdag", EU_ABBR_DOT | EU_ABBR_CASE}, {"do", "donderdag", EU_ABBR_DOT | EU_ABBR_CASE},
    {"vr", "vrijdag", EU_ABBR_DOT | EU_ABBR_CASE}, {"za", "zaterdag", EU_ABBR_DOT | EU_ABBR_CASE},
    {"jan", "januari", EU_ABBR_DOT | EU_ABBR_CASE},
    {"feb", "februari", EU_ABBR_DOT | EU_ABBR_CASE}, {"aug", "augustus", EU_ABBR_DOT | EU_ABBR_CASE},
    {"sept", "september", EU_ABBR_DOT | EU_ABBR_CASE}, {"okt", "oktober", EU_ABBR_DOT | EU_ABBR_CASE},
    {"nov", "november", EU_ABBR_DOT | EU_ABBR_CASE}, {"dec", "december", EU_ABBR_DOT | EU_ABBR_CASE},
    {"BV", "bee vee", EU_ABBR_CASE},               {"NV", "en vee", EU_ABBR_CASE},
    {nullptr, nullptr, 0}};

const eu_unit kUnits[] = {
    {"km", "kilometer", "kilometer"},     {"m", "meter", "meter"},           {"cm", "centimeter", "centimeter"},
    {"mm", "millimeter", "millimeter"},   {"kg", "kilo", "kilo"},            {"g", "gram", "gram"},
    {"l", "liter", "liter"},              {"ml", "milliliter", "milliliter"},
    {"km/u", "kilometer per uur", "kilometer per uur"},  {"km/h", "kilometer per uur", "kilometer per uur"},
    {"°C", "graad", "graden"},            {"°", "graad", "graden"},          {"min", "minuut", "minuten"},
    {"sec", "seconde", "seconden"},       {"kWh", "kilowattuur", "kilowattuur"}, {"MW", "megawatt", "megawatt"},
    {"ha", "hectare", "hectare"},         {"m²", "vierkante meter", "vierkante meter"},
    {"GB", "gigabyte", "gigabyte"},       {"MB", "megabyte", "megabyte"},
    {"mln", "miljoen", "miljoen"},        {"mld", "miljard", "miljard"},
    {nullptr, nullptr, nullptr}};

const eu_currency kCurrencies[] = {
    {"€", "euro", "euro", "cent", "cent"},          {"EUR", "euro", "euro", "cent", "cent"},
    {"$", "dollar", "dollar", "cent", "cent"},      {"USD", "dollar", "dollar", "cent", "cent"},
    {"£", "pond", "pond", "penny", "pence"},        {"GBP", "pond", "pond", "penny", "pence"},
    {nullptr, nullptr, nullptr, nullptr, nullptr}};

const eu_acronym kAcronyms[] = {{"NOS", true},   {"NAVO", true}, {"VARA", true}, {"AVRO", true},
                                {"KRO", true},   {"FIFA", true}, {"UEFA", true}, {"ANWB", false},
                                {"KLM", false},  {"VS", false},  {"EU", false},  {"RTL", false},
                                {"NPO", false},  {"KNMI", false}, {"CDA", false}, {"VVD", false},
                                {"PVV", false},  {"NS", false},  {"VPRO", false}, {"NCRV", false},
                                {nullptr, false}};

// Endings written after the digits: "1e", "2de", "8ste", "1ste".
const eu_name kOrdinalMarks[] = {{"e", "%spellout-ordinal"}, {"de", "%spellout-ordinal"},
                                 {"ste", "%spellout-ordinal"}, {nullptr, nullptr}};

// ICU writes the numeral one as "een", which reads as the article, and
// joins tens with "ën" after a vowel (twee|ën|twintig): the word is "en".
const eu_name kNumberWords[] = {
    {"een", "één"}, {"honderdeen", "honderd één"}, {"ën", "en"}, {nullptr, nullptr}};

bool time_rule(eu_context* c, int hours, int minutes, std::vector<std::string>* out) {
  c->spell("%spellout-numbering", std::to_string(hours), out);
  out->push_back("uur");
  if (minutes > 0) c->spell("%spellout-numbering", std::to_string(minutes), out);
  if (c->punctuation(0).empty() && c->token_text(1) == "uur") c->consume_next();
  return true;
}

bool date_rule(eu_context* c, int day, int month, int year, std::vector<std::string>* out) {
  c->spell("%spellout-numbering", std::to_string(day), out);
  out->push_back(kMonths[month - 1]);
  eu_spell_year(c, year, out);
  return true;
}

bool ordinal_rule(eu_context* c, const std::string& digits, const std::string& mark,
                  std::vector<std::string>* out) {
  if (mark != "R") return false;  // "3." is no ordinal in Dutch
  // Regnal numbers: "Willem III" is Willem de derde.
  out->push_back("de");
  return c->spell("%spellout-ordinal", digits, out);
}

// Words after which "2-1" is a match score, read "twee één".
bool before_score(const std::string& word) {
  static const char* const kWords[] = {"met", "wint", "won", "winnen", "verliest", "verloor", "verloren",
                                       "werd", "wordt", "uitslag", "eindstand", "ruststand", "stand", "gelijk",
                                       "speelde", "eindigde", nullptr};
  for (int i = 0; kWords[i]; ++i)
    if (word == kWords[i]) return true;
  return false;
}

// A clock time written with a dot, "21.30"; false when text is not one.
bool dot_time(const std::string& text, int* hours, int* minutes) {
  size_t dot = text.find('.');
  if (dot == 0 || dot > 2 || text.size() != dot + 3) return false;
  const std::string a = text.substr(0, dot), b = text.substr(dot + 1);
  if (!eu_is_digits(a) || !eu_is_digits(b)) return false;
  *hours = std::stoi(a);
  *minutes = std::stoi(b);
  return *hours <= 24 && *minutes <= 59;
}

// Words with an apostrophe, respelled the way they sound: the plural s after
// a final vowel keeps that vowel long ("auto's" -> "autoos", "menu's" ->
// "menuus", "taxi's" -> "taxis"), "zo'n" is "zoon", and the clipped article
// of "'s avonds" joins the next word ("savonds").
bool apostrophe(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  const std::string pre = c->prepunctuation(0);
  if (text == "s" && !pre.empty() && pre.back() == '\'' && c->prepunctuation(1).empty() &&
      c->punctuation(0).empty() && eu_starts_with_letter(c->token_text(1))) {
    out->push_back("s" + eu_lower(c->lang, c->token_text(1)));
    c->consume_next();
    return true;
  }
  const std::string word = eu_lower(c->lang, text);
  if (word == "zo'n") {
    out->push_back("zoon");
    return true;
  }
  const size_t mark = word.size() - 2;
  if (word.size() < 4 || word.compare(mark, 2, "'s") != 0 || word.find('\'') != mark) return false;
  std::string stem = word.substr(0, mark);
  if (!eu_starts_with_letter(stem)) return false;
  const char last = stem.back();
  if (last == 'a' || last == 'o' || last == 'u') stem += last;  // an open syllable stays open
  out->push_back(stem + "s");
  return true;
}

// "20.15 uur" (a clock time written with a dot), the time span of a
// programme guide "21.30-22.00", match scores "2-1" and words with an
// apostrophe.
bool token_rule(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  if (text.find('\'') != std::string::npos || text == "s") return apostrophe(c, text, out);
  size_t dash = text.find('-');
  int h1 = 0, m1 = 0, h2 = 0, m2 = 0;
  if (dash != std::string::npos && dot_time(text.substr(0, dash), &h1, &m1) &&
      dot_time(text.substr(dash + 1), &h2, &m2)) {
    time_rule(c, h1, m1, out);
    out->push_back("tot");
    return time_rule(c, h2, m2, out);
  }
  size_t sep = text.find_first_of(".-");
  if (sep == std::string::npos || sep == 0 || sep > 2) return false;
  const std::string a = text.substr(0, sep), b = text.substr(sep + 1);
  if (!eu_is_digits(a) || !eu_is_digits(b)) return false;
  if (text[sep] == '.') {
    if (b.size() != 2 || c->token_text(1) != "uur" || !c->punctuation(0).empty()) return false;
    if (std::stoi(a) > 24 || std::stoi(b) > 59) return false;
    return time_rule(c, std::stoi(a), std::stoi(b), out);
  }
  if (b.size() > 2 || !before_score(eu_lower(c->lang, c->token_text(-1)))) return false;
  c->spell("%spellout-numbering", a, out);
  c->spell("%spellout-numbering", b, out);
  return true;
}

}  // namespace

const eu_language nl_language = {
    "nl", &nl_locale, "ISO-8859-15", "nl-1.0", &nl_lexdata, kPhones, kOnsets, nullptr, kGpos,
    ',', '.', "%spellout-numbering", "%spellout-numbering-year", "%spellout-cardinal",
    "min", "procent", "tot", nullptr, "punt", nullptr, false, kOrdinalMarks, kMonths,
    kLetters, kSymbols, kAbbrevs, kUnits, kCurrencies, kAcronyms,
    time_rule, date_rule, ordinal_rule, nullptr, token_rule,
    nullptr, nullptr, nullptr, nullptr, kNumberWords, nullptr};

void* initialize_g2p_nlNL_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return eu_voice_new(&nl_language, multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_nlNL(void* voice) { eu_voice_delete((cst_voice*)voice); }
