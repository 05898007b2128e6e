#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "emoji/VXN_preprocessing_emoji.h"
#include "emoji/VXN_preprocessing_emoji_names.h"

namespace {

const char kHeart[] = "\xE2\x9D\xA4";              // U+2764
const char kGrin[] = "\xF0\x9F\x98\x80";           // U+1F600
const char kThumbs[] = "\xF0\x9F\x91\x8D";         // U+1F44D
const char kLightSkin[] = "\xF0\x9F\x8F\xBB";      // U+1F3FB
const char kWhiteFlag[] = "\xF0\x9F\x8F\xB3";      // U+1F3F3
const char kRainbow[] = "\xF0\x9F\x8C\x88";        // U+1F308
const char kZwj[] = "\xE2\x80\x8D";                // U+200D
const char kSelector[] = "\xEF\xB8\x8F";           // U+FE0F
const char kDegree[] = "\xC2\xB0";                 // U+00B0

struct Result {
  std::string text;
  bool changed;
};

Result run(int language, const std::string& text) {
  CUtf8EmojiTransducer transducer(language, text.c_str());
  const std::string out = transducer.transform();
  return {out, transducer.has_changed()};
}

TEST(Utf8Iterator, DecodesAndFlagsInvalidBytes) {
  const std::string text = std::string("a\xC3\xA9") + "\xE2\x82\xAC" + kGrin + "\xFF" + "\xE2\x82";
  CUtf8Iterator it(text.c_str());
  const uint32_t expected[] = {'a', 0xE9, 0x20AC, 0x1F600, 0xFF, 0xE2, 0x82, 0};
  const bool invalid[] = {false, false, false, false, true, true, true, false};
  const int sizes[] = {1, 2, 3, 4, 1, 1, 1, 0};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(it.next(), expected[i]) << i;
    EXPECT_EQ(it.current_code_point(), expected[i]) << i;
    EXPECT_EQ(it.invalid(), invalid[i]) << i;
    const auto range = it.current_encoded_range();
    EXPECT_EQ(range.second - range.first, sizes[i]) << i;
  }
  EXPECT_EQ(it.next(), 0u);  // stays on the terminator
}

