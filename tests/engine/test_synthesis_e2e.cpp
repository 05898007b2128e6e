#include <gtest/gtest.h>

#include <math.h>

#include <random>
#include <string>
#include <vector>

#include "engine/VXN_engine.h"
#include "engine/VXN_vsearch.h"
#include "tests/engine/voice_fixture.h"

// A written synthetic voice, labels in the engine, and PCM through the
// callback: the three stages of a sentence end to end.

namespace {

std::vector<short> g_pcm;
std::vector<int> g_states;

void collect(short* samples, int count, int state) {
  g_pcm.insert(g_pcm.end(), samples, samples + count);
  g_states.push_back(state);
}

class SynthesisEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nStatePrint = 2;
    VXN_Engine_initialize(&engine_, 3);
    ASSERT_EQ(vxn_test::write_and_load(vxn_test::plausible_voice(3), dir_.stem("voice"), &engine_),
              "");
    engine_.ms.language = 1;
    engine_.ms.model_select = 0;
    engine_.language_id = 1;
    engine_.chunk_size = 4800;
    engine_.chunk_count = 4;
    engine_.ring_buffer = (short*)VXN_calloc(4800 * 4, sizeof(short));
    engine_.stream_callback = collect;
    g_pcm.clear();
    g_states.clear();
  }
  void TearDown() override {
    VXN_Engine_refresh(&engine_);
    VXN_Engine_clear(&engine_);
  }

  // A sentence of n random full-context labels between two pauses.
  std::vector<std::string> sentence(int n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<std::string> labels;
    for (int i = 0; i < n; i++) labels.push_back(vxn::voice::make_synthetic_label(rng));
    return labels;
  }

  void speak(const std::vector<std::string>& labels) {
    VXN_Engine_refresh(&engine_);
    vxn_test::set_labels(&engine_, labels);
    VXN_Engine_create_sstream(&engine_, 0, 0);
    ASSERT_EQ(VXN_Engine_create_pstream(&engine_), 1);
    ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
  }

  vxn_test::TempDir dir_;
  VXN_Engine engine_;
};

TEST_F(SynthesisEndToEnd, SentenceBecomesSpeech) {
  engine_.last_piece = 0;
  speak(sentence(20, 11));
  const int frames = VXN_SStreamSet_get_total_frame(&engine_.sss);
  ASSERT_GT(frames, 50);
  EXPECT_EQ(VXN_PStreamSet_get_total_frame(&engine_.pss), frames);
  EXPECT_EQ(VXN_GStreamSet_get_total_nsample(&engine_.gss), frames * 120);
  // Everything but the resampler's one held-back sample reaches the host.
  EXPECT_EQ((int)g_pcm.size(), frames * 120 - 1);
  ASSERT_GE(g_states.size(), 2u);
  EXPECT_EQ(g_states.front(), 2);
  EXPECT_EQ(g_states.back(), 3);
  for (size_t i = 1; i + 1 < g_states.size(); i++) EXPECT_EQ(g_states[i], 0);
  // Speech, not silence or clipping: a real level in the middle of the
  // sentence, and few samples at full scale.
  double energy = 0.0;
  int clipped = 0;
  const size_t a = g_pcm.size() / 4, b = 3 * g_pcm.size() / 4;
  for (size_t i = a; i < b; i++) {
    energy += (double)g_pcm[i] * g_pcm[i];
    clipped += abs(g_pcm[i]) >= 32767;
  }
  const double rms = sqrt(energy / (double)(b - a));
  EXPECT_GT(rms, 30.0);
  EXPECT_LT(clipped, (int)(b - a) / 100);
}

TEST_F(SynthesisEndToEnd, SentencesFollowEachOtherAndResample) {
  engine_.output_rate = 16000;
  engine_.output_fperiod = 80;
  engine_.channels = 2;
  engine_.rate_ratio = 1.5f;
  engine_.last_piece = 0;
  speak(sentence(12, 5));
  const int first = VXN_SStreamSet_get_total_frame(&engine_.sss);
  const size_t first_pcm = g_pcm.size();
  engine_.last_piece = 1;
  speak(sentence(9, 6));
  const int second = VXN_SStreamSet_get_total_frame(&engine_.sss);
  EXPECT_NEAR((double)first_pcm, 2.0 * first * 80, 2.0 * 80);
  EXPECT_NEAR((double)(g_pcm.size() - first_pcm), 2.0 * second * 80, 2.0 * 80);
  EXPECT_EQ(g_states.back(), 1);
  EXPECT_EQ(engine_.chunk_fill, 0);
  for (size_t i = 0; i + 1 < g_pcm.size(); i += 2) ASSERT_EQ(g_pcm[i], g_pcm[i + 1]);
}

TEST_F(SynthesisEndToEnd, TimedLabelsMatchTheStateDurations) {
  speak(sentence(6, 21));
  FILE* fp = tmpfile();
  ASSERT_NE(fp, nullptr);
  VXN_Engine_save_label(&engine_, fp);
  rewind(fp);
  long start = 0, end = 0, prev_end = 0;
  char name[2048];
  int lines = 0;
  while (fscanf(fp, "%ld %ld %2047s", &start, &end, name) == 3) {
    EXPECT_EQ(start, prev_end);
    prev_end = end;
    lines++;
  }
  fclose(fp);
  EXPECT_EQ(lines, 6);
  EXPECT_EQ(prev_end, (long)VXN_SStreamSet_get_total_frame(&engine_.sss) * 50000);
}

