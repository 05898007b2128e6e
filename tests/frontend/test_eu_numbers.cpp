// The European kit's number spellout, plural rules, letter classes and 8-bit
// encodings against ICU, from whose CLDR data their tables are generated:
// every public rule set of every module's locale over the numbers the token
// rules spell, Russian decimals, plural categories, every code point of the
// letter tables and every byte of the encodings. Then the rule parsers on
// texts they must refuse.
#include <gtest/gtest.h>

#include <stdint.h>

#include <random>
#include <string>
#include <vector>

#include <unicode/plurrule.h>
#include <unicode/rbnf.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include "emoji/VXN_utf8.h"
#include "modules/auen/auen_lang.h"
#include "modules/br/br_lang.h"
#include "modules/common/eu_numbers.h"
#include "modules/common/eu_text.h"
#include "modules/common/eu_voice.h"
#include "modules/da/da_lang.h"
#include "modules/de/de_lang.h"
#include "modules/es/es_lang.h"
#include "modules/fi/fi_lang.h"
#include "modules/fr/fr_lang.h"
#include "modules/it/it_lang.h"
#include "modules/nb/nb_lang.h"
#include "modules/nl/nl_lang.h"
#include "modules/pl/pl_lang.h"
#include "modules/pt/pt_lang.h"
#include "modules/ru/ru_lang.h"
#include "modules/sv/sv_lang.h"
#include "modules/uken/uken_lang.h"

namespace {

const eu_language* const kLanguages[] = {&de_language, &es_language, &uken_language, &auen_language,
                                         &nl_language, &br_language, &pt_language,   &da_language,
                                         &sv_language, &fi_language, &nb_language,   &fr_language,
                                         &it_language, &pl_language, &ru_language};

std::string icu_utf8(const icu::UnicodeString& u) {
  std::string s;
  u.toUTF8String(s);
  return s;
}

// The names of the public rule sets of a rule text ("%name:" at a line start,
// not "%%").
std::vector<std::string> public_rule_sets(const char* rules) {
  std::vector<std::string> out;
  const std::string text = rules;
  for (size_t at = 0; (at = text.find('%', at)) != std::string::npos; ++at) {
    if ((at > 0 && text[at - 1] != '\n') || text.compare(at, 2, "%%") == 0) continue;
    const size_t colon = text.find(':', at);
    out.push_back(text.substr(at, colon - at));
  }
  return out;
}

// Numbers the token rules spell: all of 0..1200, round and near-round
// numbers of every size up to 15 digits, random ones, and some negatives.
std::vector<int64_t> test_numbers() {
  std::vector<int64_t> out;
  for (int64_t n = 0; n <= 1200; ++n) out.push_back(n);
  for (int64_t p = 1000; p <= 100000000000000LL; p *= 10)
    for (int64_t k : {1, 2, 3, 5, 9, 11, 21, 99})
      for (int64_t d : {-1, 0, 1, 21, 100, 101}) out.push_back(p * k + d);
  std::mt19937_64 random(20261207);
  for (int i = 0; i < 300; ++i) out.push_back((int64_t)(random() % 1000000000000000ULL) >> (random() % 48));
  for (int64_t n : {-1, -2, -21, -100, -1999, -1000000}) out.push_back(n);
  return out;
}

struct LocaleCase {
  const eu_language* lang;
  eu_plural_rules plurals;
  eu_spellout spellout;
  icu::RuleBasedNumberFormat* icu = nullptr;
};

class EuNumbersAgainstIcu : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const eu_language* lang : kLanguages) {
      cases_.emplace_back(new LocaleCase{lang, {}, {}, nullptr});
      LocaleCase& c = *cases_.back();
      std::string error;
      ASSERT_TRUE(c.plurals.parse(lang->locale->plural_rules, &error)) << lang->locale->name << ": " << error;
      ASSERT_TRUE(c.spellout.parse(lang->locale->spellout_rules, &c.plurals, lang->locale->decimal_mark, &error))
          << lang->locale->name << ": " << error;
      UErrorCode status = U_ZERO_ERROR;
      c.icu = new icu::RuleBasedNumberFormat(icu::URBNF_SPELLOUT, icu::Locale(lang->locale->name), status);
      ASSERT_TRUE(U_SUCCESS(status)) << lang->locale->name;
    }
  }
  void TearDown() override {
    for (auto& c : cases_) delete c->icu;
  }
  std::vector<std::unique_ptr<LocaleCase> > cases_;
};

