#include <gtest/gtest.h>

#include <math.h>

#include <string>
#include <vector>

#include "engine/VXN_engine.h"
#include "engine/VXN_vsearch.h"
#include "tests/engine/voice_fixture.h"

// State stream creation on voices with one leaf per label: every expected
// duration below is worked out by hand from the model means and the rules.

namespace {

using vxn_test::Pdf;
using vxn_test::PdfFiller;

class SStream : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nStatePrint = 2;
    VXN_Engine_initialize(&engine_, 3);
  }
  void TearDown() override {
    VXN_Engine_refresh(&engine_);
    VXN_Engine_clear(&engine_);
  }

  // Loads a voice of `tags` labels and the utterance L0 .. L(n-1) (or the
  // given label strings); language 99 has no voicing rules.
  void load(int tags, const PdfFiller& fill) {
    const std::string err =
        vxn_test::write_and_load(vxn_test::label_voice(tags, fill), dir_.stem("v"), &engine_);
    ASSERT_EQ(err, "");
    engine_.ms.language = 99;
  }
  void utterance(int n, std::vector<std::string> labels = {}) {
    for (int k = (int)labels.size(); k < n; k++) labels.push_back("L" + std::to_string(k) + "/x");
    VXN_Engine_refresh(&engine_);
    vxn_test::set_labels(&engine_, labels);
  }
  std::vector<int> durations(int label) const {
    std::vector<int> d;
    for (int s = 0; s < 5; s++) d.push_back(VXN_SStreamSet_get_duration(&engine_.sss, label * 5 + s));
    return d;
  }
  float lf0_mean(int state) const { return VXN_SStreamSet_get_mean(&engine_.sss, 1, state, 0); }

  vxn_test::TempDir dir_;
  VXN_Engine engine_;
};

// Every label: durations `mean` in all five states, everything voiced.
PdfFiller uniform(float mean) {
  return [mean](int stream, int, int, Pdf* p) {
    if (stream < 0) p->mean.assign(5, mean);
  };
}

TEST_F(SStream, ThreeLabelUtterance) {
  load(3, [](int stream, int, int k, Pdf* p) {
    if (stream < 0) p->mean.assign(5, 4.0f);
    if (stream == 0 && k == 1) p->mean[0] = 1.0f;
  });
  utterance(3);
  VXN_Engine_create_sstream(&engine_, 0, 0);
  // Label 0: halved to 2 each, then the first-label floor of 60 frames adds
  // 40 to state 1. Label 1: 4 9 9 9 4 (S = 35), x0.95, the 10/40/45/35/10 %
  // split of T = 33.25, x0.9. Label 2: halved.
  EXPECT_EQ(durations(0), (std::vector<int>{2, 42, 2, 2, 2}));
  EXPECT_EQ(durations(1), (std::vector<int>{3, 12, 13, 10, 3}));
  EXPECT_EQ(durations(2), (std::vector<int>{2, 2, 2, 2, 2}));
  EXPECT_EQ(VXN_SStreamSet_get_total_frame(&engine_.sss), 50 + 41 + 10);
  EXPECT_EQ(VXN_SStreamSet_get_total_state(&engine_.sss), 15);
  EXPECT_FLOAT_EQ(engine_.sss.output_gain, 1.3f);
  const float floor[5] = {2.5f, 3.5f, 4.0f, 3.5f, 2.5f};
  for (int s = 0; s < 5; s++)
    EXPECT_FLOAT_EQ(VXN_SStreamSet_get_mean(&engine_.sss, 0, 5 + s, 0), floor[s]) << "state " << s;
}

TEST_F(SStream, ShortUtteranceLengthening) {
  struct Case {
    int labels;
    float mean;
    std::vector<int> inner;
  };
  // L = 5: +3 below 10 frames, then x0.8 / x0.9 / x0.95 by the label sum,
  // then x0.9 above 30. L = 7: +1 only. L = 8: unchanged.
  const Case cases[] = {{5, 12.0f, {9, 9, 9, 9, 9}},
                        {5, 9.0f, {6, 9, 9, 9, 6}},
                        {5, 7.0f, {6, 8, 8, 8, 6}},
                        {5, 6.0f, {5, 8, 8, 8, 5}},
                        {7, 4.0f, {4, 5, 5, 5, 4}},
                        {8, 4.0f, {4, 4, 4, 4, 4}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.labels) + " labels of " + std::to_string(c.mean));
    VXN_Engine_clear(&engine_);
    VXN_Engine_initialize(&engine_, 3);
    load(c.labels, uniform(c.mean));
    utterance(c.labels);
    VXN_Engine_create_sstream(&engine_, 0, 0);
    for (int i = 1; i < c.labels - 1; i++) EXPECT_EQ(durations(i), c.inner) << "label " << i;
  }
}

