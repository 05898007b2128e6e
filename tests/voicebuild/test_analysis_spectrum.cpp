// Resampling, mel-cepstrum (against SPTK's mel-cepstral analysis) and band
// aperiodicity on signals made in the test.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <random>
#include <vector>

#include "engine/VXN_vocoder.h"
#include "tools/voicebuild/analysis/VXN_spectrum.h"

extern "C" {
#include <SPTK.h>
}

namespace {

using namespace vxn::analysis;
const double kPi = 3.14159265358979323846;

// ln|H| of a mel-cepstrum at frequency w (radians per sample).
double log_envelope(const float* c, int order, double alpha, double w) {
  const double b = warp(w, alpha);
  double s = c[0];
  for (int d = 1; d <= order; ++d) s += c[d] * std::cos(d * b);
  return s;
}

// Noise through a two-formant resonator, 16-bit scale.
std::vector<float> coloured_noise(double rate, double seconds, unsigned seed) {
  std::mt19937 gen(seed);
  std::normal_distribution<double> g(0.0, 300.0);
  std::vector<float> x((std::size_t)(rate * seconds));
  double a1 = 0, a2 = 0, b1 = 0, b2 = 0;
  const double r1 = std::exp(-kPi * 100.0 / rate), w1 = 2.0 * kPi * 600.0 / rate;
  const double r2 = std::exp(-kPi * 200.0 / rate), w2 = 2.0 * kPi * 2500.0 / rate;
  for (float& v : x) {
    const double e = g(gen);
    const double y1 = e + 2.0 * r1 * std::cos(w1) * a1 - r1 * r1 * a2;
    a2 = a1;
    a1 = y1;
    const double y2 = y1 + 2.0 * r2 * std::cos(w2) * b1 - r2 * r2 * b2;
    b2 = b1;
    b1 = y2;
    v = (float)(0.05 * y2);
  }
  return x;
}

TEST(Spectrum, MelCepstrumAgreesWithSptkAndCarriesThePower) {
  const double rate = 24000.0;
  const std::vector<float> x = coloured_noise(rate, 0.5, 3);
  McepOptions opt;
  const std::vector<float> mine = mel_cepstrum(x.data(), x.size(), rate, {}, opt);
  const int n = (int)std::lround(opt.window_s * rate), L = opt.fft_length, m = opt.order;
  std::vector<double> w(n);
  double energy = 0.0;
  for (int i = 0; i < n; ++i) {
    const double p = 2.0 * kPi * i / (n - 1);
    w[i] = 0.42 - 0.5 * std::cos(p) + 0.08 * std::cos(2.0 * p);
    energy += w[i] * w[i];
  }
  double worst_rms = 0.0;
  for (int t = 10; t < 90; t += 10) {
    std::vector<double> xw(L, 0.0), c(m + 1);
    for (int i = 0; i < n; ++i) xw[i] = x[t * 120 - n / 2 + i] * w[i] / std::sqrt(energy);
    ASSERT_EQ(mcep(xw.data(), L, c.data(), m, opt.alpha, 2, 30, 0.001, 1, 0.1, 1e-6, 0), 0);
    std::vector<float> ref(c.begin(), c.end());
    double se = 0.0;
    int k = 0;
    for (double f = 100.0; f < 11000.0; f += 100.0, ++k) {
      const double wr = 2.0 * kPi * f / rate;
      const double d = 20.0 / std::log(10.0) *
                       (log_envelope(&mine[t * (m + 1)], m, opt.alpha, wr) - log_envelope(ref.data(), m, opt.alpha, wr));
      se += d * d;
    }
    worst_rms = std::max(worst_rms, std::sqrt(se / k));
  }
  // A periodogram's mean and SPTK's fit of it differ by a few dB, not more.
  EXPECT_LT(worst_rms, 4.0);

  // White noise of standard deviation s: c0 = ln s, the rest near 0.
  std::mt19937 gen(5);
  std::normal_distribution<double> g(0.0, 1000.0);
  std::vector<float> white(24000);
  for (float& v : white) v = (float)g(gen);
  const std::vector<float> cw = mel_cepstrum(white.data(), white.size(), rate, {}, opt);
  double c0 = 0.0, c1 = 0.0;
  int frames = 0;
  for (std::size_t t = 20; t + 20 < cw.size() / (m + 1); ++t, ++frames) {
    c0 += cw[t * (m + 1)];
    c1 += std::fabs(cw[t * (m + 1) + 1]);
  }
  EXPECT_NEAR(c0 / frames, std::log(1000.0), 0.15);
  EXPECT_LT(c1 / frames, 0.1);
}

TEST(Spectrum, EmptyTopBandOfAnUpsampledRecordingFallsAwaySmoothly) {
  // A 16 kHz recording upsampled to 24 kHz has nothing above 8 kHz.
  std::mt19937 gen(7);
  std::normal_distribution<double> g(0.0, 1000.0);
  std::vector<float> x16(16000), x24;
  for (float& v : x16) v = (float)g(gen);
  std::string error;
  ASSERT_TRUE(resample(x16, 16000.0, 24000.0, &x24, &error)) << error;
  EXPECT_EQ(x24.size(), 24000u);
  McepOptions opt;
  opt.content_hz = 0.47 * 16000.0;
  const std::vector<float> c = mel_cepstrum(x24.data(), x24.size(), 24000.0, {}, opt);
  const float* mid = &c[100 * 35];
  const double at4k = log_envelope(mid, 34, 0.45, 2.0 * kPi * 4000.0 / 24000.0);
  const double at7k = log_envelope(mid, 34, 0.45, 2.0 * kPi * 7000.0 / 24000.0);
  const double at10k = log_envelope(mid, 34, 0.45, 2.0 * kPi * 10000.0 / 24000.0);
  const double at12k = log_envelope(mid, 34, 0.45, 2.0 * kPi * 11900.0 / 24000.0);
  const double db = 20.0 / std::log(10.0);
  EXPECT_NEAR((at7k - at4k) * db, 0.0, 3.0);  // flat where the recording has content
  EXPECT_LT((at10k - at7k) * db, -15.0);      // the slope above the edge
  EXPECT_GT((at12k - at7k) * db, -80.0);      // but no bottomless cliff
}

TEST(Spectrum, ResamplingKeepsTimingAndLength) {
  std::vector<float> x(16000);
  for (std::size_t i = 0; i < x.size(); ++i) x[i] = (float)(1000.0 * std::sin(2.0 * kPi * 440.0 * i / 16000.0));
  std::vector<float> y;
  std::string error;
  ASSERT_TRUE(resample(x, 16000.0, 24000.0, &y, &error)) << error;
  ASSERT_EQ(y.size(), 24000u);
  double worst = 0.0;
  for (std::size_t i = 2000; i < 22000; ++i)
    worst = std::max(worst, std::fabs(y[i] - 1000.0 * std::sin(2.0 * kPi * 440.0 * i / 24000.0)));
  EXPECT_LT(worst, 5.0);
  EXPECT_FALSE(resample(x, 0.0, 24000.0, &y, &error));
  EXPECT_NE(error.find("resample"), std::string::npos);
}

TEST(Spectrum, BandAperiodicityTellsPulsesFromNoise) {
  const double rate = 24000.0;
  std::vector<float> pulses(24000, 0.0f), noise(24000);
  for (std::size_t i = 0; i < pulses.size(); i += 200) pulses[i] = 8000.0f;  // 120 Hz
  std::mt19937 gen(9);
  std::normal_distribution<double> g(0.0, 1000.0);
  for (float& v : noise) v = (float)g(gen);
  const std::size_t frames = frame_count(24000, rate, 0.005);
  const std::vector<double> f0(frames, 120.0);
  const std::vector<float> bp = band_aperiodicity(pulses.data(), pulses.size(), rate, f0, 0.005, 0.0);
  const std::vector<float> bn = band_aperiodicity(noise.data(), noise.size(), rate, f0, 0.005, 0.0);
  for (int b = 0; b < kApBands; ++b) {
    EXPECT_LT(bp[100 * kApBands + b], -20.0f) << "band " << b;
    EXPECT_GT(bn[100 * kApBands + b], -3.0f) << "band " << b;
  }
  // Unvoiced frames are noise in every band.
  const std::vector<float> bu =
      band_aperiodicity(pulses.data(), pulses.size(), rate, std::vector<double>(frames, 0.0), 0.005, 0.0);
  for (float v : bu) EXPECT_EQ(v, 0.0f);
  // A band above what the recording has repeats the band below it.
  const std::vector<float> b8 = band_aperiodicity(pulses.data(), pulses.size(), rate, f0, 0.005, 3500.0);
  EXPECT_EQ(b8[100 * kApBands + 3], b8[100 * kApBands + 2]);
  EXPECT_EQ(b8[100 * kApBands + 4], b8[100 * kApBands + 2]);
}

// Clipped samples of a second of voiced frames with one mel-cepstrum
// through the engine's vocoder.
int clipped_samples(const std::vector<float>& c) {
  VXN_Vocoder v;
  VXN_Vocoder_initialize(&v, 34, 0, 1, 24000, 120);
  STME_Vocoder_initialize_fixed(&v);
  int32_t mc[35], band[5] = {-30 * 32768, -30 * 32768, -30 * 32768, -30 * 32768, 0};
  for (int d = 0; d < 35; ++d) mc[d] = (int32_t)(131072.0 * c[d]);
  std::vector<int16_t> out(120);
  int clipped = 0;
  for (int t = 0; t < 200; ++t) {
    ME_Vocoder_synthesize(&v, 34, (int32_t)(1048576.0 * std::log(110.0)), mc, band, (int32_t)(8192 * 0.45),
                          out.data());
    for (int16_t s : out) clipped += std::abs(s) >= 32000;
  }
  VXN_Vocoder_clear(&v);
  return clipped;
}

TEST(Spectrum, TiltIsLimitedToWhatTheVocoderRenders) {
  // A strongly tilted frame (a low male voice recorded with much bass).
  std::vector<float> c = {4.0f, 4.8f, -1.9f, 1.6f, -0.3f, 0.2f, 0.1f};
  c.resize(35, 0.0f);
  std::vector<float> frames = c;
  frames.insert(frames.end(), 35, 0.0f);  // a second, flat frame
  frames[35] = 4.0f;
  EXPECT_GT(clipped_samples(c), 1000) << "the vocoder should overflow on this frame";
  EXPECT_EQ(limit_tilt(frames.data(), 2, 34, 0.45, 4.3), 1);
  double b = frames[34];
  for (int i = 33; i >= 1; --i) b = frames[i] - 0.45 * b;
  EXPECT_NEAR(b, 4.3, 1e-5);
  for (int d = 0; d < 35; ++d) {
    if (d == 1) continue;
    EXPECT_EQ(frames[d], c[d]) << d;
  }
  EXPECT_EQ(clipped_samples(std::vector<float>(frames.begin(), frames.begin() + 35)), 0);
  EXPECT_EQ(frames[36], 0.0f) << "a frame within the limit is left alone";
}

}  // namespace
