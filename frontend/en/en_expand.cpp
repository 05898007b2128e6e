#include "frontend/en/en_expand.h"

#include "frontend/norm_common.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include <string>
#include <vector>

#include "frontend/norm_common.h"

const char* const digit2num[10] = {"zero", "one", "two", "three", "four",
                                   "five", "six", "seven", "eight", "nine"};
const char* const digit2teen[10] = {"ten",     "eleven",  "twelve",    "thirteen", "fourteen",
                                    "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
const char* const digit2enty[10] = {"zero",  "ten",   "twenty",  "thirty", "forty",
                                    "fifty", "sixty", "seventy", "eighty", "ninety"};
const char* const ord2num[10] = {"zeroth", "first", "second",  "third",  "fourth",
                                 "fifth",  "sixth", "seventh", "eighth", "ninth"};
const char* const ord2teen[10] = {"tenth",     "eleventh",  "twelfth",     "thirteenth",
                                  "fourteenth", "fifteenth", "sixteenth",  "seventeenth",
                                  "eighteenth", "nineteenth"};
const char* const ord2enty[10] = {"zeroth",    "tenth",     "twentieth",  "thirtieth",
                                  "fortieth",  "fiftieth",  "sixtieth",   "seventieth",
                                  "eightieth", "ninetieth"};

namespace {

using Words = std::vector<std::string>;

cst_val* to_list(const Words& words) {
  cst_val* list = nullptr;
  for (auto it = words.rbegin(); it != words.rend(); ++it) list = cons_val(string_val(it->c_str()), list);
  return list;
}

int digit(char c) { return c - '0'; }

void append(Words* out, const Words& more) { out->insert(out->end(), more.begin(), more.end()); }

Words digits_words(const std::string& s) {
  Words w;
  for (char c : s) w.push_back(isdigit((unsigned char)c) ? digit2num[digit(c)] : "umpty");
  return w;
}

Words number(const std::string& s, bool skip) {
  const size_t n = s.size();
  Words w;
  if (n == 0) return w;
  if (n == 1) {
    if (!(skip && s[0] == '0')) w.push_back(digit2num[digit(s[0])]);
    return w;
  }
  if (n == 2) {
    if (s[0] != '0') {
      if (s[1] == '0') {
        w.push_back(digit2enty[digit(s[0])]);
      } else if (s[0] == '1') {
        w.push_back(digit2teen[digit(s[1])]);
      } else {
        w.push_back(digit2enty[digit(s[0])]);
        w.push_back(digit2num[digit(s[1])]);
      }
    } else if (s[1] != '0') {
      w.push_back(digit2num[digit(s[1])]);
    } else if (!skip) {
      w.push_back("zero");
    }
    return w;
  }
  if (n == 3) {
    if (s[0] != '0') {
      w.push_back(digit2num[digit(s[0])]);
      w.push_back("hundred");
      append(&w, number(s.substr(1), true));
    } else {
      w = number(s.substr(1), skip);
    }
    return w;
  }
  if (n > 12) return digits_words(s);
  const size_t tail = n <= 6 ? 3 : n <= 9 ? 6 : 9;
  const char* scale = n <= 6 ? "thousand" : n <= 9 ? "million" : "billion";
  Words head = number(s.substr(0, n - tail), true);
  if (head.empty()) return number(s.substr(n - tail), skip);
  head.push_back(scale);
  append(&head, number(s.substr(n - tail), true));
  return head;
}

Words id(const std::string& s) {
  const size_t n = s.size();
  if (n == 4 && s[2] == '0' && s[3] == '0') {
    if (s[1] != '0') {
      Words w = number(s.substr(0, 2), false);
      w.push_back("hundred");
      return w;
    }
    return number(s, false);
  }
  if (n == 3 && s[0] != '0' && s[1] == '0' && s[2] == '0') return {digit2num[digit(s[0])], "hundred"};
  if (s == "00") return {"zero", "zero"};
  if (n == 2 && s[0] == '0') return {"oh", digit2num[digit(s[1])]};
  if (n == 4 && s[1] == '0') return number(s, false);
  if (n > 2) {
    const size_t head = n % 2 == 0 ? 2 : 1;
    Words w = head == 2 ? number(s.substr(0, 2), false) : Words{digit2num[digit(s[0])]};
    append(&w, id(s.substr(head)));
    return w;
  }
  return number(s, false);
}

Words real(const std::string& s) {
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    Words w{s[0] == '-' ? "minus" : "plus"};
    append(&w, real(s.substr(1)));
    return w;
  }
  size_t e = s.find('e');
  if (e == std::string::npos) e = s.find('E');
  if (e != std::string::npos) {
    Words w = real(s.substr(0, e));
    w.push_back("e");
    append(&w, real(s.substr(e + 1)));
    return w;
  }
  const size_t dot = s.find('.');
  if (dot == std::string::npos) return number(s, false);
  Words w = number(s.substr(0, dot), false);
  w.push_back("point");
  append(&w, digits_words(s.substr(dot + 1)));
  return w;
}

const char* ordinal_of(const std::string& word) {
  for (int i = 0; i < 10; i++) {
    if (word == digit2num[i]) return ord2num[i];
    if (word == digit2teen[i]) return ord2teen[i];
    if (word == digit2enty[i]) return ord2enty[i];
  }
  if (word == "hundred") return "hundredth";
  if (word == "thousand") return "thousandth";
  if (word == "billion") return "billionth";
  return nullptr;
}

std::string lower(const char* s) {
  std::string out = s ? s : "";
  for (char& c : out) c = (char)tolower((unsigned char)c);
  return out;
}

bool in_list(const std::string& word, const char* const* list) {
  for (; *list; ++list)
    if (word == *list) return true;
  return false;
}

const char* const kRegnalNames[] = {
    "louis", "henry",  "charles", "philip", "george",   "edward",   "pius",       "william", "richard",
    "ptolemy", "john", "paul",    "peter",  "nicholas", "frederick", "james",     "alfonso", "ivan",
    "napolean", "leo", "gregory", "catherine", "alexandria", "pierre", "elizabeth", "mary", nullptr};
const char* const kTitles[] = {"king",    "queen",   "pope",     "duke",  "tsar",     "emperor",
                               "shah",    "ceasar",  "duchess",  "tsarina", "empress", "baron",
                               "baroness", "sultan", "count",    "countess", nullptr};
const char* const kSectionWords[] = {"section", "chapter", "part", "phrase", "verse", "scene", "act",
                                     "book", "volume", "chap", "war", "apollo", "trek", "fortran", nullptr};
const char* const kMonths[] = {"january", "february", "march",     "april",   "may",      "june",
                               "july",    "august",   "september", "october", "november", "december",
                               nullptr};

struct Currency {
  const char* code;
  const char* forms[4];  // major, major plural, minor, minor plural
};
const Currency kCurrencies[] = {
    {"usd", {"dollar", "dollars", "cent", "cents"}},
    {"eur", {"euro", "euros", "cent", "cents"}},
    {"gbp", {"pound", "pounds", "penny", "pence"}},
    {"jpy", {"yen", "yen", "sen", "sen"}},
};

}  // namespace

