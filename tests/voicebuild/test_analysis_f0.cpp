// WAV reading and F0 extraction on signals made in the test.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tools/voicebuild/analysis/VXN_f0.h"
#include "tools/voicebuild/analysis/VXN_wav.h"

namespace {

using vxn::analysis::F0Options;
using vxn::analysis::Wav;

const double kPi = 3.14159265358979323846;

// Glottal-like pulse train through one formant resonance; f0(t) in Hz.
template <typename F>
void add_voiced(std::vector<float>* out, double rate, double seconds, F f0, double amp) {
  const std::size_t n = (std::size_t)(seconds * rate);
  double phase = 0.0, y1 = 0.0, y2 = 0.0;
  const double r = std::exp(-kPi * 120.0 / rate), w = 2.0 * kPi * 700.0 / rate;
  for (std::size_t i = 0; i < n; ++i) {
    phase += f0(i / rate) / rate;
    double pulse = 0.0;
    if (phase >= 1.0) {
      phase -= 1.0;
      pulse = 1.0;
    }
    const double y = pulse + 2.0 * r * std::cos(w) * y1 - r * r * y2;
    y2 = y1;
    y1 = y;
    out->push_back((float)(amp * y));
  }
}

void add_noise(std::vector<float>* out, double rate, double seconds, double amp, unsigned seed) {
  std::mt19937 gen(seed);
  std::normal_distribution<double> g(0.0, amp);
  for (std::size_t i = 0; i < (std::size_t)(seconds * rate); ++i) out->push_back((float)g(gen));
}

struct Span {
  double from, to;  // seconds
};

// Share of the frames inside span that are voiced, and the worst relative F0
// error among them against truth(t).
template <typename F>
void score(const std::vector<double>& f0, double shift, Span span, F truth, double* voiced_share,
           double* worst) {
  int frames = 0, voiced = 0;
  *worst = 0.0;
  for (std::size_t t = 0; t < f0.size(); ++t) {
    const double time = t * shift;
    if (time < span.from || time > span.to) continue;
    ++frames;
    if (f0[t] > 0.0) {
      ++voiced;
      *worst = std::max(*worst, std::fabs(f0[t] / truth(time) - 1.0));
    }
  }
  *voiced_share = frames ? (double)voiced / frames : 0.0;
}

TEST(F0, TracksSteadyGlidingAndOctaveSpacedVoicesAndRejectsNoiseAndSilence) {
  for (double rate : {16000.0, 24000.0}) {
    SCOPED_TRACE(rate);
    std::vector<float> x;
    add_noise(&x, rate, 0.3, 2.0, 1);                                          // near silence
    add_voiced(&x, rate, 0.5, [](double) { return 120.0; }, 3000.0);           // 0.3 .. 0.8
    add_noise(&x, rate, 0.4, 1500.0, 2);                                       // 0.8 .. 1.2
    add_voiced(&x, rate, 0.6, [](double t) { return 180.0 + 120.0 * t; }, 3000.0);  // 1.2 .. 1.8
    add_voiced(&x, rate, 0.4, [](double) { return 90.0; }, 3000.0);            // 1.8 .. 2.2
    const F0Options opt;
    const std::vector<double> f0 = vxn::analysis::extract_f0(x.data(), x.size(), rate, opt);
    ASSERT_EQ(f0.size(), vxn::analysis::frame_count(x.size(), rate, opt.frame_shift_s));
    double share, worst;
    score(f0, opt.frame_shift_s, {0.35, 0.75}, [](double) { return 120.0; }, &share, &worst);
    EXPECT_GT(share, 0.97);
    EXPECT_LT(worst, 0.02);
    score(f0, opt.frame_shift_s, {1.25, 1.75}, [](double t) { return 180.0 + 120.0 * (t - 1.2); },
          &share, &worst);
    EXPECT_GT(share, 0.97);
    EXPECT_LT(worst, 0.03);
    score(f0, opt.frame_shift_s, {1.85, 2.15}, [](double) { return 90.0; }, &share, &worst);
    EXPECT_GT(share, 0.97);
    EXPECT_LT(worst, 0.02);
    score(f0, opt.frame_shift_s, {0.85, 1.15}, [](double) { return 1.0; }, &share, &worst);
    EXPECT_LT(share, 0.1) << "noise taken as voiced";
    score(f0, opt.frame_shift_s, {0.0, 0.25}, [](double) { return 1.0; }, &share, &worst);
    EXPECT_EQ(share, 0.0) << "silence taken as voiced";
  }
}

TEST(F0, RangeLimitsAndDegenerateInput) {
  const double rate = 16000.0;
  std::vector<float> x;
  add_voiced(&x, rate, 0.4, [](double) { return 150.0; }, 3000.0);
  F0Options opt;
  opt.min_hz = 200.0;  // the true F0 lies below the range: never reported inside it wrongly
  for (double v : vxn::analysis::extract_f0(x.data(), x.size(), rate, opt))
    EXPECT_TRUE(v == 0.0 || v >= 199.0) << v;
  opt = F0Options();
  opt.max_hz = opt.min_hz;
  for (double v : vxn::analysis::extract_f0(x.data(), x.size(), rate, opt)) EXPECT_EQ(v, 0.0);
  EXPECT_TRUE(vxn::analysis::extract_f0(x.data(), 0, rate, F0Options()).empty());
  // Frame t is centred at t * shift: 80 samples at 16 kHz, 5 ms.
  EXPECT_EQ(vxn::analysis::frame_count(1, rate, 0.005), 1u);
  EXPECT_EQ(vxn::analysis::frame_count(80, rate, 0.005), 1u);
  EXPECT_EQ(vxn::analysis::frame_count(81, rate, 0.005), 2u);
  EXPECT_EQ(vxn::analysis::frame_count(100, rate, 0.0), 0u);
}

std::vector<std::uint8_t> wav_bytes(int format, int channels, int rate, int bits,
                                    const std::vector<std::int16_t>& data, bool extensible = false) {
  std::vector<std::uint8_t> b;
  auto put32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back((std::uint8_t)(v >> (8 * i))); };
  auto put16 = [&](std::uint16_t v) { b.push_back((std::uint8_t)v); b.push_back((std::uint8_t)(v >> 8)); };
  const std::uint32_t fmt_len = extensible ? 40 : 16;
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  put32(0);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'L', 'I', 'S', 'T'});
  put32(3);  // an odd unknown chunk, padded
  b.insert(b.end(), {'a', 'b', 'c', 0});
  b.insert(b.end(), {'f', 'm', 't', ' '});
  put32(fmt_len);
  put16(extensible ? 0xFFFE : format);
  put16(channels);
  put32(rate);
  put32(rate * channels * bits / 8);
  put16(channels * bits / 8);
  put16(bits);
  if (extensible) {
    put16(22);
    put16(bits);
    put32(0);
    put16(format);
    for (int i = 0; i < 14; ++i) b.push_back(0);
  }
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  put32((std::uint32_t)(2 * data.size()));
  for (std::int16_t v : data) put16((std::uint16_t)v);
  return b;
}

