#include "modules/usen/usen_tokens.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "frontend/en/en_expand.h"
#include "frontend/en/en_norm.h"
#include "frontend/en/en_units.h"
#include "frontend/norm_common.h"
#include "frontend/units_common.h"
#include "frontend/wfst_common.h"
#include "modules/usen/usen_address.h"
#include "modules/usen/usen_lexicon.h"

namespace {

using std::string;

// Tokens longer than this are read as subtokens without pattern tests.
const size_t kLongToken = 64;

// ---------------------------------------------------------------------------
// Word lists.

cst_val* cat(cst_val* a, cst_val* b) {
  if (!a) return b;
  if (!b) return a;
  return val_append(a, b);
}

// The pieces of s between separators c (empty pieces kept).
std::vector<string> split(const string& s, char c) {
  std::vector<string> pieces;
  size_t i = 0;
  while (true) {
    size_t j = s.find(c, i);
    pieces.push_back(s.substr(i, j == string::npos ? string::npos : j - i));
    if (j == string::npos) return pieces;
    i = j + 1;
  }
}

// A list of the space-separated words of `spaced`.
cst_val* words(const string& spaced) {
  cst_val* out = nullptr;
  for (const string& w : split(spaced, ' '))
    if (!w.empty()) out = cons_val(string_val(w.c_str()), out);
  return val_reverse(out);
}

// The list with its last word replaced (a new list; `list` is released).
cst_val* replace_last(cst_val* list, const string& word) {
  std::vector<string> all;
  for (const cst_val* v = list; v; v = val_cdr(v)) {
    const cst_val* w = val_car(v);
    all.push_back(cst_val_consp(w) ? val_string(val_car(w)) : val_string(w));
  }
  delete_val(list);
  if (all.empty()) return nullptr;
  all.back() = word;
  cst_val* out = nullptr;
  for (auto it = all.rbegin(); it != all.rend(); ++it) out = cons_val(string_val(it->c_str()), out);
  return out;
}

string last_word(const cst_val* list) {
  const cst_val* last = nullptr;
  for (; list; list = val_cdr(list)) last = list;
  return last && cst_val_consp(last) && CST_VAL_TYPE(val_car(last)) == CST_VAL_TYPE_STRING
             ? val_string(val_car(last))
             : "";
}

// ---------------------------------------------------------------------------
// Character classes and small parsers (ASCII; bytes above 127 are neither
// letters nor digits here).

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_ascii_alpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
// Letters of ISO-8859-15 above ASCII: the accented letters, S/Z caron, OE, Y diaeresis.
bool is_latin_letter(char c) {
  unsigned char u = (unsigned char)c;
  if (u >= 0xC0) return u != 0xD7 && u != 0xF7;
  return u == 0xA6 || u == 0xA8 || u == 0xB4 || u == 0xB8 || u == 0xBC || u == 0xBD || u == 0xBE;
}
bool is_alpha(char c) { return is_ascii_alpha(c) || is_latin_letter(c); }
bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }

string lower(const string& s) {
  string out = s;
  for (char& c : out) {
    unsigned char u = (unsigned char)c;
    if (is_upper(c) || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) c = (char)(u + 32);
  }
  return out;
}

bool all_of(const string& s, bool (*test)(char)) {
  if (s.empty()) return false;
  for (char c : s)
    if (!test(c)) return false;
  return true;
}

bool digits(const string& s) { return all_of(s, is_digit); }
bool letters_only(const string& s) { return all_of(s, is_alpha); }
bool upper_only(const string& s) { return all_of(s, is_upper); }

bool in_list(const string& s, const char* const* list) {
  for (; *list; ++list)
    if (s == *list) return true;
  return false;
}

// Digits with thousands commas (1,234,567): the digits alone, else "".
string grouped_digits(const string& s) {
  size_t first = s.find(',');
  if (first == string::npos || first == 0 || first > 3 || !digits(s.substr(0, first))) return "";
  string out = s.substr(0, first);
  for (size_t i = first; i < s.size(); i += 4) {
    if (s[i] != ',' || i + 4 > s.size() || !digits(s.substr(i + 1, 3))) return "";
    out += s.substr(i + 1, 3);
  }
  return out;
}

// A plain decimal number: digits (with thousands commas) and at most one
// '.' followed by digits. Writes the integer digits and the fraction.
bool decimal(const string& s, string* whole, string* fraction) {
  size_t dot = s.find('.');
  string head = dot == string::npos ? s : s.substr(0, dot);
  string tail = dot == string::npos ? "" : s.substr(dot + 1);
  if (dot != string::npos && !digits(tail)) return false;
  if (head.empty() && dot != string::npos) head = "0";
  string plain = digits(head) ? head : grouped_digits(head);
  if (plain.empty()) return false;
  *whole = plain;
  *fraction = tail;
  return true;
}

// ---------------------------------------------------------------------------
// Numbers.

cst_val* cardinal(const string& d) { return en_exp_number(d.c_str()); }

// A decimal number read with "point" (digits after the point one by one).
cst_val* real_number(const string& whole, const string& fraction) {
  cst_val* w = cardinal(whole);
  if (fraction.empty()) return w;
  return cat(cat(w, words("point")), en_exp_digits(fraction.c_str()));
}

// Four digits read in pairs as years are (1066: ten sixty six, 2024: twenty
// twenty four, 1905: nineteen oh five); round hundreds and 2000-2009 as the
// identifier reading gives them (nineteen hundred, two thousand five).
// Three digits as identifiers (three seventy).
cst_val* paired_number(const string& d) {
  if (d.size() != 4 || d.compare(2, 2, "00") == 0 || d.compare(0, 3, "200") == 0)
    return en_exp_id(d.c_str());
  cst_val* head = cardinal(d.substr(0, 2));
  return cat(head, en_exp_id(d.substr(2).c_str()));
}

// Plural of a number's last word for decades and fractions: "nineties",
// "thousands", "thirds", "halves".
string plural_of(const string& w) {
  if (w.size() >= 2 && w.compare(w.size() - 2, 2, "ty") == 0) return w.substr(0, w.size() - 1) + "ies";
  if (w == "half") return "halves";
  if (w == "six") return "sixes";
  return w + "s";
}

// Words of a spelled letter sequence: each letter its name ("_a" for a), each
// digit its word; other bytes are skipped.
cst_val* spell(const string& s) {
  cst_val* out = nullptr;
  for (char c : s) {
    if (is_ascii_alpha(c)) {
      char lc = (char)tolower((unsigned char)c);
      out = cons_val(string_val(lc == 'a' ? "_a" : string(1, lc).c_str()), out);
    } else if (is_digit(c)) {
      out = cons_val(string_val(digit2num[c - '0']), out);
    }
  }
  return val_reverse(out);
}

// ---------------------------------------------------------------------------
// Token context.

const char* name_of(const cst_item* t) { return t ? item_feat_string(t, "name") : ""; }

string prev_name(const cst_item* t, int back = 1) {
  const cst_item* p = t;
  for (int i = 0; i < back && p; i++) p = item_prev(p);
  return p ? name_of(p) : "";
}

string next_name(const cst_item* t, int ahead = 1) {
  const cst_item* p = t;
  for (int i = 0; i < ahead && p; i++) p = item_next(p);
  return p ? name_of(p) : "";
}

const char* const kMonths[] = {"january", "february", "march",     "april",   "may",      "june",
                               "july",    "august",   "september", "october", "november", "december",
                               nullptr};
const char* const kMonthAbbrevs[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                     "jul", "aug", "sep", "oct", "nov", "dec"};

// Month index 0..11 of a full or abbreviated (sept too) month name, else -1.
int month_index(const string& s) {
  string l = lower(s);
  if (l == "sept") return 8;
  for (int i = 0; i < 12; i++)
    if (l == kMonths[i] || l == kMonthAbbrevs[i]) return i;
  return -1;
}