// Every public rule set of every locale reads the test numbers as ICU does.
TEST_F(EuNumbersAgainstIcu, EveryRuleSetSpellsIntegersAsIcuDoes) {
  const std::vector<int64_t> numbers = test_numbers();
  for (auto& c : cases_) {
    const std::vector<std::string> sets = public_rule_sets(c->lang->locale->spellout_rules);
    ASSERT_GE(sets.size(), 2u) << c->lang->locale->name;
    int mismatches = 0;
    for (const std::string& set : sets) {
      UErrorCode status = U_ZERO_ERROR;
      c->icu->setDefaultRuleSet(icu::UnicodeString::fromUTF8(set), status);
      ASSERT_TRUE(U_SUCCESS(status)) << c->lang->locale->name << " " << set;
      for (int64_t n : numbers) {
        icu::UnicodeString expected;
        c->icu->format(n, expected);
        std::string ours;
        const bool ok = c->spellout.format(set, n, &ours);
        if ((!ok || ours != icu_utf8(expected)) && ++mismatches <= 5)
          ADD_FAILURE() << c->lang->locale->name << " " << set << " " << n << ": ours [" << ours << "]"
                        << (ok ? "" : " (failed)") << ", ICU [" << icu_utf8(expected) << "]";
      }
    }
    EXPECT_EQ(mismatches, 0) << c->lang->locale->name;
  }
}

// Decimals as the kit reads them: every locale's cardinal rules for "0.5"
// (the word between the parts), and every Russian rule set for decimals,
// which Russian reads by denominators ("две целых двадцать пять сотых").
// (Polish's private fraction set also writes the numerator's leading zeros,
// a mark of CLDR's rule source that the rule text does not carry; the kit
// reads Polish decimals digit by digit and never asks that set.)
TEST_F(EuNumbersAgainstIcu, DecimalsAsIcuReadsThem) {
  std::mt19937 random(7);
  for (auto& c : cases_) {
    const bool russian = c->lang == &ru_language;
    std::vector<std::string> sets = {c->lang->cardinal_rules};
    if (russian) sets = public_rule_sets(c->lang->locale->spellout_rules);
    for (const std::string& set : sets) {
      if (set.find("year") != std::string::npos || set.find("ordinal") != std::string::npos) continue;
      UErrorCode status = U_ZERO_ERROR;
      c->icu->setDefaultRuleSet(icu::UnicodeString::fromUTF8(set), status);
      std::vector<std::pair<std::string, std::string> > decimals = {{"0", "5"}};
      if (russian) {
        decimals.insert(decimals.end(), {{"2", "25"}, {"1", "1"}, {"0", "001"}, {"12", "5"}, {"21", "05"},
                                         {"3", "14159"}, {"7", "50"}, {"0", "000012"}});
        for (int i = 0; i < 40; ++i)
          decimals.push_back({std::to_string(random() % 2000),
                              std::to_string(1 + random() % 999999).substr(0, 1 + random() % 6)});
      }
      for (const auto& d : decimals) {
        icu::UnicodeString expected;
        c->icu->format(atof((d.first + "." + d.second).c_str()), expected);
        std::string ours;
        EXPECT_TRUE(c->spellout.format_decimal(set, d.first, d.second, &ours))
            << c->lang->locale->name << " " << set << " " << d.first << "." << d.second;
        EXPECT_EQ(ours, icu_utf8(expected)) << c->lang->locale->name << " " << set << " " << d.first << "."
                                            << d.second;
      }
    }
  }
}

