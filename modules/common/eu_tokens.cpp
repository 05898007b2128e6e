// Token rules shared by the European modules. A token is read, in this order,
// by the language's own rule, as inline phones, an abbreviation, money, a
// percentage, a clock time, a score, a date, an ordinal, a range, a number
// with a unit, a number, a Roman numeral after a name, an acronym or a word;
// anything else is split into letters, digits and symbols that are read one
// by one. The rules work on UTF-8 text (the tables are UTF-8) and the words
// go back into the module's encoding at the end.
#include <ctype.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "emoji/VXN_utf8.h"
#include "frontend/norm_common.h"
#include "modules/common/eu_voice.h"

namespace {

const int kMaxDepth = 4;
typedef std::vector<std::string> Words;

// ---------------------------------------------------------------------------
// Text helpers (UTF-8).
// ---------------------------------------------------------------------------

std::vector<uint32_t> code_points(const std::string& s) { return eu_code_points(s); }

std::string utf8_of(uint32_t c) {
  std::string s;
  VXN_utf8_append(c, &s);
  return s;
}

bool all_letters(const std::string& s) {
  std::vector<uint32_t> cps = code_points(s);
  if (cps.empty()) return false;
  for (uint32_t c : cps)
    if (!eu_is_alpha(c)) return false;
  return true;
}

bool all_upper(const std::string& s) {
  for (uint32_t c : code_points(s))
    if (!eu_is_upper(c)) return false;
  return true;
}

bool starts_with_digit(const std::string& s) { return !s.empty() && s[0] >= '0' && s[0] <= '9'; }

long long value_of(const std::string& digits) {
  long long v = 0;
  for (char ch : digits) {
    if (ch < '0' || ch > '9' || v > 100000000000000LL) return -1;
    v = v * 10 + (ch - '0');
  }
  return v;
}

// Splits "123<rest>" into the leading digits and the rest.
size_t digits_prefix(const std::string& s) {
  size_t n = 0;
  while (n < s.size() && s[n] >= '0' && s[n] <= '9') ++n;
  return n;
}

// A number as written in the language: [-+]digits with group separators
// and a decimal part. Writes it as "[-]digits[.digits]"; false when s is not one.
bool plain_number(const eu_language* L, const std::string& written, std::string* out) {
  std::string s = written;
  if (L->group_separator == ' ') {
    // No-break spaces group digits too ("1 000").
    for (const char* nbsp : {"\xC2\xA0", "\xE2\x80\xAF"})
      for (size_t at = s.find(nbsp); at != std::string::npos; at = s.find(nbsp, at + 1)) s.replace(at, strlen(nbsp), " ");
  }
  size_t i = 0;
  std::string sign;
  if (!s.empty() && (s[0] == '-' || s[0] == '+' || s.compare(0, 3, "\xE2\x88\x92") == 0)) {
    if (s[0] == '-' || s[0] != '+') sign = "-";
    i = s[0] == '-' || s[0] == '+' ? 1 : 3;
  }
  std::string rest = s.substr(i);
  if (rest.empty() || !starts_with_digit(rest)) return false;
  // Groups of exactly three digits after group separators.
  std::string intPart, frac;
  size_t dec = rest.find(L->decimal_separator);
  std::string head = dec == std::string::npos ? rest : rest.substr(0, dec);
  if (dec != std::string::npos) {
    frac = rest.substr(dec + 1);
    if (frac.empty() || !eu_is_digits(frac)) return false;
  }
  size_t g = head.find(L->group_separator);
  if (g == std::string::npos) {
    if (!eu_is_digits(head)) return false;
    intPart = head;
  } else {
    size_t start = 0;
    bool groups = true;
    std::vector<std::string> parts;
    for (;;) {
      size_t next = head.find(L->group_separator, start);
      parts.push_back(head.substr(start, next == std::string::npos ? std::string::npos : next - start));
      if (next == std::string::npos) break;
      start = next + 1;
    }
    for (size_t k = 0; k < parts.size(); ++k) {
      if (!eu_is_digits(parts[k])) return false;
      if (k == 0 ? parts[k].size() > 3 : parts[k].size() != 3) groups = false;
    }
    if (groups) {
      for (const std::string& p : parts) intPart += p;
    } else if (parts.size() == 2 && dec == std::string::npos) {
      // A lone separator that does not group is read as a decimal point.
      intPart = parts[0];
      frac = parts[1];
    } else {
      return false;
    }
  }
  *out = sign + intPart + (frac.empty() ? "" : "." + frac);
  return true;
}

const eu_abbrev* find_abbrev(const eu_language* L, const eu_abbrev* table, const std::string& text) {
  std::string lower = eu_lower(L, text);
  for (const eu_abbrev* a = table; a && a->key; ++a) {
    if (a->flags & EU_ABBR_CASE ? text == a->key : lower == eu_lower(L, a->key)) return a;
  }
  return nullptr;
}

const eu_currency* find_currency(const eu_language* L, const std::string& text) {
  for (const eu_currency* c = L->currencies; c && c->key; ++c)
    if (text == c->key) return c;
  return nullptr;
}

const eu_unit* find_unit(const eu_language* L, const std::string& text) {
  for (const eu_unit* u = L->units; u && u->key; ++u)
    if (text == u->key) return u;
  return nullptr;
}

// A unit by its key ("mln") or written in full ("miljoen", "milhões").
const eu_unit* find_unit_or_name(const eu_language* L, const std::string& text) {
  if (const eu_unit* u = find_unit(L, text)) return u;
  const std::string lower = eu_lower(L, text);
  for (const eu_unit* u = L->units; u && u->key; ++u)
    if (lower == u->one || lower == u->many) return u;
  return nullptr;
}

const char* find_name(const eu_name* table, const std::string& text) {
  for (const eu_name* n = table; n && n->text; ++n)
    if (text == n->text) return n->words;
  return nullptr;
}

int roman_value(const std::string& s) {
  static const char kLetters[] = "IVXLCDM";
  static const int kValues[] = {1, 5, 10, 50, 100, 500, 1000};
  int total = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const char* p = strchr(kLetters, s[i]);
    if (!p || !s[i]) return 0;
    int v = kValues[p - kLetters];
    const char* q = i + 1 < s.size() ? strchr(kLetters, s[i + 1]) : nullptr;
    total += q && s[i + 1] && kValues[q - kLetters] > v ? -v : v;
  }
  return total;
}

