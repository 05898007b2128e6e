// Russian: the Russian phone set (hard and soft consonants, reduced
// vowels), syllable onsets, function words, letters, symbols, abbreviations,
// units and currencies with their three plural forms ("2 рубля", "5
// рублей", "21 рубль"), and the rules for clock times ("в 20:15"), dates and
// years with their case ("1 мая 2024 г.": первого мая две тысячи двадцать
// четвертого года; "в 2024 году"), ordinals with their written endings
// ("3-й", "90-х"), Roman numerals after names and before "век", and
// decimals read as CLDR's Russian fractions ("2,5": две целых пять десятых).
#include "modules/ru/ru_lang.h"

#include <string.h>

#include "modules/common/eu_voice.h"
#include "modules/ru/ru_translit.h"

extern "C" const eu_lexdata ru_lexdata;
extern const eu_locale ru_locale;  // generated from CLDR: ru_RU

namespace {

const eu_phone kPhones[] = {
    {"pau", "-0000000"},
    {"a", "+s32-000"},   {"e", "+s21-000"},  {"i", "+s11-000"},  {"o", "+s23+000"},  {"u", "+s13+000"},
    {"y", "+s12-000"},   {"ah", "+a32-000"}, {"ax", "+a22-000"}, {"ih", "+a11-000"},
    {"p", "-0000sl-"},   {"pj", "-0000sl-"}, {"b", "-0000sl+"},  {"bj", "-0000sl+"}, {"t", "-0000sd-"},
    {"tj", "-0000sd-"},  {"d", "-0000sd+"},  {"dj", "-0000sd+"}, {"k", "-0000sv-"},  {"kj", "-0000sv-"},
    {"g", "-0000sv+"},   {"gj", "-0000sv+"}, {"f", "-0000fb-"},  {"fj", "-0000fb-"}, {"v", "-0000fb+"},
    {"vj", "-0000fb+"},  {"s", "-0000fd-"},  {"sj", "-0000fd-"}, {"z", "-0000fd+"},  {"zj", "-0000fd+"},
    {"sh", "-0000fa-"},  {"zh", "-0000fa+"}, {"shch", "-0000fp-"}, {"zhj", "-0000fp+"}, {"kh", "-0000fv-"},
    {"khj", "-0000fv-"},  {"ts", "-0000ad-"}, {"ch", "-0000ap-"}, {"m", "-0000nl+"},  {"mj", "-0000nl+"},
    {"n", "-0000nd+"},   {"nj", "-0000nd+"}, {"l", "-0000la+"},  {"lj", "-0000la+"}, {"r", "-0000ra+"},
    {"rj", "-0000ra+"},  {"j", "-0000rp+"},
    {nullptr, nullptr}};

// Word-initial clusters of Russian with the soft forms they take (maximal
// onset); j may follow any of them ("пью").
const char* const kOnsets[] = {
    "p", "pj", "b", "bj", "t", "tj", "d", "dj", "k", "kj", "g", "gj", "f", "fj", "v", "vj", "s", "sj", "z",
    "zj", "sh", "zh", "shch", "zhj", "kh", "khj", "ts", "ch", "m", "mj", "n", "nj", "l", "lj", "r", "rj",
    "j", "p l", "p lj", "pj lj", "p r", "p rj", "pj rj", "p s", "p sj", "pj sj", "p t", "p tj", "pj tj",
    "p sh", "b l", "b lj", "bj lj", "b r", "b rj", "bj rj", "b z", "b zj", "bj zj", "b zh", "t r", "t rj",
    "tj rj", "t v", "t vj", "tj vj", "t k", "t kj", "tj kj", "t l", "t lj", "tj lj", "d r", "d rj",
    "dj rj", "d v", "d vj", "dj vj", "d n", "d nj", "dj nj", "d l", "d lj", "dj lj", "d zh", "k l", "k lj",
    "kj lj", "k r", "k rj", "kj rj", "k n", "k nj", "kj nj", "k v", "k vj", "kj vj", "k t", "k tj",
    "kj tj", "k s", "k sj", "kj sj", "k sh", "k m", "k mj", "kj mj", "g l", "g lj", "gj lj", "g r", "g rj",
    "gj rj", "g n", "g nj", "gj nj", "g d", "g dj", "gj dj", "g v", "g vj", "gj vj", "g z", "g zj",
    "gj zj", "f l", "f lj", "fj lj", "f r", "f rj", "fj rj", "f s", "f sj", "fj sj", "f t", "f tj",
    "fj tj", "f k", "f kj", "fj kj", "f p", "f pj", "fj pj", "f ts", "f sh", "f ch", "f kh", "f khj",
    "fj khj", "v l", "v lj", "vj lj", "v r", "v rj", "vj rj", "v n", "v nj", "vj nj", "v z", "v zj",
    "vj zj", "v s", "v sj", "vj sj", "v d", "v dj", "vj dj", "v t", "v tj", "vj tj", "v k", "v kj",
    "vj kj", "v p", "v pj", "vj pj", "v m", "v mj", "vj mj", "v b", "v bj", "vj bj", "v g", "v gj",
    "vj gj", "v zh", "v sh", "v ch", "v kh", "v khj", "vj khj", "v ts", "s l", "s lj", "sj lj", "s r", "s rj",
    "sj rj", "s m", "s mj", "sj mj", "s n", "s nj", "sj nj", "s v", "s vj", "sj vj", "s p", "s pj",
    "sj pj", "s t", "s tj", "sj tj", "s k", "s kj", "sj kj", "s kh", "s khj", "sj khj", "s f", "s fj",
    "sj fj", "s ts", "s ch", "z l", "z lj", "zj lj", "z r", "z rj", "zj rj", "z m", "z mj", "zj mj", "z n",
    "z nj", "zj nj", "z v", "z vj", "zj vj", "z d", "z dj", "zj dj", "z b", "z bj", "zj bj", "z g", "z gj",
    "zj gj", "z zh", "sh k", "sh kj", "sh t", "sh tj", "sh l", "sh lj", "sh v", "sh vj", "sh p", "sh pj",
    "sh m", "sh mj", "sh n", "sh nj", "sh r", "sh rj", "zh d", "zh dj", "zh r", "zh rj", "zh l", "zh lj",
    "zh m", "zh mj", "zh g", "zh gj", "zh v", "zh vj", "kh l", "kh lj", "khj lj", "kh r", "kh rj", "khj rj",
    "kh v", "kh vj", "khj vj", "kh m", "kh mj", "khj mj", "kh n", "kh nj", "khj nj", "m n", "m nj", "mj nj", "m l",
    "m lj", "mj lj", "m r", "m rj", "mj rj", "m g", "m gj", "mj gj", "m sh", "m ch", "ts v", "ts vj",
    "ch t", "ch tj", "ch v", "ch vj", "ch l", "ch lj", "ch r", "ch rj", "shch b", "shch bj", "l g", "l gj",
    "lj gj", "l b", "l bj", "lj bj", "r t", "r tj", "rj tj", "r v", "r vj", "rj vj", "r zh", "l v", "l vj",
    "lj vj", "m s", "m sj", "mj sj", "m z", "m zj", "mj zj", "t s", "t sj", "tj sj", "d b", "d bj",
    "dj bj", "s t r", "s t rj", "s p r", "s p rj", "s k r", "s k rj", "s p l", "s p lj", "s k l", "s k lj",
    "s k v", "s k vj", "s t v", "s t vj", "s t l", "s t lj", "v z g l", "v z g lj", "v z r", "v z rj",
    "v z l", "v z lj", "v s t r", "v s t rj", "v s p", "v s pj", "v s k", "v s kj", "v s t", "v s tj",
    "v z b", "v z bj", "v z d", "v z dj", "v z v", "v z vj", "v z m", "v z mj", "z d r", "z d rj", "z g l",
    "z g lj", "z b r", "z b rj", "v z g", "v z gj", "f s t r", "f s t rj", "f s p", "f s pj", "f s k",
    "f s kj", "f s t", "f s tj", "v d r", "v d rj", "v d v", "v d vj", "v z d r", "v z d rj", "v s p l",
    "v s p lj", "v k r", "v k rj", "v k l", "v k lj", "v t r", "v t rj", "v p r", "v p rj", "v g l",
    "v g lj", "v g r", "v g rj", "v b l", "v b lj", "v l j", "s k v r", "s k v rj", "f t r", "f t rj",
    nullptr};
const char* const kGlides[] = {"j", nullptr};

const char* const kDet[] = {"этот", "эта", "это", "эти", "этого", "этой", "каждый", "весь", "вся", "всё",
                            "все", "тот", "та", "те", nullptr};
const char* const kIn[] = {"в",    "во",    "на",    "с",     "со",     "к",     "ко",    "по",    "о",
                           "об",   "обо",   "от",    "до",    "из",     "у",     "за",    "под",   "над",
                           "при",  "про",   "без",   "для",   "через",  "между", "после", "перед", "около",
                           "против", "среди", "вокруг", nullptr};
const char* const kCc[] = {"и", "а", "но", "или", "да", "что", "чтобы", "если", "когда", "потому", "ни", "либо",
                           nullptr};
const char* const kAux[] = {"был", "была", "было", "были", "будет", "будут", "быть", "есть", "является",
                            nullptr};
const char* const kPps[] = {"я",  "ты",  "он",  "она", "оно", "мы",   "вы",   "они", "меня", "мне", "его",
                            "её", "ему", "ей",  "их",  "им",  "нас",  "вас",  "себя", "мой", "твой", "наш",
                            "ваш", "свой", nullptr};
const char* const kMd[] = {"может", "могут", "можно", "нужно", "надо", "должен", "должна", "должны", "хочет",
                           nullptr};
const char* const kWp[] = {"кто", "где", "как", "почему", "какой", "какая", "какие", "который", "которая",
                           "которые", "сколько", nullptr};
const kvap_gpos_class kGpos[] = {{"det", kDet}, {"in", kIn}, {"cc", kCc}, {"aux", kAux},
                                 {"pps", kPps}, {"md", kMd}, {"wp", kWp}, {nullptr, nullptr}};

// Month names in the genitive, as dates read them ("первого мая").
const char* const kMonths[] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                               "июля",   "августа", "сентября", "октября", "ноября", "декабря"};