TEST_F(EuNumbersAgainstIcu, PluralCategoriesAsIcuSelectsThem) {
  for (auto& c : cases_) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::PluralRules> rules(icu::PluralRules::forLocale(icu::Locale(c->lang->locale->name), status));
    ASSERT_TRUE(U_SUCCESS(status));
    std::vector<int64_t> numbers;
    for (int64_t n = 0; n <= 2500; ++n) numbers.push_back(n);
    for (int64_t n : {1000000LL, 2000000LL, 1000001LL, 5000000LL, 2000000000LL, -1LL, -2LL, -5LL, -22LL})
      numbers.push_back(n);
    for (int64_t n : numbers)
      ASSERT_EQ(c->plurals.select(n), icu_utf8(rules->select((int32_t)n))) << c->lang->locale->name << " " << n;
  }
}

// The letter tables: classes and lower-case forms of every code point they
// hold, as ICU's character data give them; outside, nothing is a letter.
TEST(EuText, LetterClassesAndLowerCaseAsUnicodeDefinesThem) {
  for (UChar32 c = 0; c < 0x530; ++c) {
    ASSERT_EQ(eu_is_alpha(c), (bool)u_isalpha(c)) << std::hex << c;
    ASSERT_EQ(eu_is_upper(c), (bool)u_isupper(c)) << std::hex << c;
    ASSERT_EQ(eu_is_digit(c), (bool)u_isdigit(c)) << std::hex << c;
    ASSERT_EQ(eu_to_lower(c), (uint32_t)u_tolower(c)) << std::hex << c;
    std::string utf8;
    VXN_utf8_append((uint32_t)c, &utf8);
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(utf8);
    u.toLower(icu::Locale::getRoot());
    ASSERT_EQ(eu_lower_utf8(utf8), icu_utf8(u)) << std::hex << c;
  }
  EXPECT_FALSE(eu_is_alpha(0x4E00));
  EXPECT_EQ(eu_to_lower(0x1E9E), 0x1E9Eu);
  EXPECT_EQ(eu_lower_utf8("ÄÖÜ ŁÓDŹ МОСКВА İ"), "äöü łódź москва i\xCC\x87");
  // Malformed sequences become one U+FFFD per byte; nothing is lost after them.
  EXPECT_EQ(eu_code_points("a\xC0\x80" "b"), (std::vector<uint32_t>{'a', 0xFFFD, 0xFFFD, 'b'}));
  EXPECT_EQ(eu_code_points("\xED\xA0\x80"), (std::vector<uint32_t>{0xFFFD, 0xFFFD, 0xFFFD}));
  EXPECT_EQ(eu_code_points("\xF0\x9F\x98\x80"), (std::vector<uint32_t>{0x1F600}));
}

TEST(EuText, EncodingsMapEveryByteAsIcuDoes) {
  for (const char* name : {"ISO-8859-15", "ISO-8859-2", "ISO-8859-5"}) {
    eu_codec* codec = eu_codec_open(name);
    ASSERT_NE(codec, nullptr) << name;
    UErrorCode status = U_ZERO_ERROR;
    UConverter* cnv = ucnv_open(name, &status);
    ASSERT_TRUE(U_SUCCESS(status));
    for (int b = 1; b < 256; ++b) {
      const char bytes[2] = {(char)b, 0};
      icu::UnicodeString u(bytes, 1, cnv, status);
      const std::string utf8 = eu_codec_to_utf8(codec, bytes);
      EXPECT_EQ(utf8, icu_utf8(u)) << name << " byte " << b;
      EXPECT_EQ(eu_codec_from_utf8(codec, utf8), std::string(bytes)) << name << " byte " << b;
    }
    ucnv_close(cnv);
    eu_codec_close(codec);
  }
  // Characters an encoding lacks, and malformed UTF-8, are dropped.
  eu_codec* latin9 = eu_codec_open("iso_8859-15");
  ASSERT_NE(latin9, nullptr);
  EXPECT_EQ(eu_codec_from_utf8(latin9, "€5 ж\xFF\xC3"), "\xA4" "5 ");
  EXPECT_EQ(eu_codec_to_utf8(latin9, "\xA4\xBC"), "€Œ");
  eu_codec_close(latin9);
  eu_codec* latin2 = eu_codec_open("ISO-8859-2");
  EXPECT_EQ(eu_codec_from_utf8(latin2, "Łódź €"), "\xA3\xF3" "d\xBC ");
  eu_codec_close(latin2);
  EXPECT_EQ(eu_codec_open("KOI8-R"), nullptr);
  EXPECT_TRUE(eu_same_encoding_name("ISO-8859-5", "iso_8859_5"));
  EXPECT_FALSE(eu_same_encoding_name("ISO-8859-5", "ISO-8859-15"));
}