TEST_F(SStream, PauseDeletion) {
  load(8, uniform(4.0f));
  utterance(8);
  VXN_Engine_create_sstream(&engine_, 0, 0);
  const int full = VXN_SStreamSet_get_total_frame(&engine_.sss);
  const std::vector<int> first = durations(0), last = durations(7);
  int first_sum = 0, last_sum = 0;
  for (int s = 0; s < 5; s++) first_sum += first[s], last_sum += last[s];

  utterance(8);
  VXN_Engine_create_sstream(&engine_, 1, 0);
  EXPECT_EQ(durations(0), (std::vector<int>{0, 0, 0, 0, 1}));
  EXPECT_EQ(durations(7), last);
  EXPECT_EQ(VXN_SStreamSet_get_total_frame(&engine_.sss), full - first_sum + 1);

  utterance(8);
  VXN_Engine_create_sstream(&engine_, 1, 1);
  EXPECT_EQ(durations(0), (std::vector<int>{0, 0, 0, 0, 1}));
  EXPECT_EQ(durations(7), (std::vector<int>{1, 0, 0, 0, 0}));
  EXPECT_EQ(VXN_SStreamSet_get_total_frame(&engine_.sss), full - first_sum - last_sum + 2);
}

TEST_F(SStream, SpeedFactorAndOneWordPatterns) {
  load(10, uniform(8.0f));
  // 8 frames per state, x0.9 for a label sum above 30: 7.2, then x f + 0.5.
  std::vector<std::string> labels = {"L0/x", "L1/x", "L2/x",
                                     "L3/a-1@b+1@c@1+d",    // one-phone word, phrase-initial
                                     "L4/a-1@b+1@c@1+1-d",  // ... and the only word
                                     "L5/a-1@b+1@c+2-d"};   // not phrase-initial
  for (float speed : {2.0f, 1.0f}) {
    SCOPED_TRACE("speed " + std::to_string(speed));
    utterance(10, labels);
    VXN_Label_set_speech_speed(&engine_.label, speed);
    VXN_Engine_create_sstream(&engine_, 0, 0);
    const int plain = speed == 2.0f ? 4 : 7;  // 7.2 x 0.5 + 0.5, 7.2 + 0.5
    EXPECT_EQ(durations(2), std::vector<int>(5, plain));
    EXPECT_EQ(durations(3), std::vector<int>(5, 9));  // 7.2 x 1.2 + 0.5
    EXPECT_EQ(durations(4), std::vector<int>(5, 7));  // 7.2 x 1.0 + 0.5
    EXPECT_EQ(durations(5), std::vector<int>(5, plain));
  }
}

TEST_F(SStream, HybridStateFactors) {
  load(10, uniform(8.0f));
  for (int hybrid = 0; hybrid <= 1; hybrid++) {
    SCOPED_TRACE(hybrid ? "hybrid" : "basic");
    VXN_VT_set_hybrid(&engine_.vt, hybrid);
    utterance(10);
    VXN_Engine_create_sstream(&engine_, 0, 0);
    VXN_VT_set_hybrid(&engine_.vt, 0);
    // Basic: 8 x 0.9 + 0.5. Hybrid: 8 x (0.8, 1.1, 1.15, 1.1, 0.8), x0.9
    // for a sum of 39.6, + 0.5, x1.01 for a state whose voicing stands.
    EXPECT_EQ(durations(4), hybrid ? (std::vector<int>{6, 8, 8, 8, 6}) : std::vector<int>(5, 7));
    // Without a unit database the prosody step leaves no target.
    EXPECT_EQ(VXN_VT_get_lf0_target(&engine_.vt, nullptr), nullptr);
  }
}