const eu_name kLetters[] = {
    {"а", "а"},  {"б", "бэ"}, {"в", "вэ"}, {"г", "гэ"}, {"д", "дэ"},  {"е", "е"},   {"ё", "ё"},
    {"ж", "жэ"}, {"з", "зэ"}, {"и", "и"},  {"й", "и краткое"},        {"к", "ка"},  {"л", "эль"},
    {"м", "эм"}, {"н", "эн"}, {"о", "о"},  {"п", "пэ"}, {"р", "эр"},  {"с", "эс"},  {"т", "тэ"},
    {"у", "у"},  {"ф", "эф"}, {"х", "ха"}, {"ц", "цэ"}, {"ч", "че"},  {"ш", "ша"},  {"щ", "ща"},
    {"ъ", "твёрдый знак"},   {"ы", "ы"},  {"ь", "мягкий знак"},      {"э", "э"},   {"ю", "ю"},
    {"я", "я"},
    // Latin letters by their English names.
    {"a", "эй"}, {"b", "би"}, {"c", "си"}, {"d", "ди"}, {"e", "и"},   {"f", "эф"},  {"g", "джи"},
    {"h", "эйч"}, {"i", "ай"}, {"j", "джей"}, {"k", "кей"}, {"l", "эл"}, {"m", "эм"}, {"n", "эн"},
    {"o", "оу"}, {"p", "пи"}, {"q", "кью"}, {"r", "ар"}, {"s", "эс"}, {"t", "ти"},  {"u", "ю"},
    {"v", "ви"}, {"w", "дабл ю"}, {"x", "экс"}, {"y", "уай"}, {"z", "зед"},
    {nullptr, nullptr}};