// Full month names, and abbreviations written with a capital.
bool month_word(const string& s) {
  if (month_index(s) < 0) return false;
  return in_list(lower(s), kMonths) || is_upper(s[0]);
}

const char* const kDays[] = {"monday", "tuesday",  "wednesday", "thursday",
                             "friday", "saturday", "sunday"};

// Day index of a capitalised day abbreviation (Mon, Tue, Tues, ...), else -1.
int day_abbrev(const string& s) {
  static const char* const forms[][3] = {{"mon", "", ""},       {"tue", "tues", ""},
                                         {"wed", "weds", ""},   {"thu", "thur", "thurs"},
                                         {"fri", "", ""},       {"sat", "", ""},
                                         {"sun", "", ""}};
  if (s.empty() || !is_upper(s[0])) return -1;
  string l = lower(s);
  for (int d = 0; d < 7; d++)
    for (const char* f : forms[d])
      if (*f && l == f) return d;
  return -1;
}

bool am_pm(const string& s) {
  string l = lower(s);
  return l == "am" || l == "pm" || l == "a.m" || l == "p.m" || l == "a.m." || l == "p.m.";
}

cst_val* am_pm_words(const string& s) { return words(tolower((unsigned char)s[0]) == 'a' ? "_a m" : "p m"); }

// A clock time h:mm or hh:mm (optionally :ss), or h.mm when `dots` is set.
bool clock_time(const string& s, bool dots, string* hm) {
  char sep = dots ? '.' : ':';
  size_t p = s.find(sep);
  if (p == string::npos || p == 0 || p > 2) return false;
  string h = s.substr(0, p), rest = s.substr(p + 1);
  if (!digits(h) || rest.size() < 2 || !digits(rest.substr(0, 2))) return false;
  if (rest.size() > 2 && !(rest.size() == 5 && rest[2] == sep && digits(rest.substr(3)))) return false;
  int hours = atoi(h.c_str()), minutes = atoi(rest.substr(0, 2).c_str());
  if (hours > 24 || minutes > 59) return false;
  *hm = h + ":" + rest.substr(0, 2);
  return true;
}

cst_val* time_words(const string& hm) { return en_exp_time(hm.c_str()); }

bool roman_canonical(const string& s) {
  static const char* const units[] = {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};
  static const char* const tens[] = {"", "X", "XX", "XXX", "XL", "L", "LX", "LXX", "LXXX", "XC"};
  static const char* const hundreds[] = {"", "C", "CC", "CCC", "CD", "D", "DC", "DCC", "DCCC", "CM"};
  if (s.empty() || s.size() > 12) return false;
  int v = norm_romantoi(s.c_str());
  if (v <= 0 || v >= 4000) return false;
  string canon = string(v / 1000, 'M') + hundreds[(v / 100) % 10] + tens[(v / 10) % 10] + units[v % 10];
  return canon == s;
}

// The lexicon of the token's voice.
const cst_lexicon* token_lexicon(const cst_item* token) {
  const cst_utterance* u = item_utt(token);
  if (!u || !feat_present(u->features, "lexicon")) return nullptr;
  return val_lexicon(feat_val(u->features, "lexicon"));
}

// ---------------------------------------------------------------------------
// Token rules. `whole` is set when s is the token's entire name, so that the
// rules that look at the neighbours and the punctuation apply.

cst_val* token_words(cst_item* token, const string& s, bool whole);

cst_val* letter_rule(cst_item* token, const string& s, bool whole);

// Text that is one subtoken and that no rule read as a whole: its letters and
// digits (other bytes are dropped), as a word or letters and as a number.
cst_val* plain_words(cst_item* token, const string& s) {
  string kept;
  for (char c : s)
    if (is_alpha(c) || is_digit(c)) kept += c;
  if (kept.empty()) return nullptr;
  if (kept != s) return token_words(token, kept, false);  // shorter: the recursion ends
  if (letters_only(s)) return letter_rule(token, s, false);
  if (digits(s)) return cardinal(s);
  return spell(s);
}

// Reads s as subtokens (letters, digits, single other characters) one by one.
cst_val* subtoken_words(cst_item* token, const string& s) {
  cst_val* out = nullptr;
  size_t pos = 0;
  while (pos < s.size()) {
    size_t n = (size_t)find_subtoken_boundary(token, s.c_str() + pos);
    if (n == 0) n = 1;
    if (pos == 0 && n >= s.size()) return plain_words(token, s);
    n = std::min(n, s.size() - pos);
    out = cat(out, token_words(token, s.substr(pos, n), false));
    pos += n;
  }
  return out;
}

// Money: an amount with its currency; cents and pence when there are exactly
// two decimals, otherwise the decimal number and a scale word (million).
cst_val* money_words(const string& amount, const char* iso, const string& scale) {
  string whole, fraction;
  if (!decimal(amount, &whole, &fraction)) return nullptr;
  if (scale.empty() && fraction.size() == 2) {
    const long long major = strtoll(whole.c_str(), nullptr, 10);
    const bool one = major == 1;
    const int cents = atoi(fraction.c_str());
    cst_val* out = nullptr;
    const bool has_major = major != 0 || cents == 0;
    if (has_major)
      out = cat(cardinal(whole), words(en_currency_name(iso, !one, 0)));
    if (cents != 0) {
      string c = std::to_string(cents);
      out = cat(out, cat(cardinal(c), words(en_currency_name(iso, cents != 1, 1))));
    }
    return out;
  }
  cst_val* out = real_number(whole, fraction);
  if (!scale.empty()) out = cat(out, words(scale));
  bool one = scale.empty() && fraction.empty() && strtoll(whole.c_str(), nullptr, 10) == 1;
  return cat(out, words(en_currency_name(iso, !one, 0)));
}

// Scale words after money: "million", "bn", "k".
string scale_word(const string& s) {
  string l = lower(s);
  if (l == "k" || l == "thousand") return "thousand";
  if (l == "m" || l == "mn" || l == "million") return "million";
  if (l == "b" || l == "bn" || l == "billion") return "billion";
  if (l == "trillion") return "trillion";
  return "";
}

cst_val* money_rule(cst_item* token, const string& s, bool whole) {
  const char* iso = money_symbol_to_iso((unsigned char)s[0]);
  if (!iso || s.size() < 2) return nullptr;
  // A price per period glued on with a slash ($10/month, £4.99/mo).
  const size_t slash = s.find('/');
  if (slash != string::npos) {
    const char* period = en_price_period(s.c_str() + slash + 1);
    if (!period) return nullptr;
    cst_val* price = money_rule(token, s.substr(0, slash), false);
    return price ? cat(price, words(period)) : nullptr;
  }
  string amount = s.substr(1);
  // Trailing scale letters glued to the amount ($10k, £1.5m, $3bn).
  size_t end = amount.find_first_not_of("0123456789,.");
  string scale;
  if (end != string::npos) {
    scale = scale_word(amount.substr(end));
    if (scale.empty()) return nullptr;
    amount = amount.substr(0, end);
  } else if (whole) {
    cst_item* next = item_next(token);
    scale = next && !item_feat_string(token, "punc")[0] ? scale_word(name_of(next)) : "";
    if (!scale.empty()) item_set_string(next, "already_expanded", "1");
  }
  if (amount.empty() || !is_digit(amount[0])) return nullptr;
  return money_words(amount, iso, scale);
}

bool currency_code(const string& s) {
  return s == "USD" || s == "EUR" || s == "GBP" || s == "JPY";
}

