#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "frontend/en/en_units.h"
#include "tests/frontend/norm_test_util.h"

using normtest::token_at;
using normtest::tokenize;
using normtest::words;

namespace {

// Expansion of token n of text, or "-" when it is no unit expression.
std::string expand(const char* text, int n) {
  cst_utterance* u = tokenize(text);
  cst_item* t = token_at(u, n);
  std::string r = en_is_unit_expression(t, item_feat_string(t, "name"))
                      ? words(en_exp_unit_expression(t, item_feat_string(t, "name")))
                      : "-";
  delete_utterance(u);
  return r;
}

int row_of(const char* key, int skip = 0) {
  for (int i = 0; en_units[i].key; ++i)
    if (strcmp(en_units[i].key, key) == 0 && skip-- == 0) return i;
  return -1;
}

TEST(EnglishUnits, TableShape) {
  ASSERT_EQ(norm_unit_count(en_units), 111);
  int refused = 0, dots = 0, nexts = 0;
  for (int i = 0; en_units[i].key; ++i) {
    const norm_unit& u = en_units[i];
    refused += u.refused;
    dots += u.abbrev_dot;
    nexts += u.next_token != nullptr;
    ASSERT_TRUE(u.num_forms == 1 || u.num_forms == 2) << u.key;
    for (int f = 0; f < u.num_forms; ++f) ASSERT_NE(u.forms[f], nullptr) << u.key;
  }
  EXPECT_EQ(refused, 23);
  EXPECT_EQ(dots, 25);
  EXPECT_EQ(nexts, 3);
  EXPECT_EQ(row_of("mm"), 0);
  EXPECT_EQ(row_of("JPY"), 110);
  EXPECT_EQ(row_of("m\xb2"), 9);
  EXPECT_EQ(row_of("m\xb2", 1), 46);
  EXPECT_EQ(row_of("\xa4"), 104);  // the euro sign of ISO-8859-15
}

TEST(EnglishUnits, ScanningNumbers) {
  const char* s = "+1.5x";
  EXPECT_EQ(generic_skip_real(s, "."), s + 4);
  EXPECT_EQ(generic_skip_real("1.", "."), nullptr);  // separator without a digit
  EXPECT_EQ(generic_skip_real("-", "."), nullptr);
  EXPECT_EQ(generic_skip_real("kg", "."), nullptr);
  const char* t = "1.5.3";
  EXPECT_EQ(generic_skip_real(t, "."), t + 3);  // one separator only
  const char* c = "1,5";
  EXPECT_EQ(generic_skip_real(c, "."), c + 1);
  EXPECT_EQ(generic_skip_real(c, ".,"), c + 3);
  EXPECT_TRUE(generic_is_real("-12.25", "."));
  EXPECT_FALSE(generic_is_real("12.25kg", "."));
  EXPECT_FALSE(generic_is_real("", "."));
}

TEST(EnglishUnits, GluedNumbers) {
  cst_utterance* u = tokenize("5kg");
  cst_item* t = token_at(u, 0);
  ASSERT_TRUE(en_is_unit_expression(t, "5kg"));
  EXPECT_EQ(item_feat_int(t, "unit_real_length"), 1);
  EXPECT_EQ(item_feat_int(t, "unit_id"), row_of("kg"));
  EXPECT_EQ(words(en_exp_unit_expression(t, "5kg")), "five kilograms");
  EXPECT_FALSE(en_is_unit_expression(t, "kg"));  // the text must be the token's name
  delete_utterance(u);
  EXPECT_EQ(expand("1kg", 0), "one kilogram");
  EXPECT_EQ(expand("2.5kg", 0), "two point five kilograms");
  EXPECT_EQ(expand("-3kg", 0), "minus three kilograms");
  EXPECT_EQ(expand("5m", 0), "five metres");      // refused rows are fine when glued
  EXPECT_EQ(expand("90min", 0), "ninety minutes");
  EXPECT_EQ(expand("5m\xb2", 0), "five square metres");
  EXPECT_EQ(expand("1.", 0), "-");
  EXPECT_EQ(expand("5", 0), "-");                 // a number without a unit
  EXPECT_EQ(expand("5xyz", 0), "-");
}

TEST(EnglishUnits, SeparateTokensAndRefusedUnits) {
  EXPECT_EQ(expand("5 kg", 1), "kilograms");  // the number is the previous token's own words
  EXPECT_EQ(expand("1 kg", 1), "kilogram");
  EXPECT_EQ(expand("5 m", 1), "-");           // m alone is refused
  EXPECT_EQ(expand("5 min", 1), "-");
  EXPECT_EQ(expand("the kg", 1), "-");        // no number before
  EXPECT_EQ(expand("5 GHz", 1), "gigahertz");
  EXPECT_EQ(expand("1 JPY", 1), "yen");
  EXPECT_EQ(expand("20 \xa4", 1), "euros");
  EXPECT_EQ(expand("1 \xb0" "C", 1), "degree celsius");
  // m² alone finds its second, accepted row.
  cst_utterance* u = tokenize("5 m\xb2");
  ASSERT_TRUE(en_is_unit_expression(token_at(u, 1), "m\xb2"));
  EXPECT_EQ(item_feat_int(token_at(u, 1), "unit_id"), 46);
  delete_utterance(u);
}

TEST(EnglishUnits, DecimalCommaTakesThePlural) {
  cst_utterance* u = tokenize("1,5 kg");
  cst_item* kg = token_at(u, 1);
  // With '.' as the only separator, "1,5" is no number for the unit test...
  EXPECT_FALSE(en_is_unit_expression(kg, "kg"));
  // ...but agreement reads the comma as a decimal point.
  EXPECT_EQ(unit_disambig_sgpl(kg, "1,5", 0), 1);
  EXPECT_EQ(unit_disambig_sgpl(kg, "1,0", 0), 0);
  EXPECT_EQ(unit_disambig_sgpl(kg, "1", 0), 0);
  EXPECT_EQ(unit_disambig_sgpl(kg, "1", 1), 0);
  EXPECT_EQ(unit_disambig_sgpl(kg, "2", 2), 0);  // second part of a compound
  EXPECT_EQ(unit_disambig_sgpl(kg, "one", 0), 1);
  EXPECT_EQ(unit_disambig_sgpl(kg, "", 0), 1);
  EXPECT_EQ(words(generic_exp_unit(kg, &en_unit_engine, row_of("kg"), "1,5", 0)), "kilograms");
  EXPECT_EQ(words(generic_exp_unit(kg, &en_unit_engine, 111, "1", 0)), "");  // no such row
  EXPECT_EQ(words(generic_exp_unit(kg, &en_unit_engine, -1, "1", 0)), "");
  delete_utterance(u);
}

TEST(EnglishUnits, Compounds) {
  cst_utterance* u = tokenize("5 km/h");
  cst_item* t = token_at(u, 1);
  ASSERT_TRUE(en_is_unit_expression(t, "km/h"));
  EXPECT_EQ(item_feat_int(t, "unit_compound_pre_id"), row_of("km"));
  EXPECT_EQ(item_feat_int(t, "unit_compound_post_id"), row_of("h"));  // refused rows allowed
  EXPECT_EQ(words(en_exp_unit_expression(t, "km/h")), "kilometres per hour");
  delete_utterance(u);
  EXPECT_EQ(expand("1 km/h", 1), "kilometre per hour");
  EXPECT_EQ(expand("100km/h", 0), "one hundred kilometres per hour");
  EXPECT_EQ(expand("3 kWh/m\xb2", 1), "-");  // kWh is no unit
  EXPECT_EQ(expand("3 m/", 1), "-");
  // A compound after a simple unit on the same token leaves no stale row.
  cst_utterance* v = tokenize("5m");
  cst_item* m = token_at(v, 0);
  ASSERT_TRUE(generic_is_unit_ext(m, "m", en_units, 1, "unit_id"));
  ASSERT_TRUE(generic_is_unit_ext(m, "km/h", en_units, 0, "unit_id"));
  EXPECT_FALSE(item_feat_present(m, "unit_id"));
  ASSERT_TRUE(generic_is_unit_ext(m, "m", en_units, 1, "unit_id"));
  EXPECT_FALSE(item_feat_present(m, "unit_compound_pre_id"));
  delete_utterance(v);
}

TEST(EnglishUnits, NextTokenRowsAndAbbreviationDots) {
  cst_utterance* u = tokenize("5 sq ft. 1 sq in 2 sq yd 6 ft. tall 7 kg. Then");
  cst_item* sq = token_at(u, 1);
  ASSERT_TRUE(en_is_unit_expression(sq, "sq"));
  EXPECT_EQ(words(en_exp_unit_expression(sq, "sq")), "square feet");
  EXPECT_STREQ(item_feat_string(token_at(u, 2), "already_expanded"), "1");
  cst_item* sqIn = token_at(u, 4);
  ASSERT_TRUE(en_is_unit_expression(sqIn, "sq"));
  EXPECT_EQ(words(en_exp_unit_expression(sqIn, "sq")), "square inch");
  EXPECT_FALSE(en_is_unit_expression(token_at(u, 7), "sq"));  // sq yd: no row
  cst_item* ft = token_at(u, 10);
  EXPECT_EQ(words(en_exp_unit_expression(ft, "ft")), "feet");
  EXPECT_STREQ(item_feat_string(ft, "punc"), "");  // the abbreviation's dot
  cst_item* kg = token_at(u, 13);
  EXPECT_EQ(words(en_exp_unit_expression(kg, "kg")), "kilograms");
  EXPECT_STREQ(item_feat_string(kg, "punc"), ".");  // kg takes no dot: a sentence end
  delete_utterance(u);
}

// A second engine: row-specific agreement, tags and post-processing.
const char* const kTags[] = {"currency", nullptr};
int always_plural(const cst_item*, const char*, int) { return 1; }
cst_val* number_as_digits(const char* s) { return cons_val(string_val(s), nullptr); }
cst_val* mark_end(const cst_item*, cst_val* w) { return val_append(w, cons_val(string_val("end"), nullptr)); }
const norm_unit kUnits[] = {
    {"pc", 2, {"piece", "pieces"}, 0, 0, always_plural, nullptr, nullptr},
    {"\xa4", 2, {"euro", "euros"}, 0, 0, nullptr, nullptr, kTags},
    {nullptr, 0, {nullptr, nullptr}, 0, 0, nullptr, nullptr, nullptr},
};
const norm_unit_engine kEngine = {kUnits, unit_disambig_sgpl, number_as_digits, nullptr, ".,", mark_end};

TEST(UnitEngine, RowAgreementTagsAndPostprocessing) {
  cst_utterance* u = tokenize("1pc 1,5\xa4");
  cst_item* pc = token_at(u, 0);
  ASSERT_TRUE(generic_is_unit_expression(pc, "1pc", &kEngine));
  EXPECT_EQ(words(generic_exp_unit_expression(pc, "1pc", &kEngine)), "1 pieces end");
  EXPECT_EQ(generic_get_unit_tags(pc, &kEngine), nullptr);
  cst_item* euro = token_at(u, 1);
  ASSERT_TRUE(generic_is_unit_expression(euro, "1,5\xa4", &kEngine));
  EXPECT_EQ(item_feat_int(euro, "unit_real_length"), 3);
  EXPECT_EQ(words(generic_exp_unit_expression(euro, "1,5\xa4", &kEngine)), "1,5 euros end");
  const char* const* tags = generic_get_unit_tags(euro, &kEngine);
  ASSERT_NE(tags, nullptr);
  EXPECT_STREQ(tags[0], "currency");
  EXPECT_EQ(words(en_unit_construct_compound(nullptr, nullptr)), "per");
  delete_utterance(u);
}

}  // namespace