cst_val* en_exp_number_ext(const char* digits, int skip_zero) {
  return to_list(number(digits ? digits : "", skip_zero != 0));
}

cst_val* en_exp_number(const char* digits) { return en_exp_number_ext(digits, 0); }

cst_val* en_exp_numeric_arabic(const char* digits, unsigned options) {
  (void)options;
  return en_exp_number(digits);
}

cst_val* en_exp_ordinal(const char* digits) {
  std::string s;
  for (const char* p = digits ? digits : ""; *p; ++p)
    if (*p != ',') s += *p;
  Words w = number(s, false);
  if (!w.empty()) {
    const char* ord = ordinal_of(w.back());
    if (ord) w.back() = ord;
  }
  return to_list(w);
}

cst_val* en_exp_id(const char* digits) { return to_list(id(digits ? digits : "")); }

cst_val* en_exp_real(const char* text) { return to_list(real(text ? text : "")); }

cst_val* en_exp_digits(const char* text) { return to_list(digits_words(text ? text : "")); }

cst_val* en_exp_time(const char* text) {
  const std::string s = text ? text : "";
  const size_t colon = s.find(':');
  if (colon == std::string::npos) return nullptr;
  Words w = number(s.substr(0, colon), false);
  const std::string minutes = s.substr(colon + 1);
  if (minutes != "00") append(&w, id(minutes));
  return to_list(w);
}