// Phone numbers: 555-1234, 123-4567 after "(555)", 1-800-555-0199,
// 555-123-4567; each group digit by digit, an 800 group as "eight hundred".
cst_val* phone_rule(const string& s) {
  const std::vector<string> groups = split(s, '-');
  for (const string& g : groups)
    if (!digits(g)) return nullptr;
  size_t n = groups.size();
  bool local = n == 2 && groups[0].size() == 3 && groups[1].size() == 4;
  bool area = n == 3 && groups[0].size() == 3 && groups[1].size() == 3 && groups[2].size() == 4;
  bool full = n == 4 && groups[0].size() == 1 && groups[1].size() == 3 && groups[2].size() == 3 &&
              groups[3].size() == 4;
  if (!local && !area && !full) return nullptr;
  cst_val* out = nullptr;
  for (const string& g : groups)
    out = cat(out, g == "800" ? cardinal(g) : en_exp_digits(g.c_str()));
  return out;
}

// A number or time on either side of a range: "7", "10:30", "8pm".
cst_val* range_side(cst_item* token, const string& s) {
  string hm;
  if (clock_time(s, false, &hm)) return time_words(hm);
  return token_words(token, s, false);
}

bool range_operand(const string& s) {
  string hm;
  if (clock_time(s, false, &hm) || digits(s)) return true;
  size_t end = s.find_first_not_of("0123456789:");
  return end != string::npos && end > 0 && am_pm(s.substr(end)) &&
         (digits(s.substr(0, end)) || clock_time(s.substr(0, end), false, &hm));
}

cst_val* range_rule(cst_item* token, const string& s) {
  size_t dash = s.find('-', 1);
  if (dash == string::npos || dash + 1 >= s.size() || s.find('-', dash + 1) != string::npos)
    return nullptr;
  string a = s.substr(0, dash), b = s.substr(dash + 1);
  int da = day_abbrev(a), db = day_abbrev(b);
  if (da >= 0 && db >= 0) return words(string(kDays[da]) + " to " + kDays[db]);
  // A unit on the second number counts for both: 20-25°C, 5-10km.
  if (digits(a) && !b.empty() && is_digit(b[0])) {
    const char* unit = generic_skip_real(b.c_str(), en_unit_engine.decimal_separators);
    if (unit && *unit && generic_is_unit_ext(token, unit, en_unit_engine.units, 1, "unit_id")) {
      const string number = b.substr(0, (size_t)(unit - b.c_str()));
      cst_val* second = cat(en_unit_engine.expand_number(number.c_str()),
                            generic_exp_unit(token, &en_unit_engine, item_feat_int(token, "unit_id"),
                                             number.c_str(), 0));
      return cat(cardinal(a), cat(words("to"), second));
    }
  }
  if (!range_operand(a) || !range_operand(b)) return nullptr;
  // Years read as years on both sides.
  if (a.size() == 4 && b.size() == 4 && digits(a) && digits(b))
    return cat(paired_number(a), cat(words("to"), paired_number(b)));
  return cat(range_side(token, a), cat(words("to"), range_side(token, b)));
}

// An ISO date 2024-01-05 or a US date 3/4/2025: month, day, year.
cst_val* date_words(int month, const string& day, const string& year) {
  string d = std::to_string(atoi(day.c_str()));
  cst_val* out = cat(words(kMonths[month]), en_exp_ordinal(d.c_str()));
  if (!year.empty()) {
    char* y = norm_extend_year(year.c_str());
    out = cat(out, paired_number(y));
    cst_free(y);
  }
  return out;
}

cst_val* iso_date_rule(const string& s) {
  if (s.size() != 10 || s[4] != '-' || s[7] != '-') return nullptr;
  string y = s.substr(0, 4), m = s.substr(5, 2), d = s.substr(8, 2);
  if (!digits(y) || !digits(m) || !digits(d)) return nullptr;
  int month = atoi(m.c_str()), day = atoi(d.c_str());
  if (month < 1 || month > 12 || day < 1 || day > 31) return nullptr;
  return date_words(month - 1, d, y);
}

const char* const kFractionNames[][2] = {
    {"", ""}, {"", ""}, {"half", "halves"}, {"third", "thirds"}, {"quarter", "quarters"}};

// Numerator and denominator as a fraction: one half, two thirds, five eighths.
cst_val* fraction_words(const string& num, const string& den) {
  int n = atoi(num.c_str()), d = atoi(den.c_str());
  cst_val* out = cardinal(num);
  if (d >= 2 && d <= 4) return cat(out, words(kFractionNames[d][n == 1 ? 0 : 1]));
  cst_val* ord = en_exp_ordinal(den.c_str());
  if (n != 1) ord = replace_last(ord, plural_of(last_word(ord)));
  return cat(out, ord);
}

cst_val* slash_rule(cst_item* token, const string& s, bool whole) {
  size_t a = s.find('/');
  if (a == string::npos || a == 0) return nullptr;
  size_t b = s.find('/', a + 1);
  string x = s.substr(0, a);
  if (b != string::npos) {
    // Month/day/year.
    string y = s.substr(a + 1, b - a - 1), z = s.substr(b + 1);
    if (!digits(x) || !digits(y) || !digits(z) || (z.size() != 2 && z.size() != 4)) return nullptr;
    int month = atoi(x.c_str()), day = atoi(y.c_str());
    if (month < 1 || month > 12 || day < 1 || day > 31) return nullptr;
    return date_words(month - 1, y, z);
  }
  string y = s.substr(a + 1);
  if (x == "50" && y == "50") return words("fifty fifty");  // a fifty-fifty chance
  // Ratings with a decimal: 4.5/5 is four point five out of five.
  string whole_digits, fraction;
  if (!digits(x) && decimal(x, &whole_digits, &fraction) && !fraction.empty() && digits(y) && y.size() <= 3)
    return cat(real_number(whole_digits, fraction), cat(words("out of"), cardinal(y)));
  if (!digits(x)) return nullptr;
  // Schedules: 8/7c (eight, seven central).
  if (y.size() >= 2 && digits(y.substr(0, y.size() - 1)) && (y.back() == 'c' || y.back() == 'C'))
    return cat(cardinal(x), cat(cardinal(y.substr(0, y.size() - 1)), words("central")));
  if (!digits(y)) return nullptr;
  string before = whole ? lower(prev_name(token)) : "";
  static const char* const counted[] = {"page", "step", "part", "episode", "ep", "disc", "track",
                                        "game", "round", "season", "item", nullptr};
  if (in_list(before, counted)) return cat(cardinal(x), cat(words("of"), cardinal(y)));
  // A month and day after "on" or "from": airs on 3/4 (March fourth).
  if (en_leads_date(before.c_str()) && x.size() <= 2 && y.size() <= 2) {
    const int month = atoi(x.c_str()), day = atoi(y.c_str());
    if (month >= 1 && month <= 12 && day >= 1 && day <= 31) return date_words(month - 1, y, "");
  }
  // Scores, ratings and progress: 7/10 is seven out of ten, 120/266 one
  // hundred twenty out of two hundred sixty six (no fraction has such parts).
  if (y == "10" || y == "100" || atoi(y.c_str()) > 100 || (x.size() >= 2 && atoi(y.c_str()) > 20))
    return cat(cardinal(x), cat(words("out of"), cardinal(y)));
  cst_val* f = fraction_words(x, y);
  // A mixed number: 1 1/2 is one and a half.
  if (whole && digits(prev_name(token)) && x == "1" && (y == "2" || y == "4")) {
    delete_val(f);
    return words(y == "2" ? "and a half" : "and a quarter");
  }
  if (whole && digits(prev_name(token))) return cat(words("and"), f);
  return f;
}

// A group of 3 or 4 digits after a run of digit groups (no punctuation
// between) that begins with a group starting with 0: the rest of a phone
// number written in spaced groups (0800 123 4567, 020 7946 0018).
bool phone_number_group(cst_item* token, const string& d) {
  if (d.size() < 3 || d.size() > 4) return false;
  for (cst_item* p = item_prev(token); p; p = item_prev(p)) {
    const string name = name_of(p);
    if (name.size() < 2 || name.size() > 5 || !digits(name) || item_feat_string(p, "punc")[0])
      return false;
    if (name[0] == '0') return true;
  }
  return false;
}