// Labels that match nothing in particular, odd speeds, pause deletion and
// utterances of one or two labels: every stage runs to its end and the host
// always receives the closing chunk.
TEST_F(SynthesisEndToEnd, ArbitraryUtterancesRunThrough) {
  std::mt19937 rng(77);
  std::uniform_int_distribution<int> byte(33, 126), len(0, 40), count(1, 12);
  const float speeds[] = {0.3f, 1.0f, 2.5f, 10.0f};
  for (int trial = 0; trial < 12; trial++) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    std::vector<std::string> labels = sentence(count(rng), 100 + trial);
    for (std::string& l : labels)
      if (trial % 2) {
        l.assign((size_t)len(rng) + 1, 'x');
        for (char& c : l) c = (char)byte(rng);
      }
    g_states.clear();
    VXN_Engine_refresh(&engine_);
    vxn_test::set_labels(&engine_, labels);
    VXN_Label_set_speech_speed(&engine_.label, speeds[trial % 4]);
    VXN_Engine_create_sstream(&engine_, trial % 3 == 0, trial % 4 == 0);
    ASSERT_EQ(VXN_Engine_create_pstream(&engine_), 1);
    ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
    ASSERT_FALSE(g_states.empty());
    EXPECT_EQ(g_states.back(), 1);
    EXPECT_EQ(engine_.chunk_fill, 0);
  }
}

// Spectral sharpening, when a host asks for it: the spectral trajectory
// spreads towards the voice's global variance while every frame keeps the
// energy of its envelope, so the speech stays as loud as before.
TEST_F(SynthesisEndToEnd, SpectralSharpeningKeepsFrameEnergy) {
  // Envelope energy over linear frequency on a fine grid.
  const int grid = 4096;
  std::vector<double> cosines((size_t)grid * 35);
  for (int k = 0; k < grid; k++) {
    const double w = M_PI * (k + 0.5) / grid;
    const double wt = w + 2.0 * atan2(0.45 * sin(w), 1.0 - 0.45 * cos(w));
    for (int m = 0; m < 35; m++) cosines[(size_t)k * 35 + (size_t)m] = cos(m * wt);
  }
  auto energy = [&](const float* c) {
    double sum = 0.0;
    for (int k = 0; k < grid; k++) {
      double s = 0.0;
      for (int m = 0; m < 35; m++) s += c[m] * cosines[(size_t)k * 35 + (size_t)m];
      sum += exp(2.0 * s);
    }
    return sum / grid;
  };
  auto spread = [](const std::vector<std::vector<float>>& p, int d) {
    double m = 0.0, v = 0.0;
    for (const auto& f : p) m += f[(size_t)d];
    m /= (double)p.size();
    for (const auto& f : p) v += (f[(size_t)d] - m) * (f[(size_t)d] - m);
    return v / (double)p.size();
  };
  auto run = [&](float strength, std::vector<std::vector<float>>* par) {
    g_pcm.clear();
    VXN_Engine_set_spectral_variance(&engine_, strength);
    VXN_Engine_refresh(&engine_);
    vxn_test::set_labels(&engine_, sentence(25, 31));
    VXN_Engine_create_sstream(&engine_, 0, 0);
    EXPECT_EQ(VXN_Engine_create_pstream(&engine_), 1);
    // As generated: the frame loop smooths c0 in place afterwards.
    par->clear();
    for (int t = 0; t < VXN_PStreamSet_get_total_frame(&engine_.pss); t++) {
      const float* c = VXN_PStreamSet_get_parameter_vector(&engine_.pss, 0, t);
      par->emplace_back(c, c + 35);
    }
    EXPECT_EQ(VXN_Engine_create_gstream(&engine_), 0);
    double e = 0.0;
    for (short x : g_pcm) e += (double)x * x;
    return sqrt(e / (double)g_pcm.size());
  };
  std::vector<std::vector<float>> plain, sharp;
  const double rms_plain = run(0.0f, &plain);
  const double rms_sharp = run(1.0f, &sharp);
  ASSERT_EQ(plain.size(), sharp.size());
  for (size_t t = 0; t < plain.size(); t++)
    EXPECT_NEAR(log(energy(sharp[t].data()) / energy(plain[t].data())), 0.0, 0.1) << "frame " << t;
  // Dimensions spread, or stay where the synthetic voice's global variance
  // is not positive.
  int wider = 0;
  for (int d = 1; d < 35; d++) {
    EXPECT_GE(spread(sharp, d), 0.999 * spread(plain, d)) << "dimension " << d;
    wider += spread(sharp, d) > 1.01 * spread(plain, d);
  }
  EXPECT_GE(wider, 10);
  EXPECT_NEAR(20.0 * log10(rms_sharp / rms_plain), 0.0, 1.5);
  EXPECT_NE(plain, sharp);
}

}  // namespace