// Rule texts the parsers must refuse, each with a message naming the fault;
// and rules that cannot read a number make format fail rather than loop.
TEST(EuNumbers, BadRuleTextsAreRefusedWithAReason) {
  eu_plural_rules plurals;
  std::string error;
  ASSERT_TRUE(plurals.parse("one: i = 1 and v = 0; few: n % 10 = 2..4 and n % 100 != 12..14; other: ", &error));
  EXPECT_EQ(plurals.select(1), "one");
  EXPECT_EQ(plurals.select(22), "few");
  EXPECT_EQ(plurals.select(12), "other");
  for (const char* bad : {"", "one i = 1", "one: x = 1", "one: n mod 0 = 1", "one: n = 5..2", "one: n = 1 and",
                          "one: n"}) {
    error.clear();
    EXPECT_FALSE(plurals.parse(bad, &error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }

  struct Bad {
    const char* text;
    const char* message;
  } const kBad[] = {
      {"0: zero;", "outside a rule set"},
      {"%a:\n0: zero;\nten;", "without a base value"},
      {"%a:\n0: <%b<;", "unknown rule set %b"},
      {"%a:\n0: <%b zero;", "unclosed substitution"},
      {"%a:\n10: ten;\n5: five;", "out of order"},
      {"%a:\n1x: one;", "bad base value"},
      {"%a:\n99999999999999999999: big;", "bad base value"},
      {"%a:\n0: $(cardinal,one{x};", "bad plural forms"},
      {"%a:\n0: $(ordinal,one{x}other{y})$;", "only cardinal"},
      {"%a:\n100: hundred[ >>];", "optional text"},
      {"", "no rule sets"},
  };
  for (const Bad& b : kBad) {
    eu_spellout s;
    error.clear();
    EXPECT_FALSE(s.parse(b.text, &plurals, '.', &error)) << b.text;
    EXPECT_NE(error.find(b.message), std::string::npos) << b.text << ": " << error;
  }

  eu_spellout s;
  ASSERT_TRUE(s.parse("%loop:\n0: =%other=;\n%other:\n0: =%loop=;\n%small:\n1: one;\n2: two;\n"
                      "10: <%small< tens;\n11: <%small< tens >>;\n-x: minus >>;\n",
                      &plurals, '.', &error))
      << error;
  std::string out;
  EXPECT_FALSE(s.format("%loop", 3, &out));  // the sets name each other without end
  EXPECT_FALSE(s.format("%small", 0, &out));  // below the first base value
  EXPECT_FALSE(s.format("%none", 1, &out));
  EXPECT_TRUE(s.format("%small", -2, &out));
  EXPECT_EQ(out, "minus two");
  EXPECT_FALSE(s.format_decimal("%small", "1", "5", &out));  // no fraction rules
  // Sets that each name the next twice: 2^40 rules for one number unless the
  // work is bounded.
  std::string doubling;
  for (int k = 0; k < 40; ++k)
    doubling += "%s" + std::to_string(k) + ":\n0: =%s" + std::to_string(k + 1) + "= =%s" + std::to_string(k + 1) + "=;\n";
  doubling += "%s40:\n0: x;\n";
  eu_spellout d;
  ASSERT_TRUE(d.parse(doubling.c_str(), &plurals, '.', &error)) << error;
  EXPECT_FALSE(d.format("%s0", 7, &out));
  EXPECT_TRUE(d.format("%s35", 7, &out));  // 32 words are within the bounds
  EXPECT_EQ(out.size(), 32u * 2 - 1);
  EXPECT_FALSE(s.format_decimal("%small", "1", "1234567890123", &out));  // fraction too long
}

}  // namespace