TEST(Wav, ReadsMonoStereoAndExtensibleAndWritesWhatItReads) {
  Wav w;
  std::string error;
  std::vector<std::uint8_t> b = wav_bytes(1, 2, 44100, 16, {100, 300, -32768, 32767, 7, 8});
  ASSERT_TRUE(vxn::analysis::parse_wav(b.data(), b.size(), "s.wav", &w, &error)) << error;
  EXPECT_EQ(w.rate, 44100);
  EXPECT_EQ(w.channels, 2);
  EXPECT_EQ(w.samples, (std::vector<float>{200.0f, -0.5f, 7.5f}));
  b = wav_bytes(1, 1, 16000, 16, {1, -2, 3}, true);
  ASSERT_TRUE(vxn::analysis::parse_wav(b.data(), b.size(), "e.wav", &w, &error)) << error;
  EXPECT_EQ(w.samples, (std::vector<float>{1.0f, -2.0f, 3.0f}));

  const std::string path = std::string(VXN_TEST_BINARY_DIR) + "/test_analysis_roundtrip.wav";
  const std::vector<float> x = {0.4f, -1.6f, 40000.0f, -40000.0f};
  ASSERT_TRUE(vxn::analysis::write_wav(path, x.data(), x.size(), 24000, &error)) << error;
  ASSERT_TRUE(vxn::analysis::read_wav(path, &w, &error)) << error;
  EXPECT_EQ(w.rate, 24000);
  EXPECT_EQ(w.samples, (std::vector<float>{0.0f, -2.0f, 32767.0f, -32768.0f}));
  std::remove(path.c_str());
}

TEST(Wav, RejectsWhatItCannotReadNamingFileAndValue) {
  Wav w;
  std::string error;
  struct Case {
    std::vector<std::uint8_t> bytes;
    const char* expect;
  };
  std::vector<Case> cases = {
      {wav_bytes(3, 1, 16000, 16, {1}), "format 3 is not PCM"},
      {wav_bytes(1, 1, 16000, 8, {1}), "8-bit samples"},
      {wav_bytes(1, 3, 16000, 16, {1, 2, 3}), "3 channels"},
      {wav_bytes(1, 1, 0, 16, {1}), "rate 0"},
      {{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, "no fmt chunk"},
      {{'O', 'g', 'g', 'S'}, "not a RIFF/WAVE file"},
  };
  std::vector<std::uint8_t> truncated = wav_bytes(1, 1, 16000, 16, {1, 2, 3, 4});
  truncated.resize(truncated.size() - 3);
  cases.push_back({truncated, "data chunk of 8 bytes, only 5 in the file"});
  for (const Case& c : cases) {
    EXPECT_FALSE(vxn::analysis::parse_wav(c.bytes.data(), c.bytes.size(), "bad.wav", &w, &error));
    EXPECT_NE(error.find("bad.wav"), std::string::npos) << error;
    EXPECT_NE(error.find(c.expect), std::string::npos) << error;
  }
  EXPECT_FALSE(vxn::analysis::read_wav("/nonexistent/x.wav", &w, &error));
  EXPECT_NE(error.find("/nonexistent/x.wav: cannot open"), std::string::npos) << error;
}

}  // namespace
