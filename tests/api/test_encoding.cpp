#include <gtest/gtest.h>

#include <iconv.h>
#include <string.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "api/VXN_encodingConverter.h"
#include "engine/VXN_misc.h"

namespace {

enum Order { kLittle, kBig, kLittleMarked, kBigMarked };

// UTF-16 bytes of the code units in the requested byte order.
std::vector<unsigned char> utf16(std::initializer_list<unsigned> units, Order order = kLittle) {
  std::vector<unsigned char> bytes;
  const bool big = order == kBig || order == kBigMarked;
  if (order == kLittleMarked) bytes = {0xFF, 0xFE};
  if (order == kBigMarked) bytes = {0xFE, 0xFF};
  for (unsigned u : units) {
    if (big) {
      bytes.push_back(u >> 8);
      bytes.push_back(u & 0xFF);
    } else {
      bytes.push_back(u & 0xFF);
      bytes.push_back(u >> 8);
    }
  }
  return bytes;
}

using Convert16 = void (CVxnEncodeConvert::*)(char*, const void*, int);

std::string run16(Convert16 convert, const std::vector<unsigned char>& in) {
  CVxnEncodeConvert converter;
  std::vector<char> out(in.size() + 8, '\x55');
  (converter.*convert)(out.data(), in.data(), (int)in.size());
  return std::string(out.data());
}


TEST(EncodingUtf16, LatinAndKoreanTargets) {
  for (Order order : {kLittle, kLittleMarked, kBigMarked}) {
    const auto in = utf16({'A', 0xE9, 0x4E00}, order);
    EXPECT_EQ(run16(&CVxnEncodeConvert::ConvertUtf16ToAscii, in), "A\xE9") << order;
    EXPECT_EQ(run16(&CVxnEncodeConvert::ConvertUtf16ToEuckr, in), "A\xE9\xEC\xE9") << order;
  }
  // Without a mark the text is little-endian.
  EXPECT_EQ(run16(&CVxnEncodeConvert::ConvertUtf16ToAscii, utf16({'A'}, kBig)), "");
  // Hangul, the added circled ieung-u, and a unit KS X 1001 lacks.
  EXPECT_EQ(run16(&CVxnEncodeConvert::ConvertUtf16ToEuckr, utf16({0xAC00, 0x327E, 0x0E01, 'b'})),
            "\xB0\xA1\xA2\xE8" "b");
  // The degree sign is blanked in big-endian input only.
  EXPECT_EQ(run16(&CVxnEncodeConvert::ConvertUtf16ToEuckr, utf16({0xB0}, kBigMarked)), " ");
  EXPECT_EQ(run16(&CVxnEncodeConvert::ConvertUtf16ToEuckr, utf16({0xB0}, kLittle)), "\xB0");
}

TEST(EncodingUtf16, Latin2) {
  const Convert16 latin2 = &CVxnEncodeConvert::ConvertUtf16ToAscii_2;
  EXPECT_EQ(run16(latin2, utf16({0x141, 0x142})), "\xA3\xB3");
  EXPECT_EQ(run16(latin2, utf16({0x2C7, 0x2D8, 0x2D9, 0x2DB, 0x2DD})), "\xB7\xA2\xFF\xB2\xBD");
  EXPECT_EQ(run16(latin2, utf16({0x300, 'x'})), "x");
  // Letters ISO-8859-2 lacks, and other U+02xx, become blanks.
  EXPECT_EQ(run16(latin2, utf16({0x100, 0x17F, 0x2C6})), "   ");
  EXPECT_EQ(run16(latin2, utf16({0x17E, 0x104, 0x15A})), "\xBE\xA1\xA6");
}

TEST(EncodingUtf16, Cyrillic) {
  const Convert16 cyrillic = &CVxnEncodeConvert::ConvertUtf16ToAscii_5;
  EXPECT_EQ(run16(cyrillic, utf16({0x416})), "\xB6");
  EXPECT_EQ(run16(cyrillic, utf16({0x401, 0x44F, 0x45F})), "\xA1\xEF\xFF");
  EXPECT_EQ(run16(cyrillic, utf16({0x2116, 0x2100})), "\xF0\xF0");
  EXPECT_EQ(run16(cyrillic, utf16({0xA7, 0x20AC, 'z'})), "\xFDz");
  // Units past U+045F have no byte: dropped, never a NUL that cuts the text.
  EXPECT_EQ(run16(cyrillic, utf16({'a', 0x460, 0x4E9, 'b'})), "ab");
}

TEST(EncodingUtf16, ControlsBecomeBlanks) {
  for (Convert16 convert : {&CVxnEncodeConvert::ConvertUtf16ToEuckr, &CVxnEncodeConvert::ConvertUtf16ToAscii,
                            &CVxnEncodeConvert::ConvertUtf16ToAscii_2, &CVxnEncodeConvert::ConvertUtf16ToAscii_5}) {
    EXPECT_EQ(run16(convert, utf16({'a', '\t', 0x7F, 0xA0, 'b'})), "a   b");
    // An odd trailing byte and a lone mark give nothing more.
    std::vector<unsigned char> odd = utf16({'c'});
    odd.push_back('d');
    EXPECT_EQ(run16(convert, odd), "c");
    EXPECT_EQ(run16(convert, {0xFF, 0xFE}), "");
    CVxnEncodeConvert converter;
    (converter.*convert)(nullptr, odd.data(), 2);  // must not crash
  }
}

TEST(EncodingToUtf8, Utf16ByMode) {
  CVxnEncodeConvert converter;
  converter.sourceMode = 2;
  std::vector<unsigned char> in = utf16({'A', 0xE9, 0x4E00, 0xD800, 0}, kLittleMarked);
  char* out = converter.ConvertUtf16orGB2312toUtf8(in.data());
  ASSERT_NE(out, nullptr);
  EXPECT_STREQ(out, "A\xC3\xA9\xE4\xB8\x80\xED\xA0\x80");
  VXN_free(out);

  converter.sourceMode = 1;
  in = utf16({'z', 0x416, 0}, kBig);
  out = converter.ConvertUtf16orGB2312toUtf8(in.data());
  ASSERT_NE(out, nullptr);
  EXPECT_STREQ(out, "z\xD0\x96");
  VXN_free(out);

  // A surrogate pair is one four-byte character; a lone half stays three bytes.
  converter.sourceMode = 2;
  in = utf16({0x4E2D, 0xD83D, 0xDE00, 0xD83D, 0}, kLittleMarked);
  out = converter.ConvertUtf16orGB2312toUtf8(in.data());
  ASSERT_NE(out, nullptr);
  EXPECT_STREQ(out, "\xE4\xB8\xAD\xF0\x9F\x98\x80\xED\xA0\xBD");
  VXN_free(out);

  const unsigned char empty[2] = {0, 0};
  EXPECT_EQ(converter.ConvertUtf16orGB2312toUtf8(empty), nullptr);
  EXPECT_EQ(converter.ConvertUtf16orGB2312toUtf8(nullptr), nullptr);
}

TEST(EncodingToUtf8, Gb2312) {
  CVxnEncodeConvert converter;
  converter.sourceMode = 3;
  const char in[] = "\xA1\xA4" "\xA2\xE5" "x" "\xDE\xC0" "\xB0\xA1" "\xA3\xA2" "\xE1\xE1" "\x80y" "\xA2\xEE";
  char* out = converter.ConvertUtf16orGB2312toUtf8(in);
  ASSERT_NE(out, nullptr);
  // middle dot, one, x, (dropped), ah, right double quote, after, (dropped pair), ten
  EXPECT_STREQ(out, "\xC2\xB7\xE4\xB8\x80x\xE5\x95\x8A\xE2\x80\x9D\xE5\x90\x8E\xE5\x8D\x81");
  VXN_free(out);
  // A lone lead byte at the end does not swallow the terminator.
  out = converter.ConvertGB2312ToUtf8("ab\xB0");
  ASSERT_NE(out, nullptr);
  EXPECT_STREQ(out, "ab");
  VXN_free(out);
  EXPECT_EQ(converter.ConvertGB2312ToUtf8(""), nullptr);
  EXPECT_EQ(converter.ConvertGB2312ToUtf8(nullptr), nullptr);
}

TEST(EncodingUtf8, IconvTargets) {
  CVxnEncodeConvert converter;
  char out[32] = {0};
  EXPECT_EQ(converter.ConvertUtf8ToEuckr(out, "\xEA\xB0\x80" "a", sizeof out), 0);
  EXPECT_STREQ(out, "\xB0\xA1" "a");
  memset(out, 0, sizeof out);
  // Characters without a mapping are dropped.
  EXPECT_EQ(converter.ConvertUtf8ToAscii(out, "\xE2\x82\xAC\xE4\xB8\x80" "b", sizeof out), 0);
  EXPECT_STREQ(out, "\xA4" "b");
  memset(out, 0, sizeof out);
  EXPECT_EQ(converter.ConvertUtf8ToAscii_2(out, "\xC5\x81\xC3\xB3", sizeof out), 0);
  EXPECT_STREQ(out, "\xA3\xF3");
  memset(out, 0, sizeof out);
  EXPECT_EQ(converter.ConvertUtf8ToAscii_5(out, "\xD0\x96\xE2\x84\x96", sizeof out), 0);
  EXPECT_STREQ(out, "\xB6\xF0");
}

TEST(EncodingUtf8, NeverWritesPastSize) {
  CVxnEncodeConvert converter;
  char out[8];
  memset(out, 0x55, sizeof out);
  EXPECT_EQ(converter.ConvertUtf8ToAscii(out, "abcdef", 3), -1);
  EXPECT_EQ(std::string(out, 4), "abc\x55");
  memset(out, 0x55, sizeof out);
  // Half a Hangul pair does not fit in one byte.
  EXPECT_EQ(converter.ConvertUtf8ToEuckr(out, "\xEA\xB0\x80", 1), -1);
  EXPECT_EQ(out[1], 0x55);
  EXPECT_EQ(converter.ConvertUtf8ToEuckr(nullptr, "a", 1), -1);
  // A sequence cut off at the end stops the conversion; the rest stays.
  char cut[8] = {0};
  EXPECT_EQ(converter.ConvertUtf8ToEuckr(cut, "a\xE2\x82", sizeof cut), -1);
  EXPECT_STREQ(cut, "a");
}

TEST(EncodingTables, EuckrPairsConvertBack) {
  // Every table pair read back as EUC-KR gives the unit it is stored under,
  // or (for the few characters with two Unicode forms, such as the won sign)
  // a unit stored with the same pair.
  std::string pairs;
  std::vector<unsigned> units;
  for (unsigned u = 0x100; u < 0x10000; ++u) {
    const uint8_t* pair = VXN_utf16_euckr_table[u];
    if (pair[0] == 0 && pair[1] == 0) continue;
    EXPECT_TRUE(pair[0] >= 0xA1 && pair[0] <= 0xFE && pair[1] >= 0xA1 && pair[1] <= 0xFE) << std::hex << u;
    pairs += (char)pair[0];
    pairs += (char)pair[1];
    units.push_back(u);
  }
  EXPECT_GT(units.size(), 8000u);  // KS X 1001: 2350 Hangul, 4888 Hanja, symbols
  iconv_t cd = iconv_open("UCS-2LE", "EUC-KR");
  ASSERT_NE(cd, (iconv_t)-1);
  std::vector<unsigned char> back(units.size() * 2);
  char* in = &pairs[0];
  size_t in_left = pairs.size();
  char* out = (char*)back.data();
  size_t room = back.size();
  EXPECT_NE(iconv(cd, &in, &in_left, &out, &room), (size_t)-1);
  iconv_close(cd);
  int aliases = 0;
  for (size_t i = 0; i < units.size(); ++i) {
    const unsigned b = back[2 * i] | back[2 * i + 1] << 8;
    if (b == units[i]) continue;
    ++aliases;
    EXPECT_EQ(memcmp(VXN_utf16_euckr_table[b], VXN_utf16_euckr_table[units[i]], 2), 0)
        << std::hex << units[i] << " reads back as " << b;
  }
  EXPECT_LT(aliases, 16);
  // The GB2312 rows without characters stay empty.
  for (int trail = 0xC0; trail <= 0xC9; ++trail)
    EXPECT_STREQ(VXN_gb2312_utf8_table[(0xDE - 0xA1) * 94 + trail - 0xA1], "");
}

TEST(EncodingSizes, CountUpToLimitOrTerminator) {
  CVxnEncodeConvert converter;
  EXPECT_EQ(converter.GetUtfSize((const unsigned char*)"abc", 10), 9);
  EXPECT_EQ(converter.GetUtfSize((const unsigned char*)"abc", 2), 6);
  EXPECT_EQ(converter.GetUtfSize((const unsigned char*)nullptr, 2), 0);
  const short units[] = {'a', 0x4E00, 0, 'b'};
  EXPECT_EQ(converter.GetUtfSize(units, 10), 4);
  EXPECT_EQ(converter.GetUtfSize(units, 1), 2);
  EXPECT_EQ(converter.GetUtfSize((const short*)nullptr, 1), 0);
}

}  // namespace
