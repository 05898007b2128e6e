#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/VXN_engine.h"
#include "engine/VXN_vsearch.h"
#include "tests/engine/generation_fixture.h"

namespace {

struct Call {
  int count;
  int state;
  int chunk;  // index of the chunk in the ring
  std::vector<short> samples;
};

VXN_Engine* g_engine = nullptr;
std::vector<Call> g_calls;
int g_stop_after = -1;  // request a stop inside this callback (0-based)

void record(short* samples, int count, int state) {
  Call c{count, state, (int)((samples - g_engine->ring_buffer) / g_engine->chunk_size),
         std::vector<short>(samples, samples + count)};
  g_calls.push_back(c);
  if ((int)g_calls.size() - 1 == g_stop_after) VXN_Engine_set_control_state(g_engine, 0);
}

class GStream : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nStatePrint = 2;
    VXN_Engine_initialize(&engine_, 3);
    engine_.stream_count = 3;
    g_engine = &engine_;
    g_calls.clear();
    g_stop_after = -1;
    set_output(24000, 1, 2400, 4);
  }
  void TearDown() override {
    VXN_Engine_refresh(&engine_);
    VXN_Engine_clear(&engine_);
  }

  void set_output(int rate, int channels, int chunk_size, int chunk_count) {
    engine_.output_rate = rate;
    engine_.output_fperiod = rate / 200;
    engine_.rate_ratio = (float)engine_.sampling_rate / (float)rate;
    engine_.channels = channels;
    VXN_free(engine_.ring_buffer);
    engine_.ring_buffer = (short*)VXN_calloc((size_t)chunk_size * chunk_count, sizeof(short));
    engine_.chunk_size = chunk_size;
    engine_.chunk_count = chunk_count;
    engine_.chunk_fill = 0;
    engine_.chunk_index = 0;
    engine_.stream_callback = record;
  }

  // An utterance of nlabel five-state labels, every state `frames` frames
  // long, voiced from the second state to the second-last; log F0 follows
  // lf0(state), the log gain gain(state).
  template <typename Lf0, typename Gain>
  void make_utterance(int nlabel, int frames, Lf0 lf0, Gain gain) {
    VXN_SStreamSet* sss = &engine_.sss;
    vxn_test::build_sss(sss, vxn_test::voice_shapes(), 5, nlabel);
    std::vector<int> dur((size_t)sss->total_state, frames);
    vxn_test::set_durations(sss, dur);
    for (int k = 0; k < sss->total_state; k++) {
      float* c = sss->sstream[0].mean[k];
      c[0] = gain(k);
      for (int d = 1; d < 35; d++) c[d] = 0.3f / (float)(d + 1) * ((d % 2) ? 1.0f : -1.0f);
      sss->sstream[1].msd[k] = (k > 0 && k < sss->total_state - 1) ? 0.9f : 0.1f;
      sss->sstream[1].mean[k][0] = lf0(k);
      for (int d = 0; d < 5; d++) sss->sstream[2].mean[k][d] = -10.0f - 4.0f * (float)d;
      for (int d = 0; d < 105; d++) sss->sstream[0].vari[k][d] = 0.01f;
      sss->sstream[1].vari[k][0] = 0.01f;
    }
    ASSERT_EQ(VXN_Engine_create_pstream(&engine_), 1);
  }
  void make_plain_utterance(int frames_total) {
    make_utterance(1, frames_total / 5, [](int) { return 4.8f; }, [](int) { return 5.0f; });
  }

  std::vector<short> delivered() const {
    std::vector<short> all;
    for (const Call& c : g_calls) all.insert(all.end(), c.samples.begin(), c.samples.end());
    return all;
  }

  VXN_Engine engine_;
};