const eu_name kSymbols[] = {{"&", "и"},          {"+", "плюс"},      {"=", "равно"},    {"@", "собака"},
                            {"§", "параграф"},   {"°", "градусов"},  {"#", "решётка"},  {"*", "звёздочка"},
                            {"€", "евро"},       {"$", "долларов"},  {"£", "фунтов"},   {"%", "процентов"},
                            {"№", "номер"},      {nullptr, nullptr}};

const eu_abbrev kAbbrevs[] = {
    {"г", "город", EU_ABBR_DOT | EU_ABBR_CASE},  {"ул", "улица", EU_ABBR_DOT},
    {"д", "дом", EU_ABBR_DOT | EU_ABBR_CASE},    {"кв", "квартира", EU_ABBR_DOT},
    {"просп", "проспект", EU_ABBR_DOT},         {"пер", "переулок", EU_ABBR_DOT},
    {"пл", "площадь", EU_ABBR_DOT},             {"обл", "область", EU_ABBR_DOT},
    {"р-н", "район", 0},                        {"им", "имени", EU_ABBR_DOT},
    {"св", "святой", EU_ABBR_DOT},              {"проф", "профессор", EU_ABBR_DOT},
    {"акад", "академик", EU_ABBR_DOT},          {"тел", "телефон", EU_ABBR_DOT},
    {"т.е", "то есть", EU_ABBR_DOT},            {"т.к", "так как", EU_ABBR_DOT},
    {"т.д", "так далее", EU_ABBR_DOT},          {"т.п", "тому подобное", EU_ABBR_DOT},
    {"см", "смотри", EU_ABBR_DOT},              {"др", "другие", EU_ABBR_DOT},
    {"руб", "рублей", EU_ABBR_DOT},             {"коп", "копеек", EU_ABBR_DOT},
    {"США", "сэ шэ а", EU_ABBR_CASE},           {"ТВ", "тэ вэ", EU_ABBR_CASE},
    {nullptr, nullptr, 0}};