bool is_vowel_letter(uint32_t c) {
  static const std::vector<uint32_t> kVowels = eu_code_points("aeiouyäöüàáâèéêìíîòóôùúûåæøœąęаеёиоуыэюя");
  return std::find(kVowels.begin(), kVowels.end(), eu_to_lower(c)) != kVowels.end();
}

// Whether an upper-case letter string can be said as a word: it has a vowel
// and either six letters or more (a headline word in capitals), or at least
// three letters, never three consonants in a row, and neither starts nor
// ends with two consonants.
bool pronounceable(const std::string& s) {
  std::vector<uint32_t> cps = code_points(s);
  if (cps.size() < 3) return false;
  if (cps.size() >= 6) {
    for (uint32_t c : cps)
      if (is_vowel_letter(c)) return true;
    return false;
  }
  bool vowel = false;
  int run = 0;
  for (size_t i = 0; i < cps.size(); ++i) {
    if (is_vowel_letter(cps[i])) {
      vowel = true;
      run = 0;
    } else if (++run >= 3 || (run == 2 && (i == 1 || i + 1 == cps.size()))) {
      return false;
    }
  }
  return vowel;
}

// ---------------------------------------------------------------------------
// The reader.
// ---------------------------------------------------------------------------

class Reader {
 public:
  explicit Reader(eu_context* c) : c_(c), L_(c->lang) {}

  bool read(const std::string& token, int depth, Words* out) {
    if (token.empty()) return true;
    const bool whole = depth == 0;  // the token itself: its neighbours count
    const std::string text = whole ? with_digit_groups(token) : token;
    if (whole && L_->token && L_->token(c_, text, out)) return true;
    if (whole && currency_before_amount(text, out)) return true;
    if (whole && spaced_range_dash(text, out)) return true;
    // An explicit plus sign is said ("+20 °C"), then the number as it is.
    if (text.size() > 1 && text[0] == '+' && text[1] >= '0' && text[1] <= '9') {
      if (const char* plus = find_name(L_->symbols, "+")) eu_push_words(plus, out);
      return read(text.substr(1), depth + 1, out);
    }
    if (whole && abbreviation(text, out)) return true;
    if (money(text, whole, out)) return true;
    if (percent(text, whole, out)) return true;
    if (clock_or_score(text, out)) return true;
    if (date(text, whole, out)) return true;
    if (ordinal(text, whole, out)) return true;
    if (range(text, depth, out)) return true;
    if (dotted_numbers(text, out)) return true;
    if (unit(text, whole, out)) return true;
    if (number(text, out)) return true;
    if (whole && roman(text, out)) return true;
    if (all_letters(text)) return letters(text, out);
    if (elided(text, depth, out)) return true;
    if (depth >= kMaxDepth) return false;
    return pieces(text, depth, out);
  }

 private:
  // With groups separated by spaces, a number of one to three digits takes
  // in the tokens of exactly three digits that follow it without
  // punctuation between ("1 500 000", "1 500,50").
  std::string with_digit_groups(const std::string& text) {
    if (L_->group_separator != ' ' || !c_->punctuation(0).empty()) return text;
    size_t lead = text[0] == '-' || text[0] == '+' ? 1 : 0;
    if (text.size() - lead < 1 || text.size() - lead > 3 || !eu_is_digits(text.substr(lead))) return text;
    // Groups of three digits only: other groups of digits after them make a
    // telephone number ("22 123 45 67").
    for (int k = 1;; ++k) {
      const std::string next = c_->token_text(k);
      if (!c_->punctuation(k - 1).empty() || !eu_is_digits(next) || !c_->prepunctuation(k).empty()) break;
      if (next.size() != 3) return text;
    }
    std::string joined = text;
    for (;;) {
      const std::string next = c_->token_text(1);
      size_t dec = next.find(L_->decimal_separator);
      const std::string group = next.substr(0, dec);
      if (group.size() != 3 || !eu_is_digits(group) || !c_->prepunctuation(1).empty()) break;
      if (dec != std::string::npos && !eu_is_digits(next.substr(dec + 1))) break;
      joined += next;
      c_->consume_next();
      if (dec != std::string::npos || !c_->punctuation(0).empty()) break;
    }
    return joined;
  }

  // An elided form of the language's table and the word after its
  // apostrophe ("l'homme", "dell'Italia", "l'ONU"): the form joins the first
  // word the rest is read as.
  bool elided(const std::string& text, int depth, Words* out) {
    size_t apostrophe = text.find('\'');
    if (!L_->elisions || apostrophe == std::string::npos || apostrophe + 1 >= text.size()) return false;
    const std::string form = eu_lower(L_, text.substr(0, apostrophe + 1));
    if (!find_name(L_->elisions, form) || depth >= kMaxDepth) return false;
    Words rest;
    if (!read(text.substr(apostrophe + 1), depth + 1, &rest) || rest.empty()) return false;
    out->push_back(form + rest[0]);
    out->insert(out->end(), rest.begin() + 1, rest.end());
    return true;
  }