// Reading of a plain digit string from its context.
cst_val* number_rule(cst_item* token, const string& d, bool whole) {
  if (!whole) return cardinal(d);
  const string prev = prev_name(token), next = next_name(token);
  const string lprev = lower(prev);
  const char* punc = item_feat_string(token, "punc");
  const char* prepunc = item_feat_string(token, "prepunctuation");
  // Codes: leading zeros, emergency and area codes in parentheses, postal
  // codes after a state.
  if (d.size() > 1 && d[0] == '0') return en_exp_digits(d.c_str());
  if (phone_number_group(token, d)) return en_exp_digits(d.c_str());
  if (d == "911") return en_exp_digits(d.c_str());
  if (d.size() == 3 && ((prepunc[0] == '(' && punc[0] == ')') || (prev == "(" && next == ")")))
    return en_exp_digits(d.c_str());
  if ((d.size() == 5 || d.size() == 9) && !prev.empty()) {
    cst_item* p = item_prev(token);
    cst_val* st = state_name(prev.c_str(), p);
    if (st) {
      delete_val(st);
      return en_exp_digits(d.c_str());
    }
  }
  // Dates: March 3 (third), 3 March (the third of), March 3, 2025 (year).
  if (d.size() <= 2 && month_word(prev) && atoi(d.c_str()) >= 1 && atoi(d.c_str()) <= 31)
    return en_exp_ordinal(d.c_str());
  if (d.size() <= 2 && month_word(next) && atoi(d.c_str()) >= 1 && atoi(d.c_str()) <= 31 &&
      lprev != "the")
    return cat(words("the"), cat(en_exp_ordinal(d.c_str()), words("of")));
  // Screen sizes: 55" is fifty five inch.
  if (strcmp(punc, "\"") == 0 && !strchr(prepunc, '"')) return cat(cardinal(d), words("inch"));
  // Channel, room and flight numbers, and house numbers before a street name,
  // are read in pairs.
  static const char* const paired[] = {"channel", "ch", "room", "flight", "apt", "suite",
                                       "gate",    "bus", "platform", nullptr};
  if ((d.size() == 3 || d.size() == 4) && in_list(lprev, paired)) return paired_number(d);
  if ((d.size() == 3 || d.size() == 4) && !next.empty() && is_upper(next[0]) &&
      letters_only(next) && month_index(next) < 0 && !punc[0] && next.size() > 2 &&
      !currency_code(next))
    return paired_number(d);
  // Years.
  if (d.size() == 4) {
    int v = atoi(d.c_str());
    if (v >= 1000 && v <= 2099) return paired_number(d);
  }
  return cardinal(d);
}

// Words glued in front of a number that name what it counts: "ch", "ep".
const char* const kBeforeNumber[] = {"ch", "channel", "ep", "episode", "vol", "volume",
                                     "no", "number",  "pt", "part",    nullptr};

cst_val* counted_word(const string& s) {
  static const char* const expansion[] = {"channel", "channel", "episode", "episode", "volume",
                                          "volume",  "number",  "number",  "part",    "part"};
  string l = lower(s);
  for (int i = 0; kBeforeNumber[i]; i++)
    if (l == kBeforeNumber[i]) return words(expansion[i]);
  return nullptr;
}

// Abbreviations of the module beyond the shared table, read only with their
// abbreviation dot. Street and saint, drive and doctor are told apart by
// what follows: a name follows a title.
// Homographs the tagger does not tell apart (it makes both "read"s verbs):
// the word is written the way it is read here, so that the lexicon gives
// that reading. "read" is present tense after a modal, "to" or "do", and at
// the start of a sentence (an instruction: Read more) unless "by" follows;
// "lead" is the verb or the noun of leading except before the metal's nouns.
cst_val* homograph_rule(cst_item* token, const string& s) {
  const string l = lower(s);
  if (l != "read" && l != "lead") return nullptr;
  const string next = lower(next_name(token));
  if (l == "lead") {
    static const char* const metal[] = {"pipe",  "pipes", "poisoning", "paint",  "acid",    "weight",
                                        "weights", "shot", "crystal",  "pencil", "pencils", nullptr};
    return words(in_list(next, metal) ? "led" : "lead");
  }
  static const char* const present[] = {
      "will",  "would",  "can",     "could",   "shall",    "should",   "may",       "might",
      "must",  "to",     "do",      "does",    "did",      "don't",    "doesn't",   "didn't",
      "can't", "cannot", "won't",   "wouldn't", "couldn't", "shouldn't", "please",   "let's",
      "i'll",  "we'll",  "you'll",  "they'll", "he'll",    "she'll",   "it'll",     nullptr};
  const cst_item* prev = item_prev(token);
  const bool sentenceStart = !prev || strpbrk(item_feat_string(prev, "punc"), ".?!:") != nullptr;
  const bool isPresent = in_list(lower(name_of(prev)), present) || (sentenceStart && next != "by");
  return words(isPresent ? "reed" : "read");
}

cst_val* title_rule(cst_item* token, const string& s) {
  // Titles (read before a name) and address words (read after one).
  static const char* const titles[][2] = {
      {"mt", "mount"},       {"ft", "fort"},      {"gen", "general"},    {"sgt", "sergeant"},
      {"capt", "captain"},   {"lt", "lieutenant"}, {"gov", "governor"},  {"sen", "senator"},
      {"rep", "representative"}, {"pres", "president"}, {"col", "colonel"}, {"cpl", "corporal"},
      {"rev", "reverend"},   {nullptr, nullptr}};
  static const char* const others[][2] = {
      {"rd", "road"}, {"apt", "apartment"}, {"jr", "junior"}, {"sr", "senior"}, {"ln", "lane"},
      {"hwy", "highway"}, {nullptr, nullptr}};
  const char* punc = item_feat_string(token, "punc");
  string l = lower(s);
  const string next = next_name(token), prev = prev_name(token);
  const bool name_follows = !next.empty() && is_upper(next[0]);
  const bool name_before = !prev.empty() && is_upper(prev[0]) && letters_only(prev);
  // Dr and St written without their dot beside a name (and as the analyzer
  // leaves Dr.Who and St.Louis: Dr Who) read as with it.
  const bool dotted = punc[0] == '.';
  if (!dotted && (punc[0] || !(name_follows || name_before) || (s != "Dr" && s != "St"))) return nullptr;
  if (!prev.empty() && is_digit(prev[0]) && !name_before && l != "st" && l != "rd") return nullptr;
  const char* word = nullptr;
  if (l == "st") word = name_follows && !name_before ? "saint" : "street";
  else if (l == "dr") word = name_follows || !name_before ? "doctor" : "drive";
  for (int i = 0; !word && titles[i][0]; i++)
    if (l == titles[i][0] && name_follows) word = titles[i][1];
  for (int i = 0; !word && others[i][0]; i++)
    if (l == others[i][0]) word = others[i][1];
  if (!word) return nullptr;
  // The dot is the abbreviation's unless the sentence ends here.
  if (dotted && !next.empty() && !is_upper(next[0])) item_set_string(token, "punc", punc + 1);
  return words(word);
}

// Dr and St written against the name they title: Dr.Who, St.Louis.
cst_val* glued_title_rule(cst_item* token, const string& s) {
  if (s.size() < 5 || (s.compare(0, 3, "Dr.") != 0 && s.compare(0, 3, "St.") != 0) || !is_upper(s[3]))
    return nullptr;
  const string name = s.substr(3);
  if (!letters_only(name)) return nullptr;
  return cat(words(s[0] == 'D' ? "doctor" : "saint"), token_words(token, name, false));
}

