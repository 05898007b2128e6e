// The Chinese module's generated tables against ICU, from whose data they
// are made: word segmentation against ICU's word break iterator on runs of
// dictionary words and of random characters (compatibility ideographs and
// supplementary characters among them), the reading of every Han character
// against the Han-Latin transform, and the number spellout.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include <unicode/brkiter.h>
#include <unicode/rbnf.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>

#include "modules/ch/ch_segment.h"
#include "modules/ch/ch_tables.h"
#include "modules/common/eu_numbers.h"

extern const eu_locale ch_zh_locale;

namespace {

std::string utf8_of(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) {
    icu::UnicodeString u((UChar32)c);
    u.toUTF8String(out);
  }
  return out;
}

// The words of a Han run as ICU's word break iterator for Chinese splits it.
std::vector<std::u32string> icu_words(icu::BreakIterator* words, const std::u32string& han) {
  icu::UnicodeString s = icu::UnicodeString::fromUTF8(utf8_of(han));
  words->setText(s);
  std::vector<std::u32string> out;
  int32_t start = words->first();
  for (int32_t end = words->next(); end != icu::BreakIterator::DONE; start = end, end = words->next()) {
    std::u32string w;
    for (int32_t i = start; i < end; i = s.moveIndex32(i, 1)) w += (char32_t)s.char32At(i);
    out.push_back(w);
  }
  return out;
}

// Every dictionary word, rebuilt from the generated table.
std::vector<std::u32string> dictionary_words() {
  std::vector<std::u32string> out;
  for (size_t h = 0; h < ch_dict_head_count; ++h) {
    const unsigned char* e = (const unsigned char*)ch_dict_entries + ch_dict_heads[h].offset;
    for (uint32_t k = 0; k < ch_dict_heads[h].count; ++k) {
      const size_t restBytes = e[2];
      icu::UnicodeString rest = icu::UnicodeString::fromUTF8(icu::StringPiece((const char*)e + 3, (int32_t)restBytes));
      std::u32string w(1, (char32_t)ch_dict_heads[h].first);
      for (int32_t i = 0; i < rest.length(); i = rest.moveIndex32(i, 1)) w += (char32_t)rest.char32At(i);
      EXPECT_EQ(w.size(), (size_t)e[1]);
      out.push_back(w);
      e += 3 + restBytes;
    }
  }
  return out;
}

TEST(ChineseTables, SegmentationAsIcuWordBreakingSplits) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> words(icu::BreakIterator::createWordInstance(icu::Locale::getChinese(), status));
  ASSERT_TRUE(U_SUCCESS(status));
  const std::vector<std::u32string> dictionary = dictionary_words();
  ASSERT_GT(dictionary.size(), 100000u);
  std::mt19937 random(2026);
  int runs = 0;
  // Runs of dictionary words: where the costs decide between overlapping words.
  for (int n = 0; n < 4000; ++n, ++runs) {
    std::u32string run;
    for (int k = 1 + random() % 8; k > 0; --k) run += dictionary[random() % dictionary.size()];
    ASSERT_EQ(ch_segment(run), icu_words(words.get(), run)) << utf8_of(run);
  }
  // Random characters of every Han range the module reads, with the
  // compatibility ideographs that the dictionary sees in NFKC.
  const std::pair<uint32_t, uint32_t> kRanges[] = {
      {0x4E00, 0x9FFF}, {0x4E00, 0x4FFF}, {0x3400, 0x4DBF}, {0xF900, 0xFAFF}, {0x20000, 0x2A6DF}, {0x3007, 0x3007}};
  for (int n = 0; n < 3000; ++n, ++runs) {
    std::u32string run;
    for (int k = 1 + random() % 12; k > 0; --k) {
      const auto& r = kRanges[random() % 6];
      run += (char32_t)(r.first + random() % (r.second - r.first + 1));
    }
    ASSERT_EQ(ch_segment(run), icu_words(words.get(), run)) << utf8_of(run);
  }
  for (const char* text : {"中华人民共和国", "今天晚上的天气预报", "北京欢迎你", "〇"}) {
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(text);
    std::u32string run;
    for (int32_t i = 0; i < u.length(); i = u.moveIndex32(i, 1)) run += (char32_t)u.char32At(i);
    EXPECT_EQ(ch_segment(run), icu_words(words.get(), run)) << text;
  }
  EXPECT_TRUE(ch_segment(U"").empty());
  EXPECT_EQ(runs, 7000);
}

TEST(ChineseTables, EveryHanCharacterReadsAsHanLatinGivesIt) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Transliterator> reader(
      icu::Transliterator::createInstance("Han-Latin; Latin-NumericPinyin", UTRANS_FORWARD, status));
  ASSERT_TRUE(U_SUCCESS(status));
  int read = 0;
  for (uint32_t c = 0; c < 0x30000; ++c) {
    if (!ch_is_han(c)) continue;
    icu::UnicodeString u((UChar32)c);
    reader->transliterate(u);
    std::string expected;
    u.toUTF8String(expected);
    for (unsigned char ch : expected)
      if (ch >= 0x80) {
        expected.clear();
        break;
      }
    ASSERT_EQ(ch_char_reading(c), expected) << std::hex << c;
    read += !expected.empty();
  }
  EXPECT_GT(read, 40000);
  EXPECT_EQ(ch_char_reading(0x4E2D), "zhong1");
  EXPECT_EQ(ch_char_reading('a'), "");
}

TEST(ChineseTables, NumbersSpelledAsIcuSpellsThem) {
  eu_plural_rules plurals;
  eu_spellout spellout;
  std::string error;
  ASSERT_TRUE(plurals.parse(ch_zh_locale.plural_rules, &error)) << error;
  ASSERT_TRUE(spellout.parse(ch_zh_locale.spellout_rules, &plurals, ch_zh_locale.decimal_mark, &error)) << error;
  UErrorCode status = U_ZERO_ERROR;
  icu::RuleBasedNumberFormat icu(icu::URBNF_SPELLOUT, icu::Locale::getChinese(), status);
  ASSERT_TRUE(U_SUCCESS(status));
  std::mt19937_64 random(9);
  std::vector<int64_t> numbers;
  for (int64_t n = 0; n <= 3000; ++n) numbers.push_back(n);
  for (int i = 0; i < 2000; ++i) numbers.push_back((int64_t)(random() % 1000000000000000ULL) >> (random() % 48));
  for (const char* set : {"%spellout-numbering", "%spellout-numbering-year", "%spellout-cardinal",
                          "%spellout-cardinal-financial", "%spellout-ordinal"}) {
    ASSERT_TRUE(spellout.has_rule_set(set)) << set;
    icu.setDefaultRuleSet(icu::UnicodeString::fromUTF8(set), status);
    ASSERT_TRUE(U_SUCCESS(status)) << set;
    for (int64_t n : numbers) {
      icu::UnicodeString expected;
      icu.format(n, expected);
      std::string e, ours;
      expected.toUTF8String(e);
      ASSERT_TRUE(spellout.format(set, n, &ours)) << set << " " << n;
      ASSERT_EQ(ours, e) << set << " " << n;
    }
  }
}

}  // namespace