  bool abbreviation(const std::string& text, Words* out) {
    if (eu_read_abbreviation(c_, L_->abbrevs, text, out)) return true;
    // An abbreviation that needs no dot, glued to its number ("n°5").
    size_t digit = text.find_first_of("0123456789");
    if (digit == 0 || digit == std::string::npos || !eu_is_digits(text.substr(digit))) return false;
    const eu_abbrev* a = find_abbrev(L_, L_->abbrevs, text.substr(0, digit));
    if (!a || (a->flags & EU_ABBR_DOT)) return false;
    eu_push_words(a->words, out);
    return number(text.substr(digit), out);
  }

  // Splits an amount "12,50" / "12.50" / "12,-" into main and minor units.
  bool amount(const std::string& s, std::string* main, std::string* minor) {
    std::string n;
    if (s.size() > 2 && (s.compare(s.size() - 2, 2, ",-") == 0 || s.compare(s.size() - 2, 2, ".-") == 0)) {
      if (!plain_number(L_, s.substr(0, s.size() - 2), &n)) return false;
    } else if (!plain_number(L_, s, &n)) {
      return false;
    }
    if (n[0] == '-') return false;
    size_t dot = n.find('.');
    *main = n.substr(0, dot);
    *minor = dot == std::string::npos ? "" : n.substr(dot + 1);
    if (minor->size() == 1) *minor += "0";
    if (minor->size() > 2) return false;
    return true;
  }

  bool money(const std::string& text, bool whole, Words* out) {
    std::string main, minor;
    for (const eu_currency* cur = L_->currencies; cur && cur->key; ++cur) {
      const std::string key = cur->key;
      if (text.size() > key.size() && text.compare(0, key.size(), key) == 0 &&
          amount(text.substr(key.size()), &main, &minor))
        return read_money(cur, main, minor, out);
      if (text.size() > key.size() && text.compare(text.size() - key.size(), key.size(), key) == 0 &&
          amount(text.substr(0, text.size() - key.size()), &main, &minor))
        return read_money(cur, main, minor, out);
    }
    if (whole && c_->punctuation(0).empty()) {
      const std::string after = c_->token_text(1);
      const eu_currency* next = find_currency(L_, after);
      if (next && amount(text, &main, &minor) && read_money(next, main, minor, out)) {
        c_->consume_next();
        return true;
      }
      // A unit and the currency written together after the amount ("1,5 M€").
      std::string n;
      for (const eu_currency* cur = L_->currencies; cur && cur->key; ++cur) {
        const std::string key = cur->key;
        if (after.size() <= key.size() || after.compare(after.size() - key.size(), key.size(), key) != 0) continue;
        const eu_unit* scale = find_unit(L_, after.substr(0, after.size() - key.size()));
        if (!scale || !plain_number(L_, text, &n)) continue;
        c_->number(text, out);
        eu_push_words(n == "1" ? scale->one : scale->many, out);
        eu_push_words(L_->money_unit_joiner, out);
        eu_push_words(cur->many, out);
        c_->consume_next();
        return true;
      }
    }
    // A currency sign or code before the amount, as its own token ("€ 12,50", "R$ 12,50").
    if (whole && c_->punctuation(0).empty()) {
      const eu_currency* cur = find_currency(L_, text);
      std::string n;
      const eu_unit* scale = nullptr;
      if (cur && c_->punctuation(1).empty() && plain_number(L_, c_->token_text(1), &n) &&
          (scale = find_unit_or_name(L_, c_->token_text(2)))) {
        // An amount with a unit of its own ("€ 2,5 mln", "US$ 3 bilhões"):
        // the number, the unit, then the currency ("twee komma vijf miljoen
        // euro").
        c_->number(c_->token_text(1), out);
        eu_push_words(n == "1" ? scale->one : scale->many, out);
        eu_push_words(L_->money_unit_joiner, out);
        eu_push_words(cur->many, out);
        c_->consume_next();
        c_->consume_next();
        return true;
      }
      if (cur && amount(c_->token_text(1), &main, &minor) && read_money(cur, main, minor, out)) {
        c_->consume_next();
        return true;
      }
    }
    // A currency sign on its own reads as the currency's name.
    if (const eu_currency* cur = find_currency(L_, text)) {
      if (!all_letters(text)) {
        eu_push_plural(c_, "5", cur->one, cur->many, out);
        return true;
      }
    }
    return false;
  }

  // A currency written before its amount as a token of its own ("kr 299,-",
  // "kr. 12,50", "€ 5"): the amount is the next token.
  bool currency_before_amount(const std::string& text, Words* out) {
    const eu_currency* cur = find_currency(L_, text);
    const std::string punc = c_->punctuation(0);
    if (!cur || !(punc.empty() || punc == ".") || !c_->prepunctuation(1).empty()) return false;
    // An amount with a unit of its own after it ("€ 2,5 mln") is read by
    // the money rules, unit first.
    if (c_->punctuation(1).empty() && find_unit_or_name(L_, c_->token_text(2))) return false;
    std::string main, minor;
    if (!amount(c_->token_text(1), &main, &minor) || !read_money(cur, main, minor, out)) return false;
    c_->consume_next();
    return true;
  }

  bool read_money(const eu_currency* cur, const std::string& main, const std::string& minor, Words* out) {
    return L_->money ? L_->money(c_, cur, main, minor, out) : eu_read_money(c_, cur, main, minor, out);
  }