// Wireless network standards: 802.11ac is "eight oh two dot eleven a c".
cst_val* wifi_standard_rule(const string& s) {
  if (s.compare(0, 4, "802.") != 0) return nullptr;
  const size_t letters = s.find_first_not_of("0123456789", 4);
  const string number = s.substr(4, letters == string::npos ? string::npos : letters - 4);
  const string suffix = letters == string::npos ? "" : s.substr(letters);
  if (number.empty() || number.size() > 2 || !letters_only(suffix) || suffix.size() > 2) return nullptr;
  return cat(cat(words("eight oh two dot"), cardinal(number)), spell(lower(suffix)));
}

// Times glued to their unit before "ago": 5m ago is five minutes ago, 1h
// ago one hour ago (elsewhere 5m is metres).
cst_val* time_ago_rule(cst_item* token, const string& s) {
  if (s.size() < 2 || (s.back() != 'm' && s.back() != 'h') || !digits(s.substr(0, s.size() - 1)) ||
      lower(next_name(token)) != "ago" || item_feat_string(token, "punc")[0])
    return nullptr;
  const string n = s.substr(0, s.size() - 1);
  const char* unit = s.back() == 'm' ? (n == "1" ? "minute" : "minutes") : (n == "1" ? "hour" : "hours");
  return cat(cardinal(n), words(unit));
}

// Chart places: #1 is "number one".
cst_val* chart_place_rule(const string& s) {
  if (s.size() < 2 || s.size() > 4 || s[0] != '#' || !digits(s.substr(1))) return nullptr;
  return cat(words("number"), cardinal(s.substr(1)));
}

// Codes to type in after "code" or "PIN" (4821, AB12-CD34): every letter and
// digit on its own, as they are typed.
cst_val* code_rule(cst_item* token, const string& s) {
  if (!en_announces_code(prev_name(token).c_str()) || item_feat_string(item_prev(token), "punc")[0])
    return nullptr;
  bool digit = false;
  for (char c : s) {
    if (!is_digit(c) && !is_ascii_alpha(c) && c != '-') return nullptr;
    digit = digit || is_digit(c);
  }
  return digit ? spell(s) : nullptr;
}

// Dimensions and resolutions: 3840x2160 is "thirty eight forty by twenty one
// sixty", 4x4 "four by four" (four-digit sides in pairs, as they are said).
cst_val* dimensions_rule(const string& s) {
  const size_t x = s.find_first_of("xX");
  if (x == string::npos || x == 0 || x + 1 >= s.size()) return nullptr;
  const string a = s.substr(0, x), b = s.substr(x + 1);
  if (!digits(a) || !digits(b) || a.size() > 4 || b.size() > 4 || a[0] == '0' || b[0] == '0')
    return nullptr;
  auto side = [](const string& d) { return d.size() == 4 ? paired_number(d) : cardinal(d); };
  return cat(side(a), cat(words("by"), side(b)));
}

// Heights in feet and inches: 5'7" is "five foot seven" (the closing inch
// mark is the token's punctuation).
cst_val* feet_inches_rule(cst_item* token, const string& s) {
  const size_t mark = s.find('\'');
  if (mark == string::npos || mark == 0 || item_feat_string(token, "punc")[0] != '"') return nullptr;
  const string feet = s.substr(0, mark), inches = s.substr(mark + 1);
  if (!digits(feet) || !digits(inches) || feet.size() > 1 || inches.empty() || inches.size() > 2 ||
      atoi(inches.c_str()) > 11)
    return nullptr;
  return cat(cardinal(feet), cat(words("foot"), cardinal(inches)));
}

// Web and e-mail addresses, hashtags and handles: labels read by the token
// rules (a word or letters), joiners said as words.
cst_val* address_rule(cst_item* token, const string& s) {
  std::vector<UsenAddressPiece> pieces;
  if (!usen_address_pieces(s, &pieces)) return nullptr;
  cst_val* out = nullptr;
  for (const UsenAddressPiece& p : pieces) {
    if (!p.label) {
      out = cat(out, words(p.text));
      continue;
    }
    const string l = lower(p.text);
    // www and two-letter labels (uk, tv, io) are letters.
    if (l == "www" || (l.size() == 2 && l != "co")) out = cat(out, spell(l));
    else if (l == "com" || l == "org" || l == "net" || l == "gov" || l == "co" || l == "info" || l == "biz" ||
             l == "app")
      out = cat(out, words(l));
    else if (digits(p.text)) out = cat(out, number_rule(token, p.text, false));
    else if (letters_only(p.text)) out = cat(out, letter_rule(token, p.text, false));
    else out = cat(out, subtoken_words(token, p.text));
  }
  return out;
}

// Markers of programme guides in brackets: subtitles [S], audio
// description [AD], signing [SL], repeats (R), closed captions [CC]; and the
// age rating 12A there or after a rating word.
cst_val* marker_rule(cst_item* token, const string& s) {
  static const char* const markers[][2] = {{"S", "subtitles"},        {"AD", "audio description"},
                                           {"SL", "signed"},          {"R", "repeat"},
                                           {"CC", "closed captions"}, {"W", "widescreen"},
                                           {nullptr, nullptr}};
  // Brackets are tokens of their own or the token's punctuation.
  const string before = prev_name(token), after = next_name(token);
  const char open = before.size() == 1 ? before[0] : item_feat_string(token, "prepunctuation")[0];
  const char close = after.size() == 1 ? after[0] : item_feat_string(token, "punc")[0];
  const bool bracketed = (open == '[' && close == ']') || (open == '(' && close == ')');
  static const char* const rating_words[] = {"rated", "cert", "certificate", "rating", nullptr};
  if (s == "12A" && (bracketed || in_list(lower(prev_name(token)), rating_words)))
    return cat(cardinal("12"), spell("a"));
  if (!bracketed) return nullptr;
  for (int i = 0; markers[i][0]; ++i)
    if (s == markers[i][0]) return words(markers[i][1]);
  return nullptr;
}

cst_val* roman_rule(cst_item* token, const string& s) {
  if (!roman_canonical(s)) return nullptr;
  if (rex_like(token)) return en_exp_numeric_roman(token, s.c_str(), 1, 0, 0);
  if (section_like(token)) return en_exp_numeric_roman(token, s.c_str(), 0, 1, 0);
  // After a capitalised title word: sequels, episodes, finals (Rocky II,
  // Super Bowl LVIII). Single letters other than V stay letters (I, X).
  // XXX, XL and XXL are ratings and sizes unless a section word names them.
  if (s == "XXX" || s == "XL" || s == "XXL") return nullptr;
  const string prev = prev_name(token);
  const bool title_before = !prev.empty() && is_upper(prev[0]) && letters_only(prev);
  // A numeral of two or more of I, V and X stands for its number wherever
  // it stands (VIII alone, "Part VIII"); other letters only after a title
  // word, as CD, MIX, DC and LI are words or letters.
  const bool small = s.size() > 1 && s.find_first_not_of("IVX") == string::npos;
  if (!small && !title_before) return nullptr;
  if (s.size() == 1 && s != "V") return nullptr;
  if (norm_romantoi(s.c_str()) > 89) return nullptr;  // CD, MIX, DC are not numerals here
  return en_exp_numeric_roman(token, s.c_str(), 0, 1, 0);
}

// Onsets of loanwords and names that the English word test leaves out
// (chlorine, khaki, pneumonia, tsunami, schmooze, fjord, czar, llama),
// followed by a vowel.
bool loan_onset(const string& l) {
  static const char* const onsets[] = {"chl", "kl", "kh", "pn", "ps", "pt", "sch", "schl", "schm", "schn",
                                       "schw", "shl", "shm", "sht", "ts", "tz", "thw", "dh", "dj",  "fj",
                                       "ll",  "mn", "phl", "sv", "zw", "cz", "sr", "pw", "scl", nullptr};
  for (int i = 0; onsets[i]; ++i) {
    const size_t n = strlen(onsets[i]);
    if (l.compare(0, n, onsets[i]) == 0 && l.size() > n && strchr("aeiouy", l[n])) return true;
  }
  return false;
}

