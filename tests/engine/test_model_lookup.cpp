// Model set lookups on written packages: duration smoothing, pause, Korean and
// break rules, p-sound halving, voicing rules by language, GV, and lookups on
// malformed models that must not read outside the loaded pdfs.
#include <gtest/gtest.h>

#include <vector>

#include "tests/engine/package_fixture.h"

namespace {

using vxn_test::LoadedVoice;
using vxn_test::single_leaf_voice;

const char* kPlain = "x^b-d+e=f@1_1/A:0";

std::vector<float> durations(VXN_ModelSet* ms, const char* label) {
  float mean[8] = {0}, vari[8] = {0};
  VXN_ModelSet_get_duration(ms, label, mean, vari);
  return std::vector<float>(mean + 2, mean + 2 + ms->nstate);
}

void expect_near(const std::vector<float>& got, const std::vector<float>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); i++) EXPECT_NEAR(got[i], want[i], 1e-5) << "state " << i + 2;
}

class Lookup : public ::testing::Test {
 protected:
  void SetUp() override { g_nStatePrint = 3; }
  void TearDown() override { g_nStatePrint = 2; }
};

TEST_F(Lookup, DurationSmoothingAndKoreanLongWords) {
  LoadedVoice v(single_leaf_voice({8, 8, 8, 8, 8}, {1, 2, 3}, 0.9f));
  ASSERT_TRUE(v.loaded) << v.error;
  EXPECT_EQ(v.ms()->nstate, 5);
  v.ms()->language = 0;  // Korean: sum 40 > 30 frames
  expect_near(durations(v.ms(), kPlain), {6.8f, 8.0f, 8.0f, 7.2f, 5.6f});
  v.ms()->language = 1;
  expect_near(durations(v.ms(), kPlain), {8, 8, 8, 8, 8});

  LoadedVoice w(single_leaf_voice({2, 4, 6, 4, 2}, {1, 2, 3}, 0.9f));
  ASSERT_TRUE(w.loaded);
  w.ms()->language = 1;
  expect_near(durations(w.ms(), kPlain), {3, 4, 14.0f / 3, 4, 3});
  // A null label leaves the arrays alone.
  float mean[8] = {-1, -1, -1, -1, -1, -1, -1, -1}, vari[8];
  VXN_ModelSet_get_duration(w.ms(), nullptr, mean, vari);
  EXPECT_EQ(mean[2], -1.0f);
}

TEST_F(Lookup, FixedPausesReplaceSmoothing) {
  LoadedVoice v(single_leaf_voice({5, 5, 5, 5, 5}, {1, 2, 3}, 0.9f));
  ASSERT_TRUE(v.loaded);
  const char* pause = "x^a-pau+b=c@1";
  v.ms()->language = 1;
  v.ms()->pause_mode = 1;
  v.ms()->pause_frames = 40;
  expect_near(durations(v.ms(), pause), {5, 5, 20, 5, 5});
  v.ms()->pause_frames = 20;
  expect_near(durations(v.ms(), pause), {5, 5, 5, 5, 5});
  // Not a break next to an "x" neighbour: smoothed as usual.
  LoadedVoice w(single_leaf_voice({2, 4, 6, 4, 2}, {1, 2, 3}, 0.9f));
  w.ms()->language = 1;
  w.ms()->pause_mode = 1;
  w.ms()->pause_frames = 40;
  expect_near(durations(w.ms(), "x^x-pau+b=c@1"), {3, 4, 14.0f / 3, 4, 3});
}

TEST_F(Lookup, KoreanNumberAndFinalWordsAreDoubled) {
  LoadedVoice v(single_leaf_voice({2, 4, 6, 4, 2}, {1, 2, 3}, 0.9f));
  ASSERT_TRUE(v.loaded);
  const char* number = "k^#-iy+lx=#e/A:1";
  const char* final_word = "k^n-iy+d=aa/A:1";
  v.ms()->language = 0;
  v.ms()->pause_mode = 1;
  v.ms()->pause_frames = 0;
  expect_near(durations(v.ms(), number), {6, 8, 28.0f / 3, 8, 6});
  v.ms()->pause_mode = 0;
  expect_near(durations(v.ms(), number), {3, 4, 14.0f / 3, 4, 3});
  expect_near(durations(v.ms(), final_word), {6, 8, 28.0f / 3, 8, 6});
  v.ms()->language = 1;
  expect_near(durations(v.ms(), final_word), {3, 4, 14.0f / 3, 4, 3});
}