// US English: a vowel whose model weight says unvoiced is forced voiced and
// flagged, and the flagged states hand 60 % of their frames to the others.
// The last two labels are never adjusted.
TEST_F(SStream, VoicingOverrideMovesFrames) {
  load(10, [](int stream, int state, int k, Pdf* p) {
    if (stream < 0) p->mean.assign(5, 8.0f);
    if (stream == 1) p->msd = ((k == 3 || k == 9) && state <= 3) ? 0.3f : 0.9f;
  });
  engine_.ms.language = 1;
  std::vector<std::string> labels;
  for (int k = 0; k < 10; k++)
    labels.push_back("L" + std::to_string(k) + ((k == 3 || k == 9) ? "/x^x-aa+x=x" : "/x"));
  utterance(10, labels);
  VXN_Engine_create_sstream(&engine_, 0, 0);
  // 8 x 0.9 + 0.5 = 7.7 per state; states 0 and 1 flagged with 7 + 7
  // frames: 0.4 x 7.7 for them, 7.7 + 0.6 x 14 / 3 for the other three.
  EXPECT_EQ(durations(3), (std::vector<int>{3, 3, 10, 10, 10}));
  EXPECT_EQ(durations(9), std::vector<int>(5, 7));
  for (int s = 15; s < 17; s++) EXPECT_GT(VXN_SStreamSet_get_msd(&engine_.sss, 1, s), 0.5f);
}

TEST_F(SStream, IsolatedUnvoicedStateBecomesVoiced) {
  load(8, [](int stream, int state, int k, Pdf* p) {
    if (stream != 1) return;
    p->msd = 0.9f;
    if (k == 2 && (state == 3 || state == 5 || state == 6)) p->msd = 0.2f;
  });
  utterance(8);
  VXN_Engine_create_sstream(&engine_, 0, 0);
  EXPECT_GT(VXN_SStreamSet_get_msd(&engine_.sss, 1, 11), 0.5f);  // label 2 state 1: isolated
  EXPECT_LE(VXN_SStreamSet_get_msd(&engine_.sss, 1, 13), 0.5f);  // states 3 and 4: a pair
  EXPECT_LE(VXN_SStreamSet_get_msd(&engine_.sss, 1, 14), 0.5f);
  for (int s : {0, 4, 35, 39}) EXPECT_FLOAT_EQ(VXN_SStreamSet_get_msd(&engine_.sss, 1, s), 0.05f);
}

// Log-F0 means of the voiced states (labels 1..6 here, 30 states):
// a lone spike is cut, a rise at the start is limited to 0.2, a small
// overshoot is pulled to the midpoint, the end is held within 0.2.
TEST_F(SStream, LogF0MeanSmoothing) {
  load(8, [](int stream, int state, int k, Pdf* p) {
    if (stream != 1) return;
    const int v = (k - 1) * 5 + (state - 2);  // voiced index for labels 1..6
    p->mean[0] = 5.0f;
    if (v == 0) p->mean[0] = 4.5f;
    if (v == 10) p->mean[0] = 5.5f;
    if (v == 19) p->mean[0] = 5.15f;
    if (v == 20) p->mean[0] = 5.1f;
    if (v == 29) p->mean[0] = 5.5f;
    if (v == 21) p->mean[0] = 5.1f;
    if (v == 22) p->mean[0] = 5.1f;
    if (v == 5) {
      p->mean[1] = 0.5f;   // delta mean outside +-0.1
      p->mean[2] = -0.2f;  // delta-delta mean outside +-0.1
      p->vari[1] = 2.0f;   // delta variance above 1
      p->vari[2] = 0.3f;
    }
    if (k == 0 || k == 7) p->mean[1] = 0.5f;  // unvoiced: untouched
  });
  utterance(8);
  VXN_Engine_create_sstream(&engine_, 0, 0);
  auto x = [&](int v) { return lf0_mean(5 + v); };
  EXPECT_NEAR(x(0), 4.8f, 1e-4);   // 5.0 - 0.2
  EXPECT_NEAR(x(10), 5.0f, 1e-4);  // spike replaced by the mean of its neighbours
  EXPECT_NEAR(x(19), 5.0f + 0.05f, 1e-4);  // 5.0, 5.15, 5.1: midpoint of the outer two
  EXPECT_NEAR(x(20), 5.1f, 1e-4);
  EXPECT_NEAR(x(29), 5.2f, 1e-4);  // held within 0.2 of 5.0
  EXPECT_NEAR(x(15), 5.0f, 1e-6);
  EXPECT_FLOAT_EQ(VXN_SStreamSet_get_mean(&engine_.sss, 1, 10, 1), 0.0001f);
  EXPECT_FLOAT_EQ(VXN_SStreamSet_get_mean(&engine_.sss, 1, 10, 2), 0.0001f);
  EXPECT_NEAR(VXN_SStreamSet_get_vari(&engine_.sss, 1, 10, 1), 0.3f, 1e-3);
  EXPECT_NEAR(VXN_SStreamSet_get_mean(&engine_.sss, 1, 0, 1), 0.5f, 1e-3);
}