// True when a neighbouring token is written in capitals (more than one letter).
bool shouting(const cst_item* token) {
  for (const cst_item* t : {(const cst_item*)item_prev(token), (const cst_item*)item_next(token)}) {
    string n = name_of(t);
    if (n.size() > 3 && upper_only(n)) return true;
  }
  return false;
}

// Brand and title names written in camel case that the lexicon lacks
// (SpongeBob, WhatsApp, iCarly, eBay): each part read on its own, a single
// lower-case letter in front as its letter name. Null when s has no lower-case
// letter before a capital or the lexicon knows it whole (iPhone, McDonald).
cst_val* camel_case_words(cst_item* token, const string& s) {
  std::vector<string> parts;
  size_t start = 0;
  auto is_lower = [](char c) { return c >= 'a' && c <= 'z'; };
  for (size_t i = 1; i < s.size(); ++i) {
    // A capital after a lower-case letter (SpongeBob), or the capital that
    // starts a word after initials (BBCOne, HBOMax).
    const bool after_lower = is_upper(s[i]) && is_lower(s[i - 1]);
    const bool after_initials = i >= 2 && is_upper(s[i]) && is_upper(s[i - 1]) && i + 1 < s.size() &&
                                is_lower(s[i + 1]) && !(i + 2 == s.size() && s[i + 1] == 's');
    if (after_lower || after_initials) {
      parts.push_back(s.substr(start, i - start));
      start = i;
    }
  }
  if (parts.empty()) return nullptr;
  parts.push_back(s.substr(start));
  // The surname prefix Mc belongs to the name (McDonald): one word.
  if (parts[0] == "Mc") return words(lower(s));
  const cst_lexicon* lex = token_lexicon(token);
  if (lex && in_lex(lex, lower(s).c_str(), nullptr, nullptr)) return nullptr;
  cst_val* out = nullptr;
  for (size_t k = 0; k < parts.size(); ++k)
    out = cat(out, k == 0 && parts[k].size() == 1 ? spell(parts[k]) : letter_rule(token, parts[k], false));
  return out;
}

// Letters: a state, a word, or spelled.
cst_val* letter_rule(cst_item* token, const string& s, bool whole) {
  if (whole) {
    cst_val* st = state_name(s.c_str(), token);
    if (st) return st;
  }
  // Short capitals in a compound (A/V, TV-MA) are letters, but for words
  // like ON and OFF.
  if (!whole && s.size() <= 2 && upper_only(s) && s != "ON" && s != "UP" && s != "GO" && s != "NO")
    return spell(s);
  if (s.size() == 1) {
    if (s == "a" || s == "A" || s == "I" || s == "i") return words(lower(s));
    return spell(s);
  }
  // Short capitals are initials (CEO, NYC) unless the text around them is
  // in capitals too (a headline: LIVE NOW).
  static const char* const short_words[] = {"RAM", "ROM", "PIN", "SIM", "LAN", "WAN", "GIF", "ON",
                                           "OFF", "IN", "OUT", "UP", "GO", "NO", "YES", "NEW",
                                           "TOP", "HOT", "BIG", "WIN", "BUY", "NOW", "ALL", nullptr};
  if (upper_only(s) && in_list(s, short_words)) return words(lower(s));
  // Short words the word test takes for initials because of their doubled
  // last letter (add, app, egg, odd), and two plurals of the same kind.
  static const char* const doubled[] = {"add", "adds", "app", "ebb", "egg", "err", "inn",
                                        "odd", "ifs",  "ohs", nullptr};
  if (!upper_only(s) && in_list(lower(s), doubled)) return words(lower(s));
  // Words with accented letters: the lexicon's own entry with the accents
  // (café, Pokémon), else the folded spelling read as any other word
  // (Müller as muller).
  if (std::any_of(s.begin(), s.end(), is_latin_letter)) {
    if (usen_lexicon_has_accented(token_lexicon(token), lower(s))) return words(lower(s));
    const string folded = usen_fold_accents(s);
    if (folded != s && letters_only(folded)) return letter_rule(token, folded, whole);
    return words(lower(s));
  }
  if (whole && s.size() <= 3 && upper_only(s) && !shouting(token)) return spell(s);
  // Plurals of initials: TVs, DVDs (the letters, then the plural ending).
  if (s.size() >= 3 && s.back() == 's' && upper_only(s.substr(0, s.size() - 1)))
    return cat(spell(s.substr(0, s.size() - 1)), words("'s"));
  if (cst_val* w = camel_case_words(token, s)) return w;
  if (en_aswd(token, s.c_str())) return words(lower(s));
  // Words written in lower case (or capitalised) that begin as English words
  // do are words although their last cluster is rare (crowds, against,
  // rhythms); capitals and words without a vowel stay letters.
  const string l = lower(s);
  const bool lower_case = l == s || (l.substr(1) == s.substr(1) && is_upper(s[0]));
  if (lower_case && s.size() >= 4 && !en_is_acronym(s.c_str(), l.c_str()) &&
      (en_aswd_onset(l.c_str()) || loan_onset(l)))
    return words(l);
  return spell(s);
}

// Decades: 1990s, 80s ('80s), 2000s.
cst_val* decade_rule(const string& s) {
  if (s.size() < 3 || (s.back() != 's' && s.back() != 'S')) return nullptr;
  string d = s.substr(0, s.size() - 1);
  if (!digits(d) || d.back() != '0' || (d.size() != 2 && d.size() != 4)) return nullptr;
  cst_val* w = d.size() == 4 ? paired_number(d) : cardinal(d);
  w = replace_last(w, plural_of(last_word(w)));
  return w;
}

// Ordinals: 1st, 22nd, 1,000th.
cst_val* ordinal_rule(const string& s) {
  if (s.size() < 3) return nullptr;
  string suffix = lower(s.substr(s.size() - 2));
  if (suffix != "st" && suffix != "nd" && suffix != "rd" && suffix != "th") return nullptr;
  string num = s.substr(0, s.size() - 2);
  string plain = digits(num) ? num : grouped_digits(num);
  if (plain.empty()) return nullptr;
  return en_exp_ordinal(plain.c_str());
}

// Versions: v2.3.1 and 2.3.1, each part a number joined by "point"; parts
// of three or more digits after the first are read digit by digit (1.2.345:
// one point two point three four five).
cst_val* version_words(const string& v) {
  const std::vector<string> parts = split(v, '.');
  for (const string& part : parts)
    if (!digits(part) || part.empty()) return nullptr;
  cst_val* out = cardinal(parts[0]);
  for (size_t i = 1; i < parts.size(); i++)
    out = cat(out, cat(words("point"), parts[i].size() > 2 ? en_exp_digits(parts[i].c_str())
                                                            : cardinal(parts[i])));
  return out;
}

// An IPv4 address: four numbers of 0..255 joined by "dot"; the first of
// 100 or more (192.168.1.10) or after a word that announces one (IP 10.0.0.1),
// else it is a version (1.2.3.4).
cst_val* ip_address_words(cst_item* token, const string& s) {
  static const char* const lead[] = {"ip", "address", "dns", "gateway", "router", "server", nullptr};
  const std::vector<string> parts = split(s, '.');
  if (parts.size() != 4 || (atoi(parts[0].c_str()) < 100 && !in_list(lower(prev_name(token)), lead)))
    return nullptr;
  for (const string& part : parts)
    if (part.empty() || part.size() > 3 || !digits(part) || atoi(part.c_str()) > 255) return nullptr;
  cst_val* out = cardinal(parts[0]);
  for (size_t i = 1; i < parts.size(); i++) out = cat(out, cat(words("dot"), cardinal(parts[i])));
  return out;
}

