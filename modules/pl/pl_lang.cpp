// Polish: the Polish phone set (nasal glides, palatal stops and the three
// series of sibilants), syllable onsets, function words, letters, symbols,
// abbreviations, units and currencies with their three plural forms
// ("2 złote", "5 złotych", "2,5 złotego"), and the rules for clock times read
// as feminine ordinals ("o 20:15": o dwudziestej piętnaście), dates and years
// in the genitive ("1 maja 2024 r.": pierwszego maja dwa tysiące
// dwudziestego czwartego roku), ordinals with a dot ("3. miejsce"), Roman
// numerals after names and centuries ("XXI w.").
#include "modules/pl/pl_lang.h"

#include <string.h>

#include "modules/common/eu_voice.h"

extern "C" const eu_lexdata pl_lexdata;
extern const eu_locale pl_locale;  // generated from CLDR: pl_PL

namespace {

const eu_phone kPhones[] = {
    {"pau", "-0000000"},
    {"a", "+s32-000"},   {"e", "+s21-000"},   {"i", "+s11-000"},  {"o", "+s23+000"},   {"u", "+s13+000"},
    {"y", "+s12-000"},
    {"p", "-0000sl-"},   {"b", "-0000sl+"},   {"t", "-0000sd-"},  {"d", "-0000sd+"},   {"k", "-0000sv-"},
    {"g", "-0000sv+"},   {"ki", "-0000sp-"},  {"gi", "-0000sp+"}, {"f", "-0000fb-"},   {"v", "-0000fb+"},
    {"s", "-0000fd-"},   {"z", "-0000fd+"},   {"sh", "-0000fa-"}, {"zh", "-0000fa+"},  {"si", "-0000fp-"},
    {"zi", "-0000fp+"},  {"c", "-0000ad-"},  {"dz", "-0000ad+"}, {"ch", "-0000aa-"}, {"dzh", "-0000aa+"},
    {"ci", "-0000ap-"}, {"dzi", "-0000ap+"}, {"kh", "-0000fv-"},  {"m", "-0000nl+"},   {"n", "-0000nd+"},
    {"ni", "-0000np+"},  {"ng", "-0000nv+"},  {"l", "-0000la+"},  {"r", "-0000ra+"},   {"j", "-0000rp+"},
    {"jx", "-0000rp+"},  {"w", "-0000rl+"},   {"wx", "-0000rl+"},
    {nullptr, nullptr}};

// Word-initial clusters of Polish (maximal onset); j may follow any of them.
const char* const kOnsets[] = {
    "p", "b", "t", "d", "k", "ki", "g", "gi", "f", "v", "s", "z", "sh", "zh", "si", "zi", "c", "dz", "ch",
    "dzh", "ci", "dzi", "kh", "m", "n", "ni", "l", "r", "j", "w",
    "p r", "p l", "p w", "p sh", "p s", "p si", "p t", "p n", "p ni", "p s t r",
    "b r", "b l", "b w", "b zh", "b z", "b zi",
    "t r", "t w", "t sh", "t k", "t f", "d r", "d w", "d zh", "d l", "d n", "d m",
    "k r", "k l", "k w", "k sh", "k s", "k si", "k t", "k n", "k ni", "k f", "k v", "k m",
    "g r", "g l", "g w", "g zh", "g d", "g n", "g ni", "g v", "g z", "g zi",
    "f r", "f l", "f w", "f sh", "f s", "f si", "f t", "f ch", "f k", "f p", "f c", "f kh", "f ci",
    "f s p", "f s t", "f s kh", "f s k", "f s t r", "f s p r", "f sh ch",
    "v r", "v l", "v w", "v zh", "v z", "v zi", "v n", "v ni", "v d", "v dz", "v m", "v b", "v g", "v dzi",
    "v z d", "v z m", "v z r", "v z g", "v z n", "v z b",
    "s p", "s t", "s k", "s ki", "s m", "s n", "s w", "s l", "s r", "s f", "s kh", "s c", "s p r", "s t r",
    "s k r", "s p l", "s k w", "s t sh", "s p sh", "s k sh", "s t w", "s f r",
    "z b", "z d", "z g", "z m", "z n", "z w", "z l", "z r", "z v", "z b r", "z d r", "z g r", "z dzi", "z b l",
    "sh p", "sh t", "sh k", "sh m", "sh n", "sh w", "sh l", "sh r", "sh f", "sh c", "sh k w", "sh t r",
    "sh p r", "sh k l",
    "zh m", "zh l", "zh r", "zh d", "zh w", "zh g",
    "si p", "si t", "si m", "si n", "si l", "si r", "si v", "si c", "si ci", "si f", "si w",
    "zi d", "zi l", "zi r", "zi v", "zi m", "zi n", "zi dzi", "zi dzi b w",
    "c m", "c n", "c w", "c kh", "c v", "c f", "dz b", "dz v", "dz w",
    "ch t", "ch k", "ch w", "ch m", "ch n", "ch r", "ch f", "ch c", "dzh dzh", "dzh v",
    "ci m", "ci v", "ci f", "dzi v", "dzi g",
    "kh r", "kh w", "kh l", "kh m", "kh sh", "kh c", "kh f", "kh v",
    "m n", "m l", "m r", "m w", "m g", "m sh", "m zh", "m s", "m si", "m c", "m ch",
    "l v", "r t", "r d", "r zh", "w k", "w z",
    nullptr};
const char* const kGlides[] = {"j", nullptr};

const char* const kDet[] = {"ten", "ta", "to", "te", "ci", "tego", "tej", "tym", "tych", "temu", "tę", "tą",
                            "każdy", "każda", "każde", "żaden", "żadna", nullptr};
const char* const kIn[] = {"w",     "we",   "z",     "ze",    "na",   "do",     "od",     "o",      "po",
                           "przy",  "za",   "przez", "dla",   "bez",  "pod",    "nad",    "przed",  "między",
                           "u",     "ku",   "obok",  "według", "około", "podczas", "wśród", "spod",   "znad",
                           "zza",   "przeciw", "wobec", nullptr};
const char* const kCc[] = {"i",   "a",   "oraz", "albo", "lub",  "ale", "lecz", "że",  "bo",
                           "czy", "jeśli", "gdy", "ani",  "więc", "jednak", "aby", "żeby", nullptr};
const char* const kAux[] = {"jest",  "są",     "był",     "była",    "było",    "byli",     "były", "będzie",
                            "będą",  "być",    "został",  "została", "zostało", "zostali", "zostały", nullptr};
const char* const kPps[] = {"ja",  "ty",  "on",  "ona", "ono", "my",   "wy",  "oni",  "one",  "mnie", "mi",
                            "go",  "jej", "mu",  "ich", "im",  "nas",  "was", "się",  "mój",  "twój", "jego",
                            "nasz", "wasz", "swój", nullptr};
const char* const kMd[] = {"może", "mogą", "można", "musi", "muszą", "trzeba", "chce", "chcą", "powinien",
                           "powinna", nullptr};
const char* const kWp[] = {"kto", "co", "gdzie", "kiedy", "jak", "dlaczego", "który", "która", "które", "ile",
                           nullptr};
const kvap_gpos_class kGpos[] = {{"det", kDet}, {"in", kIn}, {"cc", kCc}, {"aux", kAux},
                                 {"pps", kPps}, {"md", kMd}, {"wp", kWp}, {nullptr, nullptr}};

// Month names in the genitive, as dates read them ("pierwszego maja").
const char* const kMonths[] = {"stycznia", "lutego",   "marca",     "kwietnia",    "maja",      "czerwca",
                               "lipca",    "sierpnia", "września", "października", "listopada", "grudnia"};

const eu_name kLetters[] = {
    {"a", "a"},    {"ą", "on"},    {"b", "be"},   {"c", "ce"},   {"ć", "cie"},  {"d", "de"},   {"e", "e"},
    {"ę", "en"},   {"f", "ef"},    {"g", "gie"},  {"h", "ha"},   {"i", "i"},    {"j", "jot"},  {"k", "ka"},
    {"l", "el"},   {"ł", "eł"},    {"m", "em"},   {"n", "en"},   {"ń", "eń"},   {"o", "o"},    {"ó", "u"},
    {"p", "pe"},   {"q", "ku"},    {"r", "er"},   {"s", "es"},   {"ś", "eś"},   {"t", "te"},   {"u", "u"},
    {"v", "fau"},  {"w", "wu"},    {"x", "iks"},  {"y", "igrek"}, {"z", "zet"}, {"ź", "ziet"}, {"ż", "żet"},
    {nullptr, nullptr}};

const eu_name kSymbols[] = {{"&", "i"},         {"+", "plus"},      {"=", "równa się"}, {"@", "małpa"},
                            {"§", "paragraf"},  {"°", "stopni"},    {"#", "krzyżyk"},   {"*", "gwiazdka"},
                            {"€", "euro"},      {"$", "dolarów"},   {"£", "funtów"},    {"%", "procent"},
                            {nullptr, nullptr}};

const eu_abbrev kAbbrevs[] = {
    {"ul", "ulica", EU_ABBR_DOT},             {"al", "aleja", EU_ABBR_DOT},
    {"pl", "plac", EU_ABBR_DOT}, {"os", "osiedle", EU_ABBR_DOT},
    {"woj", "województwo", EU_ABBR_DOT},      {"pow", "powiat", EU_ABBR_DOT},
    {"m.in", "między innymi", EU_ABBR_DOT},   {"np", "na przykład", EU_ABBR_DOT},
    {"tzn", "to znaczy", EU_ABBR_DOT},        {"tj", "to jest", EU_ABBR_DOT},
    {"itd", "i tak dalej", EU_ABBR_DOT},      {"itp", "i tym podobne", EU_ABBR_DOT},
    {"tzw", "tak zwany", EU_ABBR_DOT},        {"ok", "około", EU_ABBR_DOT | EU_ABBR_NUMBER},
    {"r", "roku", EU_ABBR_DOT | EU_ABBR_CASE}, {"proc", "procent", EU_ABBR_DOT},
    {"nr", "numer", 0},                       {"tel", "telefon", EU_ABBR_DOT},
    {"prof", "profesor", EU_ABBR_DOT},        {"dr", "doktor", 0},
    {"mgr", "magister", 0},                   {"inż", "inżynier", EU_ABBR_DOT},
    {"św", "święty", EU_ABBR_DOT},            {"im", "imienia", EU_ABBR_DOT},
    {"ks", "ksiądz", EU_ABBR_DOT},            {"pkt", "punkt", 0},
    {"str", "strona", EU_ABBR_DOT},           {"wg", "według", 0},
    {"ds", "do spraw", EU_ABBR_DOT},          {"gen", "generał", EU_ABBR_DOT},
    {"płk", "pułkownik", 0},                  {"mjr", "major", 0},
    {"kpt", "kapitan", EU_ABBR_DOT},          {"pon", "poniedziałek", EU_ABBR_DOT | EU_ABBR_CASE},
    {"wt", "wtorek", EU_ABBR_DOT | EU_ABBR_CASE}, {"śr", "środa", EU_ABBR_DOT | EU_ABBR_CASE},
    {"czw", "czwartek", EU_ABBR_DOT | EU_ABBR_CASE}, {"pt", "piątek", EU_ABBR_DOT | EU_ABBR_CASE},
    {"sob", "sobota", EU_ABBR_DOT | EU_ABBR_CASE}, {"niedz", "niedziela", EU_ABBR_DOT | EU_ABBR_CASE},
    {"zł", "złotych", 0},                     {"gr", "groszy", 0},
    {nullptr, nullptr, 0}};

const eu_unit kUnits[] = {
    {"km", "kilometr", "kilometry|kilometrów|kilometra"},
    {"m", "metr", "metry|metrów|metra"},
    {"cm", "centymetr", "centymetry|centymetrów|centymetra"},
    {"mm", "milimetr", "milimetry|milimetrów|milimetra"},
    {"kg", "kilogram", "kilogramy|kilogramów|kilograma"},
    {"g", "gram", "gramy|gramów|grama"},
    {"t", "%spellout-cardinal-feminine tona", "tony|ton|tony"},
    {"l", "litr", "litry|litrów|litra"},
    {"km/h", "kilometr na godzinę", "kilometry na godzinę|kilometrów na godzinę|kilometra na godzinę"},
    {"°C", "stopień Celsjusza", "stopnie Celsjusza|stopni Celsjusza|stopnia Celsjusza"},
    {"°", "stopień", "stopnie|stopni|stopnia"},
    {"min", "%spellout-cardinal-feminine minuta", "minuty|minut|minuty"},
    {"h", "%spellout-cardinal-feminine godzina", "godziny|godzin|godziny"},
    {"ha", "hektar", "hektary|hektarów|hektara"},
    {"m²", "metr kwadratowy", "metry kwadratowe|metrów kwadratowych|metra kwadratowego"},
    {"kWh", "%spellout-cardinal-feminine kilowatogodzina", "kilowatogodziny|kilowatogodzin|kilowatogodziny"},
    {"MW", "megawat", "megawaty|megawatów|megawata"},
    {"GB", "gigabajt", "gigabajty|gigabajtów|gigabajta"},
    {"tys", "tysiąc", "tysiące|tysięcy|tysiąca"},
    {"mln", "milion", "miliony|milionów|miliona"},
    {"mld", "miliard", "miliardy|miliardów|miliarda"},
    {nullptr, nullptr, nullptr}};

const eu_currency kCurrencies[] = {
    {"zł", "złoty", "złote|złotych|złotego", "grosz", "grosze|groszy|grosza"},
    {"PLN", "złoty", "złote|złotych|złotego", "grosz", "grosze|groszy|grosza"},
    {"€", "euro", "euro", "cent", "centy|centów|centa"},
    {"EUR", "euro", "euro", "cent", "centy|centów|centa"},
    {"$", "dolar", "dolary|dolarów|dolara", "cent", "centy|centów|centa"},
    {"USD", "dolar", "dolary|dolarów|dolara", "cent", "centy|centów|centa"},
    {"£", "funt", "funty|funtów|funta", "pens", "pensy|pensów|pensa"},
    {"GBP", "funt", "funty|funtów|funta", "pens", "pensy|pensów|pensa"},
    {"CHF", "frank", "franki|franków|franka", "centym", "centymy|centymów|centyma"},
    {nullptr, nullptr, nullptr, nullptr, nullptr}};

const eu_acronym kAcronyms[] = {{"NATO", true}, {"ZUS", true},  {"LOT", true},  {"PAP", true},
                                {"UEFA", true}, {"FIFA", true}, {"PZPN", false}, {"TVP", false},
                                {"USA", false}, {"ONZ", false}, {"UE", false},  {"PKP", false},
                                {"NBP", false}, {"PKO", false}, {nullptr, false}};

// ---------------------------------------------------------------------------
// Ordinals: a stem per number and the endings of its declension.
// ---------------------------------------------------------------------------
enum StemType { kHard, kVelar, kSoft };  // pierwszy, drugi, trzeci
struct Stem {
  int value;
  const char* stem;
  StemType type;
};
const Stem kStems[] = {
    {1, "pierwsz", kHard},        {2, "drug", kVelar},          {3, "trzec", kSoft},
    {4, "czwart", kHard},         {5, "piąt", kHard},           {6, "szóst", kHard},
    {7, "siódm", kHard},          {8, "ósm", kHard},            {9, "dziewiąt", kHard},
    {10, "dziesiąt", kHard},      {11, "jedenast", kHard},      {12, "dwunast", kHard},
    {13, "trzynast", kHard},      {14, "czternast", kHard},     {15, "piętnast", kHard},
    {16, "szesnast", kHard},      {17, "siedemnast", kHard},    {18, "osiemnast", kHard},
    {19, "dziewiętnast", kHard},  {20, "dwudziest", kHard},     {30, "trzydziest", kHard},
    {40, "czterdziest", kHard},   {50, "pięćdziesiąt", kHard},  {60, "sześćdziesiąt", kHard},
    {70, "siedemdziesiąt", kHard}, {80, "osiemdziesiąt", kHard}, {90, "dziewięćdziesiąt", kHard},
    {100, "setn", kHard},         {200, "dwusetn", kHard},      {300, "trzechsetn", kHard},
    {400, "czterechsetn", kHard}, {500, "pięćsetn", kHard},     {600, "sześćsetn", kHard},
    {700, "siedemsetn", kHard},   {800, "osiemsetn", kHard},    {900, "dziewięćsetn", kHard},
    {1000, "tysięczn", kHard},    {2000, "dwutysięczn", kHard}, {3000, "trzytysięczn", kHard}};
// Endings by form (pl_ordinal_form) and stem type.
const char* const kEndings[7][3] = {{"y", "i", "i"},    {"ego", "iego", "iego"}, {"ym", "im", "im"},
                                    {"a", "a", "ia"},   {"ej", "iej", "iej"},    {"ą", "ą", "ią"},
                                    {"e", "ie", "ie"}};

bool push_stem(int value, pl_ordinal_form form, std::vector<std::string>* out) {
  for (const Stem& s : kStems)
    if (s.value == value) {
      out->push_back(std::string(s.stem) + kEndings[form][s.type]);
      return true;
    }
  return false;
}

int month_of(const std::string& word) {
  for (int m = 0; m < 12; ++m)
    if (word == kMonths[m]) return m + 1;
  return 0;
}

bool year_like(const std::string& s) { return s.size() == 4 && eu_is_digits(s) && s[0] != '0'; }

// The form of an hour by the preposition before it: "o dwudziestej", "od
// ósmej", "przed szóstą", "dwudziesta".
pl_ordinal_form hour_form(const std::string& previous) {
  static const char* const kGenitive[] = {"o", "po", "przy", "od", "do", "około", "ok", "koło", "godz",
                                          "godziny", "godzinie", "wpół", nullptr};
  static const char* const kInstrumental[] = {"przed", "za", "między", "nad", "pod", "godziną", nullptr};
  for (int i = 0; kGenitive[i]; ++i)
    if (previous == kGenitive[i]) return PL_GEN_F;
  for (int i = 0; kInstrumental[i]; ++i)
    if (previous == kInstrumental[i]) return PL_INS_F;
  return PL_NOM_F;
}

bool time_rule(eu_context* c, int hours, int minutes, std::vector<std::string>* out) {
  if (hours == 0) {
    out->push_back(hour_form(eu_lower(c->lang, c->token_text(-1))) == PL_NOM_F ? "zero" : "zerowej");
  } else if (!pl_ordinal_words(c, hours, hour_form(eu_lower(c->lang, c->token_text(-1))), out)) {
    return false;
  }
  if (minutes > 0 && minutes < 10) out->push_back("zero");
  if (minutes > 0) c->spell("%spellout-numbering", std::to_string(minutes), out);
  return true;
}

// A year in the genitive ("roku") or, after "w", the locative ("w ... roku");
// the following "r." or "roku" is read as "roku".
void push_year(eu_context* c, int year, bool afterW, std::vector<std::string>* out) {
  pl_ordinal_words(c, year, afterW ? PL_LOC_M : PL_GEN_M, out);
  out->push_back("roku");
}

// Whether the next token is "r." or "roku" (it is then read here).
bool year_word_follows(eu_context* c) {
  const std::string next = c->token_text(1);
  if (!c->punctuation(0).empty()) return false;
  if (next == "roku" || (next == "r" && !c->punctuation(1).empty() && c->punctuation(1)[0] == '.')) {
    c->consume_next();
    if (next == "r") c->consume_dot();
    return true;
  }
  return false;
}

bool date_rule(eu_context* c, int day, int month, int year, std::vector<std::string>* out) {
  pl_ordinal_words(c, day, PL_GEN_M, out);
  out->push_back(kMonths[month - 1]);
  if (year >= 0) {
    year_word_follows(c);
    push_year(c, year, false, out);
  }
  return true;
}

// Case and gender of an ordinal from the preposition before it and the
// ending of the noun after it: "3. miejsce", "2. liga", "do 2. ligi", "na
// 3. miejscu".
pl_ordinal_form form_before(const std::string& preposition, const std::string& noun) {
  static const char* const kGenitive[] = {"do", "od", "z", "ze", "bez", "dla", "u", "około", "spod", "zza", nullptr};
  static const char* const kLocative[] = {"w", "we", "na", "o", "po", "przy", nullptr};
  const char last = noun.empty() ? 0 : noun.back();
  for (int i = 0; kGenitive[i]; ++i)
    if (preposition == kGenitive[i]) return last == 'i' || last == 'y' ? PL_GEN_F : PL_GEN_M;
  for (int i = 0; kLocative[i]; ++i)
    if (preposition == kLocative[i] && (last == 'u' || last == 'm')) return PL_LOC_M;
  if (last == 'a') return PL_NOM_F;
  if (last == 'e' || last == 'o') return PL_NOM_N;
  return PL_NOM_M;
}

bool ordinal_rule(eu_context* c, const std::string& digits, const std::string& mark,
                  std::vector<std::string>* out) {
  if (digits.size() > 4) return false;
  const int n = std::stoi(digits);
  const std::string next = c->token_text(1);
  if (mark == "R") return pl_ordinal_words(c, n, PL_NOM_M, out);
  if (mark == ".") {
    // "3." is an ordinal only when a word follows (else the dot ends the sentence).
    if (next.empty() || !eu_starts_with_letter(next)) return false;
    if (month_of(eu_lower(c->lang, next))) return false;
    if (!pl_ordinal_words(c, n, form_before(eu_lower(c->lang, c->token_text(-1)), eu_lower(c->lang, next)), out))
      return false;
    c->consume_dot();
    return true;
  }
  return false;
}

int roman(const std::string& s) {
  if (s.empty() || s.size() > 7 || s.find_first_not_of("IVXLC") != std::string::npos) return 0;
  int value = 0, last = 0;
  for (size_t i = s.size(); i-- > 0;) {
    int v = s[i] == 'I' ? 1 : s[i] == 'V' ? 5 : s[i] == 'X' ? 10 : s[i] == 'L' ? 50 : 100;
    value += v < last ? -v : v;
    last = v > last ? v : last;
  }
  return value;
}

// "1 maja" (a day before a month name), "2024 r." and "w 2024 roku" (years),
// "XXI w." (centuries), "godz." by its preposition.
bool token_rule(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  const std::string previous = eu_lower(c->lang, c->token_text(-1));
  const std::string next = c->token_text(1);
  if (eu_is_digits(text) && text.size() <= 2 && c->punctuation(0).empty() && month_of(eu_lower(c->lang, next))) {
    const int day = std::stoi(text);
    if (day < 1 || day > 31) return false;
    pl_ordinal_words(c, day, PL_GEN_M, out);
    return true;
  }
  if (year_like(text) && (next == "roku" || next == "r" || next == "rok")) {
    const int year = std::stoi(text);
    if (next == "rok" && c->punctuation(0).empty()) {
      pl_ordinal_words(c, year, PL_NOM_M, out);
      return true;
    }
    if (!year_word_follows(c)) return false;
    push_year(c, year, previous == "w" || previous == "we", out);
    return true;
  }
  if (const int century = roman(text)) {
    if (next == "w" && !c->punctuation(1).empty() && c->punctuation(1)[0] == '.' && c->punctuation(0).empty()) {
      pl_ordinal_words(c, century, previous == "w" || previous == "we" ? PL_LOC_M : PL_NOM_M, out);
      out->push_back(previous == "w" || previous == "we" ? "wieku" : "wiek");
      c->consume_next();
      c->consume_dot();
      return true;
    }
  }
  if (eu_lower(c->lang, text) == "godz" && !c->punctuation(0).empty() && c->punctuation(0)[0] == '.') {
    out->push_back(previous == "o" ? "godzinie" : previous == "od" || previous == "do" ? "godziny" : "godzina");
    c->consume_dot();
    return true;
  }
  return false;
}

}  // namespace

