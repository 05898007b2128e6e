#include <gtest/gtest.h>

#include <string>

#include "frontend/en/en_expand.h"
#include "frontend/en/en_norm.h"

namespace {

// Joins a word list with single spaces and frees it.
std::string words(cst_val* list) {
  std::string out;
  for (const cst_val* v = list; v; v = val_cdr(v)) {
    if (!out.empty()) out += ' ';
    out += val_string(val_car(v));
  }
  delete_val(list);
  return out;
}

TEST(EnglishNumbers, Cardinals) {
  EXPECT_EQ(words(en_exp_number("0")), "zero");
  EXPECT_EQ(words(en_exp_number("00")), "zero");
  EXPECT_EQ(words(en_exp_number("000")), "zero");
  EXPECT_EQ(words(en_exp_number("")), "");
  EXPECT_EQ(words(en_exp_number_ext("0", 1)), "");
  EXPECT_EQ(words(en_exp_number("7")), "seven");
  EXPECT_EQ(words(en_exp_number("13")), "thirteen");
  EXPECT_EQ(words(en_exp_number("40")), "forty");
  EXPECT_EQ(words(en_exp_number("21")), "twenty one");
  EXPECT_EQ(words(en_exp_number("05")), "five");
  EXPECT_EQ(words(en_exp_number("105")), "one hundred five");
  EXPECT_EQ(words(en_exp_number("1000000")), "one million");
  EXPECT_EQ(words(en_exp_number("2019")), "two thousand nineteen");
  EXPECT_EQ(words(en_exp_number("1000200")), "one million two hundred");
  EXPECT_EQ(words(en_exp_number("000012")), "twelve");
  EXPECT_EQ(words(en_exp_number("123456789012")),
            "one hundred twenty three billion four hundred fifty six million seven hundred "
            "eighty nine thousand twelve");
  // Thirteen digits and more are read digit by digit.
  EXPECT_EQ(words(en_exp_number("1234567890123")),
            "one two three four five six seven eight nine zero one two three");
}

TEST(EnglishNumbers, Ordinals) {
  EXPECT_EQ(words(en_exp_ordinal("1,000")), "one thousandth");
  EXPECT_EQ(words(en_exp_ordinal("21")), "twenty first");
  EXPECT_EQ(words(en_exp_ordinal("12")), "twelfth");
  EXPECT_EQ(words(en_exp_ordinal("30")), "thirtieth");
  EXPECT_EQ(words(en_exp_ordinal("100")), "one hundredth");
  EXPECT_EQ(words(en_exp_ordinal("1000000")), "one million");  // no ordinal form
}

TEST(EnglishNumbers, IdentifiersAndYears) {
  EXPECT_EQ(words(en_exp_id("1900")), "nineteen hundred");
  EXPECT_EQ(words(en_exp_id("2000")), "two thousand");
  EXPECT_EQ(words(en_exp_id("2005")), "two thousand five");
  EXPECT_EQ(words(en_exp_id("1984")), "nineteen eighty four");
  EXPECT_EQ(words(en_exp_id("07")), "oh seven");
  EXPECT_EQ(words(en_exp_id("00")), "zero zero");
  EXPECT_EQ(words(en_exp_id("500")), "five hundred");
  EXPECT_EQ(words(en_exp_id("747")), "seven forty seven");
  EXPECT_EQ(words(en_exp_id("1907")), "nineteen oh seven");
  char* y = norm_extend_year("05");
  EXPECT_STREQ(y, "2005");
  cst_free(y);
  y = norm_extend_year("87");
  EXPECT_STREQ(y, "1987");
  cst_free(y);
  y = norm_extend_year("1987");
  EXPECT_STREQ(y, "1987");
  cst_free(y);
  EXPECT_TRUE(norm_cond_is_current_century_year("19"));
  EXPECT_FALSE(norm_cond_is_current_century_year("99"));
}

TEST(EnglishNumbers, RealsDigitsAndTimes) {
  EXPECT_EQ(words(en_exp_real("-3.14")), "minus three point one four");
  EXPECT_EQ(words(en_exp_real("+2")), "plus two");
  EXPECT_EQ(words(en_exp_real("1e5")), "one e five");
  EXPECT_EQ(words(en_exp_real("2.5E-3")), "two point five e minus three");
  EXPECT_EQ(words(en_exp_digits("4a2")), "four umpty two");
  EXPECT_EQ(words(en_exp_time("10:05")), "ten oh five");
  EXPECT_EQ(words(en_exp_time("10:00")), "ten");
  EXPECT_EQ(words(en_exp_time("7:45")), "seven forty five");
  EXPECT_EQ(words(en_exp_time("1030")), "");
}

TEST(EnglishNumbers, RomanNumerals) {
  EXPECT_EQ(norm_romantoi("VIII"), 8);
  EXPECT_EQ(norm_romantoi("XIV"), 14);
  EXPECT_EQ(norm_romantoi("MCMXCIV"), 1994);
  EXPECT_EQ(norm_romantoi("CDXLIV"), 444);
  EXPECT_EQ(norm_romantoi("xiv"), 0);  // only upper-case letters count
}

TEST(EnglishNumbers, CurrencyAndMoneySymbols) {
  EXPECT_STREQ(en_currency_name("GBP", 1, 1), "pence");
  EXPECT_STREQ(en_currency_name("usd", 0, 0), "dollar");
  EXPECT_STREQ(en_currency_name("Eur", 1, 0), "euros");
  EXPECT_STREQ(en_currency_name("jpy", 1, 0), "yen");
  EXPECT_EQ(en_currency_name("chf", 0, 0), nullptr);
  EXPECT_STREQ(money_symbol_to_iso('$'), "USD");
  EXPECT_STREQ(money_symbol_to_iso(0xA4), "EUR");
  EXPECT_STREQ(money_symbol_to_iso(0xA3), "GBP");
  EXPECT_STREQ(money_symbol_to_iso(0xA5), "JPY");
  EXPECT_EQ(money_symbol_to_iso('%'), nullptr);
}

TEST(EnglishNumbers, ContextTests) {
  cst_utterance* u = new_utterance();
  cst_relation* r = utt_relation_create(u, "Token");
  auto add = [r](const char* name) {
    cst_item* t = relation_append(r, nullptr);
    item_set_string(t, "name", name);
    return t;
  };
  add("King");
  cst_item* henry = add("Henry");
  cst_item* viii = add("VIII");
  add("Chapter");
  cst_item* iv = add("IV");
  cst_item* march = add("March");
  EXPECT_TRUE(rex_like(viii));   // regnal first name before it
  EXPECT_FALSE(rex_like(henry));  // "King" is two before "VIII" only
  EXPECT_TRUE(section_like(iv));
  EXPECT_FALSE(section_like(viii));
  EXPECT_TRUE(month_like(march));
  EXPECT_FALSE(month_like(iv));
  EXPECT_FALSE(month_like(nullptr));
  delete_utterance(u);
}

// Tokens in an utterance whose voice spells with the English table.
class TokenSequence {
 public:
  TokenSequence() {
    u_ = new_utterance();
    feat_set(u_->features, "spelling_table", stringtable_val(en_spelling_table));
    r_ = utt_relation_create(u_, "Token");
  }
  ~TokenSequence() { delete_utterance(u_); }
  cst_item* add(const char* name, const char* punc = "") {
    cst_item* t = relation_append(r_, nullptr);
    item_set_string(t, "name", name);
    item_set_string(t, "punc", punc);
    return t;
  }