cst_val* version_rule(cst_item* token, const string& s) {
  if (s.size() >= 2 && (s[0] == 'v' || s[0] == 'V') && is_digit(s[1])) {
    cst_val* v = version_words(s.substr(1));
    return v ? cat(words("version"), v) : nullptr;
  }
  if (cst_val* w = ip_address_words(token, s)) return w;
  if (std::count(s.begin(), s.end(), '.') >= 2) return version_words(s);
  return nullptr;
}

// Season and episode codes: S02E05.
cst_val* episode_rule(const string& s) {
  if (s.size() < 4 || (s[0] != 'S' && s[0] != 's')) return nullptr;
  size_t e = s.find_first_of("Ee", 1);
  if (e == string::npos) return nullptr;
  string season = s.substr(1, e - 1), episode = s.substr(e + 1);
  if (!digits(season) || !digits(episode) || season.size() > 3 || episode.size() > 4) return nullptr;
  return cat(cat(words("season"), cardinal(std::to_string(atoi(season.c_str())))),
             cat(words("episode"), cardinal(std::to_string(atoi(episode.c_str())))));
}

// Digits glued to one letter: video resolutions 1080p, 720p, 1080i (ten
// eighty p), and house numbers before a street name (221B Baker Street).
cst_val* number_letter_rule(cst_item* token, const string& s, bool whole) {
  if (s.size() < 4 || !is_alpha(s.back())) return nullptr;
  string d = s.substr(0, s.size() - 1);
  if (!digits(d) || (d.size() != 3 && d.size() != 4)) return nullptr;
  char c = s.back();
  bool resolution = c == 'p' || c == 'i';
  const string next = whole ? next_name(token) : "";
  bool house = is_upper(c) && c <= 'F' && !next.empty() && is_upper(next[0]) && letters_only(next);
  if (!resolution && !house) return nullptr;
  return cat(paired_number(d), spell(string(1, c)));
}

// Flat and room numbers with a letter: Apt. 4B, Suite 12C.
cst_val* flat_number_rule(cst_item* token, const string& s) {
  static const char* const before[] = {"apt", "apartment", "suite", "unit", "room", "flat", nullptr};
  if (s.size() < 2 || !is_upper(s.back()) || !digits(s.substr(0, s.size() - 1))) return nullptr;
  if (!in_list(lower(prev_name(token)), before)) return nullptr;
  return cat(cardinal(s.substr(0, s.size() - 1)), spell(string(1, s.back())));
}

// A unit after a number with a decimal comma (1,5 kg), which the unit test
// does not take for a number: the plural, as the comma reads as a point.
cst_val* unit_after_decimal_comma(cst_item* token, const string& s) {
  const string prev = prev_name(token);
  size_t comma = prev.find(',');
  if (comma == string::npos || comma == 0 || prev.size() - comma > 3 || !digits(prev.substr(0, comma)) ||
      !digits(prev.substr(comma + 1)) || item_feat_string(item_prev(token), "punc")[0])
    return nullptr;
  if (!generic_is_unit_ext(token, s.c_str(), en_unit_engine.units, 0, "unit_id")) return nullptr;
  return generic_exp_unit(token, &en_unit_engine, item_feat_int(token, "unit_id"), prev.c_str(), 0);
}

// A unit after a range of numbers (1-2 kg, 20-25 °C): plural, as after the
// range's second number.
cst_val* unit_after_range(cst_item* token, const string& s) {
  const string prev = prev_name(token);
  const size_t dash = prev.find('-', 1);
  if (dash == string::npos || !digits(prev.substr(0, dash)) || !digits(prev.substr(dash + 1)) ||
      item_feat_string(item_prev(token), "punc")[0])
    return nullptr;
  if (!generic_is_unit_ext(token, s.c_str(), en_unit_engine.units, 0, "unit_id")) return nullptr;
  const string second = prev.substr(dash + 1);
  return generic_exp_unit(token, &en_unit_engine, item_feat_int(token, "unit_id"), second.c_str(), 0);
}

// Glued minutes after glued hours: 1h 45m.
cst_val* minutes_after_hours(cst_item* token, const string& s) {
  const string prev = prev_name(token);
  if (s.size() < 2 || (s.back() != 'm') || !digits(s.substr(0, s.size() - 1))) return nullptr;
  if (prev.size() < 2 || prev.back() != 'h' || !digits(prev.substr(0, prev.size() - 1))) return nullptr;
  string d = s.substr(0, s.size() - 1);
  return cat(cardinal(d), words(d == "1" ? "minute" : "minutes"));
}

// A token after a number or time that names what it is.
cst_val* after_number_rule(cst_item* token, const string& s) {
  string prev = prev_name(token);
  string hm;
  size_t suffix = prev.find_first_not_of("0123456789:.");
  if (suffix != string::npos && suffix > 0 && am_pm(prev.substr(suffix))) prev = prev.substr(0, suffix);
  bool number_before = !prev.empty() && (digits(prev) || clock_time(prev, false, &hm) ||
                                         std::all_of(prev.begin(), prev.end(), [](char c) {
                                           return is_digit(c) || c == '.' || c == ',';
                                         }));
  if (!number_before || item_feat_string(item_prev(token), "punc")[0]) return nullptr;
  if (am_pm(s)) return am_pm_words(s);
  string l = lower(s);
  if (l == "min" || l == "mins") return words(prev == "1" ? "minute" : "minutes");
  if (l == "sec" || l == "secs") return words(prev == "1" ? "second" : "seconds");
  static const char* const zones[][2] = {{"ET", "eastern"}, {"EST", "eastern"}, {"CT", "central"},
                                         {"PT", "pacific"}, {"PST", "pacific"}, {"MT", "mountain"},
                                         {nullptr, nullptr}};
  if (clock_time(prev, false, &hm) || (digits(prev) && prev.size() <= 2))
    for (int i = 0; zones[i][0]; i++)
      if (s == zones[i][0]) return words(zones[i][1]);
  return nullptr;
}

