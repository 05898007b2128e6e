// Latin words in Russian text: the module's reverse BGN/PCGN romanization
// against ICU's Latin-Russian/BGN transform, on every word of up to four
// letters over the letters its rules treat apart and on random longer words.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include "modules/ru/ru_translit.h"

namespace {

TEST(RuTranslit, ReadsLatinWordsAsIcuBgnTransformDoes) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Transliterator> icu(
      icu::Transliterator::createInstance("Latin-Russian/BGN", UTRANS_FORWARD, status));
  ASSERT_TRUE(U_SUCCESS(status));
  auto expected = [&](const std::string& word) {
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(word);
    icu->transliterate(u);
    std::string s;
    u.toUTF8String(s);
    return s;
  };
  // Letters that start or end a group, y and e with their contexts, a
  // letter the rules leave alone (w), and plain letters.
  const std::string kLetters = "acehkstyzuwbm";
  int compared = 0;
  std::string word;
  for (size_t length = 1; length <= 4; ++length) {
    std::vector<size_t> at(length, 0);
    for (;;) {
      word.clear();
      for (size_t i : at) word += kLetters[i];
      ASSERT_EQ(ru_latin_to_cyrillic(word), expected(word)) << word;
      ++compared;
      size_t k = 0;
      while (k < length && ++at[k] == kLetters.size()) at[k++] = 0;
      if (k == length) break;
    }
  }
  std::mt19937 random(1207);
  for (int n = 0; n < 20000; ++n) {
    word.assign(5 + random() % 8, 'a');
    for (char& c : word) c = (char)('a' + random() % 26);
    ASSERT_EQ(ru_latin_to_cyrillic(word), expected(word)) << word;
  }
  for (const char* name : {"chelsea", "shchukin", "tsvetaeva", "washington", "yury", "yelena", "kharkiv", "zhukov"})
    EXPECT_EQ(ru_latin_to_cyrillic(name), expected(name)) << name;
  EXPECT_EQ(ru_latin_to_cyrillic("chelsea"), "челсеа");
  EXPECT_EQ(ru_latin_to_cyrillic(""), "");
  EXPECT_GT(compared, 30000);
}

}  // namespace