TEST_F(SStream, SingleVoicedStateIsLeftAlone) {
  load(3, [](int stream, int state, int k, Pdf* p) {
    if (stream != 1) return;
    p->msd = (k == 1 && state == 4) ? 0.9f : 0.1f;
    p->mean[0] = (k == 1 && state == 4) ? 5.7f : 4.0f;
  });
  utterance(3);
  VXN_Engine_create_sstream(&engine_, 0, 0);
  EXPECT_NEAR(lf0_mean(7), 5.7f, 1e-4);
}

TEST_F(SStream, SpectrumEdgesSpikesAndBands) {
  // Labels 1..6 voiced except states 1..3 of label 5; log gain 6 with a
  // spike of 9 (label 3 state 2) and a dip to 3.5 (label 4 state 2).
  load(8, [](int stream, int state, int k, Pdf* p) {
    if (stream == 1 && k == 5 && state >= 3 && state <= 5) p->msd = 0.1f;
    if (stream == 0) {
      for (float& m : p->mean) m = 0.5f;
      p->mean[0] = 6.0f;
      if (k == 3 && state == 4) p->mean[0] = 9.0f;
      if (k == 4 && state == 4) p->mean[0] = 3.5f;
      if (k == 5 && state == 4) p->mean[0] = 3.0f;
      p->vari[0] = 2.0f;
    }
    if (stream == 2) p->mean[0] = -5.0f;
  });
  utterance(8);
  VXN_Engine_create_sstream(&engine_, 0, 0);
  const VXN_SStreamSet* sss = &engine_.sss;
  const int ts = 40;
  for (int s : {0, 4, 35, 39})
    for (int d = 0; d < 105; d += 13) EXPECT_FLOAT_EQ(VXN_SStreamSet_get_mean(sss, 0, s, d), 0.1f);
  EXPECT_NEAR(VXN_SStreamSet_get_mean(sss, 0, 17, 0), 6.0f, 1e-4);  // spike averaged
  EXPECT_NEAR(VXN_SStreamSet_get_mean(sss, 0, 22, 0), 6.0f, 1e-4);  // dip below 4 averaged
  EXPECT_NEAR(VXN_SStreamSet_get_mean(sss, 0, 27, 0), 3.0f, 1e-4);  // unvoiced: kept
  EXPECT_NEAR(VXN_SStreamSet_get_mean(sss, 0, 17, 50), 0.5f, 1e-4);
  for (int s = 0; s < ts; s++) {
    const bool clamped = s >= 2 && s <= ts - 3;
    EXPECT_NEAR(VXN_SStreamSet_get_vari(sss, 0, s, 0), clamped ? 1.0f : 2.0f, 1e-3) << s;
    const bool voiced = VXN_SStreamSet_get_msd(sss, 1, s) > 0.5f;
    EXPECT_NEAR(VXN_SStreamSet_get_mean(sss, 2, s, 0), voiced ? -30.0f : -5.0f, 1e-3) << s;
  }
  EXPECT_FLOAT_EQ(sss->output_gain, 1.0f);
}