int norm_romantoi(const char* numeral) {
  int value = 0;
  for (const char* p = numeral ? numeral : ""; *p; ++p) {
    const char next = p[1];
    switch (*p) {
      case 'M': value += 1000; break;
      case 'D': value += 500; break;
      case 'L': value += 50; break;
      case 'V': value += 5; break;
      case 'C':
        if (next == 'D' || next == 'M') {
          value += next == 'D' ? 400 : 900;
          ++p;
        } else {
          value += 100;
        }
        break;
      case 'X':
        if (next == 'L' || next == 'C') {
          value += next == 'L' ? 40 : 90;
          ++p;
        } else {
          value += 10;
        }
        break;
      case 'I':
        if (next == 'V' || next == 'X') {
          value += next == 'V' ? 4 : 9;
          ++p;
        } else {
          value += 1;
        }
        break;
      default: break;
    }
  }
  return value;
}

int norm_cond_is_current_century_year(const char* year) {
  return year && (year[0] == '0' || year[0] == '1');
}

char* norm_extend_year(const char* year) {
  const std::string s = year ? year : "";
  const std::string out =
      s.size() == 2 ? (norm_cond_is_current_century_year(s.c_str()) ? "20" : "19") + s : s;
  return cst_strdup(out.c_str());
}

const char* en_price_period(const char* period) {
  static const char* const kPeriods[][2] = {
      {"month", "a month"}, {"mo", "a month"}, {"year", "a year"},   {"yr", "a year"},
      {"week", "a week"},   {"wk", "a week"},  {"day", "a day"},     {"night", "a night"},
      {"hour", "an hour"},  {"hr", "an hour"}, {"person", "per person"}};
  for (const auto& p : kPeriods)
    if (period && strcasecmp(period, p[0]) == 0) return p[1];
  return nullptr;
}

int en_announces_code(const char* word) {
  static const char* const kLeads[] = {"code", "pin", "passcode", "pincode"};
  for (const char* lead : kLeads)
    if (word && strcasecmp(word, lead) == 0) return 1;
  return 0;
}

int en_leads_date(const char* word) {
  static const char* const kLeads[] = {"on", "from", "until", "since"};
  for (const char* lead : kLeads)
    if (word && strcasecmp(word, lead) == 0) return 1;
  return 0;
}

const char* en_currency_name(const char* code, int plural, int minor) {
  const std::string key = lower(code);
  for (const Currency& c : kCurrencies)
    if (key == c.code) return c.forms[(minor ? 2 : 0) + (plural ? 1 : 0)];
  return nullptr;
}

const char* money_symbol_to_iso(unsigned char symbol) {
  switch (symbol) {
    case '$': return "USD";
    case 0xA4: return "EUR";
    case 0xA3: return "GBP";
    case 0xA5: return "JPY";
    default: return nullptr;
  }
}

int rex_like(const cst_item* token) {
  const cst_item* prev = token ? item_prev(token) : nullptr;
  if (prev && in_list(lower(item_feat_string(prev, "name")), kRegnalNames)) return 1;
  const cst_item* prev2 = prev ? item_prev(prev) : nullptr;
  return prev2 && in_list(lower(item_feat_string(prev2, "name")), kTitles);
}

int section_like(const cst_item* token) {
  const cst_item* prev = token ? item_prev(token) : nullptr;
  return prev && in_list(lower(item_feat_string(prev, "name")), kSectionWords);
}

int month_like(const cst_item* item) {
  return item && in_list(lower(item_feat_string(item, "name")), kMonths);
}

cst_val* en_exp_numeric_roman(const cst_item* token, const char* numeral, unsigned ordinal,
                              unsigned cardinal, unsigned min_length) {
  const std::string text = numeral ? numeral : "";
  char digits[16];
  snprintf(digits, sizeof digits, "%d", norm_romantoi(text.c_str()) % 1000000000);
  if (ordinal) return cons_val(string_val("the"), en_exp_ordinal(digits));
  if (cardinal) return en_exp_number(digits);
  if (text.size() >= min_length && text != "XXX" && text != "CI" && text != "DVI")
    return en_exp_number(digits);
  return norm_spell_text(token, text.c_str());
}

