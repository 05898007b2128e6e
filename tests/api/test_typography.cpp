// Typography of the input step: what the European analyzers get for curly
// quotes, dashes, ellipses, bullets and special spaces, in UTF-8 and UTF-16.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/VXN_typography.h"
#include "engine/VXN_misc.h"
#include "include/vxn_engine.h"

namespace {

// The rewritten text, or the input itself when nothing was rewritten.
std::string typeset(const char* language, const std::string& text) {
  char* out = VXN_typography_utf8(VXNLanguageId(language), text.c_str());
  const std::string result = out ? out : text;
  VXN_free(out);
  return result;
}

TEST(Typography, QuotesApostrophesAndSpaces) {
  EXPECT_EQ(typeset("en_US", "we\u2019ll and won\u2019t"), "we'll and won't");
  EXPECT_EQ(typeset("en_US", "\u201CNews\u201D \u2018Sport\u2019 \u201EDie\u201C"), "\"News\" 'Sport' \"Die\"");
  EXPECT_EQ(typeset("en_US", "BBC\u00A0One and\u202FITV\u20092"), "BBC One and ITV 2");
  EXPECT_EQ(typeset("en_US", "Sky\u2122 Movies\u00AE co\u00ADoperate\u200B"), "Sky Movies cooperate");
  // An ellipsis before a lower-case word is a pause inside the sentence,
  // elsewhere three dots.
  EXPECT_EQ(typeset("en_US", "Tonight\u2026 more"), "Tonight, more");
  EXPECT_EQ(typeset("en_US", "Wait\u2026and see"), "Wait, and see");
  EXPECT_EQ(typeset("pl_PL", "Dzi\u015b\u2026 \u017cycie"), "Dzi\u015b, \u017cycie");
  EXPECT_EQ(typeset("pl_PL", "Dzi\u015b\u2026 \u017bycie"), "Dzi\u015b... \u017bycie");
  EXPECT_EQ(typeset("ru_RU", "\u0418\u0442\u0430\u043a\u2026 \u0434\u0430"), "\u0418\u0442\u0430\u043a, \u0434\u0430");
  EXPECT_EQ(typeset("en_US", "Tonight\u2026 More news"), "Tonight... More news");
  EXPECT_EQ(typeset("en_US", "To be continued\u2026"), "To be continued...");
  EXPECT_EQ(typeset("en_US", "\u2026 and more"), "... and more");
  // Guillemets stay where the encoding has them, and become quotes elsewhere.
  EXPECT_EQ(typeset("fr_FR", "\u00ABBonjour\u00BB"), "\u00ABBonjour\u00BB");
  EXPECT_EQ(typeset("pl_PL", "\u00ABDzie\u0144\u00BB"), "\"Dzie\u0144\"");
}

TEST(Typography, DashesJoinRangesAndPausePhrases) {
  EXPECT_EQ(typeset("en_US", "7:00 \u2013 8:00pm"), "7:00-8:00pm");
  EXPECT_EQ(typeset("en_US", "10:00pm \u2013 11:00pm"), "10:00pm-11:00pm");
  EXPECT_EQ(typeset("en_US", "Mon\u2013Fri"), "Mon-Fri");
  EXPECT_EQ(typeset("en_US", "Friends \u2014 the reunion"), "Friends, the reunion");
  EXPECT_EQ(typeset("en_US", "Live: \u2014 News"), "Live: News");
  EXPECT_EQ(typeset("en_US", "\u20135 degrees"), "-5 degrees");
  EXPECT_EQ(typeset("en_US", "\u2022 Sport \u2022 Weather"), "Sport, Weather");
  EXPECT_EQ(typeset("en_US", "News \u2014"), "News,");
  // A letter whose code point ends in the byte of a punctuation mark
  // (U+043A, U+042C) is still a word that wants its pause.
  EXPECT_EQ(typeset("ru_RU", "\u0418\u0442\u0430\u043a \u2014 \u0434\u0430"), "\u0418\u0442\u0430\u043a, \u0434\u0430");
  EXPECT_EQ(typeset("ru_RU", "\u042c \u2022 \u042c"), "\u042c, \u042c");
}

TEST(Typography, EnglishAbbreviationsGoOnWithTheSentence) {
  const std::string nbsp = "\u00A0";
  EXPECT_EQ(typeset("en_US", "Mr. Smith and Mrs.  Brown"), "Mr." + nbsp + "Smith and Mrs." + nbsp + "Brown");
  EXPECT_EQ(typeset("en_US", "Ep. 5, No. 1 and Vol. 2"), "Ep." + nbsp + "5, No." + nbsp + "1 and Vol." + nbsp + "2");
  EXPECT_EQ(typeset("en_GB", "Arsenal vs. Chelsea feat. Drake"), "Arsenal vs." + nbsp + "Chelsea feat." + nbsp + "Drake");
  EXPECT_EQ(typeset("en_AU", "approx. 9 pm"), "approx." + nbsp + "9 pm");
  // The word after must be what the abbreviation leads to; a sentence that
  // ends in a word that merely ends in the letters is not touched.
  EXPECT_EQ(VXN_typography_utf8(VXNLanguageId("en_US"), "Say No. Then go."), nullptr);
  EXPECT_EQ(VXN_typography_utf8(VXNLanguageId("en_US"), "Ask Mr. 5 men came."), nullptr);
  EXPECT_EQ(VXN_typography_utf8(VXNLanguageId("en_US"), "a hamster. Then"), nullptr);
  EXPECT_EQ(VXN_typography_utf8(VXNLanguageId("en_US"), "the final ep. Then"), nullptr);
  EXPECT_EQ(VXN_typography_utf8(VXNLanguageId("en_US"), "Thanks Mr."), nullptr);
  // Vulgar fractions, which the English analyzers' encoding lacks, with a
  // slash; a blank between a whole number and its fraction.
  EXPECT_EQ(typeset("en_US", "2\u00BD hours, \u00BC cup, \u00BE and \u2153"), "2 1/2 hours, 1/4 cup, 3/4 and 1/3");
  EXPECT_EQ(VXN_typography_utf8(VXNLanguageId("de_DE"), "2\u00BD"), nullptr);
  // Only the English analyzers read the joined form.
  EXPECT_EQ(VXN_typography_utf8(VXNLanguageId("de_DE"), "Nr. 5 und Mr. Smith"), nullptr);
  // UTF-16 the same way.
  const int id = VXNLanguageId("en_US");
  std::vector<short> units = {'E', 'p', '.', ' ', '5', 0};
  int count = 0;
  short* out = VXN_typography_utf16(id, units.data(), 5, &count);
  ASSERT_NE(out, nullptr);
  ASSERT_EQ(count, 5);
  EXPECT_EQ((unsigned short)out[3], 0x00A0u);
  VXN_free(out);
  std::vector<short> half = {'2', (short)0x00BD, 0};
  out = VXN_typography_utf16(id, half.data(), 2, &count);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(std::vector<short>(out, out + count), (std::vector<short>{'2', ' ', '1', '/', '2'}));
  VXN_free(out);
}

TEST(Typography, LeavesOtherTextAlone) {
  EXPECT_EQ(VXN_typography_utf8(VXNLanguageId("en_US"), "plain text - as typed"), nullptr);
  EXPECT_EQ(VXN_typography_utf8(VXNLanguageId("ko_KR"), "\u201Cquoted\u201D"), nullptr);
  EXPECT_EQ(VXN_typography_utf8(VXNLanguageId("en_US"), nullptr), nullptr);
  // Bytes that are not UTF-8 pass through unchanged.
  EXPECT_EQ(typeset("en_US", "caf\xE9 \u2019"), "caf\xE9 '");
  EXPECT_EQ(typeset("en_US", "\xF0\x9F\x98\x80\u2026"), "\xF0\x9F\x98\x80...");
}

TEST(Typography, Utf16KeepsByteOrderAndMark) {
  const int id = VXNLanguageId("en_US");
  std::vector<short> little = {(short)0xFEFF, 'w', 'e', (short)0x2019, 'l', 'l', 0};
  int count = 0;
  short* out = VXN_typography_utf16(id, little.data(), (int)little.size() - 1, &count);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(count, 6);
  EXPECT_EQ((unsigned short)out[0], 0xFEFFu);
  EXPECT_EQ(out[3], '\'');
  EXPECT_EQ(out[6], 0);
  VXN_free(out);

  std::vector<short> big = {(short)0xFFFE, 0x6100, (short)0x2620, 0x4200};  // a…B, swapped
  out = VXN_typography_utf16(id, big.data(), (int)big.size(), &count);
  ASSERT_NE(out, nullptr);
  ASSERT_EQ(count, 6);
  for (int i = 2; i < 5; ++i) EXPECT_EQ((unsigned short)out[i], 0x2E00u) << i;
  EXPECT_EQ((unsigned short)out[5], 0x4200u);
  VXN_free(out);

  std::vector<short> plain = {'a', 'b'};
  EXPECT_EQ(VXN_typography_utf16(id, plain.data(), 2, &count), nullptr);
  EXPECT_EQ(VXN_typography_utf16(id, plain.data(), 0, &count), nullptr);
}

}  // namespace
