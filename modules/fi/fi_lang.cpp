// Finnish: the phone set of the Finnish voices (diphthongs as a vowel and a
// non-syllabic second part), syllable onsets, function words, letters,
// symbols, abbreviations, units and currencies with the partitive after
// numbers ("5 km": viisi kilometriä), and the rules for clock times ("klo
// 20.15": kello kaksikymmentä viisitoista), dates ("6.12.2025": kuudes
// joulukuuta ...), ordinals, Roman numerals after names ("Kaarle XII":
// Kaarle kahdestoista), ranges ("2-3": kahdesta kolmeen) and percentages.
#include "modules/fi/fi_lang.h"

#include <ctype.h>
#include <string.h>

#include "modules/common/eu_voice.h"

extern "C" const eu_lexdata fi_lexdata;
extern const eu_locale fi_locale;  // generated from CLDR: fi_FI

namespace {

// Short and long vowels; ix yx ux ex oex ox are the second parts of the
// diphthongs (ai is a ix, ie is i ex, uo is u ox, yö is y oex).
const eu_phone kPhones[] = {
    {"pau", "-0000000"},
    {"i", "+s11-000"},   {"y", "+s11+000"},   {"u", "+s13+000"},   {"e", "+s21-000"},    {"oe", "+s21+000"},
    {"o", "+s23+000"},   {"ae", "+s31-000"},  {"a", "+s33-000"},   {"ii", "+l11-000"},   {"yy", "+l11+000"},
    {"uu", "+l13+000"},  {"ee", "+l21-000"},  {"ooe", "+l21+000"}, {"oo", "+l23+000"},   {"aae", "+l31-000"},
    {"aa", "+l33-000"},  {"ix", "+s11-000n"}, {"yx", "+s11+000n"}, {"ux", "+s13+000n"},  {"ex", "+s21-000n"},
    {"oex", "+s21+000n"}, {"ox", "+s23+000n"},
    {"p", "-0000sl-"},   {"b", "-0000sl+"},   {"t", "-0000sa-"},   {"d", "-0000sa+"},    {"k", "-0000sv-"},
    {"g", "-0000sv+"},   {"f", "-0000fb-"},   {"v", "-0000fb+"},   {"s", "-0000fa-"},    {"sh", "-0000fp-"},
    {"zh", "-0000fp+"},  {"h", "-0000fg-"},   {"m", "-0000nl+"},   {"n", "-0000na+"},    {"ng", "-0000nv+"},
    {"l", "-0000la+"},   {"r", "-0000ra+"},   {"j", "-0000rp+"},
    {nullptr, nullptr}};

// A syllable begins with one consonant (kuk-ka, kyl-mä); clusters only start
// a word.
const char* const kOnsets[] = {"p", "b", "t", "d", "k", "g", "f", "v", "s", "sh", "zh", "h",
                               "m", "n", "l", "r", "j", nullptr};

const char* const kDet[] = {"se", "ne", "tämä", "tuo", "nämä", "nuo", nullptr};
const char* const kIn[] = {"kanssa", "jälkeen", "ennen", "aikana", "mukaan", "kautta", "ilman", "yli", "alle",
                           "luona", nullptr};
const char* const kCc[] = {"ja", "tai", "mutta", "että", "kun", "jos", "koska", "vaan", "sekä", "eli", nullptr};
const char* const kAux[] = {"on", "ovat", "oli", "olivat", "olla", "ollut", "ei", "eivät", nullptr};
const char* const kPps[] = {"minä", "sinä", "hän", "me", "te", "he", "minun", "sinun", "hänen", nullptr};
const char* const kMd[] = {"voi", "voivat", "pitää", "täytyy", "saa", nullptr};
const char* const kWp[] = {"kuka", "mikä", "missä", "milloin", "miksi", "miten", "mitä", "kenen", nullptr};
const kvap_gpos_class kGpos[] = {{"det", kDet}, {"in", kIn}, {"cc", kCc}, {"aux", kAux},
                                 {"pps", kPps}, {"md", kMd}, {"wp", kWp}, {nullptr, nullptr}};

// Months as dates name them, in the partitive ("6. joulukuuta").
const char* const kMonths[] = {"tammikuuta", "helmikuuta", "maaliskuuta", "huhtikuuta",
                               "toukokuuta", "kesäkuuta",  "heinäkuuta",  "elokuuta",
                               "syyskuuta",  "lokakuuta",  "marraskuuta", "joulukuuta"};

const eu_name kLetters[] = {
    {"a", "aa"},   {"b", "bee"},  {"c", "see"},  {"d", "dee"},  {"e", "ee"},   {"f", "äf"},   {"g", "gee"},
    {"h", "hoo"},  {"i", "ii"},   {"j", "jii"},  {"k", "koo"},  {"l", "äl"},   {"m", "äm"},   {"n", "än"},
    {"o", "oo"},   {"p", "pee"},  {"q", "kuu"},  {"r", "är"},   {"s", "äs"},   {"t", "tee"},  {"u", "uu"},
    {"v", "vee"},  {"w", "kaksoisvee"}, {"x", "äks"}, {"y", "yy"}, {"z", "tseta"}, {"å", "ruotsalainen oo"},
    {"ä", "ää"},   {"ö", "öö"},   {"é", "ee"},   {"ü", "yy"},   {nullptr, nullptr}};

const eu_name kSymbols[] = {{"&", "ja"},        {"+", "plus"},       {"=", "on yhtä kuin"}, {"@", "ät"},
                            {"§", "pykälä"},    {"°", "astetta"},    {"#", "risuaita"},     {"*", "tähti"},
                            {"€", "euroa"},     {"$", "dollaria"},   {"£", "puntaa"},       {"%", "prosenttia"},
                            {nullptr, nullptr}};

const eu_abbrev kAbbrevs[] = {
    {"esim", "esimerkiksi", EU_ABBR_DOT},       {"jne", "ja niin edelleen", EU_ABBR_DOT},
    {"mm", "muun muassa", EU_ABBR_DOT},         {"ym", "ynnä muuta", EU_ABBR_DOT},
    {"yms", "ynnä muuta sellaista", EU_ABBR_DOT}, {"ns", "niin sanottu", EU_ABBR_DOT},
    {"n", "noin", EU_ABBR_DOT | EU_ABBR_CASE},  {"klo", "kello", 0},
    {"milj", "miljoonaa", EU_ABBR_DOT},         {"mrd", "miljardia", EU_ABBR_DOT},
    {"tri", "tohtori", 0},                      {"prof", "professori", EU_ABBR_DOT},
    {"puh", "puhelin", EU_ABBR_DOT},            {"ks", "katso", EU_ABBR_DOT},
    {"ts", "toisin sanoen", EU_ABBR_DOT},       {"vrt", "vertaa", EU_ABBR_DOT},
    {"v", "vuonna", EU_ABBR_DOT | EU_ABBR_NUMBER}, {"s", "sivu", EU_ABBR_DOT | EU_ABBR_NUMBER | EU_ABBR_CASE},
    {"nro", "numero", 0},                       {"n:o", "numero", 0},
    {"kpl", "kappaletta", 0},                   {"Oy", "osakeyhtiö", EU_ABBR_CASE},
    {"ry", "rekisteröity yhdistys", EU_ABBR_CASE},
    // Weekdays only before a date ("ma 5.5.").
    {"ma", "maanantai", EU_ABBR_NUMBER | EU_ABBR_CASE},   {"ti", "tiistai", EU_ABBR_NUMBER | EU_ABBR_CASE},
    {"ke", "keskiviikko", EU_ABBR_NUMBER | EU_ABBR_CASE}, {"to", "torstai", EU_ABBR_NUMBER | EU_ABBR_CASE},
    {"pe", "perjantai", EU_ABBR_NUMBER | EU_ABBR_CASE},   {"la", "lauantai", EU_ABBR_NUMBER | EU_ABBR_CASE},
    {"su", "sunnuntai", EU_ABBR_NUMBER | EU_ABBR_CASE},
    {nullptr, nullptr, 0}};

// Singular after 1, partitive after other numbers.
const eu_unit kUnits[] = {
    {"km", "kilometri", "kilometriä"},     {"m", "metri", "metriä"},             {"cm", "senttimetri", "senttimetriä"},
    {"mm", "millimetri", "millimetriä"},   {"kg", "kilo", "kiloa"},              {"g", "gramma", "grammaa"},
    {"l", "litra", "litraa"},              {"dl", "desilitra", "desilitraa"},    {"ml", "millilitra", "millilitraa"},
    {"km/h", "kilometri tunnissa", "kilometriä tunnissa"}, {"°C", "aste", "astetta"}, {"°", "aste", "astetta"},
    {"min", "minuutti", "minuuttia"},      {"h", "tunti", "tuntia"},             {"kWh", "kilowattitunti", "kilowattituntia"},
    {"MW", "megawatti", "megawattia"},     {"ha", "hehtaari", "hehtaaria"},      {"m²", "neliömetri", "neliömetriä"},
    {"GB", "gigatavu", "gigatavua"},       {"MB", "megatavu", "megatavua"},
    {nullptr, nullptr, nullptr}};

const eu_currency kCurrencies[] = {
    {"€", "euro", "euroa", "sentti", "senttiä"},         {"EUR", "euro", "euroa", "sentti", "senttiä"},
    {"$", "dollari", "dollaria", "sentti", "senttiä"},   {"USD", "dollari", "dollaria", "sentti", "senttiä"},
    {"£", "punta", "puntaa", "penny", "pennyä"},         {"GBP", "punta", "puntaa", "penny", "pennyä"},
    {"SEK", "kruunu", "kruunua", "äyri", "äyriä"},
    {nullptr, nullptr, nullptr, nullptr, nullptr}};

const eu_acronym kAcronyms[] = {{"YLE", true},  {"NATO", true}, {"KELA", true}, {"UEFA", true},
                                {"FIFA", true}, {"EU", false},  {"USA", false}, {"MTV", false},
                                {"SDP", false}, {"TV", false},  {"HJK", false}, {nullptr, false}};

// "2:s" (toinen), "1:nen".
const eu_name kOrdinalMarks[] = {{":s", "%spellout-ordinal"}, {":nen", "%spellout-ordinal"}, {nullptr, nullptr}};

bool is_clock_word(const std::string& word) { return word == "klo" || word == "kello"; }

// "20.15": kaksikymmentä viisitoista; "20.00": kaksikymmentä; "8.05": kahdeksan nolla viisi.
bool time_rule(eu_context* c, int hours, int minutes, std::vector<std::string>* out) {
  c->spell("%spellout-numbering", std::to_string(hours), out);
  if (minutes > 0 && minutes < 10) out->push_back("nolla");
  if (minutes > 0) c->spell("%spellout-numbering", std::to_string(minutes), out);
  return true;
}

// "6.12.2025": kuudes joulukuuta kaksituhatta kaksikymmentäviisi.
bool date_rule(eu_context* c, int day, int month, int year, std::vector<std::string>* out) {
  c->spell("%spellout-ordinal", std::to_string(day), out);
  out->push_back(kMonths[month - 1]);
  if (year >= 0) c->spell("%spellout-numbering", std::to_string(year), out);
  return true;
}

// An ordinal before a word takes the word's case, known by its ending
// ("3. sijalle": kolmannelle); the nominative otherwise.
const char* ordinal_case(const std::string& next) {
  static const char* const kEndings[][2] = {
      {"lle", "%spellout-ordinal-allative"},  {"lla", "%spellout-ordinal-adessive"},
      {"llä", "%spellout-ordinal-adessive"},  {"ssa", "%spellout-ordinal-inessive"},
      {"ssä", "%spellout-ordinal-inessive"},  {"sta", "%spellout-ordinal-elative"},
      {"stä", "%spellout-ordinal-elative"},   {"lta", "%spellout-ordinal-ablative"},
      {"ltä", "%spellout-ordinal-ablative"},  {"ksi", "%spellout-ordinal-translative"}};
  for (const auto& e : kEndings) {
    const size_t n = strlen(e[0]);
    if (next.size() > n + 2 && next.compare(next.size() - n, n, e[0]) == 0) return e[1];
  }
  return "%spellout-ordinal";
}

bool ordinal_rule(eu_context* c, const std::string& digits, const std::string& mark,
                  std::vector<std::string>* out) {
  if (mark == "R") {
    // Regnal numbers take the bare ordinal: "Kaarle XII" is Kaarle kahdestoista.
    c->spell("%spellout-ordinal", digits, out);
    c->consume_dot();
    return true;
  }
  if (mark == ".") {
    const std::string next = c->token_text(1);
    if (next.empty() || !(eu_starts_with_letter(next) || eu_is_digits(next))) return false;
    c->spell(ordinal_case(eu_lower(c->lang, next)), digits, out);
    c->consume_dot();
    return true;
  }
  return false;
}

// "2-3": from the first number to the second, in the elative and the
// illative ("kahdesta kolmeen").
bool range_rule(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  size_t at = text.find('-');
  if (at == std::string::npos || at == 0) return false;
  const std::string a = text.substr(0, at), b = text.substr(at + 1);
  // A leading zero is a telephone number or a code, not a range.
  if (!eu_is_digits(a) || !eu_is_digits(b) || a[0] == '0' || a.size() > 9 || b.size() > 9) return false;
  c->spell("%spellout-cardinal-elative", a, out);
  c->spell("%spellout-cardinal-illative", b, out);
  return true;
}

// An acronym with a case ending after a colon: "YLE:llä" (ylellä), "EU:n"
// (ee uun): the ending joins the last word.
bool acronym_with_ending(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 >= text.size()) return false;
  const std::string head = text.substr(0, colon), ending = text.substr(colon + 1);
  if (eu_lower(c->lang, head) == head || eu_lower(c->lang, ending) != ending || !eu_starts_with_letter(ending))
    return false;
  for (char ch : head)
    if ((unsigned char)ch < 0x80 && !isupper((unsigned char)ch)) return false;
  for (char ch : ending)
    if ((unsigned char)ch < 0x80 && !islower((unsigned char)ch)) return false;
  bool asWord = false;
  for (const eu_acronym* a = c->lang->acronyms; a->text; ++a)
    if (head == a->text) asWord = a->as_word;
  const size_t first = out->size();
  if (asWord)
    out->push_back(eu_lower(c->lang, head));
  else
    c->spell_letters(head, out);
  if (out->size() == first) return false;
  out->back() += ending;
  return true;
}