 private:
  cst_utterance* u_;
  cst_relation* r_;
};

TEST(EnglishNumbers, RomanNumeralReadings) {
  TokenSequence ts;
  cst_item* t = ts.add("XII");
  EXPECT_EQ(words(en_exp_numeric_roman(t, "VIII", 1, 0, 0)), "the eighth");
  EXPECT_EQ(words(en_exp_numeric_roman(t, "IV", 0, 1, 0)), "four");
  EXPECT_EQ(words(en_exp_numeric_roman(t, "XII", 0, 0, 2)), "twelve");
  // Too short, or one of the numerals that are also words and codes: spelled.
  EXPECT_EQ(words(en_exp_numeric_roman(t, "V", 0, 0, 2)), "v");
  EXPECT_EQ(words(en_exp_numeric_roman(t, "CI", 0, 0, 2)), "c i");
  EXPECT_EQ(words(en_exp_numeric_roman(t, "DVI", 0, 0, 2)), "d v i");
  EXPECT_EQ(words(en_exp_numeric_roman(t, "XXX", 0, 0, 1)), "x x x");
  // A mode reads them anyway.
  EXPECT_EQ(words(en_exp_numeric_roman(t, "CI", 0, 1, 2)), "one hundred one");
  EXPECT_EQ(words(en_exp_numeric_roman(t, "XXX", 1, 0, 2)), "the thirtieth");
}

TEST(EnglishNumbers, StateNamesNeedAnAddressWhenAmbiguous) {
  int rows = 0, ambiguous = 0;
  for (const state_row* r = states; r->abbrev[0]; ++r, ++rows) ambiguous += r->ambiguous[0] != 0;
  EXPECT_EQ(rows, 99);
  EXPECT_EQ(ambiguous, 62);
  EXPECT_STREQ(states[0].abbrev, "AL");
  EXPECT_STREQ(states[1].abbrev, "Al");

  // OR after a place name at the end, before a postal code or lower-case text.
  {
    TokenSequence ts;
    ts.add("Portland", ",");
    EXPECT_EQ(words(state_name("OR", ts.add("OR"))), "oregon");
  }
  {
    TokenSequence ts;
    ts.add("Springfield");
    cst_item* il = ts.add("IL");
    ts.add("62704");
    EXPECT_EQ(words(state_name("IL", il)), "illinois");
  }
  {
    TokenSequence ts;
    ts.add("Columbus");
    cst_item* oh = ts.add("OH");
    ts.add("today");
    EXPECT_EQ(words(state_name("OH", oh)), "ohio");
  }
  // Not after a lower-case word, a short word or before a capitalised word.
  {
    TokenSequence ts;
    ts.add("this");
    cst_item* t = ts.add("OR");
    ts.add("that");
    EXPECT_EQ(state_name("OR", t), nullptr);
  }
  {
    TokenSequence ts;
    ts.add("Columbus");
    cst_item* oh = ts.add("OH");
    ts.add("Today");
    EXPECT_EQ(state_name("OH", oh), nullptr);
  }
  {
    TokenSequence ts;
    ts.add("Go");
    EXPECT_EQ(state_name("IN", ts.add("IN")), nullptr);
  }
  // A row without the mark matches anywhere; an unknown text matches nothing.
  {
    TokenSequence ts;
    ts.add("in");
    cst_item* ny = ts.add("NY");
    EXPECT_EQ(words(state_name("NY", ny)), "new york");
    EXPECT_EQ(state_name("XY", ny), nullptr);
    EXPECT_EQ(state_name("ny", ny), nullptr);  // abbreviations match exactly
  }
}

}  // namespace