  bool percent(const std::string& text, bool whole, Words* out) {
    std::string n;
    if (text.size() > 1 && text.back() == '%' && plain_number(L_, text.substr(0, text.size() - 1), &n))
      return c_->number(text.substr(0, text.size() - 1), out) && (eu_push_plural(c_, n, nullptr, L_->percent, out), true);
    if (whole && c_->punctuation(0).empty() && c_->token_text(1) == "%" && plain_number(L_, text, &n)) {
      c_->number(text, out);
      eu_push_plural(c_, n, nullptr, L_->percent, out);
      c_->consume_next();
      return true;
    }
    if (text == "%") {
      eu_push_plural(c_, "5", nullptr, L_->percent, out);
      return true;
    }
    return false;
  }

  // "20:15" is a clock time (two-digit minutes); "2:1" a score.
  // A dash standing alone between two numbers or clock times ("20:15 -
  // 21:45", "9 - 5"): the range word.
  bool spaced_range_dash(const std::string& text, Words* out) {
    if (text != "-" || !L_->range || !c_->punctuation(-1).empty()) return false;
    const std::string before = c_->token_text(-1), after = c_->token_text(1);
    std::string n;
    const bool numbers = (plain_number(L_, before, &n) || clock_time(before)) &&
                         (plain_number(L_, after, &n) || clock_time(after));
    if (!numbers) return false;
    eu_push_words(L_->range, out);
    return true;
  }