cst_val* token_words(cst_item* token, const string& s, bool whole) {
  if (s.empty()) return nullptr;
  if (s.size() > kLongToken) return subtoken_words(token, s);  // only whole tokens get here
  string hm, whole_digits, fraction;

  // Abbreviations and acronyms with a fixed reading, and the shared table.
  if (whole) {
    if (cst_val* w = homograph_rule(token, s)) return w;
    if (cst_val* w = title_rule(token, s)) return w;
    if (cst_val* w = glued_title_rule(token, s)) return w;
    if (cst_val* w = marker_rule(token, s)) return w;
  }
  if (cst_val* w = wifi_standard_rule(s)) return w;
  if (whole) {
    if (cst_val* w = time_ago_rule(token, s)) return w;
    if (cst_val* w = code_rule(token, s)) return w;
    if (cst_val* w = feet_inches_rule(token, s)) return w;
    // After a number "min." is minutes, not the table's "minimum".
    if (cst_val* w = after_number_rule(token, s)) return w;
  }
  if (cst_val* w = chart_place_rule(s)) return w;
  if (cst_val* w = dimensions_rule(s)) return w;
  if (cst_val* w = en_exp_abbrev(token, s.c_str())) return w;

  // Money.
  if (cst_val* w = money_rule(token, s, whole)) return w;
  if (whole && currency_code(s) && digits(next_name(token)) && !item_feat_string(token, "punc")[0])
    return nullptr;  // USD 20: the amount names the currency
  if (whole && digits(s) && currency_code(prev_name(token)))
    return money_words(s, prev_name(token).c_str(), "");

  // Clock times, with am/pm glued or as the next token.
  if (clock_time(s, false, &hm)) return time_words(hm);
  size_t end = s.find_first_not_of("0123456789:.");
  if (end != string::npos && end > 0 && am_pm(s.substr(end))) {
    string t = s.substr(0, end);
    cst_val* w = clock_time(t, false, &hm) || clock_time(t, true, &hm) ? time_words(hm)
                 : digits(t)                                           ? cardinal(t)
                                                                       : nullptr;
    if (w) return cat(w, am_pm_words(s.substr(end)));
  }

  // Dates, phone numbers and ranges.
  if (cst_val* w = iso_date_rule(s)) return w;
  if (cst_val* w = phone_rule(s)) return w;
  if (cst_val* w = range_rule(token, s)) return w;

  // Ordinals, decades, resolutions and house numbers before units (1st is
  // not one stone, 1990s not seconds, 221B not bytes).
  if (cst_val* w = ordinal_rule(s)) return w;
  if (cst_val* w = decade_rule(s)) return w;
  if (cst_val* w = number_letter_rule(token, s, whole)) return w;
  if (whole)
    if (cst_val* w = flat_number_rule(token, s)) return w;

  // Units, glued to their number or after it (minutes after hours: 1h 45m).
  if (whole)
    if (cst_val* w = minutes_after_hours(token, s)) return w;
  if (whole && en_is_unit_expression(token, s.c_str())) return en_exp_unit_expression(token, s.c_str());
  if (whole)
    if (cst_val* w = unit_after_decimal_comma(token, s)) return w;
  if (whole)
    if (cst_val* w = unit_after_range(token, s)) return w;

  // Signs, percentages, fractions and dates.
  if ((s[0] == '-' || s[0] == '+') && s.size() > 1 && (is_digit(s[1]) || s[1] == '.'))
    return cat(words(s[0] == '-' ? "minus" : "plus"), token_words(token, s.substr(1), whole));
  if (s.size() > 1 && s.back() == '%') {
    string n = s.substr(0, s.size() - 1);
    if (decimal(n, &whole_digits, &fraction))
      return cat(real_number(whole_digits, fraction), words("percent"));
  }
  if (cst_val* w = slash_rule(token, s, whole)) return w;

  // Numbers.
  if (digits(s)) return number_rule(token, s, whole);
  if (cst_val* w = version_rule(token, s)) return w;
  if (decimal(s, &whole_digits, &fraction)) return real_number(whole_digits, fraction);
  // A decimal comma (1,5): the number before a unit.
  size_t comma = s.find(',');
  if (comma != string::npos && comma > 0 && comma + 3 >= s.size() && digits(s.substr(0, comma)) &&
      digits(s.substr(comma + 1)))
    return real_number(s.substr(0, comma), s.substr(comma + 1));
  if (cst_val* w = episode_rule(s)) return w;
  // Channel and episode numbers glued to their word: CH5, Ep12.
  size_t first_digit = s.find_first_of("0123456789");
  if (first_digit != string::npos && first_digit > 0 && digits(s.substr(first_digit)) &&
      letters_only(s.substr(0, first_digit)))
    if (cst_val* w = counted_word(s.substr(0, first_digit))) return cat(w, cardinal(s.substr(first_digit)));

  // Letters.
  if (letters_only(s)) {
    if (whole) {
      // Fixtures: "Arsenal v Chelsea".
      const string before = prev_name(token), after = next_name(token);
      if (s == "v" && !before.empty() && !after.empty() && is_upper(before[0]) && is_upper(after[0]) &&
          !item_feat_string(item_prev(token), "punc")[0] && !item_feat_string(token, "punc")[0])
        return words("versus");
      if (cst_val* w = roman_rule(token, s)) return w;
      int day = day_abbrev(s);
      const char first_after = next_name(token)[0];
      // Before a number or a time, or a time the transducer has rewritten.
      if (day >= 0 && (isdigit((unsigned char)first_after) || first_after == 0x11))
        return words(kDays[day]);
      int month = month_index(s);
      const bool after_day = digits(before) && before.size() <= 2 &&
                             !item_feat_string(item_prev(token), "punc")[0];
      if (month >= 0 && !in_list(lower(s), kMonths) && is_upper(s[0]) &&
          (item_feat_string(token, "punc")[0] == '.' || isdigit((unsigned char)next_name(token)[0]) ||
           after_day))
        return words(kMonths[month]);
      if (isdigit((unsigned char)next_name(token)[0]) && !item_feat_string(token, "punc")[0])
        if (cst_val* w = counted_word(s)) return w;
      // Ep. 5 and Ch. 4 reach the rules as two pieces, as the analyzer ends a
      // sentence at the dot: the abbreviation ending its piece is the word.
      // No. stays a word (it is one).
      const string l = lower(s);
      if (next_name(token).empty() && !strcmp(item_feat_string(token, "punc"), ".") && !upper_only(s) &&
          (l == "ep" || l == "ch" || l == "vol" || l == "pt"))
        return counted_word(s);
    }
    return letter_rule(token, s, whole);
  }
  // Dotted letters: p.m, U.S, e.g.
  if (s.size() >= 3 && is_alpha(s[0]) && s[1] == '.') {
    bool dotted = true;
    for (size_t i = 0; i < s.size(); i++)
      dotted &= (i % 2 == 0) ? is_alpha(s[i]) : s[i] == '.';
    if (dotted) return spell(s);
  }
  // A leading number glued to more text: 1.5x, 2x.
  if (is_digit(s[0])) {
    size_t n = s.find_first_not_of("0123456789.");
    if (n != string::npos && n > 0 && s[n - 1] != '.' && decimal(s.substr(0, n), &whole_digits, &fraction))
      return cat(real_number(whole_digits, fraction), token_words(token, s.substr(n), false));
  }
  // One symbol; brackets, quotes and dashes standing alone are not read.
  if (s.size() == 1) {
    if (is_digit(s[0])) return cardinal(s);
    if (strchr("()[]{}\"'`,.;:!?-_*~|<>", s[0])) return nullptr;
    return generic_exp_symbol(token, s.c_str());
  }
  // Possessive and contracted endings are words of their own ('s, 've,
  // 'll, 'd), for the post-lexical rules that shape them.
  for (const char* ending : {"'s", "'ve", "'ll", "'d"}) {
    size_t n = strlen(ending);
    if (s.size() > n && lower(s.substr(s.size() - n)) == ending &&
        letters_only(s.substr(0, s.size() - n)))
      return cat(token_words(token, s.substr(0, s.size() - n), false), words(ending));
  }
  // Other apostrophes inside words stay with the word (don't, o'clock).
  if (s.find('\'') != string::npos) {
    string joined;
    for (char c : s)
      if (is_alpha(c) || c == '\'') joined += c;
    if (joined.size() == s.size()) return words(lower(s));
  }
  // Hyphens and slashes between words are pauses in reading, not symbols.
  string spaced;
  for (char c : s) spaced += (c == '-' || c == '/' || c == '_') ? ' ' : c;
  if (spaced != s) {
    cst_val* out = nullptr;
    for (const string& piece : split(spaced, ' '))
      if (!piece.empty()) out = cat(out, token_words(token, piece, false));
    return out;
  }
  return subtoken_words(token, s);
}

}  // namespace

cst_val* usen_tokentowords(cst_item* token) {
  if (!token) return nullptr;
  if (item_feat_present(token, "already_expanded")) return nullptr;
  if (item_feat_present(token, "phones")) return words_with_explicit_phones(token);
  const string name = name_of(token);
  if (strchr(name.c_str(), 0x11) && strchr(name.c_str(), 0x13)) return wfst_exp_preprocessed_token(token);
  if (cst_val* w = address_rule(token, name)) return w;
  return token_words(token, name, true);
}