const eu_unit kUnits[] = {
    {"км", "километр", "километра|километров|километра"},
    {"м", "метр", "метра|метров|метра"},
    {"см", "сантиметр", "сантиметра|сантиметров|сантиметра"},
    {"мм", "миллиметр", "миллиметра|миллиметров|миллиметра"},
    {"кг", "килограмм", "килограмма|килограммов|килограмма"},
    {"т", "%spellout-cardinal-feminine тонна", "тонны|тонн|тонны"},
    {"л", "литр", "литра|литров|литра"},
    {"км/ч", "километр в час", "километра в час|километров в час|километра в час"},
    {"°C", "градус Цельсия", "градуса Цельсия|градусов Цельсия|градуса Цельсия"},
    {"°С", "градус Цельсия", "градуса Цельсия|градусов Цельсия|градуса Цельсия"},
    {"°", "градус", "градуса|градусов|градуса"},
    // The degree sign is not in ISO-8859-5; the engine's conversion drops it.
    {"C", "градус Цельсия", "градуса Цельсия|градусов Цельсия|градуса Цельсия"},
    {"С", "градус Цельсия", "градуса Цельсия|градусов Цельсия|градуса Цельсия"},
    {"мин", "%spellout-cardinal-feminine минута", "минуты|минут|минуты"},
    {"ч", "час", "часа|часов|часа"},
    {"га", "гектар", "гектара|гектаров|гектара"},
    {"тыс", "%spellout-cardinal-feminine тысяча", "тысячи|тысяч|тысячи"},
    {"млн", "миллион", "миллиона|миллионов|миллиона"},
    {"млрд", "миллиард", "миллиарда|миллиардов|миллиарда"},
    {"трлн", "триллион", "триллиона|триллионов|триллиона"},
    {nullptr, nullptr, nullptr}};