  // "H:MM" or "HH:MM" with an hour up to 24: a clock time.
  static bool clock_time(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 2 || text.size() != colon + 3) return false;
    const std::string h = text.substr(0, colon), m = text.substr(colon + 1);
    return eu_is_digits(h) && eu_is_digits(m) && value_of(h) <= 24 && value_of(m) <= 59;
  }

  bool clock_or_score(const std::string& text, Words* out) {
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0) return false;
    std::string a = text.substr(0, colon), b = text.substr(colon + 1);
    if (!eu_is_digits(a) || !eu_is_digits(b) || a.size() > 2) return false;
    if (clock_time(text)) return L_->time(c_, (int)value_of(a), (int)value_of(b), out);
    if (b.size() > 3) return false;
    c_->spell(L_->cardinal_rules, a, out);
    eu_push_words(L_->score, out);
    c_->spell(L_->cardinal_rules, b, out);
    return true;
  }

  bool date(const std::string& text, bool whole, Words* out) {
    if (!starts_with_digit(text)) return false;
    int d = -1, m = -1, y = -1;
    std::vector<std::string> parts;
    char sep = 0;
    for (char s : {'.', '/', '-'}) {
      if (text.find(s) == std::string::npos) continue;
      sep = s;
      parts = eu_split(text, s);
      break;
    }
    for (const std::string& p : parts)
      if (!eu_is_digits(p)) return false;
    if (parts.size() == 3 && parts[0].size() == 4 && sep == '-') {
      y = (int)value_of(parts[0]), m = (int)value_of(parts[1]), d = (int)value_of(parts[2]);
    } else if (parts.size() == 3 && parts[0].size() <= 2 && parts[1].size() <= 2 &&
               (parts[2].size() == 4 || parts[2].size() == 2)) {
      d = (int)value_of(parts[0]), m = (int)value_of(parts[1]), y = (int)value_of(parts[2]);
      if (parts[2].size() == 2) y += y < 50 ? 2000 : 1900;
    } else if (whole && parts.size() == 2 && sep == '.' && L_->decimal_separator != '.' && parts[0].size() <= 2 &&
               parts[1].size() <= 2 && !c_->punctuation(0).empty() && c_->punctuation(0)[0] == '.') {
      // "24.12." : day and month, the last dot belongs to the date.
      d = (int)value_of(parts[0]), m = (int)value_of(parts[1]);
      if (d >= 1 && d <= 31 && m >= 1 && m <= 12) c_->consume_dot();
    } else {
      return false;
    }
    if (d < 1 || d > 31 || m < 1 || m > 12) return false;
    return L_->date(c_, d, m, y, out);
  }

  bool ordinal(const std::string& text, bool whole, Words* out) {
    size_t n = digits_prefix(text);
    if (n == 0 || n > 9) return false;
    std::string mark = text.substr(n);
    if (mark.empty()) {
      if (!whole || c_->punctuation(0).empty() || c_->punctuation(0)[0] != '.') return false;
      mark = ".";
    } else if (find_unit(L_, mark) || find_currency(L_, mark) || mark[0] == '%' || !all_letters_or_marks(mark)) {
      return false;
    }
    if (const char* rules = find_name(L_->ordinal_marks, mark)) return c_->spell(rules, text.substr(0, n), out);
    return L_->ordinal(c_, text.substr(0, n), mark, out);
  }

  static bool all_letters_or_marks(const std::string& mark) {
    for (uint32_t ch : code_points(mark))
      if (!eu_is_alpha(ch) && ch != '.' && ch != ':' && ch != 0xBA && ch != 0xAA) return false;
    return true;
  }

  // Each digit on its own ("0800": zero eight zero zero).
  void spell_digits(const std::string& digits, Words* out) {
    for (char d : digits) c_->spell(L_->cardinal_rules, std::string(1, d), out);
  }

  // Three or more groups of digits joined by dots that are neither a date
  // nor a number with dots between its thousands: an address or a version ("192.168.1.10", "1.2.345"), each group a number
  // (digit by digit with a leading zero or more than three digits), the
  // language's word for the dot between them.
  bool dotted_numbers(const std::string& text, Words* out) {
    std::string n;
    if (!L_->dot || std::count(text.begin(), text.end(), '.') < 2 || plain_number(L_, text, &n)) return false;
    const std::vector<std::string> groups = eu_split(text, '.');
    for (const std::string& g : groups)
      if (g.empty() || !eu_is_digits(g)) return false;
    for (size_t k = 0; k < groups.size(); ++k) {
      if (k > 0) eu_push_words(L_->dot, out);
      const std::string& g = groups[k];
      if ((g.size() > 1 && g[0] == '0') || g.size() > 3) {
        spell_digits(g, out);
      } else {
        c_->spell(L_->cardinal_rules, g, out);
      }
    }
    return true;
  }

  // True when text is a number with a unit glued to it ("25°C", "10km").
  bool glued_unit(const std::string& text) {
    std::string n;
    for (size_t i = 1; i < text.size(); ++i)
      if (plain_number(L_, text.substr(0, i), &n) && find_unit(L_, text.substr(i))) return true;
    return false;
  }

  // "5-10": a range; the unit of its second number, glued ("20-25°C") or
  // the next token ("1-2 kg"), follows the whole range.
  bool range(const std::string& text, int depth, Words* out) {
    size_t dash = text.find('-', 1);
    if (dash == std::string::npos || dash + 1 >= text.size()) return false;
    std::string a = text.substr(0, dash), b = text.substr(dash + 1), na, nb;
    if (clock_time(a) && clock_time(b)) {  // "20:15-21:45"
      read(a, depth + 1, out);
      eu_push_words(L_->range, out);
      return read(b, depth + 1, out);
    }
    if (!plain_number(L_, a, &na) || b[0] == '-') return false;
    const bool plain = plain_number(L_, b, &nb);
    if (!plain && !glued_unit(b)) return false;
    if (plain && a.size() > 1 && a[0] == '0' && eu_is_digits(a) && eu_is_digits(b)) {
      // A telephone number with its area code ("020-1234567"): digit by digit.
      spell_digits(a + b, out);
      return true;
    }
    read(a, depth + 1, out);
    eu_push_words(L_->range, out);
    read(b, depth + 1, out);
    const eu_unit* u = plain && depth == 0 && c_->punctuation(0).empty() ? find_unit(L_, c_->token_text(1)) : nullptr;
    if (u) {
      eu_push_plural(c_, nb, u->one, u->many, out);
      c_->consume_next();
    }
    return true;
  }

  bool unit(const std::string& text, bool whole, Words* out) {
    std::string n;
    const eu_unit* u = nullptr;
    std::string num;
    size_t split = 0;
    // A number glued to its unit ("5km", "20°C").
    for (size_t i = 1; i < text.size() && !u; ++i) {
      if (plain_number(L_, text.substr(0, i), &n) && (u = find_unit(L_, text.substr(i)))) split = i;
    }
    if (u) {
      num = text.substr(0, split);
    } else if (whole && c_->punctuation(0).empty() && plain_number(L_, text, &n) &&
               (u = find_unit(L_, c_->token_text(1)))) {
      num = text;
      c_->consume_next();
    } else {
      return false;
    }
    plain_number(L_, num, &n);
    if (n.find('.') == std::string::npos && n[0] != '-')
      c_->spell(eu_count_rules(L_, u->one), n, out);
    else
      c_->number(num, out);
    if (L_->unit_singular && L_->unit_singular(c_))
      eu_push_plural(c_, "1", u->one, u->many, out);
    else
      eu_push_plural(c_, n, u->one, u->many, out);
    return true;
  }

  bool number(const std::string& text, Words* out) {
    std::string n;
    if (!plain_number(L_, text, &n)) return false;
    // Digit by digit: a leading zero, a very long number, or a group after
    // a token read that way (telephone numbers "0800 123 4567").
    const cst_item* prevToken = item_prev(c_->token);
    const bool afterDigits = prevToken && item_feat_present(prevToken, "eu_digit_by_digit") &&
                             eu_is_digits(c_->token_text(-1)) && c_->punctuation(-1).empty();
    if (eu_is_digits(text) && ((text.size() > 1 && text[0] == '0') || text.size() > 12 || afterDigits)) {
      spell_digits(text, out);
      if (text == c_->token_text(0)) item_set_int(c_->token, "eu_digit_by_digit", 1);
      return true;
    }
    long long v = eu_is_digits(text) ? value_of(text) : -1;
    if (L_->year_rules && text.size() == 4 && v >= 1100 && v <= 1999) return c_->spell(L_->year_rules, text, out);
    return c_->number(text, out);
  }

  // A Roman numeral after a capitalised name ("Karl XVI", "Harald V"); of
  // the single letters only V and X, as I is a word in several languages.
  bool roman(const std::string& text, Words* out) {
    if (text.empty() || text.find_first_not_of("IVXLC") != std::string::npos) return false;
    if (text.size() == 1 && text != "V" && text != "X") return false;
    // After a capitalised name, hyphenated ones too ("Jean-Paul II").
    std::string prev = c_->token_text(-1), name;
    for (char ch : prev)
      if (ch != '-') name += ch;
    std::vector<uint32_t> cps = code_points(prev);
    if (cps.empty() || !eu_is_upper(cps[0]) || !all_letters(name) || all_upper(name) || prev.back() == '-') return false;
    int v = roman_value(text);
    if (v < 1 || v > 99) return false;
    return L_->ordinal(c_, std::to_string(v), "R", out);
  }

  bool letters(const std::string& text, Words* out) {
    if (code_points(text).size() >= 2 && all_upper(text)) {
      for (const eu_acronym* a = L_->acronyms; a && a->text; ++a)
        if (text == a->text) {
          if (a->as_word)
            out->push_back(eu_lower(L_, text));
          else
            c_->spell_letters(text, out);
          return true;
        }
      const bool asWord = L_->as_word ? L_->as_word(c_, text) : pronounceable(text);
      if (!asWord && !in_capitals_headline(text)) {
        c_->spell_letters(text, out);
        return true;
      }
    } else if (code_points(text).size() == 1 && all_upper(text)) {
      // A one-letter function word ("O", "A" in Portuguese, "U" in Dutch)
      // is the word, not the letter's name.
      const std::string lower = eu_lower(L_, text);
      if (strcmp(gpos_lookup(L_->gpos, lower.c_str()), "content") == 0) {
        c_->spell_letters(text, out);
        return true;
      }
    }
    out->push_back(eu_lower(L_, text));
    return true;
  }

  // A word of four letters or more with a vowel, next to another such word
  // in capitals, is part of a headline in capitals ("SISTE NYTT"), not an
  // acronym.
  bool in_capitals_headline(const std::string& text) {
    auto long_capitals = [](const std::string& w) {
      std::vector<uint32_t> cps = code_points(w);
      bool vowel = false;
      for (uint32_t ch : cps) vowel = vowel || is_vowel_letter(ch);
      return cps.size() >= 4 && vowel && all_letters(w) && all_upper(w);
    };
    return long_capitals(text) && (long_capitals(c_->token_text(-1)) || long_capitals(c_->token_text(1)));
  }

  // Letters, digits (with the separators between them) and single symbols.
  bool pieces(const std::string& text, int depth, Words* out) {
    std::vector<uint32_t> cps = code_points(text);
    size_t i = 0;
    bool any = false;
    while (i < cps.size()) {
      std::string piece;
      if (eu_is_alpha(cps[i])) {
        while (i < cps.size() && eu_is_alpha(cps[i])) piece += utf8_of(cps[i++]);
      } else if (eu_is_digit(cps[i])) {
        const size_t first = i;
        while (i < cps.size() &&
               (eu_is_digit(cps[i]) || ((cps[i] == (uint32_t)L_->decimal_separator || cps[i] == (uint32_t)L_->group_separator) &&
                                      i + 1 < cps.size() && eu_is_digit(cps[i + 1]))))
          piece += utf8_of(cps[i++]);
        if (piece == text) {
          // Separators that make no number of the whole ("1,2,3"): the digits
          // around them are read one run at a time, not this text again.
          piece.clear();
          for (i = first; i < cps.size() && eu_is_digit(cps[i]); ++i) piece += utf8_of(cps[i]);
        }
      } else {
        piece = utf8_of(cps[i++]);
        if (const char* words = find_name(L_->symbols, piece)) {
          eu_push_words(words, out);
          any = true;
        }
        continue;
      }
      any = read(piece, depth + 1, out) || any;
    }
    return any;
  }

  eu_context* c_;
  const eu_language* L_;
};

