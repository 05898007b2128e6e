// Korean pronunciation rules one by one, number readings, and the labels as
// the model lookups' Korean phone classes see them.
#include <gtest/gtest.h>

#include <set>

#include "engine/VXN_model.h"
#include "modules/cjk/cjk_text.h"
#include "modules/kr/kr_analyzer.h"
#include "modules/kr/kr_hangul.h"
#include "modules/kr/kr_normalize.h"

namespace {

using kr::PronounceWord;

std::string pron(const std::string& utf8) {
  std::u32string w;
  for (uint32_t c : cjk::CodePoints(utf8)) w += (char32_t)c;
  return PronounceWord(w);
}

std::string utf8(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) VXN_utf8_append((uint32_t)c, &out);
  return out;
}

TEST(KoreanRules, LinkingMovesTheCodaToAVowelOnset) {
  EXPECT_EQ(pron("음악"), "ww m aa kx");
  EXPECT_EQ(pron("옷이"), "ow s iy");
  EXPECT_EQ(pron("닭이"), "t aa lx g iy");       // second consonant of a cluster links
  EXPECT_EQ(pron("강아지"), "k aa nn aa zh iy");  // ㅇ stays in the coda
}

TEST(KoreanRules, CodaNeutralisation) {
  EXPECT_EQ(pron("부엌"), "p uw ax kx");
  EXPECT_EQ(pron("옷"), "ow tx");
  EXPECT_EQ(pron("앞"), "aa px");
  EXPECT_EQ(pron("넋"), "n ax kx");  // cluster simplification
  EXPECT_EQ(pron("삶"), "s aa mx");
}

TEST(KoreanRules, NasalAssimilation) {
  EXPECT_EQ(pron("국물"), "k uw nn m uw lx");
  EXPECT_EQ(pron("닫는"), "t aa nx n ww nx");
  EXPECT_EQ(pron("밥물"), "p aa mx m uw lx");
  EXPECT_EQ(pron("종로"), "c ow nn n ow");     // ㄹ after ㅇ becomes ㄴ
  EXPECT_EQ(pron("국력"), "k uw nn n jx kx");  // ㄹ to ㄴ, then ㄱ to ㅇ
}

TEST(KoreanRules, Lateralisation) {
  EXPECT_EQ(pron("신라"), "s iy lx l aa");
  EXPECT_EQ(pron("칼날"), "kh aa lx l aa lx");
}

TEST(KoreanRules, Tensification) {
  EXPECT_EQ(pron("국밥"), "k uw kx pp aa px");
  EXPECT_EQ(pron("학교"), "h aa kx kk jo");
  EXPECT_EQ(pron("앉고"), "aa nx kk ow");  // after a stem cluster
  // A lenis onset after a sonorant stays lenis (and voiced).
  EXPECT_EQ(pron("안개"), "aa nx g ey");
}

TEST(KoreanRules, AspirationAndHDeletion) {
  EXPECT_EQ(pron("놓고"), "n ow kh ow");
  EXPECT_EQ(pron("축하"), "ch uw kh aa");
  EXPECT_EQ(pron("많다"), "m aa nx th aa");
  EXPECT_EQ(pron("좋아"), "c ow aa");
  EXPECT_EQ(pron("않아"), "aa n aa");
  EXPECT_EQ(pron("좋소"), "c ow ss ow");
  EXPECT_EQ(pron("놓는"), "n ow nx n ww nx");
}

TEST(KoreanRules, Palatalisation) {
  EXPECT_EQ(pron("굳이"), "k uw zh iy");
  EXPECT_EQ(pron("같이"), "k aa ch iy");
  EXPECT_EQ(pron("굳히다"), "k uw ch iy d aa");
  // Only before 이: 밭을 links plainly.
  EXPECT_EQ(pron("밭을"), "p aa th ww lx");
}

TEST(KoreanRules, VowelsAndAllophones) {
  EXPECT_EQ(pron("희망"), "h iy m aa nn");   // ㅢ after a consonant
  EXPECT_EQ(pron("의사"), "ui s aa");        // word-initial ㅢ
  EXPECT_EQ(pron("계속"), "k eh s ow kx");   // ㅖ after a consonant
  EXPECT_EQ(pron("가다"), "k aa d aa");      // lenis: voiceless first, voiced inside
  EXPECT_EQ(pron("오후"), "ow hh uw");       // weak ㅎ between voiced sounds
  EXPECT_EQ(pron("나라"), "n aa r aa");      // flap between vowels
}

TEST(KoreanRules, AcrossWordsTheCodaIsNeutralisedBeforeLinking) {
  auto words = kr::Pronounce({U"옷", U"안"});
  ASSERT_EQ(words.size(), 2u);
  ASSERT_EQ(words[0].size(), 1u);
  EXPECT_EQ(words[0][0].phones, (std::vector<std::string>{"ow"}));
  EXPECT_EQ(words[1][0].phones, (std::vector<std::string>{"d", "aa", "nx"}));
}

