// Pinyin syllables, tone sandhi and the Chinese labels.
#include <gtest/gtest.h>

#include "modules/ch/ch_analyzer.h"
#include "modules/ch/ch_pinyin.h"
#include "modules/cjk/cjk_text.h"

namespace {

using ch::ParsePinyin;

TEST(Pinyin, InitialsFinalsAndTones) {
  auto p = ParsePinyin("zhong1");
  EXPECT_TRUE(p.ok);
  EXPECT_EQ(p.initial, "zh");
  EXPECT_EQ(p.final_, "ong");
  EXPECT_EQ(p.tone, 1);
  EXPECT_EQ(ParsePinyin("shi4").final_, "iii");
  EXPECT_EQ(ParsePinyin("si4").final_, "ii");
  EXPECT_EQ(ParsePinyin("ju4").final_, "v");       // j q x + u is ü
  EXPECT_EQ(ParsePinyin("lü4").final_, "v");
  EXPECT_EQ(ParsePinyin("lu:4").final_, "v");
  EXPECT_EQ(ParsePinyin("yuan2").final_, "van");   // zero initial
  EXPECT_EQ(ParsePinyin("yuan2").initial, "");
  EXPECT_EQ(ParsePinyin("wei4").final_, "ui");
  EXPECT_EQ(ParsePinyin("de").tone, 5);            // no number: neutral tone
  EXPECT_FALSE(ParsePinyin("xyz3").ok);
  EXPECT_FALSE(ParsePinyin("").ok);
  EXPECT_FALSE(ParsePinyin("ma9").ok);
}

TEST(Pinyin, SpellingRoundTrips) {
  for (const char* s : {"zhong1", "yuan2", "wei4", "ju4", "lv4", "shi4", "er2", "yi1", "wu3", "you3", "wen2"}) {
    auto p = ParsePinyin(s);
    ASSERT_TRUE(p.ok) << s;
    EXPECT_EQ(ch::Spell(p.initial, p.final_, p.tone), s);
  }
}

std::vector<int> sandhi(const std::vector<std::pair<const char*, int>>& syls, bool numeric = false) {
  std::vector<ch::SandhiSyllable> s;
  for (const auto& p : syls) {
    ch::SandhiSyllable x;
    x.hanzi = p.first;
    x.tone = p.second;
    x.numeric = numeric;
    s.push_back(x);
  }
  s.back().wordEnd = true;
  ch::ApplySandhi(s);
  std::vector<int> out;
  for (const auto& x : s) out.push_back(x.tone);
  return out;
}

TEST(ToneSandhi, ThirdToneRuns) {
  EXPECT_EQ(sandhi({{"你", 3}, {"好", 3}}), (std::vector<int>{2, 3}));
  EXPECT_EQ(sandhi({{"我", 3}, {"很", 3}, {"好", 3}}), (std::vector<int>{2, 2, 3}));
  EXPECT_EQ(sandhi({{"姐", 3}, {"姐", 5}}), (std::vector<int>{3, 5}));  // neutral tone breaks the run
  EXPECT_EQ(sandhi({{"好", 3}, {"人", 2}}), (std::vector<int>{3, 2}));
}

TEST(ToneSandhi, YiAndBu) {
  EXPECT_EQ(sandhi({{"不", 4}, {"是", 4}}), (std::vector<int>{2, 4}));
  EXPECT_EQ(sandhi({{"不", 4}, {"好", 3}}), (std::vector<int>{4, 3}));
  EXPECT_EQ(sandhi({{"一", 1}, {"个", 4}}), (std::vector<int>{2, 4}));
  EXPECT_EQ(sandhi({{"一", 1}, {"天", 1}}), (std::vector<int>{4, 1}));
  EXPECT_EQ(sandhi({{"第", 4}, {"一", 1}, {"天", 1}}), (std::vector<int>{4, 1, 1}));
  EXPECT_EQ(sandhi({{"十", 2}, {"一", 1}, {"号", 4}}, true), (std::vector<int>{2, 1, 4}));
  EXPECT_EQ(sandhi({{"一", 1}, {"百", 3}}, true), (std::vector<int>{4, 3}));
}

class ChineseLabels : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(analysis.Load(std::string(VXN_TEST_BINARY_DIR) + "/voice/Model/Ch/LangCN")) << analysis.error();
  }
  ch::ChineseAnalysis analysis;
};

TEST_F(ChineseLabels, InitialsAndFinalsWithToneFields) {
  ch::PieceAnalysis a = analysis.Analyze(cjk::CodePoints("你好吗？"), true);
  EXPECT_EQ(a.uttType, 'B');
  EXPECT_EQ(a.phones, (std::vector<std::string>{"pau", "n", "i", "h", "ao", "m", "a", "pau"}));
  ASSERT_EQ(a.labels.size(), a.phones.size());
  // 你: surface tone 2, lexical tone 3, two phones, final i.
  EXPECT_EQ(a.labels[1].substr(0, 18), "x^pau-n+i=h/A:x_x_");
  EXPECT_NE(a.labels[1].find("/B:2-3-2@1-2"), std::string::npos) << a.labels[1];
  EXPECT_NE(a.labels[1].find("|i/C:3_3_2"), std::string::npos) << a.labels[1];
  EXPECT_NE(a.labels[1].find("/K:1_2"), std::string::npos) << a.labels[1];
  EXPECT_EQ(a.labels[0].find("x^x-pau+n=i/A:x_x_0/B:x-x-x"), 0u) << a.labels[0];
}

TEST_F(ChineseLabels, CommasMakePhrasesAndNumbersAreRead) {
  ch::PieceAnalysis a = analysis.Analyze(cjk::CodePoints("第3集，今天。"), true);
  std::string r;
  for (const std::string& s : a.reading) r += s + " ";
  EXPECT_EQ(r, "di4 san1 ji2 jin1 tian1 ");
  int pauses = 0;
  for (const std::string& p : a.phones) pauses += p == "pau";
  EXPECT_EQ(pauses, 3);
  EXPECT_TRUE(analysis.Analyze(cjk::CodePoints("。，！"), true).labels.empty());
  EXPECT_EQ(std::u32string(analysis.Cardinal("10")), U"十");
}

}  // namespace