TEST_F(Lookup, SpectralRulesPSoundAndBreakGain) {
  LoadedVoice v(single_leaf_voice({5, 5, 5, 5, 5}, {1.5f, -2.0f, 3.0f}, 0.9f));
  ASSERT_TRUE(v.loaded);
  float mean[3], vari[3];
  const char* psound = "x^ah-p+t=a@1";
  v.ms()->language = 1;
  v.ms()->model_select = 0;
  VXN_ModelSet_get_parameter(v.ms(), psound, mean, vari, nullptr, 0, 3);
  EXPECT_FLOAT_EQ(mean[0], 0.75f);
  EXPECT_FLOAT_EQ(mean[1], -1.0f);
  EXPECT_FLOAT_EQ(vari[0], 0.5f);  // variances stay
  v.ms()->model_select = 1;
  VXN_ModelSet_get_parameter(v.ms(), psound, mean, vari, nullptr, 0, 3);
  EXPECT_FLOAT_EQ(mean[0], 1.5f);

  const char* brk = "x^a-pau+b=c@1";
  VXN_ModelSet_get_parameter(v.ms(), brk, mean, vari, nullptr, 0, 4);  // middle state
  EXPECT_FLOAT_EQ(mean[0], 0.1f);
  EXPECT_FLOAT_EQ(mean[1], -2.0f);
  VXN_ModelSet_get_parameter(v.ms(), brk, mean, vari, nullptr, 0, 3);
  EXPECT_FLOAT_EQ(mean[0], 1.5f);
}

TEST_F(Lookup, VoicingRulesByLanguage) {
  LoadedVoice v(single_leaf_voice({5, 5, 5, 5, 5}, {1, 2, 3}, 0.4f));
  ASSERT_TRUE(v.loaded);
  float mean[3], vari[3], w = -1;
  const float stored = v.dequantised.streams[1].pdfs[0][0].msd;
  ASSERT_NEAR(stored, 0.4f, 0.003f);
  v.ms()->language = 5;  // French
  EXPECT_EQ(VXN_ModelSet_get_parameter(v.ms(), "x^b-a+d=c", mean, vari, &w, 1, 2), 0);
  EXPECT_FLOAT_EQ(w, 0.9f);  // voiced vowel, weight forced
  EXPECT_EQ(VXN_ModelSet_get_parameter(v.ms(), "x^a-b+d=c", mean, vari, &w, 1, 2), 1);
  EXPECT_FLOAT_EQ(w, 0.9f);  // voiced consonant: forced, result stays 1
  EXPECT_EQ(VXN_ModelSet_get_parameter(v.ms(), "x^a-s+d=c", mean, vari, &w, 1, 2), 1);
  EXPECT_FLOAT_EQ(w, stored);  // unvoiced, not a pause
  v.ms()->language = 4;  // German
  EXPECT_EQ(VXN_ModelSet_get_parameter(v.ms(), "x^a-pau+d=c", mean, vari, &w, 1, 2), 0);
  EXPECT_FLOAT_EQ(w, 0.3f);
  v.ms()->language = 6;  // Spanish: the approximant dh is a voiced sound
  EXPECT_EQ(VXN_ModelSet_get_parameter(v.ms(), "x^a-dh+d=c", mean, vari, &w, 1, 2), 1);
  EXPECT_FLOAT_EQ(w, 0.9f);
  v.ms()->language = 10;  // Brazilian Portuguese: the nasal glide wx is a voiced sound
  EXPECT_EQ(VXN_ModelSet_get_parameter(v.ms(), "x^a-wx+d=c", mean, vari, &w, 1, 2), 1);
  EXPECT_FLOAT_EQ(w, 0.9f);
  v.ms()->language = 9;  // Chinese: no European classes
  EXPECT_EQ(VXN_ModelSet_get_parameter(v.ms(), "x^a-pau+d=c", mean, vari, &w, 1, 2), 1);
  EXPECT_FLOAT_EQ(w, stored);
  v.ms()->language = 40;  // unknown id: weight stays
  EXPECT_EQ(VXN_ModelSet_get_parameter(v.ms(), "x^b-a+d=c", mean, vari, &w, 1, 2), 1);
  EXPECT_FLOAT_EQ(w, stored);
  // Means of the pitch stream are those written for the state.
  EXPECT_FLOAT_EQ(mean[0], 0.5f);

  LoadedVoice hi(single_leaf_voice({5, 5, 5, 5, 5}, {1, 2, 3}, 0.8f));
  hi.ms()->language = 5;
  EXPECT_EQ(VXN_ModelSet_get_parameter(hi.ms(), "x^b-a+d=c", mean, vari, &w, 1, 2), 1);
  EXPECT_NEAR(w, 0.8f, 0.003f);  // voiced with w > 0.5 keeps it
}