// First chunk 2, then 0, last chunk 3 while more text follows (1 at the end
// of the text); the chunks walk round the ring and carry the waveform.
TEST_F(GStream, CallbackStatesAndRing) {
  make_plain_utterance(100);  // 100 frames: 119 + 99 x 120 output samples
  for (int last_piece = 0; last_piece <= 1; last_piece++) {
    SCOPED_TRACE("last_piece " + std::to_string(last_piece));
    g_calls.clear();
    engine_.chunk_index = 0;
    engine_.last_piece = last_piece;
    VXN_GStreamSet_clear(&engine_.gss);
    ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
    ASSERT_EQ(g_calls.size(), 5u);
    const int want_state[5] = {2, 0, 0, 0, last_piece ? 1 : 3};
    for (int i = 0; i < 5; i++) {
      EXPECT_EQ(g_calls[i].state, want_state[i]);
      EXPECT_EQ(g_calls[i].count, i < 4 ? 2400 : 11999 - 4 * 2400);
      EXPECT_EQ(g_calls[i].chunk, i % 4);
    }
    EXPECT_EQ(engine_.chunk_fill, 0);
    EXPECT_EQ(engine_.chunk_index, 1);
    // At the model rate the output is the waveform itself, less the one
    // input sample the resampler keeps back.
    const std::vector<short> all = delivered();
    ASSERT_EQ(VXN_GStreamSet_get_total_nsample(&engine_.gss), 12000);
    for (size_t i = 0; i < all.size(); i++)
      ASSERT_EQ(all[i], VXN_GStreamSet_get_speech(&engine_.gss, (int)i)) << "sample " << i;
  }
}

TEST_F(GStream, ShortPieceGivesOneCallback) {
  make_plain_utterance(10);
  engine_.last_piece = 0;
  ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].state, 3);
  EXPECT_EQ(g_calls[0].count, 1199);
}

TEST_F(GStream, ExactMultipleEndsWithAnEmptyCallback) {
  set_output(24000, 1, 923, 3);  // 11999 = 13 x 923
  make_plain_utterance(100);
  ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
  ASSERT_EQ(g_calls.size(), 14u);
  for (int i = 0; i < 13; i++) {
    EXPECT_EQ(g_calls[i].count, 923);
    EXPECT_EQ(g_calls[i].state, i == 0 ? 2 : 0);
  }
  EXPECT_EQ(g_calls[13].count, 0);
  EXPECT_EQ(g_calls[13].state, 1);
}

// A chunk smaller than one frame's output is filled and sent as often as
// needed; nothing is lost or written past the ring.
TEST_F(GStream, ChunkSmallerThanAFrame) {
  set_output(48000, 2, 100, 2);
  make_plain_utterance(20);
  ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
  int total = 0;
  for (size_t i = 0; i + 1 < g_calls.size(); i++) {
    EXPECT_EQ(g_calls[i].count, 100);
    EXPECT_EQ(g_calls[i].state, i == 0 ? 2 : 0);
    total += 100;
  }
  total += g_calls.back().count;
  EXPECT_EQ(g_calls.back().state, 1);
  EXPECT_EQ(total, 2 * (238 + 19 * 240));
}

TEST_F(GStream, NoRingStillSynthesises) {
  make_plain_utterance(20);
  VXN_free(engine_.ring_buffer);
  engine_.ring_buffer = nullptr;
  testing::internal::CaptureStderr();
  EXPECT_EQ(VXN_Engine_create_gstream(&engine_), 0);
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(g_calls.empty());
  EXPECT_EQ(VXN_GStreamSet_get_total_nsample(&engine_.gss), 20 * 120);
  int nonzero = 0;
  for (int i = 0; i < 2400; i++) nonzero += VXN_GStreamSet_get_speech(&engine_.gss, i) != 0;
  EXPECT_GT(nonzero, 0);
}

TEST_F(GStream, CreateWithoutClearReports) {
  make_plain_utterance(10);
  ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
  testing::internal::CaptureStderr();
  ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("error [5020] : VXN_GStreamSet is not initialized.. gstream should be clear.\n"),
            std::string::npos);
  EXPECT_EQ(VXN_GStreamSet_get_total_frame(&engine_.gss), 10);
}