const eu_currency kCurrencies[] = {
    {"руб", "рубль", "рубля|рублей|рубля", "%spellout-cardinal-feminine копейка", "копейки|копеек|копейки"},
    {"RUB", "рубль", "рубля|рублей|рубля", "%spellout-cardinal-feminine копейка", "копейки|копеек|копейки"},
    {"₽", "рубль", "рубля|рублей|рубля", "%spellout-cardinal-feminine копейка", "копейки|копеек|копейки"},
    {"€", "евро", "евро", "цент", "цента|центов|цента"},
    {"EUR", "евро", "евро", "цент", "цента|центов|цента"},
    {"$", "доллар", "доллара|долларов|доллара", "цент", "цента|центов|цента"},
    {"USD", "доллар", "доллара|долларов|доллара", "цент", "цента|центов|цента"},
    {"£", "фунт", "фунта|фунтов|фунта", "пенс", "пенса|пенсов|пенса"},
    {nullptr, nullptr, nullptr, nullptr, nullptr}};

const eu_acronym kAcronyms[] = {{"НАТО", true}, {"ООН", true},  {"МИД", true},   {"ФИФА", true},
                                {"УЕФА", true}, {"ВУЗ", true},  {"СССР", false}, {"РФ", false},
                                {"ЕС", false},  {"МВД", false}, {nullptr, false}};

// Written ordinal endings ("1-й", "2-го", "90-х") and the ICU rule set each takes.
const eu_name kEndings[] = {
    {"й", "%spellout-ordinal-masculine"},          {"ый", "%spellout-ordinal-masculine"},
    {"ий", "%spellout-ordinal-masculine"},         {"ой", "%spellout-ordinal-masculine"},
    {"я", "%spellout-ordinal-feminine"},           {"ая", "%spellout-ordinal-feminine"},
    {"ья", "%spellout-ordinal-feminine"},          {"е", "%spellout-ordinal-neuter"},
    {"ое", "%spellout-ordinal-neuter"},            {"ье", "%spellout-ordinal-neuter"},
    {"го", "%spellout-ordinal-masculine-genitive"}, {"ого", "%spellout-ordinal-masculine-genitive"},
    {"его", "%spellout-ordinal-masculine-genitive"}, {"му", "%spellout-ordinal-masculine-dative"},
    {"ому", "%spellout-ordinal-masculine-dative"}, {"ему", "%spellout-ordinal-masculine-dative"},
    {"м", "%spellout-ordinal-masculine-locative"}, {"ом", "%spellout-ordinal-masculine-locative"},
    {"ем", "%spellout-ordinal-masculine-locative"}, {"ым", "%spellout-ordinal-masculine-locative"},
    {"х", "%spellout-ordinal-plural-genitive"},    {"ых", "%spellout-ordinal-plural-genitive"},
    {"их", "%spellout-ordinal-plural-genitive"},   {"ю", "%spellout-ordinal-feminine-accusative"},
    {"ую", "%spellout-ordinal-feminine-accusative"}, {nullptr, nullptr}};

const char* find(const eu_name* table, const std::string& text) {
  for (const eu_name* n = table; n->text; ++n)
    if (text == n->text) return n->words;
  return nullptr;
}

int month_of(const std::string& word) {
  for (int m = 0; m < 12; ++m)
    if (word == kMonths[m]) return m + 1;
  return 0;
}

bool year_like(const std::string& s) { return s.size() == 4 && eu_is_digits(s) && s[0] != '0'; }

bool after_v(eu_context* c) {
  const std::string previous = eu_lower(c->lang, c->token_text(-1));
  return previous == "в" || previous == "во";
}

// Clock times as announcers read them: "двадцать пятнадцать", "девять ноль
// пять", "двадцать ноль ноль".
bool time_rule(eu_context* c, int hours, int minutes, std::vector<std::string>* out) {
  c->spell("%spellout-numbering", std::to_string(hours), out);
  if (minutes < 10) out->push_back("ноль");
  c->spell("%spellout-numbering", std::to_string(minutes), out);
  return true;
}