bool pl_ordinal_words(eu_context* c, int n, pl_ordinal_form form, std::vector<std::string>* out) {
  if (n < 1 || n > 9999) return false;
  if (n % 1000 == 0) return push_stem(n, form, out);
  if (n > 1000) c->spell("%spellout-numbering", std::to_string(n / 1000 * 1000), out);
  n %= 1000;
  if (n >= 100 && n % 100 == 0) return push_stem(n, form, out);
  if (n > 100) c->spell("%spellout-numbering", std::to_string(n / 100 * 100), out);
  n %= 100;
  if (n < 20) return push_stem(n, form, out);
  push_stem(n / 10 * 10, form, out);
  return n % 10 == 0 || push_stem(n % 10, form, out);
}

const eu_language pl_language = {
    "pl", &pl_locale, "ISO-8859-2", "pl-1.0", &pl_lexdata, kPhones, kOnsets, kGlides, kGpos,
    ',', ' ', "%spellout-numbering", nullptr, "%spellout-cardinal-masculine",
    "minus", "procent", nullptr, nullptr, "kropka", nullptr, true, nullptr, kMonths,
    kLetters, kSymbols, kAbbrevs, kUnits, kCurrencies, kAcronyms,
    time_rule, date_rule, ordinal_rule, nullptr, token_rule};

void* initialize_g2p_plPL_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return eu_voice_new(&pl_language, multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_plPL(void* voice) { eu_voice_delete((cst_voice*)voice); }