// The token offset places away. Ahead, the tokens this one has read are
// passed over (they are part of it); behind, every token counts as written.
cst_item* neighbour(cst_item* token, int offset) {
  cst_item* t = token;
  for (; t && offset > 0; --offset)
    do t = item_next(t);
    while (t && item_feat_present(t, "eu_consumed"));
  for (; t && offset < 0; ++offset) t = item_prev(t);
  return t;
}

}  // namespace

// ---------------------------------------------------------------------------
// eu_context and helpers.
// ---------------------------------------------------------------------------

bool eu_read_abbreviation(eu_context* c, const eu_abbrev* table, const std::string& text,
                          std::vector<std::string>* out) {
  const eu_abbrev* a = find_abbrev(c->lang, table, text);
  if (!a) return false;
  bool dot = !c->punctuation(0).empty() && c->punctuation(0)[0] == '.';
  if ((a->flags & EU_ABBR_DOT) && !dot) return false;
  if ((a->flags & EU_ABBR_NUMBER) && !starts_with_digit(c->token_text(1))) return false;
  eu_push_words(a->words, out);
  if (dot) c->consume_dot();
  return true;
}

bool eu_context::read(const std::string& text, std::vector<std::string>* out) {
  const size_t before = out->size();
  return Reader(this).read(text, 1, out) && out->size() > before;
}

bool eu_read_money(eu_context* c, const eu_currency* cur, const std::string& main, const std::string& minor,
                   std::vector<std::string>* out) {
  const eu_language* L = c->lang;
  const bool hasMain = !main.empty() && main.find_first_not_of('0') != std::string::npos;
  const bool hasMinor = !minor.empty() && minor.find_first_not_of('0') != std::string::npos;
  const bool singular = L->unit_singular && L->unit_singular(c);
  if (hasMain || !hasMinor) {
    c->spell(eu_count_rules(L, cur->one), main.empty() ? "0" : main, out);
    eu_push_plural(c, singular ? "1" : main.empty() ? "0" : main, cur->one, cur->many, out);
    if (!hasMinor) return true;
    eu_push_words(L->money_and, out);
    if (!L->money_minor_named) return c->spell(L->cardinal_rules, minor, out);
  }
  const std::string cents = std::to_string(value_of(minor));
  c->spell(eu_count_rules(L, cur->minor_one), cents, out);
  eu_push_plural(c, singular ? "1" : cents, cur->minor_one, cur->minor_many, out);
  return true;
}

