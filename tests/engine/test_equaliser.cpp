// Output equaliser: coefficient-set choice by language, voice and hybrid
// mode, output gain and clipping, and where its process-wide section states
// restart.
#include <gtest/gtest.h>

#include <math.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "engine/VXN_engine.h"
#include "engine/VXN_vocoder.h"

namespace {

const int kFrame = 120;

VXN_Engine make_engine(int language, int voice, int hybrid, float gain) {
  VXN_Engine e;
  memset(&e, 0, sizeof(e));
  e.language_id = language;
  e.model_index = voice;
  e.hybrid_active = hybrid;
  e.sss.output_gain = gain;
  return e;
}

// Speech-band test signal: three partials, amplitude up to `amp`.
std::vector<int16_t> signal(int frames, double amp, double phase = 0) {
  std::vector<int16_t> s(frames * kFrame);
  for (size_t i = 0; i < s.size(); i++) {
    double t = i / 24000.0;
    s[i] = (int16_t)(amp * (0.5 * sin(2 * M_PI * 180 * t + phase) +
                            0.3 * sin(2 * M_PI * 900 * t + 2 * phase) +
                            0.2 * sin(2 * M_PI * 3100 * t)));
  }
  return s;
}

// Runs one utterance through the equaliser frame by frame.
std::vector<int16_t> utterance(VXN_Engine* e, std::vector<int16_t> s, int voiced = 1) {
  for (size_t f = 0; f * kFrame < s.size(); f++)
    EQ_Filter(&s[f * kFrame], kFrame, (int)f, e, voiced);
  return s;
}

std::vector<int16_t> frame_range(const std::vector<int16_t>& s, int from, int to) {
  return std::vector<int16_t>(s.begin() + from * kFrame, s.begin() + to * kFrame);
}

// Puts every section into a state that a pass-through section carries
// unchanged (an utterance of a language without its own section 2).
void settle() {
  VXN_Engine e = make_engine(2, 0, 0, 1.0f);
  utterance(&e, signal(4, 3000));
}

// Section 1 alone, written from its equation, for the UK English voice 0
// coefficients: float arithmetic, truncation toward zero, gain, clip.
std::vector<int16_t> section1_uk_voice0(const std::vector<int16_t>& in, float gain) {
  const float b0 = 0.9841f, b1 = -1.9453f, b2 = 0.9614f, a1 = -1.9447f, a2 = 0.9462f;
  int32_t x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  std::vector<int16_t> out(in.size());
  for (size_t n = 0; n < in.size(); n++) {
    int32_t x = in[n];
    int32_t y = (int32_t)(b0 * (float)x + (b1 * (float)x1 - a1 * (float)y1) +
                          (b2 * (float)x2 - a2 * (float)y2));
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    float g = gain * (float)y;
    out[n] = (int16_t)(g > 32000 ? 32000 : g < -32000 ? -32000 : (int32_t)g);
  }
  return out;
}

TEST(Equaliser, LanguagesFromNineUseTheDefaultSets) {
  const std::vector<int16_t> in = signal(6, 6000);
  for (int voice = 0; voice < 2; voice++) {
    settle();
    VXN_Engine uk = make_engine(2, voice, 0, 1.0f);  // UK English has the default sets
    std::vector<int16_t> want = utterance(&uk, in);
    for (int language : {9, 10, 12, 17, 30}) {
      settle();
      VXN_Engine e = make_engine(language, voice, 0, 1.0f);
      EXPECT_EQ(utterance(&e, in), want) << "language " << language << " voice " << voice;
    }
    settle();
    VXN_Engine us = make_engine(1, voice, 0, 1.0f);
    EXPECT_NE(utterance(&us, in), want);
    EXPECT_NE(want, in);
  }
}

TEST(Equaliser, PassThroughSectionOnlyClips) {
  const std::vector<int16_t> in = signal(8, 12000);
  for (float gain : {1.0f, 1.3f, 3.0f}) {
    settle();
    VXN_Engine e = make_engine(2, 0, 0, gain);
    EXPECT_EQ(utterance(&e, in), section1_uk_voice0(in, gain)) << "gain " << gain;
  }
}

TEST(Equaliser, OutputGainSaturatesAt32000) {
  settle();
  VXN_Engine unity = make_engine(9, 0, 0, 1.0f);
  std::vector<int16_t> quiet = utterance(&unity, signal(6, 4000));
  settle();
  VXN_Engine boosted = make_engine(9, 0, 0, 1.3f);
  std::vector<int16_t> louder = utterance(&boosted, signal(6, 4000));
  for (size_t i = 0; i < quiet.size(); i++) EXPECT_NEAR(louder[i], 1.3 * quiet[i], 1.5) << i;

  settle();
  std::vector<int16_t> loud = utterance(&boosted, signal(6, 32767));
  int16_t hi = *std::max_element(loud.begin(), loud.end());
  int16_t lo = *std::min_element(loud.begin(), loud.end());
  EXPECT_EQ(hi, 32000);
  EXPECT_EQ(lo, -32000);
}

TEST(Equaliser, OversizedOrMissingFramesAreLeftAlone) {
  VXN_Engine e = make_engine(0, 0, 0, 1.3f);
  std::vector<int16_t> big = signal(84, 20000);  // 10080 samples
  std::vector<int16_t> copy = big;
  EQ_Filter(big.data(), 10001, 3, &e, 1);
  EXPECT_EQ(big, copy);
  EQ_Filter(big.data(), -1, 3, &e, 1);
  EXPECT_EQ(big, copy);
  EQ_Filter(nullptr, 120, 3, &e, 1);
  EQ_Filter(big.data(), 120, 3, nullptr, 1);
  EXPECT_EQ(big, copy);
  EQ_Filter(big.data(), 10000, 3, &e, 1);
  EXPECT_NE(big, copy);
}

TEST(Equaliser, SectionStatesRestartAtFramesZeroAndTwo) {
  const std::vector<int16_t> second = signal(6, 8000);
  // Korean voice 0 has its own section 2, restarted at frame 2 only: the
  // first two frames still depend on the previous utterance.
  VXN_Engine ko = make_engine(0, 0, 0, 1.0f);
  utterance(&ko, signal(5, 9000, 0.0));
  std::vector<int16_t> after_a = utterance(&ko, second);
  utterance(&ko, signal(5, 2000, 1.7));
  std::vector<int16_t> after_b = utterance(&ko, second);
  EXPECT_NE(frame_range(after_a, 0, 2), frame_range(after_b, 0, 2));
  EXPECT_EQ(frame_range(after_a, 2, 6), frame_range(after_b, 2, 6));
  // With the pass-through section 2 everything depends on section 1, which
  // restarts at frame 0.
  VXN_Engine uk = make_engine(2, 0, 0, 1.0f);
  utterance(&uk, signal(5, 9000, 0.0));
  after_a = utterance(&uk, second);
  utterance(&uk, signal(5, 2000, 1.7));
  after_b = utterance(&uk, second);
  EXPECT_EQ(after_a, after_b);
}

TEST(Equaliser, HybridUsEnglishShapesVoicedAndUnvoicedFramesApart) {
  const std::vector<int16_t> in = signal(4, 8000);
  for (int voice = 0; voice < 2; voice++) {
    VXN_Engine plain = make_engine(1, voice, 0, 1.0f);
    settle();
    std::vector<int16_t> v1 = utterance(&plain, in, 1);
    settle();
    EXPECT_EQ(utterance(&plain, in, 0), v1);  // the voiced flag only matters in hybrid mode
    VXN_Engine hybrid = make_engine(1, voice, 1, 1.0f);
    settle();
    std::vector<int16_t> h1 = utterance(&hybrid, in, 1);
    settle();
    std::vector<int16_t> h0 = utterance(&hybrid, in, 0);
    EXPECT_NE(h1, h0);
    EXPECT_NE(h1, v1);
    // Hybrid mode is US English only.
    VXN_Engine uk_plain = make_engine(2, voice, 0, 1.0f), uk_hybrid = make_engine(2, voice, 1, 1.0f);
    settle();
    std::vector<int16_t> u0 = utterance(&uk_plain, in);
    settle();
    EXPECT_EQ(utterance(&uk_hybrid, in), u0);
  }
}

}  // namespace
