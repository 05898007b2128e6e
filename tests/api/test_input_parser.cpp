#include <gtest/gtest.h>

#include <string.h>

#include "api/VXN_InputParser.h"

namespace {

TEST(InputParser, SilenceTagValue) {
  CVxnInputParser parser;
  ASSERT_TRUE(parser.GetTagState("<silence=500>"));
  ASSERT_NE(parser.GetText(), nullptr);
  EXPECT_STREQ(parser.GetText(), "silence=500");
  EXPECT_EQ(parser.GetSilenceTime(parser.GetText(), "silence"), 500);

  ASSERT_TRUE(parser.ParsingText("<silence>"));
  EXPECT_STREQ(parser.GetText(), "silence");
  EXPECT_EQ(parser.GetSilenceTime(parser.GetText(), "silence"), 0);
}

TEST(InputParser, TagPositionLimits) {
  CVxnInputParser parser;
  // '<' must lie within the first three bytes and '>' within the last three:
  // two one-byte letters in front still leave '<' as the third byte, two
  // two-byte letters (or three one-byte ones) push it out.
  EXPECT_TRUE(parser.ParsingText("ab<silence=500>"));
  EXPECT_STREQ(parser.GetText(), "silence=500");
  EXPECT_FALSE(parser.ParsingText("\xC3\xA9\xC3\xA9<silence=500>"));
  EXPECT_FALSE(parser.ParsingText("abc<silence=500>"));
  EXPECT_TRUE(parser.ParsingText("<silence=20>ab"));
  EXPECT_STREQ(parser.GetText(), "silence=20");
  EXPECT_FALSE(parser.ParsingText("<silence=20>abc"));
  // A failed parse keeps the previous body.
  EXPECT_STREQ(parser.GetText(), "silence=20");
  EXPECT_FALSE(parser.ParsingText("no tag here"));
}

TEST(InputParser, ShortAndEmptyTags) {
  CVxnInputParser parser;
  EXPECT_FALSE(parser.ParsingText("<>"));
  EXPECT_FALSE(parser.ParsingText("<a>"));
  EXPECT_FALSE(parser.ParsingText("<ab>"));
  EXPECT_FALSE(parser.ParsingText("  <>  "));  // 6 bytes but nothing between
  EXPECT_FALSE(parser.ParsingText(""));
  EXPECT_FALSE(parser.ParsingText(nullptr));
  EXPECT_EQ(parser.GetText(), nullptr);
  EXPECT_TRUE(parser.ParsingText("<abc>"));
  EXPECT_STREQ(parser.GetText(), "abc");
}

TEST(InputParser, ValueNeedsExactKeyBeforeEquals) {
  CVxnInputParser parser;
  EXPECT_EQ(parser.GetSilenceTime("a=1,silence=30", "silence"), 0);
  EXPECT_EQ(parser.GetSilenceTime("silence=30=40", "silence"), 30);
  EXPECT_EQ(parser.GetSilenceTime("silence=abc", "silence"), 0);
  EXPECT_EQ(parser.GetSilenceTime("silence=250ms", "silence"), 250);
  EXPECT_EQ(parser.GetSilenceTime("silenc=30", "silence"), 0);
  EXPECT_EQ(parser.GetSilenceTime("silence=99999999999999", "silence"), 2147483647);
  EXPECT_EQ(parser.GetSilenceTime(nullptr, "silence"), 0);
}

TEST(InputParser, SearchWindows) {
  CVxnInputParser parser;
  const char* text = "<<x>>";
  EXPECT_EQ(parser.ForwardSearchChar(text, '<', 5, 3), 0);
  EXPECT_EQ(parser.ForwardSearchChar(text, 'x', 5, 2), -1);
  EXPECT_EQ(parser.ForwardSearchChar(text, 'x', 2, 10), -1);
  // The backward search reports the first match inside the trailing window.
  EXPECT_EQ(parser.BackwardSearchChar(text, '>', 5, 3), 3);
  EXPECT_EQ(parser.BackwardSearchChar(text, '<', 5, 3), -1);
  EXPECT_EQ(parser.BackwardSearchChar(text, '<', 5, 10), 0);
}

TEST(InputParser, Utf8LeadByteLengths) {
  CVxnInputParser parser;
  const struct {
    unsigned char lead;
    int size;
  } cases[] = {{'a', 1}, {0x7F, 1}, {0xC3, 2}, {0xD0, 2}, {0xE4, 3}, {0xEF, 3},
               {0xF0, 4}, {0xF8, 4}, {0x80, -1}, {0xBF, -1}};
  for (const auto& c : cases) {
    const char lead = (char)c.lead;
    EXPECT_EQ(parser.GetUtf8ByteSize(&lead), c.size) << std::hex << (int)c.lead;
  }
}

}  // namespace