void eu_push_plural(eu_context* c, const std::string& number, const char* one, const char* forms,
                    std::vector<std::string>* out) {
  auto name = [](const char* s) {  // without a leading rule-set name
    if (s && s[0] == '%') {
      const char* space = strchr(s, ' ');
      return space ? space + 1 : "";
    }
    return s;
  };
  one = name(one);
  forms = name(forms);
  if (!forms || !strchr(forms, '|')) {
    // One plural form: the singular after exactly 1.
    eu_push_words(number == "1" && one ? one : forms, out);
    return;
  }
  // "few|many|other" by the locale's plural rules (with "one" in front when
  // no singular is given apart); a missing form repeats the last one.
  std::vector<std::string> list;
  for (const char* p = forms;; ++p) {
    const char* bar = strchr(p, '|');
    list.push_back(bar ? std::string(p, bar - p) : std::string(p));
    if (!bar) break;
    p = bar;
  }
  if (one) list.insert(list.begin(), one);
  // Written decimals ("2,5") take the form of fractions, "other".
  std::string category = "other";
  const eu_plural_rules* rules = c && c->data ? c->data->plurals : nullptr;
  if (rules && eu_is_digits(number)) {
    const long long v = value_of(number);
    // Beyond the range of an int, only the last six digits decide.
    category = rules->select(v < 0 || v > 2000000000LL ? 1000000 + v % 1000000 : v);
  }
  static const char* const kOrder[] = {"one", "few", "many", "other"};
  size_t at = 3;
  for (size_t i = 0; i < 4; ++i)
    if (category == kOrder[i]) at = i;
  eu_push_words(list[at < list.size() ? at : list.size() - 1].c_str(), out);
}

void eu_spell_year(eu_context* c, int year, std::vector<std::string>* out) {
  if (year < 0) return;
  const bool yearForm = c->lang->year_rules && year >= 1100 && year <= 1999;
  c->spell(yearForm ? c->lang->year_rules : "%spellout-numbering", std::to_string(year), out);
}

const char* eu_count_rules(const eu_language* lang, const char* noun) {
  // A unit or currency name may begin with the spellout rule set its count takes
  // ("%spellout-cardinal-feminine tona"); a noun of the language's table
  // takes the set it names; otherwise the count takes count_rules.
  static thread_local std::string rules;
  if (noun && noun[0] == '%') {
    const char* space = strchr(noun, ' ');
    rules.assign(noun, space ? (size_t)(space - noun) : strlen(noun));
    return rules.c_str();
  }
  if (noun)
    if (const char* set = find_name(lang->noun_counts, noun)) return set;
  return lang->count_rules;
}

void eu_push_words(const char* words, std::vector<std::string>* out) {
  if (!words) return;
  std::string w;
  for (const char* p = words;; ++p) {
    if (*p == ' ' || *p == '\0') {
      if (!w.empty()) out->push_back(w);
      w.clear();
      if (*p == '\0') break;
    } else {
      w += *p;
    }
  }
}

std::string eu_lower(const eu_language*, const std::string& utf8) { return eu_lower_utf8(utf8); }

bool eu_starts_with_letter(const std::string& utf8) {
  std::vector<uint32_t> cps = code_points(utf8);
  return !cps.empty() && eu_is_alpha(cps[0]);
}

bool eu_is_digits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string eu_context::token_text(int offset) const {
  cst_item* t = neighbour(token, offset);
  return t ? eu_to_utf8(data, item_feat_string(t, "name")) : "";
}

std::string eu_context::punctuation(int offset) const {
  cst_item* t = neighbour(token, offset);
  return t && item_feat_present(t, "punc") ? eu_to_utf8(data, item_feat_string(t, "punc")) : "";
}

std::string eu_context::prepunctuation(int offset) const {
  cst_item* t = neighbour(token, offset);
  return t && item_feat_present(t, "prepunctuation") ? eu_to_utf8(data, item_feat_string(t, "prepunctuation")) : "";
}

void eu_context::consume_next() {
  // The first following token not consumed yet (a rule may read two).
  cst_item* next = item_next(token);
  while (next && item_feat_present(next, "eu_consumed")) next = item_next(next);
  if (!next) return;
  item_set_int(next, "eu_consumed", 1);
  const char* punc = item_feat_present(next, "punc") ? item_feat_string(next, "punc") : "";
  item_set_string(token, "punc", punc);
  item_set_string(next, "punc", "");
}

void eu_context::consume_dot() {
  if (!neighbour(token, 1) || !item_feat_present(token, "punc")) return;
  const char* punc = item_feat_string(token, "punc");
  if (punc[0] == '.') {
    std::string rest = punc + 1;
    item_set_string(token, "punc", rest.c_str());
  }
}