// Forms a lax decoder would accept are single invalid bytes: an overlong
// slash and NUL, a surrogate half, a code point above U+10FFFF. The largest
// and smallest well-formed sequences of each length decode.
TEST(Utf8Iterator, RejectsOverlongsSurrogatesAndCodePointsPastTheRange) {
  for (const char* bad : {"\xC0\xAF", "\xC0\x80", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\xF0\x80\x80\xAF", "\xF8\x88\x80\x80\x80"}) {
    CUtf8Iterator it(bad);
    for (size_t i = 0; i < strlen(bad); ++i) {
      EXPECT_EQ(it.next(), (unsigned char)bad[i]) << i;
      EXPECT_TRUE(it.invalid()) << i;
    }
    EXPECT_EQ(it.next(), 0u);
  }
  const std::string good = "\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
  CUtf8Iterator it(good.c_str());
  for (uint32_t cp : {0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
    EXPECT_EQ(it.next(), cp);
    EXPECT_FALSE(it.invalid());
  }
}

TEST(EmojiRanges, Boundaries) {
  for (uint32_t cp : {0x2600u, 0x27BFu, 0x1F300u, 0x1F3FBu, 0x1F64Fu, 0x1F900u, 0x1F9FFu})
    EXPECT_TRUE(is_emoji(cp)) << std::hex << cp;
  for (uint32_t cp : {0u, 0xA9u, 0xB0u, 0xFEu, 0x200Du, 0x25FFu, 0x27C0u, 0x1F2FFu, 0x1F650u, 0x1F680u,
                      0x1F8FFu, 0x1FA00u})
    EXPECT_FALSE(is_emoji(cp)) << std::hex << cp;
}

TEST(EmojiNames, LanguageAssignment) {
  EXPECT_EQ(get_emoji_name(kHeart, 1), "red heart");
  EXPECT_EQ(get_emoji_name(kGrin, 2), "grinning face");
  EXPECT_EQ(get_emoji_name(kThumbs, 3), "thumbs up");
  EXPECT_EQ(get_emoji_name(std::string(kWhiteFlag) + kZwj + kRainbow, 1), "rainbow flag");
  EXPECT_EQ(get_emoji_name(kDegree, 13), "grader");
  EXPECT_EQ(get_emoji_name(kHeart, 4), "rotes Herz");
  EXPECT_EQ(get_emoji_name(kHeart, 10), get_emoji_name(kHeart, 17));
  EXPECT_FALSE(get_emoji_name(kHeart, 0).empty());
  EXPECT_EQ(get_emoji_name(kHeart, 9), "");
  EXPECT_EQ(get_emoji_name(kHeart, 18), "");
  EXPECT_EQ(get_emoji_name(kHeart, -1), "");
  int tables = 0;
  for (int language = -1; language <= 18; language++)
    if (VXN_emoji_name_table(language)) tables++;
  EXPECT_EQ(tables, 17);
  EXPECT_EQ(VXN_emoji_name_table(9), nullptr);
  EXPECT_EQ(VXN_emoji_name_table(1), VXN_emoji_name_table(3));
}

TEST(EmojiNames, KeysCarryNoVariationSelectors) {
  for (int language = 0; language < 18; language++) {
    const VXN_EmojiNameTable* table = VXN_emoji_name_table(language);
    if (!table) continue;
    EXPECT_GT(table->count, 1400) << language;
    for (int i = 0; i < table->count; i++) {
      const std::string key = table->key(i), name = table->name(i);
      EXPECT_EQ(key.find(kSelector), std::string::npos) << name;
      EXPECT_EQ(key.find("\xEF\xB8\x8E"), std::string::npos) << name;
      EXPECT_FALSE(key.empty());
      EXPECT_FALSE(name.empty());
    }
  }
}

// The lookup bisects: every table's keys are unique and in byte order, and
// every key finds its own name.
TEST(EmojiNames, KeysSortedAndFound) {
  for (int language = 0; language < 18; language++) {
    const VXN_EmojiNameTable* table = VXN_emoji_name_table(language);
    if (!table) continue;
    for (int i = 0; i < table->count; i++) {
      if (i > 0) {
        EXPECT_LT(strcmp(table->key(i - 1), table->key(i)), 0) << language << " " << i;
      }
      EXPECT_EQ(get_emoji_name(table->key(i), language), table->name(i)) << language << " " << i;
    }
  }
  EXPECT_EQ(get_emoji_name(std::string("\xE2\x9D\xA4\0", 4), 1), "");
  EXPECT_EQ(get_emoji_name("", 1), "");
}

TEST(EmojiTransducer, NamesSurroundedBySpaces) {
  const Result r = run(1, std::string("I ") + kHeart + " you");
  EXPECT_EQ(r.text, "I  red heart  you");
  EXPECT_TRUE(r.changed);
  // Adjacent emoji and a skin-tone modifier are looked up one by one.
  EXPECT_EQ(run(1, std::string(kGrin) + kThumbs).text, " grinning face  thumbs up ");
  EXPECT_EQ(run(1, std::string(kThumbs) + kLightSkin + "!").text, " thumbs up  light skin tone !");
}

TEST(EmojiTransducer, JoinerSequences) {
  EXPECT_EQ(run(1, std::string("a") + kWhiteFlag + kZwj + kRainbow + "b").text, "a rainbow flag b");
  // A variation selector ends the sequence and stays; the joiner after it is alone.
  const Result r = run(1, std::string(kWhiteFlag) + kSelector + kZwj + kRainbow);
  EXPECT_EQ(r.text, std::string(" ") + get_emoji_name(kWhiteFlag, 1) + " " + kSelector + kZwj + " " +
                        get_emoji_name(kRainbow, 1) + " ");
  // A lone joiner, a trailing joiner and an unnamed sequence pass through.
  for (const std::string& text : {std::string("a") + kZwj + "b", std::string(kZwj),
                                  std::string(kThumbs) + kZwj + kThumbs}) {
    const Result same = run(1, text);
    EXPECT_EQ(same.text, text);
    EXPECT_FALSE(same.changed);
  }
  EXPECT_EQ(run(1, std::string(kHeart) + kZwj + "x" + kHeart).text,
            std::string(kHeart) + kZwj + "x red heart ");
}

TEST(EmojiTransducer, UnchangedTexts) {
  const std::string heart_text = std::string("I ") + kHeart + " you";
  for (const std::string& text : {std::string("plain text, no emoji"), std::string(""), heart_text}) {
    const Result r = run(9, text);  // Chinese has no names
    EXPECT_EQ(r.text, text);
    EXPECT_FALSE(r.changed);
  }
  const Result plain = run(1, "plain text");
  EXPECT_EQ(plain.text, "plain text");
  EXPECT_FALSE(plain.changed);
  // Listed symbols outside the emoji ranges are never looked up.
  ASSERT_EQ(get_emoji_name(kDegree, 1), "degree");
  EXPECT_EQ(run(1, std::string("20") + kDegree).text, std::string("20") + kDegree);
  // An in-range character without a name stays as it is.
  const char scissors[] = "\xE2\x9C\x81";  // U+2701
  ASSERT_EQ(get_emoji_name(scissors, 1), "");
  EXPECT_EQ(run(1, std::string("x") + scissors + kHeart).text, std::string("x") + scissors + " red heart ");
}

TEST(EmojiTransducer, InvalidBytesPassThrough) {
  const std::string text = std::string("\xF0\x9F\x98 ok \xFF") + kHeart + "\xC3";
  const Result r = run(1, text);
  EXPECT_EQ(r.text, std::string("\xF0\x9F\x98 ok \xFF red heart \xC3"));
  EXPECT_TRUE(r.changed);
  CUtf8EmojiTransducer null_text(1, nullptr);
  EXPECT_EQ(null_text.transform(), "");
}

}  // namespace