// US states: abbreviation, "ambiguous" or "", up to three words; ended by an
// empty row. Upper-case codes, the capitalised forms of running text and the
// longer abbreviations; a row is ambiguous when its form is also a word, a
// name or a common abbreviation, so that it is read as a state only where an
// address puts it (after a place name, before a postal code or the end).
const state_row states[] = {
    {"AL", "ambiguous", {"alabama", nullptr, nullptr}},
    {"Al", "ambiguous", {"alabama", nullptr, nullptr}},
    {"Ala", "", {"alabama", nullptr, nullptr}},
    {"AK", "", {"alaska", nullptr, nullptr}},
    {"Ak", "ambiguous", {"alaska", nullptr, nullptr}},
    {"AZ", "", {"arizona", nullptr, nullptr}},
    {"Ariz", "", {"arizona", nullptr, nullptr}},
    {"AR", "ambiguous", {"arkansas", nullptr, nullptr}},
    {"Ark", "ambiguous", {"arkansas", nullptr, nullptr}},
    {"CA", "ambiguous", {"california", nullptr, nullptr}},
    {"Ca", "ambiguous", {"california", nullptr, nullptr}},
    {"Calif", "", {"california", nullptr, nullptr}},
    {"CO", "ambiguous", {"colorado", nullptr, nullptr}},
    {"Co", "ambiguous", {"colorado", nullptr, nullptr}},
    {"Colo", "", {"colorado", nullptr, nullptr}},
    {"CT", "ambiguous", {"connecticut", nullptr, nullptr}},
    {"Conn", "ambiguous", {"connecticut", nullptr, nullptr}},
    {"DE", "ambiguous", {"delaware", nullptr, nullptr}},
    {"De", "ambiguous", {"delaware", nullptr, nullptr}},
    {"Del", "ambiguous", {"delaware", nullptr, nullptr}},
    {"FL", "", {"florida", nullptr, nullptr}},
    {"Fl", "ambiguous", {"florida", nullptr, nullptr}},
    {"Fla", "", {"florida", nullptr, nullptr}},
    {"GA", "ambiguous", {"georgia", nullptr, nullptr}},
    {"Ga", "ambiguous", {"georgia", nullptr, nullptr}},
    {"HI", "ambiguous", {"hawaii", nullptr, nullptr}},
    {"Hi", "ambiguous", {"hawaii", nullptr, nullptr}},
    {"ID", "ambiguous", {"idaho", nullptr, nullptr}},
    {"Id", "ambiguous", {"idaho", nullptr, nullptr}},
    {"IL", "ambiguous", {"illinois", nullptr, nullptr}},
    {"Il", "ambiguous", {"illinois", nullptr, nullptr}},
    {"Ill", "ambiguous", {"illinois", nullptr, nullptr}},
    {"IN", "ambiguous", {"indiana", nullptr, nullptr}},
    {"In", "ambiguous", {"indiana", nullptr, nullptr}},
    {"Ind", "ambiguous", {"indiana", nullptr, nullptr}},
    {"IA", "", {"iowa", nullptr, nullptr}},
    {"KS", "", {"kansas", nullptr, nullptr}},
    {"Kans", "", {"kansas", nullptr, nullptr}},
    {"KY", "", {"kentucky", nullptr, nullptr}},
    {"Ky", "ambiguous", {"kentucky", nullptr, nullptr}},
    {"LA", "ambiguous", {"louisiana", nullptr, nullptr}},
    {"La", "ambiguous", {"louisiana", nullptr, nullptr}},
    {"ME", "ambiguous", {"maine", nullptr, nullptr}},
    {"Me", "ambiguous", {"maine", nullptr, nullptr}},
    {"MD", "ambiguous", {"maryland", nullptr, nullptr}},
    {"Md", "ambiguous", {"maryland", nullptr, nullptr}},
    {"MA", "ambiguous", {"massachusetts", nullptr, nullptr}},
    {"Ma", "ambiguous", {"massachusetts", nullptr, nullptr}},
    {"Mass", "ambiguous", {"massachusetts", nullptr, nullptr}},
    {"MI", "ambiguous", {"michigan", nullptr, nullptr}},
    {"Mi", "ambiguous", {"michigan", nullptr, nullptr}},
    {"Mich", "", {"michigan", nullptr, nullptr}},
    {"MN", "", {"minnesota", nullptr, nullptr}},
    {"Minn", "", {"minnesota", nullptr, nullptr}},
    {"MS", "ambiguous", {"mississippi", nullptr, nullptr}},
    {"Miss", "ambiguous", {"mississippi", nullptr, nullptr}},
    {"MO", "ambiguous", {"missouri", nullptr, nullptr}},
    {"Mo", "ambiguous", {"missouri", nullptr, nullptr}},
    {"MT", "ambiguous", {"montana", nullptr, nullptr}},
    {"Mont", "ambiguous", {"montana", nullptr, nullptr}},
    {"NE", "ambiguous", {"nebraska", nullptr, nullptr}},
    {"Nebr", "", {"nebraska", nullptr, nullptr}},
    {"NV", "", {"nevada", nullptr, nullptr}},
    {"Nev", "", {"nevada", nullptr, nullptr}},
    {"NH", "", {"new", "hampshire", nullptr}},
    {"NJ", "", {"new", "jersey", nullptr}},
    {"NM", "", {"new", "mexico", nullptr}},
    {"NY", "", {"new", "york", nullptr}},
    {"NC", "", {"north", "carolina", nullptr}},
    {"ND", "", {"north", "dakota", nullptr}},
    {"OH", "ambiguous", {"ohio", nullptr, nullptr}},
    {"Oh", "ambiguous", {"ohio", nullptr, nullptr}},
    {"OK", "ambiguous", {"oklahoma", nullptr, nullptr}},
    {"Ok", "ambiguous", {"oklahoma", nullptr, nullptr}},
    {"Okla", "", {"oklahoma", nullptr, nullptr}},
    {"OR", "ambiguous", {"oregon", nullptr, nullptr}},
    {"Or", "ambiguous", {"oregon", nullptr, nullptr}},
    {"Ore", "ambiguous", {"oregon", nullptr, nullptr}},
    {"PA", "ambiguous", {"pennsylvania", nullptr, nullptr}},
    {"Pa", "ambiguous", {"pennsylvania", nullptr, nullptr}},
    {"RI", "", {"rhode", "island", nullptr}},
    {"SC", "ambiguous", {"south", "carolina", nullptr}},
    {"SD", "", {"south", "dakota", nullptr}},
    {"TN", "", {"tennessee", nullptr, nullptr}},
    {"Tenn", "", {"tennessee", nullptr, nullptr}},
    {"TX", "", {"texas", nullptr, nullptr}},
    {"Tex", "ambiguous", {"texas", nullptr, nullptr}},
    {"UT", "ambiguous", {"utah", nullptr, nullptr}},
    {"VT", "", {"vermont", nullptr, nullptr}},
    {"VA", "ambiguous", {"virginia", nullptr, nullptr}},
    {"Va", "ambiguous", {"virginia", nullptr, nullptr}},
    {"WA", "ambiguous", {"washington", nullptr, nullptr}},
    {"Wash", "ambiguous", {"washington", nullptr, nullptr}},
    {"WV", "", {"west", "virginia", nullptr}},
    {"WI", "", {"wisconsin", nullptr, nullptr}},
    {"Wis", "", {"wisconsin", nullptr, nullptr}},
    {"WY", "", {"wyoming", nullptr, nullptr}},
    {"Wyo", "", {"wyoming", nullptr, nullptr}},
    {"DC", "", {"district", "of", "columbia"}},
    {"", "", {nullptr, nullptr, nullptr}},
};

