#include <gtest/gtest.h>
#include <iconv.h>
#include <string.h>

#include <string>

#include "api/VXN_preprocessing_single_symbol.h"
#include "engine/VXN_misc.h"

namespace {

std::string euckr(const std::string& utf8) {
  iconv_t cd = iconv_open("EUC-KR", "UTF-8");
  EXPECT_NE(cd, (iconv_t)-1);
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t in_left = utf8.size();
  char* o = &out[0];
  size_t room = out.size();
  EXPECT_NE(iconv(cd, &in, &in_left, &o, &room), (size_t)-1);
  iconv_close(cd);
  out.resize(o - out.data());
  return out;
}

std::string split(const std::string& utf8) {
  const std::string in = euckr(utf8);
  std::string out(in.size() + 256, '\x7f');
  TextSplit(in.c_str(), &out[0]);
  return std::string(out.c_str());
}

std::string symbol(const char* text, int language) {
  std::string copy(text);
  char* out = nullptr;
  if (!VXN_single_symbol(&copy[0], language, &out)) return "<none>";
  std::string name(out);
  VXN_free(out);
  return name;
}

TEST(TextSplit, SpecExamples) {
  EXPECT_EQ(split("비가 오고 있고 바람도 분다"), euckr("비가 오고 있고, 바람도 분다"));
  EXPECT_EQ(split("그는 지금 간다"), euckr("그는, 지금 간다"));
}

TEST(TextSplit, EachRuleAndItsTrace) {
  const int saved = g_nStatePrint;
  g_nStatePrint = VXN_LEVEL_INFO;
  const struct {
    const char* in;
    const char* out;
    const char* trace;
  } cases[] = {
      {"사과 등 과일", "사과 등, 과일", "text split 1 \n\n"},
      {"비가 오고 있고 바람", "비가 오고 있고, 바람", "@@ text split 2 @@\n\n"},
      {"비가 때문에 늦다", "비가 때문에, 늦다", " text split 3 \n\n"},
      {"그 경우에는 안", "그 경우에는, 안", "text split 4 \n\n"},
      {"사과 또는 배", "사과, 또는 배", " text split before 2 \n\n"},
      {"그럼 어떻게 해", "그럼, 어떻게 해", "text split before 3 \n\n"},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStderr();
    const std::string got = split(c.in);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(got, euckr(c.out)) << c.in;
    EXPECT_EQ(err, std::string("\nTTS_Info: ") + c.trace) << c.in;
  }
  g_nStatePrint = saved;
}

TEST(TextSplit, WordsNeedBlanksOnBothSides) {
  // At the start, at the end, or glued to other syllables nothing is inserted.
  for (const char* text : {"있고 바람", "비가 있고", "비가 있고요 바람", "지금 간다", "그는 지금"})
    EXPECT_EQ(split(text), euckr(text)) << text;
  EXPECT_EQ(split(""), "");
  // Two splits in one text, and ASCII untouched.
  EXPECT_EQ(split("A 등 B 또는 C"), euckr("A 등, B, 또는 C"));
}

TEST(SingleSymbol, NamesPerLanguage) {
  EXPECT_EQ(symbol(" ?\n", 1), "Question mark");
  EXPECT_EQ(symbol("??", 1), "<none>");
  EXPECT_EQ(symbol("%", 0), "퍼센트");
  EXPECT_EQ(symbol("\t€ ", 4), "Euro");
  EXPECT_EQ(symbol("@", 12), "Символ \"собака\"");
  EXPECT_EQ(symbol(".", 1), "dot");
  EXPECT_EQ(symbol("\\", 9), "反斜杠");
  // UK and Australian English capitalise the inverted question mark only.
  EXPECT_EQ(symbol("¿", 1), "inverted question mark");
  EXPECT_EQ(symbol("¿", 2), "Inverted question mark");
  EXPECT_EQ(symbol("¿", 3), "Inverted question mark");
  EXPECT_EQ(symbol("º", 2), "Degree");
  EXPECT_EQ(symbol("!", 2), symbol("!", 1));
}

TEST(SingleSymbol, RejectsOtherInput) {
  EXPECT_EQ(symbol("a", 1), "<none>");
  EXPECT_EQ(symbol(" \n\t", 1), "<none>");
  EXPECT_EQ(symbol("", 1), "<none>");
  EXPECT_EQ(symbol("?", 18), "<none>");
  EXPECT_EQ(symbol("?", -1), "<none>");
  char* out = nullptr;
  EXPECT_FALSE(VXN_single_symbol(nullptr, 1, &out));
  EXPECT_EQ(out, nullptr);
  // A prefix of a multi-byte symbol does not match.
  EXPECT_EQ(symbol("\xE2\x82", 1), "<none>");
}

TEST(SingleSymbol, TablesShareSymbolsAndNameEveryRow) {
  const VXN_SymbolName* us = VXN_symbol_table(1);
  ASSERT_NE(us, nullptr);
  EXPECT_EQ(VXN_symbol_table(18), nullptr);
  for (int id = 0; id < VXN_SYMBOL_LANGUAGES; ++id) {
    const VXN_SymbolName* table = VXN_symbol_table(id);
    ASSERT_NE(table, nullptr);
    for (int row = 0; row < VXN_SYMBOL_ROWS; ++row) {
      EXPECT_STREQ(table[row].symbol, us[row].symbol) << id << ":" << row;
      EXPECT_GT(strlen(table[row].name), 0u) << id << ":" << row;
    }
  }
}

TEST(RemoveSpace, TrimsBothEndsInPlace) {
  char text[] = " \t a b \r\n";
  char* t = removeSpace(text);
  EXPECT_STREQ(t, "a b");
  EXPECT_EQ(t, text + 3);
  EXPECT_EQ(text[6], '\0');

  char blanks[] = " \n";
  t = removeSpace(blanks);
  EXPECT_STREQ(t, "");
  EXPECT_EQ(blanks[0], ' ');  // the first byte is never overwritten

  char empty[] = "";
  EXPECT_EQ(removeSpace(empty), empty);
  EXPECT_EQ(removeSpace(nullptr), nullptr);
}

}  // namespace