// Clock times with a dot ("20.15"; a day and month "6.12." when the dot ends
// the token and no clock word comes before), ranges, and one per cent in the
// singular ("1 %": yksi prosentti).
bool token_rule(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  int a = 0, b = 0;
  if (eu_dotted_time(text, &a, &b)) {
    const bool dayMonth = a >= 1 && a <= 31 && b >= 1 && b <= 12 && c->punctuation(0)[0] == '.' &&
                          !is_clock_word(eu_lower(c->lang, c->token_text(-1)));
    if (!dayMonth) return time_rule(c, a, b, out);
  }
  if (range_rule(c, text, out)) return true;
  if (acronym_with_ending(c, text, out)) return true;
  if (text == "1%" || (text == "1" && c->punctuation(0).empty() && c->token_text(1) == "%")) {
    if (text == "1") c->consume_next();
    eu_push_words("yksi prosentti", out);
    return true;
  }
  return false;
}

}  // namespace

const eu_language fi_language = {
    "fi", &fi_locale, "ISO-8859-15", "fi-1.0", &fi_lexdata, kPhones, kOnsets, nullptr, kGpos,
    ',', ' ', "%spellout-numbering", nullptr, "%spellout-cardinal",
    "miinus", "prosenttia", "", "", "piste", nullptr, true, kOrdinalMarks, kMonths,
    kLetters, kSymbols, kAbbrevs, kUnits, kCurrencies, kAcronyms,
    time_rule, date_rule, ordinal_rule, nullptr, token_rule};

void* initialize_g2p_fiFI_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return eu_voice_new(&fi_language, multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_fiFI(void* voice) { eu_voice_delete((cst_voice*)voice); }
