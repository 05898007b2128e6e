// Numbers of the European kit: CLDR plural rules and rule-based number
// spellout, interpreted from the rule texts generated at build time
// (data/gen_eu_tables.cpp), so that a module reads numbers without ICU.
#ifndef VXN_MODULES_COMMON_EU_NUMBERS_H
#define VXN_MODULES_COMMON_EU_NUMBERS_H

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

// A locale's number data as text: its spellout rule sets and its cardinal
// plural rules, both in CLDR's syntax.
struct eu_locale {
  const char* name;            // "de_DE"
  const char* spellout_rules;  // "%spellout-numbering:\n0: null;\n..."
  const char* plural_rules;    // "one: i  in 1..1 and v  in 0..0; other: "
  char decimal_mark;           // the locale's decimal separator: '.' or ','
};

// Cardinal plural rules, for integers (the operands of an integer: n = i its
// absolute value, v, w, f, t, c and e zero).
class eu_plural_rules {
 public:
  // False, with a message, when the text is not in the rules' syntax.
  bool parse(const char* text, std::string* error);
  // The category of n: "one", "few", "many", "other"...
  const std::string& select(int64_t n) const;

 private:
  struct relation {
    char operand;
    int64_t mod;  // 0: none
    bool negated;
    std::vector<std::pair<int64_t, int64_t> > ranges;
  };
  typedef std::vector<relation> conjunction;
  struct rule {
    std::string keyword;
    std::vector<conjunction> disjunction;  // empty: always
  };
  std::vector<rule> rules_;
  std::string other_ = "other";
};

// Rule-based spellout: rule sets of rules "base[/radix]: text;" with the
// substitutions <...< (the quotient), >...> (the remainder; >>> by the rule
// before this one), =...= (the same number) naming a rule set (or none: the
// rule's own), the special rules of
// negative numbers (-x) and fractions (x.x, 0.x), and plural forms
// $(cardinal,one{...}other{...})$.
class eu_spellout {
 public:
  // False, with a message, when the text is not in the rules' syntax or a
  // substitution names a rule set that is not there.
  // decimal_mark chooses between the fraction rules "x.x" and "x,x".
  bool parse(const char* text, const eu_plural_rules* plurals, char decimal_mark, std::string* error);
  bool has_rule_set(const std::string& name) const;
  // The words of n by the named rule set; false when the rule set is not
  // there or the rules cannot read the number (rules that never end, or
  // spell it at absurd length, cannot). Not for two threads at once.
  bool format(const std::string& rule_set, int64_t n, std::string* out) const;
  // The same for a decimal: the digits of the whole part and of the fraction
  // (at most 15 and 12 digits).
  bool format_decimal(const std::string& rule_set, const std::string& whole, const std::string& fraction,
                      std::string* out) const;

 private:
  struct part {
    enum kind_t { TEXT, QUOTIENT, REMAINDER, SAME, PLURAL } kind;
    std::string text;   // TEXT: the text; substitutions: the rule set's name or a digit pattern ("0", "#,##0")
    int set = -1;       // substitutions: the rule set, -1 for the rule's own or a digit pattern
    bool bypass = false;  // REMAINDER ">>>": by the rule before this one
    std::map<std::string, std::string> forms;  // PLURAL: keyword -> text
  };
  struct rule {
    int64_t base = 0;
    int64_t divisor = 1;
    std::vector<part> parts;
    bool has_remainder = false;
  };
  struct rule_set {
    std::string name;
    std::vector<rule> rules;  // normal rules by base
    bool has_negative = false, has_improper = false, has_proper = false;
    rule negative, improper, proper;  // -x, x.x, 0.x
    bool fraction = false;   // the denominators of a fraction (named by a x.x rule's remainder)
  };
  // An exact decimal: whole + numerator / 10^scale.
  struct decimal {
    int64_t whole;
    int64_t numerator;
    int scale;
  };

  bool format_integer(int set, int64_t n, int depth, std::string* out) const;
  bool format_fraction(int set, const decimal& d, int depth, std::string* out) const;
  bool format_fraction_set(int set, const decimal& d, int depth, std::string* out) const;
  bool apply(const rule& r, int own, int64_t n, const decimal* d, int depth, std::string* out) const;
  int find(const std::string& name) const;
  // Whether a rule only hands its number to another rule set (text around
  // "=%set="): the rule that reads what its own set has no rules for.
  static bool passes_on(const rule& r);
  // The rule of the largest base value not above n, or null.
  static const rule* rule_for(const rule_set& s, int64_t n);
  // The form of a plural part for n ("other" when its category has none).
  bool append_plural_form(const part& p, int64_t n, std::string* out) const;

  std::vector<rule_set> sets_;
  const eu_plural_rules* plurals_ = nullptr;
  mutable int steps_ = 0;  // rules applied for the number being formatted (one caller at a time)
};

#endif