// Stop requested inside the first callback: the partial chunk is faded and
// sent with state 0, then one chunk of 10 frames of ones with state 1.
TEST_F(GStream, StopFadesThePartialChunkAndSendsOnes) {
  const int rates[2] = {24000, 48000};
  for (int rate : rates) {
    SCOPED_TRACE("rate " + std::to_string(rate));
    set_output(rate, 1, 2500, 4);
    g_calls.clear();
    engine_.control_state = 1;
    VXN_Engine_refresh(&engine_);
    make_plain_utterance(100);
    g_stop_after = 0;
    ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
    ASSERT_EQ(g_calls.size(), 3u);
    EXPECT_EQ(g_calls[0].state, 2);
    EXPECT_EQ(g_calls[1].state, 0);
    EXPECT_EQ(g_calls[2].state, 1);
    ASSERT_EQ(g_calls[2].count, 10 * engine_.output_fperiod);
    for (short v : g_calls[2].samples) ASSERT_EQ(v, 1);
    const int f = g_calls[1].count;
    EXPECT_GT(f, 0);
    EXPECT_LT(f, 2500);
    if (rate == 24000) {
      // At 24 kHz the stream is the waveform; the fade runs from full level
      // down to 1/(f + 1).
      for (int i = 0; i < f; i++) {
        const short s = VXN_GStreamSet_get_speech(&engine_.gss, 2500 + i);
        ASSERT_EQ(g_calls[1].samples[(size_t)i], (short)(int)((float)(f - i) * s / (float)(f + 1)))
            << "sample " << i;
      }
    }
    EXPECT_EQ(engine_.chunk_fill, 0);
    EXPECT_EQ(engine_.chunk_index, 3);
  }
}

TEST_F(GStream, SilenceIsOnesWithStates) {
  engine_.last_piece = 0;
  VXN_GStreamSet_silence(&engine_, 250, 24000);  // 6000 samples
  ASSERT_EQ(g_calls.size(), 3u);
  const int counts[3] = {2400, 2400, 1200};
  const int states[3] = {2, 0, 3};
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(g_calls[i].count, counts[i]);
    EXPECT_EQ(g_calls[i].state, states[i]);
    for (short v : g_calls[i].samples) ASSERT_EQ(v, 1);
  }
  // An exact multiple still closes with an empty chunk; 16 samples per ms at
  // 16 kHz.
  g_calls.clear();
  engine_.last_piece = 1;
  VXN_GStreamSet_silence(&engine_, 300, 16000);  // 4800 samples
  ASSERT_EQ(g_calls.size(), 3u);
  EXPECT_EQ(g_calls[1].state, 0);
  EXPECT_EQ(g_calls[2].count, 0);
  EXPECT_EQ(g_calls[2].state, 1);
  EXPECT_EQ(engine_.chunk_index, (3 + 3) % 4);
}

TEST_F(GStream, SilenceStopsAfterTheCurrentChunk) {
  engine_.last_piece = 0;
  g_stop_after = 0;
  VXN_GStreamSet_silence(&engine_, 1000, 24000);
  ASSERT_EQ(g_calls.size(), 2u);
  EXPECT_EQ(g_calls[0].state, 2);
  EXPECT_EQ(g_calls[1].state, 1);
  EXPECT_EQ(g_calls[1].count, 24000 % 2400);
}

// Silences last as long in stereo as in mono: the interleaved chunks hold
// twice the values, both for a silence tag and for the closing chunk of a stop.
TEST_F(GStream, StereoSilencesCountFramesOfBothChannels) {
  set_output(24000, 2, 4800, 4);
  engine_.last_piece = 1;
  VXN_GStreamSet_silence(&engine_, 150, 24000);  // 3600 frames, 7200 values
  int total = 0;
  for (const Call& c : g_calls) total += c.count;
  EXPECT_EQ(total, 2 * 150 * 24);
  EXPECT_EQ(g_calls.back().state, 1);

  g_calls.clear();
  VXN_Engine_refresh(&engine_);
  make_plain_utterance(100);
  g_stop_after = 0;
  ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
  ASSERT_GE(g_calls.size(), 2u);
  EXPECT_EQ(g_calls.back().state, 1);
  EXPECT_EQ(g_calls.back().count, 2 * 10 * engine_.output_fperiod);
}