// An ordinal year in the given ICU rule set, "тысяча девятьсот ..." without
// the "одна" ICU puts before a thousand.
void spell_year(eu_context* c, const char* rules, int year, std::vector<std::string>* out) {
  std::vector<std::string> words;
  c->spell(rules, std::to_string(year), &words);
  size_t from = words.size() > 1 && words[0] == "одна" && words[1] == "тысяча" ? 1 : 0;
  out->insert(out->end(), words.begin() + from, words.end());
}

// A year: genitive with "года" ("2024 г."), locative with "году" after "в".
void push_year(eu_context* c, int year, std::vector<std::string>* out) {
  const bool in = after_v(c);
  spell_year(c, in ? "%spellout-ordinal-masculine-locative" : "%spellout-ordinal-masculine-genitive", year, out);
  out->push_back(in ? "году" : "года");
}

// Reads a following "г." / "года" / "году" into the year.
void take_year_word(eu_context* c) {
  const std::string next = c->token_text(1);
  if (!c->punctuation(0).empty()) return;
  if (next == "года" || next == "году") {
    c->consume_next();
  } else if (next == "г" && !c->punctuation(1).empty() && c->punctuation(1)[0] == '.') {
    c->consume_next();
    c->consume_dot();
  }
}

// A day of the month: the neuter nominative after "сегодня", "завтра" and
// "вчера" (сегодня первое мая), the genitive otherwise (первого мая).
void push_day(eu_context* c, int day, std::vector<std::string>* out) {
  const std::string previous = eu_lower(c->lang, c->token_text(-1));
  const bool naming = previous == "сегодня" || previous == "завтра" || previous == "вчера";
  c->spell(naming ? "%spellout-ordinal-neuter" : "%spellout-ordinal-masculine-genitive", std::to_string(day), out);
}

bool date_rule(eu_context* c, int day, int month, int year, std::vector<std::string>* out) {
  push_day(c, day, out);
  out->push_back(kMonths[month - 1]);
  if (year >= 0) {
    take_year_word(c);
    spell_year(c, "%spellout-ordinal-masculine-genitive", year, out);
    out->push_back("года");
  }
  return true;
}

