// Golden cases of Korean and Chinese television text: every case must give
// its expected reading, except the listed known failures, which must still
// fail (so that the list stays honest). Prints the share of cases correct.
#include <gtest/gtest.h>

#include "modules/ch/ch_analyzer.h"
#include "modules/cjk/cjk_piece.h"
#include "modules/kr/kr_analyzer.h"
#include "tests/modules/golden_util.h"

namespace {

const std::string kVoice = std::string(VXN_TEST_BINARY_DIR) + "/voice/";

template <typename Analysis>
std::string read_text(const Analysis& analysis, const std::string& text) {
  cjk::PieceCutter cutter(120);
  cutter.Start(cjk::DecodeUtf8(text));
  std::string out;
  while (cutter.pending()) {
    cjk::Piece piece = cutter.Next();
    if (piece.kind != cjk::Piece::kSpeech) continue;
    for (const std::string& s : analysis.Analyze(piece.chars, true).reading) out += (out.empty() ? "" : " ") + s;
  }
  return out;
}

template <typename Analysis>
void run_golden(const Analysis& analysis, const std::string& lang) {
  auto cases = read_cases(std::string(VXN_TEST_SOURCE_DIR) + "/tests/golden/" + lang + "/cases.tsv");
  auto known = read_known_failures(std::string(VXN_TEST_SOURCE_DIR) + "/tests/golden/" + lang +
                                   "/known_failures.txt");
  ASSERT_GE(cases.size(), 60u);
  int correct = 0;
  for (const auto& c : cases) {
    std::string got = read_text(analysis, c.first);
    bool ok = got == c.second;
    correct += ok;
    if (known.count(c.first)) {
      EXPECT_FALSE(ok) << "known failure now passes, remove it from the list: " << c.first;
      if (!ok) printf("known failure: %s\n  expected: %s\n  got:      %s\n", c.first.c_str(), c.second.c_str(), got.c_str());
    } else {
      EXPECT_EQ(got, c.second) << "input: " << c.first;
    }
  }
  printf("%s golden: %d of %zu correct (%.1f%%)\n", lang.c_str(), correct, cases.size(),
         100.0 * correct / cases.size());
}

TEST(GoldenCjk, Korean) {
  kr::KoreanAnalysis analysis;
  ASSERT_TRUE(analysis.Load(kVoice + "Model/", kVoice + "Data/")) << analysis.error();
  run_golden(analysis, "ko");
}

TEST(GoldenCjk, Chinese) {
  ch::ChineseAnalysis analysis;
  ASSERT_TRUE(analysis.Load(kVoice + "Model/Ch/LangCN")) << analysis.error();
  run_golden(analysis, "zh");
}

}  // namespace