bool eu_context::spell(const char* rules, const std::string& value, std::vector<std::string>* out) const {
  if (!data || !data->spellout || !rules || value.empty()) return false;
  const eu_spellout& f = *data->spellout;
  if (!f.has_rule_set(rules)) return false;
  std::string s;
  bool negative = value[0] == '-';
  std::string digits = negative ? value.substr(1) : value;
  size_t dot = digits.find('.');
  if (!eu_is_digits(digits.substr(0, dot)) || (dot != std::string::npos && !eu_is_digits(digits.substr(dot + 1))))
    return false;
  if (dot == std::string::npos) {
    if (digits.size() > 15 || !f.format(rules, (int64_t)value_of(digits), &s)) return false;
  } else {
    const std::string whole = digits.substr(0, dot), fraction = digits.substr(dot + 1);
    // The integer part by the rules, the fraction digit by digit, as people
    // read decimals ("Komma null fünf"); the word between the parts is the
    // one of "0.5" ("null Komma fünf").
    std::string point;
    std::vector<std::string> pw;
    if (f.format_decimal(data->lang->cardinal_rules, "0", "5", &point)) eu_push_words(point.c_str(), &pw);
    if (pw.size() == 3) {
      if (whole.size() > 15 || !f.format(rules, (int64_t)value_of(whole), &s)) return false;
      s += " " + pw[1];
      for (char d : fraction) {
        std::string one;
        if (!f.format(data->lang->cardinal_rules, d - '0', &one)) return false;
        s += " " + one;
      }
    } else if (digits.size() <= 12) {
      // The locale reads fractions its own way (Russian "две целых пять
      // десятых"): the whole number by the rule set asked for.
      if (!f.format_decimal(rules, whole, fraction, &s)) return false;
    } else {
      return false;
    }
  }
  if (negative && data->lang->minus) out->push_back(data->lang->minus);
  // Soft hyphens (CLDR's morpheme marks) and hyphens separate words; commas
  // between groups ("one million, one hundred") are dropped; with
  // join_elided_number_parts a part ending in a consonant runs on.
  std::string w;
  for (size_t i = 0; i <= s.size(); ++i) {
    bool soft = i + 1 < s.size() && (unsigned char)s[i] == 0xC2 && (unsigned char)s[i + 1] == 0xAD;
    if (soft && data->lang->join_elided_number_parts && !w.empty() && isalpha((unsigned char)w.back()) &&
        !strchr("aeiouAEIOU", w.back())) {
      ++i;
      continue;
    }
    if (i == s.size() || s[i] == ' ' || s[i] == '-' || s[i] == ',' || soft) {
      const char* respelled = find_name(data->lang->number_words, w);
      if (respelled)
        eu_push_words(respelled, out);
      else if (!w.empty())
        out->push_back(w);
      w.clear();
      if (soft) ++i;
    } else {
      w += s[i];
    }
  }
  return true;
}

bool eu_context::number(const std::string& text, std::vector<std::string>* out) const {
  std::string n;
  if (!plain_number(lang, text, &n)) return false;
  return spell(lang->cardinal_rules, n, out);
}

void eu_context::spell_letters(const std::string& text, std::vector<std::string>* out) const {
  for (uint32_t c : code_points(text)) {
    std::string letter = eu_lower(lang, utf8_of(c));
    if (const char* words = find_name(lang->letters, letter))
      eu_push_words(words, out);
    else if (eu_is_digit(c))
      spell(lang->cardinal_rules, std::to_string(c - '0'), out);
  }
}

bool eu_dotted_time(const std::string& text, int* hours, int* minutes) {
  size_t dot = text.find('.');
  if (dot == std::string::npos || dot == 0 || dot > 2 || text.size() - dot != 3) return false;
  const std::string h = text.substr(0, dot), m = text.substr(dot + 1);
  if (!eu_is_digits(h) || !eu_is_digits(m) || value_of(h) > 24 || value_of(m) > 59) return false;
  *hours = (int)value_of(h);
  *minutes = (int)value_of(m);
  return true;
}

namespace {

// Where numbers are grouped by spaces ("1 500 000", "2 499,90"), the groups
// of three digits that follow a number of one to three digits (not starting
// with 0, which telephone numbers do) join it into one token; the tokens of
// the groups are removed, their punctuation goes to the number.
void join_space_groups(const eu_voice_data* d, cst_item* token) {
  if (!token || d->lang->group_separator != ' ' || item_feat_present(token, "eu_consumed")) return;
  std::string text = item_feat_string(token, "name");
  if (text.empty() || text.size() > 3 || text[0] == '0' || !eu_is_digits(text)) return;
  auto punc = [](cst_item* t) { return item_feat_present(t, "punc") ? item_feat_string(t, "punc") : ""; };
  auto prepunc = [](cst_item* t) {
    return item_feat_present(t, "prepunctuation") ? item_feat_string(t, "prepunctuation") : "";
  };
  // Groups of three digits only: other groups of digits after them make a
  // telephone number ("22 123 45 67"), read as written.
  for (cst_item* t = token; item_next(t) && !punc(t)[0] && !prepunc(item_next(t))[0]; t = item_next(t)) {
    const std::string group = item_feat_string(item_next(t), "name");
    if (group.empty() || !eu_is_digits(group)) break;
    if (group.size() != 3) return;
  }
  bool joined = false;
  for (cst_item* next = item_next(token); next && !punc(token)[0] && !prepunc(next)[0]; next = item_next(token)) {
    const std::string group = item_feat_string(next, "name");
    size_t digits = digits_prefix(group);
    const std::string tail = group.substr(digits);
    bool decimalTail = !tail.empty() && tail[0] == d->lang->decimal_separator &&
                       (tail.size() == 1 || eu_is_digits(tail.substr(1)) || tail.substr(1) == "-");
    if (digits != 3 || !(tail.empty() || decimalTail)) break;
    text += group;
    item_set_string(token, "punc", punc(next));
    delete_item(next);
    joined = true;
    if (!tail.empty()) break;
  }
  if (joined) item_set_string(token, "name", text.c_str());
}

}  // namespace

cst_val* eu_tokentowords(cst_item* token) {
  if (item_feat_present(token, "eu_consumed")) return nullptr;
  if (item_feat_present(token, "phones")) return words_with_explicit_phones(token);
  eu_voice_data* d = eu_voice_data_of(token);
  if (!d) return nullptr;
  // The next token too, so that a rule looking ahead sees its whole number.
  join_space_groups(d, token);
  join_space_groups(d, item_next(token));
  eu_context c{d->lang, token, d};
  Words words;
  Reader(&c).read(c.token_text(0), 0, &words);
  cst_val* out = nullptr;
  for (const std::string& w : words) {
    std::string bytes = eu_from_utf8(d, eu_lower(d->lang, w));
    if (!bytes.empty()) out = cons_val(string_val(bytes.c_str()), out);
  }
  return val_reverse(out);
}