bool ordinal_rule(eu_context* c, const std::string& digits, const std::string& mark,
                  std::vector<std::string>* out) {
  // Roman numerals after names: "Пётр I" is Пётр первый.
  if (mark == "R") return c->spell("%spellout-ordinal-masculine", digits, out);
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

const eu_unit* find_unit(const std::string& token) {
  for (const eu_unit* u = kUnits; u->key; ++u)
    if (token == u->key) return u;
  return nullptr;
}

// Whether a token names what a number before it counts.
bool names_amount(const std::string& token) {
  if (token == "%") return true;
  for (const eu_unit* u = kUnits; u->key; ++u)
    if (token == u->key) return true;
  for (const eu_currency* cur = kCurrencies; cur->key; ++cur)
    if (token == cur->key) return true;
  return false;
}

bool capitalised_name(const std::string& word) {
  std::string lower = eu_lower(nullptr, word);
  return !word.empty() && lower != word && eu_starts_with_letter(word) && word.find_first_of("0123456789") == std::string::npos;
}

bool latin_letters(const std::string& s) {
  if (s.empty()) return false;
  for (char ch : s)
    if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'))) return false;
  return true;
}

// Words in Latin letters have no pronunciation in the Russian lexicon:
// short capitals and capitals without a vowel are spelled with the English
// letter names ("BBC": би би си), other words as the reverse of the BGN/PCGN
// romanization writes them ("Chelsea": челсеа).
bool latin_word(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  bool upper = true, vowel = false;
  for (char ch : text) {
    upper = upper && ch >= 'A' && ch <= 'Z';
    vowel = vowel || strchr("aeiouyAEIOUY", ch);
  }
  if (upper && (text.size() <= 3 || !vowel)) {
    c->spell_letters(text, out);
    return true;
  }
  std::string word = ru_latin_to_cyrillic(eu_lower(c->lang, text));
  out->push_back(word);
  return true;
}

// Ordinals with endings ("3-й", "90-х годов"), days before month names
// ("1 мая"), years before "г."/"год"/"года"/"году", centuries ("XXI век"),
// Roman numerals after names ("Пётр I"), decimals, words in Latin letters.
bool token_rule(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  const std::string next = eu_lower(c->lang, c->token_text(1));
  size_t dash = text.find('-');
  if (dash != std::string::npos && dash > 0 && dash <= 4 && eu_is_digits(text.substr(0, dash))) {
    const std::string ending = eu_lower(c->lang, text.substr(dash + 1));
    const char* rules = find(kEndings, ending);
    if (!rules) return false;
    // "90-е годы": the plural.
    if ((ending == "е" || ending == "ые") && next == "годы") rules = "%spellout-ordinal-plural";
    return c->spell(rules, text.substr(0, dash), out);
  }
  if (eu_is_digits(text) && text.size() <= 2 && c->punctuation(0).empty() && month_of(next)) {
    const int day = std::stoi(text);
    if (day < 1 || day > 31) return false;
    push_day(c, day, out);
    return true;
  }
  if (year_like(text) && c->punctuation(0).empty()) {
    if (next == "год") {
      spell_year(c, "%spellout-ordinal-masculine", std::stoi(text), out);
      return true;
    }
    if (next == "года" || next == "году" || (next == "г" && c->punctuation(1)[0] == '.')) {
      take_year_word(c);
      push_year(c, std::stoi(text), out);
      return true;
    }
  }
  if (const int r = roman(text)) {
    if (next == "век" || next == "века" || next == "веке") {
      return c->spell(next == "век"    ? "%spellout-ordinal-masculine"
                      : next == "века" ? "%spellout-ordinal-masculine-genitive"
                                       : "%spellout-ordinal-masculine-locative",
                      std::to_string(r), out);
    }
    if (capitalised_name(c->token_text(-1)) && c->punctuation(-1).empty())
      return c->spell("%spellout-ordinal-masculine", std::to_string(r), out);
  }
  // Decimals as fractions, "две целых пять десятых" (feminine, as the parts
  // are, whatever the gender of a unit after them: "1,5 км" is одна целая
  // пять десятых километра); before a currency or "%" the kit reads them
  // with the name.
  size_t comma = text.find(',');
  if (comma != std::string::npos && comma > 0 && comma + 1 < text.size() && comma + 4 >= text.size() &&
      eu_is_digits(text.substr(0, comma)) && eu_is_digits(text.substr(comma + 1))) {
    const eu_unit* unit = c->punctuation(0).empty() ? find_unit(c->token_text(1)) : nullptr;
    if (!unit && c->punctuation(0).empty() && names_amount(c->token_text(1))) return false;
    if (!c->spell("%spellout-cardinal-feminine", text.substr(0, comma) + "." + text.substr(comma + 1), out))
      return false;
    if (unit) {
      c->consume_next();
      eu_push_plural(c, text, unit->one, unit->many, out);
    }
    return true;
  }
  if (latin_letters(text) && !roman(text)) return latin_word(c, text, out);
  return false;
}

}  // namespace

const eu_language ru_language = {
    "ru", &ru_locale, "ISO-8859-5", "ru-1.0", &ru_lexdata, kPhones, kOnsets, kGlides, kGpos,
    ',', ' ', "%spellout-numbering", nullptr, "%spellout-cardinal-masculine",
    "минус", "процент|процента|процентов|процента", nullptr, nullptr, "точка", nullptr, true, nullptr, kMonths,
    kLetters, kSymbols, kAbbrevs, kUnits, kCurrencies, kAcronyms,
    time_rule, date_rule, ordinal_rule, nullptr, token_rule};

void* initialize_g2p_ruRU_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return eu_voice_new(&ru_language, multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_ruRU(void* voice) { eu_voice_delete((cst_voice*)voice); }
