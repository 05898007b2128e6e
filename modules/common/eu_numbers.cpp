#include "modules/common/eu_numbers.h"

#include <ctype.h>
#include <limits.h>
#include <string.h>

#include <algorithm>

#include "modules/common/eu_text.h"

namespace {

// Bounds for rule sets that name each other: the depth of the rules applied
// within one another, all the rules one number applies (rule sets that each
// name the next twice would otherwise double the work at every level), and
// the words' length. A real number spelled takes a few dozen rules and a few
// hundred bytes.
const int kMaxDepth = 64;
const int kMaxSteps = 4096;
const size_t kMaxOutput = 4096;

std::string trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && isspace((unsigned char)s[b])) ++b;
  while (e > b && isspace((unsigned char)s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool parse_int(const std::string& s, int64_t* v) {
  if (s.empty() || s.size() > 19) return false;
  int64_t n = 0;
  for (char c : s) {
    if (c < '0' || c > '9' || n > (INT64_MAX - (c - '0')) / 10) return false;
    n = n * 10 + (c - '0');
  }
  *v = n;
  return true;
}

// s without its leading white space.
std::string without_leading_space(const std::string& s) {
  size_t b = 0;
  while (b < s.size() && isspace((unsigned char)s[b])) ++b;
  return s.substr(b);
}

int64_t power_of_ten(int e) {
  int64_t p = 1;
  while (e-- > 0) p *= 10;
  return p;
}

// Digits of n grouped in threes by commas (the pattern "#,##0") or plain ("0").
bool digits_by_pattern(const std::string& pattern, int64_t n, std::string* out) {
  if (n < 0 || (pattern != "0" && pattern != "#,##0")) return false;
  std::string digits = std::to_string(n);
  if (pattern == "#,##0")
    for (int i = (int)digits.size() - 3; i > 0; i -= 3) digits.insert((size_t)i, ",");
  *out += digits;
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Plural rules
// ---------------------------------------------------------------------------

bool eu_plural_rules::parse(const char* text, std::string* error) {
  rules_.clear();
  if (!text) {
    *error = "no plural rules";
    return false;
  }
  for (const std::string& statement : eu_split(text, ';')) {
    const std::string s = trim(statement);
    if (s.empty()) continue;
    const size_t colon = s.find(':');
    if (colon == std::string::npos || colon == 0) {
      *error = "plural rule without a keyword: \"" + s + "\"";
      return false;
    }
    rule r;
    r.keyword = trim(s.substr(0, colon));
    // Samples ("@integer 1, 21, ...") are not part of the condition.
    std::string condition = s.substr(colon + 1);
    condition = trim(condition.substr(0, condition.find('@')));
    if (!condition.empty()) {
      // or-separated conjunctions of and-separated relations
      std::vector<std::string> words;
      std::string w;
      for (size_t i = 0; i <= condition.size(); ++i) {
        const char c = i < condition.size() ? condition[i] : ' ';
        if (isspace((unsigned char)c)) {
          if (!w.empty()) words.push_back(w);
          w.clear();
        } else {
          w += c;
        }
      }
      conjunction current;
      for (size_t i = 0; i < words.size();) {
        relation rel{0, 0, false, {}};
        if (words[i].size() != 1 || !strchr("nivwftce", words[i][0])) {
          *error = "plural rule " + r.keyword + ": unknown operand \"" + words[i] + "\"";
          return false;
        }
        rel.operand = words[i++][0];
        if (i + 1 < words.size() && (words[i] == "mod" || words[i] == "%")) {
          if (!parse_int(words[i + 1], &rel.mod) || rel.mod == 0) {
            *error = "plural rule " + r.keyword + ": bad modulus";
            return false;
          }
          i += 2;
        }
        if (i < words.size() && (words[i] == "not" || words[i] == "!=")) {
          rel.negated = true;
          if (words[i] == "!=") {
            ++i;
          } else {
            ++i;
            if (i < words.size() && (words[i] == "in" || words[i] == "within" || words[i] == "=")) ++i;
          }
        } else if (i < words.size() && (words[i] == "in" || words[i] == "within" || words[i] == "=" ||
                                        words[i] == "is")) {
          ++i;
          if (i < words.size() && words[i - 1] == "is" && words[i] == "not") {
            rel.negated = true;
            ++i;
          }
        } else {
          *error = "plural rule " + r.keyword + ": expected a relation";
          return false;
        }
        // The range list: words up to "and", "or" or the end, joined.
        std::string list;
        while (i < words.size() && words[i] != "and" && words[i] != "or") list += words[i++];
        for (const std::string& item : eu_split(list, ',')) {
          const size_t dots = item.find("..");
          int64_t lo, hi;
          if (dots == std::string::npos ? !parse_int(item, &lo) || !parse_int(item, &hi)
                                        : !parse_int(item.substr(0, dots), &lo) ||
                                              !parse_int(item.substr(dots + 2), &hi) || hi < lo) {
            *error = "plural rule " + r.keyword + ": bad range \"" + item + "\"";
            return false;
          }
          rel.ranges.push_back({lo, hi});
        }
        current.push_back(rel);
        if (i < words.size() && words[i] == "or") {
          r.disjunction.push_back(current);
          current.clear();
        }
        if (i < words.size()) {
          ++i;
          if (i == words.size()) {
            *error = "plural rule " + r.keyword + ": condition ends with a conjunction";
            return false;
          }
        }
      }
      r.disjunction.push_back(current);
    }
    rules_.push_back(r);
  }
  if (rules_.empty()) {
    *error = "no plural rules";
    return false;
  }
  return true;
}

const std::string& eu_plural_rules::select(int64_t n) const {
  const int64_t magnitude = n == INT64_MIN ? INT64_MAX : (n < 0 ? -n : n);
  for (const rule& r : rules_) {
    bool any = r.disjunction.empty();
    for (const conjunction& c : r.disjunction) {
      bool all = true;
      for (const relation& rel : c) {
        int64_t v = (rel.operand == 'n' || rel.operand == 'i') ? magnitude : 0;
        if (rel.mod) v %= rel.mod;
        bool in = false;
        for (const auto& range : rel.ranges) in = in || (v >= range.first && v <= range.second);
        if (in == rel.negated) {
          all = false;
          break;
        }
      }
      if (all) {
        any = true;
        break;
      }
    }
    if (any) return r.keyword;
  }
  return other_;
}

// ---------------------------------------------------------------------------
// Spellout
// ---------------------------------------------------------------------------

bool eu_spellout::parse(const char* text, const eu_plural_rules* plurals, char decimal_mark, std::string* error) {
  // A set may have a fraction rule for each decimal mark; the locale's is read.
  const bool decimal_comma = decimal_mark == ',';
  sets_.clear();
  plurals_ = plurals;
  if (!text) {
    *error = "no spellout rules";
    return false;
  }
  for (std::string statement : eu_split(text, ';')) {
    // Spaces before a rule are layout; spaces at the end of its text are text.
    statement = without_leading_space(statement);
    if (statement.empty()) continue;
    if (statement[0] == '%') {
      const size_t colon = statement.find(':');
      if (colon == std::string::npos) {
        *error = "rule set name without a colon: \"" + statement.substr(0, 40) + "\"";
        return false;
      }
      rule_set s;
      s.name = statement.substr(0, colon);
      sets_.push_back(s);
      statement = without_leading_space(statement.substr(colon + 1));
      if (statement.empty()) continue;
    }
    if (sets_.empty()) {
      *error = "rule outside a rule set: \"" + statement.substr(0, 40) + "\"";
      return false;
    }
    rule_set& set = sets_.back();
    const size_t colon = statement.find(':');
    if (colon == std::string::npos) {
      *error = set.name + ": rule without a base value: \"" + statement.substr(0, 40) + "\"";
      return false;
    }
    const std::string descriptor = trim(statement.substr(0, colon));
    std::string body = without_leading_space(statement.substr(colon + 1));
    // An apostrophe keeps the spaces after it.
    if (!body.empty() && body[0] == '\'') body.erase(0, 1);

    if (body.find_first_of("[]") != std::string::npos) {
      *error = set.name + ": optional text [...] is not read (the rules are given expanded): \"" + body + "\"";
      return false;
    }
    rule r;
    for (size_t i = 0; i < body.size();) {
      const char c = body[i];
      if (body.compare(i, 3, ">>>") == 0) {
        // The remainder by the rule before this one, bypassing the search.
        part p;
        p.kind = part::REMAINDER;
        p.bypass = true;
        r.has_remainder = true;
        r.parts.push_back(p);
        i += 3;
      } else if (c == '<' || c == '>' || c == '=') {
        const size_t close = body.find(c, i + 1);
        if (close == std::string::npos) {
          *error = set.name + ": unclosed substitution in \"" + body + "\"";
          return false;
        }
        part p;
        p.kind = c == '<' ? part::QUOTIENT : c == '>' ? part::REMAINDER : part::SAME;
        p.text = body.substr(i + 1, close - i - 1);
        if (p.kind == part::REMAINDER) r.has_remainder = true;
        r.parts.push_back(p);
        i = close + 1;
      } else if (c == '$' && i + 1 < body.size() && body[i + 1] == '(') {
        const size_t close = body.find(")$", i);
        const size_t comma = body.find(',', i);
        if (close == std::string::npos || comma == std::string::npos || comma > close) {
          *error = set.name + ": bad plural forms in \"" + body + "\"";
          return false;
        }
        if (body.compare(i + 2, comma - i - 2, "cardinal") != 0) {
          *error = set.name + ": only cardinal plural forms are read: \"" + body + "\"";
          return false;
        }
        part p;
        p.kind = part::PLURAL;
        for (size_t k = comma + 1; k < close;) {
          const size_t open = body.find('{', k), end = body.find('}', k);
          if (open == std::string::npos || end == std::string::npos || open > end || end > close) {
            *error = set.name + ": bad plural forms in \"" + body + "\"";
            return false;
          }
          p.forms[trim(body.substr(k, open - k))] = body.substr(open + 1, end - open - 1);
          k = end + 1;
        }
        r.parts.push_back(p);
        i = close + 2;
      } else {
        size_t end = i;
        while (end < body.size() && !strchr("<>=", body[end]) &&
               !(body[end] == '$' && end + 1 < body.size() && body[end + 1] == '('))
          ++end;
        part p;
        p.kind = part::TEXT;
        p.text = body.substr(i, end - i);
        r.parts.push_back(p);
        i = end;
      }
    }

    if (descriptor == "-x") {
      set.negative = r, set.has_negative = true;
    } else if (descriptor == "x.x" || descriptor == "x,x") {
      // The rule of the locale's decimal mark, or the other when it has none.
      if (!set.has_improper || (descriptor == "x,x") == decimal_comma) set.improper = r;
      set.has_improper = true;
    } else if (descriptor == "0.x") {
      set.proper = r, set.has_proper = true;
    } else if (descriptor == "x.0" || descriptor == "Inf" || descriptor == "NaN") {
      // Rules of other decimal marks, of whole doubles and of infinities: not read.
    } else {
      // base[/radix][>...]
      std::string d = descriptor;
      int reduce = 0;
      while (!d.empty() && d.back() == '>') d.pop_back(), ++reduce;
      const size_t slash = d.find('/');
      int64_t radix = 10;
      if (!parse_int(d.substr(0, slash), &r.base) ||
          (slash != std::string::npos && (!parse_int(d.substr(slash + 1), &radix) || radix < 2))) {
        *error = set.name + ": bad base value \"" + descriptor + "\"";
        return false;
      }
      // The divisor: the largest power of the radix not above the base.
      int exponent = 0;
      for (int64_t p = 1; p <= r.base / radix; p *= radix) ++exponent;
      exponent = std::max(0, exponent - reduce);
      r.divisor = 1;
      for (int e = 0; e < exponent; ++e) r.divisor *= radix;
      if (!set.rules.empty() && set.rules.back().base > r.base) {
        *error = set.name + ": base values out of order at \"" + descriptor + "\"";
        return false;
      }
      set.rules.push_back(r);
    }
  }
  if (sets_.empty()) {
    *error = "no rule sets";
    return false;
  }
  // Resolve the named rule sets; a set named by the remainder of a fraction
  // rule (other than the rule's own set) reads denominators.
  for (size_t s = 0; s < sets_.size(); ++s) {
    rule_set& set = sets_[s];
    std::vector<rule*> all;
    for (rule& r : set.rules) all.push_back(&r);
    if (set.has_negative) all.push_back(&set.negative);
    if (set.has_improper) all.push_back(&set.improper);
    if (set.has_proper) all.push_back(&set.proper);
    for (rule* r : all) {
      for (part& p : r->parts) {
        if (p.kind == part::TEXT || p.kind == part::PLURAL || p.text.empty() || p.text[0] != '%') continue;
        p.set = find(p.text);
        if (p.set < 0) {
          *error = set.name + ": unknown rule set " + p.text;
          return false;
        }
        if (p.set == (int)s) p.set = -1;
      }
    }
  }
  for (rule_set& set : sets_) {
    for (rule* r : {&set.improper, &set.proper})
      for (const part& p : r->parts)
        if (p.kind == part::REMAINDER && p.set >= 0) sets_[p.set].fraction = true;
  }
  return true;
}

const eu_spellout::rule* eu_spellout::rule_for(const rule_set& s, int64_t n) {
  auto it = std::upper_bound(s.rules.begin(), s.rules.end(), n, [](int64_t v, const rule& r) { return v < r.base; });
  return it == s.rules.begin() ? nullptr : &*(it - 1);
}

bool eu_spellout::append_plural_form(const part& p, int64_t n, std::string* out) const {
  if (!plurals_) return false;
  auto form = p.forms.find(plurals_->select(n));
  if (form == p.forms.end()) form = p.forms.find("other");
  if (form == p.forms.end()) return false;
  *out += form->second;
  return true;
}

bool eu_spellout::passes_on(const rule& r) {
  bool same = false;
  for (const part& p : r.parts) {
    if (p.kind == part::SAME && p.set >= 0)
      same = true;
    else if (p.kind != part::TEXT)
      return false;
  }
  return same;
}

int eu_spellout::find(const std::string& name) const {
  for (size_t i = 0; i < sets_.size(); ++i)
    if (sets_[i].name == name) return (int)i;
  return -1;
}

bool eu_spellout::has_rule_set(const std::string& name) const { return find(name) >= 0; }

bool eu_spellout::format(const std::string& rule_set, int64_t n, std::string* out) const {
  const int set = find(rule_set);
  std::string text;
  steps_ = 0;
  if (set < 0 || !format_integer(set, n, 0, &text)) return false;
  *out = text;
  return true;
}

bool eu_spellout::format_decimal(const std::string& rule_set, const std::string& whole,
                                 const std::string& fraction, std::string* out) const {
  const int set = find(rule_set);
  decimal d{0, 0, 0};
  std::string f = fraction;
  while (!f.empty() && f.back() == '0') f.pop_back();
  if (set < 0 || whole.size() > 15 || f.size() > 12 || !parse_int(whole.empty() ? "0" : whole, &d.whole) ||
      (!f.empty() && !parse_int(f, &d.numerator)))
    return false;
  d.scale = (int)f.size();
  std::string text;
  steps_ = 0;
  if (d.numerator == 0 ? !format_integer(set, d.whole, 0, &text) : !format_fraction(set, d, 0, &text)) return false;
  *out = text;
  return true;
}

bool eu_spellout::format_integer(int set, int64_t n, int depth, std::string* out) const {
  const rule_set& s = sets_[set];
  if (depth > kMaxDepth || s.fraction) return false;
  if (n == INT64_MIN) return false;
  if (n < 0 && s.has_negative) return apply(s.negative, set, -n, nullptr, depth, out);
  // The rule of the largest base value not above n (a negative number
  // without a rule of its own: of its magnitude, passing the number on); a
  // rule with a remainder gives way to the one before it for an exact
  // multiple of its divisor when its own base is not one ("100: hundert;
  // 101: hundert>>" reads 200 by the first).
  const int64_t magnitude = n < 0 ? -n : n;
  const rule* r = rule_for(s, magnitude);
  if (!r) return false;
  if (r->has_remainder && magnitude % r->divisor == 0 && r->base % r->divisor != 0 && r != s.rules.data()) --r;
  if (n < 0 && !passes_on(*r)) return false;
  return apply(*r, set, n, nullptr, depth, out);
}

bool eu_spellout::format_fraction(int set, const decimal& d, int depth, std::string* out) const {
  const rule_set& s = sets_[set];
  if (depth > kMaxDepth || s.fraction) return false;
  if (d.whole == 0 && s.has_proper) return apply(s.proper, set, 0, &d, depth, out);
  if (s.has_improper) return apply(s.improper, set, d.whole, &d, depth, out);
  // A set without fraction rules passes the number on whole ("0: =%other=").
  const rule* r = rule_for(s, d.whole);
  if (!r || !passes_on(*r)) return false;
  return apply(*r, set, d.whole, &d, depth, out);
}

bool eu_spellout::format_fraction_set(int set, const decimal& d, int depth, std::string* out) const {
  // The denominator (the rule's base value) that states the fraction
  // exactly, or the closest one, the first of equals.
  const rule_set& s = sets_[set];
  const __int128 scale = power_of_ten(d.scale);
  const rule* best = nullptr;
  __int128 bestDifference = 0;
  for (const rule& r : s.rules) {
    if (r.base <= 0) continue;
    __int128 t = ((__int128)d.numerator * r.base) % scale;
    if (scale - t < t) t = scale - t;
    if (!best || t < bestDifference) {
      best = &r;
      bestDifference = t;
      if (t == 0) break;
    }
  }
  if (!best) return false;
  const int64_t numerator = (int64_t)(((__int128)d.numerator * best->base * 2 + scale) / (2 * scale));
  for (const part& p : best->parts) {
    switch (p.kind) {
      case part::TEXT:
        *out += p.text;
        break;
      case part::QUOTIENT:
      case part::SAME:
        if (p.set >= 0 ? !format_integer(p.set, numerator, depth + 1, out)
                       : !digits_by_pattern(p.text, numerator, out))
          return false;
        break;
      case part::PLURAL:
        if (!append_plural_form(p, numerator, out)) return false;
        break;
      case part::REMAINDER:
        return false;
    }
  }
  return true;
}

bool eu_spellout::apply(const rule& r, int own, int64_t n, const decimal* d, int depth, std::string* out) const {
  if (++steps_ > kMaxSteps || out->size() > kMaxOutput) return false;
  for (const part& p : r.parts) {
    const int target = p.set >= 0 ? p.set : own;
    const bool named = p.set >= 0 || p.text.empty() || p.text[0] == '%';
    switch (p.kind) {
      case part::TEXT:
        *out += p.text;
        break;
      case part::QUOTIENT:
        // In a fraction rule the whole part; otherwise the quotient.
        if (!named ? !digits_by_pattern(p.text, d ? d->whole : n / r.divisor, out)
                   : !format_integer(target, d ? d->whole : n / r.divisor, depth + 1, out))
          return false;
        break;
      case part::REMAINDER:
        if (d) {
          // The fraction: by a set of denominators, or digit by digit.
          if (sets_[target].fraction) {
            if (!format_fraction_set(target, *d, depth + 1, out)) return false;
          } else {
            const std::string digits = std::to_string(d->numerator);
            const std::string padded = std::string((size_t)d->scale - digits.size(), '0') + digits;
            for (size_t i = 0; i < padded.size(); ++i) {
              if (i) *out += ' ';
              if (!format_integer(target, padded[i] - '0', depth + 1, out)) return false;
            }
          }
        } else if (p.bypass) {
          const std::vector<rule>& rules = sets_[own].rules;
          if (&r <= rules.data() || &r >= rules.data() + rules.size() ||
              !apply(*(&r - 1), own, n % r.divisor, nullptr, depth + 1, out))
            return false;
        } else if (&r == &sets_[own].negative) {
          if (!format_integer(target, n, depth + 1, out)) return false;
        } else if (!named ? !digits_by_pattern(p.text, n % r.divisor, out)
                          : !format_integer(target, n % r.divisor, depth + 1, out)) {
          return false;
        }
        break;
      case part::SAME:
        if (!named) {
          if (d || !digits_by_pattern(p.text, n, out)) return false;
        } else if (d) {
          if (!format_fraction(target, *d, depth + 1, out)) return false;
        } else if (target == own || !format_integer(target, n, depth + 1, out)) {
          return false;
        }
        break;
      case part::PLURAL:
        if (!append_plural_form(p, d ? d->whole : n / r.divisor, out)) return false;
        break;
    }
  }
  return true;
}