TEST_F(Lookup, GvStatistics) {
  vxn::voice::Voice voice = single_leaf_voice({5, 5, 5, 5, 5}, {1, 2, 3}, 0.9f);
  VXN_ModelSet empty;
  VXN_ModelSet_initialize(&empty, 3);
  EXPECT_EQ(VXN_ModelSet_use_gv(&empty, 0), 0);
  voice.gv[0] = {true, {0.5f, -1.25f, 3.0f}, {0.01f, 0.02f, 0.03f}};
  LoadedVoice v(voice);
  ASSERT_TRUE(v.loaded) << v.error;
  EXPECT_EQ(VXN_ModelSet_use_gv(v.ms(), 0), 1);
  EXPECT_EQ(VXN_ModelSet_use_gv(v.ms(), 1), 0);
  float mean[3], vari[3];
  VXN_ModelSet_get_gv(v.ms(), mean, vari, 0, v.engine.gv_iw[0]);
  EXPECT_FLOAT_EQ(mean[1], -1.25f);
  EXPECT_FLOAT_EQ(vari[2], 0.03f);
  EXPECT_FLOAT_EQ(v.engine.gv_iw[0][0], 1.0f);
}

TEST_F(Lookup, MalformedModelsLeaveOutputsAtZero) {
  LoadedVoice v(single_leaf_voice({5, 5, 5, 5, 5}, {1, 2, 3}, 0.9f));
  ASSERT_TRUE(v.loaded);
  float mean[3] = {9, 9, 9}, vari[3] = {9, 9, 9};
  g_nStatePrint = 2;
  testing::internal::CaptureStderr();
  // No tree serves state 7.
  VXN_ModelSet_get_parameter(v.ms(), kPlain, mean, vari, nullptr, 0, 7);
  EXPECT_EQ(mean[0], 0.0f);
  // A walk that reaches a missing node.
  VXN_Model* model = &v.ms()->stream[0].model[0];
  VXN_Node* saved = model->tree->root->no;
  model->tree->root->no = nullptr;
  model->tree->root->yes = nullptr;
  mean[0] = 9;
  VXN_ModelSet_get_parameter(v.ms(), kPlain, mean, vari, nullptr, 0, 2);
  EXPECT_EQ(mean[0], 0.0f);
  model->tree->root->no = saved;
  // A stream index outside the set.
  VXN_ModelSet_get_parameter(v.ms(), kPlain, mean, vari, nullptr, 5, 2);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("error [4060]"), std::string::npos);
  EXPECT_NE(err.find("error [4050] : Cannot find node.\n"), std::string::npos);
  // Getters on a stream that does not exist.
  EXPECT_EQ(VXN_ModelSet_get_vector_length(v.ms(), 3), 0);
  EXPECT_EQ(VXN_ModelSet_get_window_size(v.ms(), -1), 0);
  EXPECT_EQ(VXN_ModelSet_get_window_left_width(v.ms(), 0, 1), -1);
  EXPECT_FLOAT_EQ(VXN_ModelSet_get_window_coefficient(v.ms(), 0, 2, 1), 1.0f);
  EXPECT_FLOAT_EQ(VXN_ModelSet_get_window_coefficient(v.ms(), 0, 2, 2), 0.0f);
}

}  // namespace