TEST_F(SStream, OutputGainOfShortUtterances) {
  struct Case {
    int labels;
    float peak;  // largest sum of |c0..c4| over the inner states
    float gain;
  };
  const Case cases[] = {{5, 12.0f, 1.0f}, {5, 9.5f, 1.5f}, {5, 8.5f, 3.0f},
                        {5, 7.0f, 5.0f},  {5, 5.0f, 6.0f}, {6, 9.5f, 1.5f},
                        {7, 5.0f, 1.0f},  {3, 12.0f, 1.3f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.labels) + " labels, peak " + std::to_string(c.peak));
    VXN_Engine_clear(&engine_);
    VXN_Engine_initialize(&engine_, 3);
    const float peak = c.peak;
    load(c.labels, [peak](int stream, int state, int k, Pdf* p) {
      if (stream == 1) p->msd = 0.1f;  // unvoiced: no spike smoothing
      if (stream == 0) {
        p->mean[0] = (k == 1 && state == 3) ? peak - 2.0f : 1.0f;
        p->mean[2] = -0.5f;
        p->mean[4] = 1.5f;  // |c0| + 0.5 + 1.5
        p->mean[5] = 9.0f;  // beyond the five coefficients measured
      }
    });
    utterance(c.labels);
    VXN_Engine_create_sstream(&engine_, 0, 0);
    EXPECT_NEAR(engine_.sss.output_gain, c.gain, 1e-4);
  }
}

TEST_F(SStream, WindowsAndGvCopiedFromTheModel) {
  vxn_test::Voice v = vxn_test::label_voice(2, uniform(4.0f));
  v.gv[0].present = true;
  v.gv[0].mean.assign(35, 1.5f);
  v.gv[0].vari.assign(35, 0.25f);
  ASSERT_EQ(vxn_test::write_and_load(v, dir_.stem("gv"), &engine_), "");
  utterance(2);
  VXN_Engine_create_sstream(&engine_, 0, 0);
  const VXN_SStreamSet* sss = &engine_.sss;
  ASSERT_EQ(VXN_SStreamSet_get_nstream(sss), 3);
  for (int s = 0; s < 3; s++) {
    ASSERT_EQ(VXN_SStreamSet_get_window_size(sss, s), VXN_ModelSet_get_window_size(&engine_.ms, s));
    EXPECT_EQ(VXN_SStreamSet_get_window_max_width(sss, s),
              VXN_ModelSet_get_window_max_width(&engine_.ms, s));
    for (int w = 0; w < VXN_SStreamSet_get_window_size(sss, s); w++)
      for (int j = VXN_SStreamSet_get_window_left_width(sss, s, w);
           j <= VXN_SStreamSet_get_window_right_width(sss, s, w); j++)
        EXPECT_EQ(VXN_SStreamSet_get_window_coefficient(sss, s, w, j),
                  VXN_ModelSet_get_window_coefficient(&engine_.ms, s, w, j));
  }
  EXPECT_TRUE(VXN_SStreamSet_is_msd(sss, 1));
  EXPECT_FALSE(VXN_SStreamSet_is_msd(sss, 0));
  ASSERT_TRUE(VXN_SStreamSet_use_gv(sss, 0));
  EXPECT_FALSE(VXN_SStreamSet_use_gv(sss, 1));
  EXPECT_NEAR(VXN_SStreamSet_get_gv_mean(sss, 0, 34), 1.5f, 1e-3);
  EXPECT_NEAR(VXN_SStreamSet_get_gv_vari(sss, 0, 0), 0.25f, 1e-3);
}

TEST_F(SStream, EmptyLabelSequence) {
  load(2, uniform(4.0f));
  utterance(0);
  VXN_Engine_create_sstream(&engine_, 1, 1);
  EXPECT_EQ(VXN_SStreamSet_get_total_state(&engine_.sss), 0);
  EXPECT_EQ(VXN_SStreamSet_get_total_frame(&engine_.sss), 0);
  EXPECT_EQ(VXN_Engine_create_pstream(&engine_), 1);
  EXPECT_EQ(VXN_PStreamSet_get_total_frame(&engine_.pss), 0);
}

TEST_F(SStream, NoModelLoadedIsReported) {
  utterance(2);
  testing::internal::CaptureStderr();
  VXN_Engine_create_sstream(&engine_, 0, 0);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("no model set is loaded"), std::string::npos);
  EXPECT_EQ(VXN_SStreamSet_get_total_state(&engine_.sss), 0);
}

}  // namespace