namespace {

bool all_alpha(const char* s) {
  if (!*s) return false;
  for (; *s; ++s)
    if (!isalpha((unsigned char)*s)) return false;
  return true;
}

bool postal_code(const char* s) {
  const size_t n = strlen(s);
  if (n != 5 && n != 10) return false;
  for (size_t i = 0; i < n; i++)
    if (!isdigit((unsigned char)s[i])) return false;
  return true;
}

// The context in which an ambiguous abbreviation is a state: after a place
// name and before lower-case text, the end, a full stop or a postal code.
bool state_context(const cst_item* token) {
  const cst_item* prev = item_prev(token);
  if (!prev) return false;
  const char* before = item_feat_string(prev, "name");
  const char* self = item_feat_string(token, "name");
  if (!(before[0] >= 'A' && before[0] <= 'Z') || has_subtokens(token, self) ||
      strlen(before) <= 2 || !all_alpha(before))
    return false;
  const cst_item* next = item_next(token);
  if (!next) return true;
  const char* after = item_feat_string(next, "name");
  return (after[0] >= 'a' && after[0] <= 'z') || strcmp(item_feat_string(token, "punc"), ".") == 0 ||
         postal_code(after);
}

}  // namespace

cst_val* state_name(const char* abbrev, const cst_item* token) {
  if (!abbrev || !token) return nullptr;
  for (const state_row* r = states; r->abbrev[0]; ++r) {
    if (strcmp(r->abbrev, abbrev) != 0) continue;
    if (r->ambiguous[0] && !state_context(token)) continue;
    cst_val* words = nullptr;
    for (int i = 2; i >= 0; i--)
      if (r->words[i]) words = cons_val(string_val(r->words[i]), words);
    return words;
  }
  return nullptr;
}