// One second of speech gives one second of output at every rate, within one
// output frame, with both channels equal in stereo.
TEST_F(GStream, ResamplesToTheOutputRate) {
  const int rates[3] = {16000, 24000, 48000};
  for (int rate : rates)
    for (int channels = 1; channels <= 2; channels++) {
      SCOPED_TRACE("rate " + std::to_string(rate) + " channels " + std::to_string(channels));
      set_output(rate, channels, 4000, 3);
      g_calls.clear();
      VXN_Engine_refresh(&engine_);
      make_plain_utterance(200);
      ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
      const std::vector<short> all = delivered();
      EXPECT_LE(abs((int)all.size() - rate * channels), engine_.output_fperiod * channels);
      if (channels == 2) {
        for (size_t i = 0; i + 1 < all.size(); i += 2) ASSERT_EQ(all[i], all[i + 1]);
      }
      // Linear interpolation stays between the neighbouring input samples.
      const int16_t* speech = VXN_GStreamSet_get_speech_ptr(&engine_.gss);
      const double step = 24000.0 / rate;
      for (size_t k = 0; k < all.size() / channels; k += 97) {
        const double p = k * step;
        const int j = (int)p;
        const int a = std::max(j - 1, 0);
        const int lo = *std::min_element(speech + a, speech + j + 3);
        const int hi = *std::max_element(speech + a, speech + j + 3);
        ASSERT_GE(all[k * channels], lo - 1) << "output " << k;
        ASSERT_LE(all[k * channels], hi + 1) << "output " << k;
      }
    }
}

// Log-gain clamp and 3-point average; the first and last frames stay.
TEST_F(GStream, LogGainClampAndAverage) {
  make_utterance(3, 4, [](int) { return 4.8f; },
                 [](int k) { return (k % 3 == 0) ? 9.0f : 4.0f + 0.2f * (float)k; });
  const int T = engine_.pss.total_frame;
  std::vector<float> before((size_t)T);
  for (int t = 0; t < T; t++) before[(size_t)t] = VXN_PStreamSet_get_parameter(&engine_.pss, 0, t, 0);
  ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
  auto clamped = [&](int t) {
    return (t == 0 || t == T - 1) ? before[(size_t)t] : std::min(before[(size_t)t], 6.8f);
  };
  EXPECT_EQ(VXN_PStreamSet_get_parameter(&engine_.pss, 0, 0, 0), before[0]);
  EXPECT_EQ(VXN_PStreamSet_get_parameter(&engine_.pss, 0, T - 1, 0), before[(size_t)T - 1]);
  bool any_clamped = false;
  for (int t = 1; t < T - 1; t++) {
    any_clamped |= before[(size_t)t] > 6.8f;
    EXPECT_NEAR(VXN_PStreamSet_get_parameter(&engine_.pss, 0, t, 0),
                (clamped(t - 1) + clamped(t) + clamped(t + 1)) / 3.0f, 1e-5)
        << "frame " << t;
  }
  EXPECT_TRUE(any_clamped);
}