TEST(KoreanNumbers, SinoKorean) {
  EXPECT_EQ(utf8(kr::SinoNumber("0")), "영");
  EXPECT_EQ(utf8(kr::SinoNumber("10")), "십");
  EXPECT_EQ(utf8(kr::SinoNumber("111")), "백십일");
  EXPECT_EQ(utf8(kr::SinoNumber("10000")), "만");
  EXPECT_EQ(utf8(kr::SinoNumber("12500")), "만이천오백");
  EXPECT_EQ(utf8(kr::SinoNumber("100000000")), "일억");
  EXPECT_EQ(utf8(kr::SinoNumber("2024")), "이천이십사");
  EXPECT_EQ(utf8(kr::SinoNumber("1000010")), "백만십");
}

TEST(KoreanNumbers, NativeWithAttributiveForms) {
  EXPECT_EQ(utf8(kr::NativeNumber(1, false)), "하나");
  EXPECT_EQ(utf8(kr::NativeNumber(1, true)), "한");
  EXPECT_EQ(utf8(kr::NativeNumber(20, true)), "스무");
  EXPECT_EQ(utf8(kr::NativeNumber(21, true)), "스물한");
  EXPECT_EQ(utf8(kr::NativeNumber(99, false)), "아흔아홉");
  EXPECT_EQ(utf8(kr::NativeNumber(100, true)), "백");  // native numbers stop at 99
}

class KoreanLabels : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string voice = std::string(VXN_TEST_BINARY_DIR) + "/voice/";
    ASSERT_TRUE(analysis.Load(voice + "Model/", voice + "Data/")) << analysis.error();
  }
  kr::PieceAnalysis analyze(const std::string& text, bool end = true) {
    return analysis.Analyze(cjk::CodePoints(text), end);
  }
  kr::KoreanAnalysis analysis;
};

int count_if(const std::vector<std::string>& labels, int (*test)(const char*)) {
  int n = 0;
  for (const std::string& l : labels) n += test(l.c_str());
  return n;
}

TEST_F(KoreanLabels, NumberWordsAndFinalEndingMeetTheWordClasses) {
  // 일 and 이 alone between pauses are the number words the duration lookup lengthens.
  EXPECT_EQ(count_if(analyze("1.").labels, VXN_Check_koreanNumber_i), 1);
  EXPECT_EQ(count_if(analyze("2.").labels, VXN_Check_koreanNumber_ii), 1);
  EXPECT_EQ(count_if(analyze("1, 2, 1.").labels, VXN_Check_koreanNumber_i), 2);
  EXPECT_EQ(count_if(analyze("12.").labels, VXN_Check_koreanNumber_i), 0);
  EXPECT_EQ(count_if(analyze("뉴스입니다.").labels, VXN_Check_KoreanFinal), 1);
  EXPECT_EQ(count_if(analyze("뉴스입니다.").labels, VXN_Check_koreanNumber_ii), 0);
}

TEST_F(KoreanLabels, EveryPhoneBelongsToTheKoreanClasses) {
  static const std::set<std::string> kVoiceless = {"k", "t", "p", "c", "kk", "tt", "pp", "cc", "ss", "s",
                                                   "kh", "th", "ph", "ch", "h", "kx", "tx", "px"};
  kr::PieceAnalysis a = analyze("오늘 저녁 9시 뉴스입니다, 희망찬 내일을 위해 같이 갑시다.");
  ASSERT_EQ(a.labels.size(), a.phones.size());
  for (size_t i = 0; i < a.labels.size(); i++) {
    const char* l = a.labels[i].c_str();
    const std::string& ph = a.phones[i];
    if (VXN_Check_pause(l)) {
      EXPECT_EQ(ph[0], '#') << l;
      continue;
    }
    EXPECT_TRUE(VXN_Check_VocalSound(l) || kVoiceless.count(ph)) << "phone " << ph;
    EXPECT_FALSE(VXN_Check_VocalSound(l) && kVoiceless.count(ph)) << "phone " << ph;
  }
  EXPECT_EQ(a.phones.front(), "#");
  EXPECT_EQ(a.phones.back(), "#e");
  EXPECT_EQ(count_if(a.labels, VXN_Check_break), 1);  // the comma's #l
}

TEST_F(KoreanLabels, QuestionsAndCutPieces) {
  kr::PieceAnalysis q = analyze("정말요?");
  EXPECT_EQ(q.uttType, 'B');
  EXPECT_NE(q.labels[q.labels.size() - 2].find("|H%/"), std::string::npos) << q.labels[q.labels.size() - 2];
  kr::PieceAnalysis cut = analyze("비가 오는데", false);
  EXPECT_EQ(cut.uttType, 'A');
  EXPECT_EQ(cut.phones.back(), "#l");
  EXPECT_TRUE(analyze("...!").labels.empty());
}

TEST_F(KoreanLabels, CountersChooseTheNumberSystem) {
  auto words = [&](const std::string& t) {
    std::string out;
    for (const std::string& w : analyze(t).words) out += (out.empty() ? "" : " ") + w;
    return out;
  };
  EXPECT_EQ(words("3시 3분"), "세시 삼분");
  EXPECT_EQ(words("사과 2개, 책 20권"), "사과 두개 #l 책 스무권");
  EXPECT_EQ(words("15시"), "십오시");
  EXPECT_EQ(words("120명"), "백이십명");
  EXPECT_EQ(words("6월 10월 10일"), "유월 시월 십일");
  EXPECT_EQ(words("KBS와 OK"), "케이비에스와 오케이");
}

}  // namespace