// The two moving averages: a ramp keeps its interior values (the forward mean
// runs h/2 frames ahead, the backward mean brings it back), its end is pulled
// in, and a constant contour is untouched. h is 18, 6 in hybrid mode.
TEST_F(GStream, LogF0SmoothingPasses) {
  for (int hybrid = 0; hybrid <= 1; hybrid++) {
    SCOPED_TRACE(hybrid ? "hybrid" : "basic");
    VXN_Engine_refresh(&engine_);
    VXN_VT_set_hybrid(&engine_.vt, hybrid);
    VXN_VT_set_pitch_range(&engine_.vt, 0.0f, 0.0f, 0.0f);  // range adjustment is the identity
    engine_.language_id = 0;
    make_utterance(20, 1, [](int k) { return 4.0f + 0.01f * (float)k; }, [](int) { return 5.0f; });
    // Voiced frames are 1..98 with ivar on the static window only at the
    // ends; read the generated contour as input.
    const int V = engine_.pss.pstream[1].length;
    ASSERT_EQ(V, 98);
    std::vector<float> x((size_t)V);
    for (int u = 0; u < V; u++) x[(size_t)u] = VXN_PStreamSet_get_parameter(&engine_.pss, 1, u, 0);
    ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
    const int h = hybrid ? 6 : 18;
    // Interior of the (generated, hence nearly linear) ramp is preserved.
    for (int u = 2 * h; u < V - 2 * h; u++)
      EXPECT_NEAR(VXN_PStreamSet_get_parameter(&engine_.pss, 1, u, 0), x[(size_t)u], 2e-3) << u;
    // The last value becomes the mean of the last h + 1 forward means.
    EXPECT_LT(VXN_PStreamSet_get_parameter(&engine_.pss, 1, V - 1, 0), x[(size_t)V - 1] - 0.002f);
  }
}

TEST_F(GStream, ShortVoicedStretchAveragesToTheEnd) {
  // Two voiced frames: forward (x0 + x1) / 2, x1; backward (x0 + 3 x1) / 4.
  make_utterance(3, 1, [](int k) { return k == 7 ? 5.0f : 4.6f; }, [](int) { return 5.0f; });
  VXN_PStreamSet* pss = &engine_.pss;
  for (int k = 0; k < 15; k++) engine_.sss.sstream[1].msd[k] = (k == 7 || k == 8) ? 0.9f : 0.1f;
  VXN_PStreamSet_clear(pss);
  ASSERT_EQ(VXN_Engine_create_pstream(&engine_), 1);
  ASSERT_EQ(pss->pstream[1].length, 2);
  const float x0 = VXN_PStreamSet_get_parameter(pss, 1, 0, 0);
  const float x1 = VXN_PStreamSet_get_parameter(pss, 1, 1, 0);
  ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
  EXPECT_NEAR(VXN_PStreamSet_get_parameter(pss, 1, 0, 0), (x0 + x1) / 2.0f, 1e-6);
  EXPECT_NEAR(VXN_PStreamSet_get_parameter(pss, 1, 1, 0), (x0 + 3.0f * x1) / 4.0f, 1e-6);
}

// Hybrid pitch range, US English female voice (R 168, E 25, F 5 Hz): a
// 100-150 Hz contour is narrower than R, so it is lifted by F and widened by
// E plus the pitch shift.
TEST_F(GStream, HybridPitchRange) {
  VXN_VT_set_hybrid(&engine_.vt, 1);
  engine_.language_id = 1;
  engine_.model_index = 0;
  engine_.pitch_shift = 20;
  const float lo = logf(100.0f), hi = logf(150.0f);
  make_utterance(12, 2, [&](int k) { return k < 30 ? lo : hi; }, [](int) { return 5.0f; });
  // Replace the generated contour by two flat plateaus.
  VXN_PStreamSet* pss = &engine_.pss;
  const int V = pss->pstream[1].length;
  for (int u = 0; u < V; u++) VXN_PStreamSet_get_parameter_vector(pss, 1, u)[0] = u < V / 2 ? lo : hi;
  ASSERT_EQ(VXN_Engine_create_gstream(&engine_), 0);
  EXPECT_NEAR(expf(VXN_PStreamSet_get_parameter(pss, 1, 10, 0)), 105.0f, 0.05f);
  EXPECT_NEAR(expf(VXN_PStreamSet_get_parameter(pss, 1, V - 10, 0)), 105.0f + 50.0f + 25.0f + 20.0f,
              0.1f);
  float R, E, F;
  VXN_VT_get_pitch_range(&engine_.vt, &R, &E, &F);
  EXPECT_EQ(R, 168.0f);
  EXPECT_EQ(E, 25.0f);
  EXPECT_EQ(F, 5.0f);
}

}  // namespace
