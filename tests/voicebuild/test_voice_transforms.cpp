// The linear transforms on distributions that importer II adds: the spectral
// continuation above a 16 kHz source's Nyquist frequency, source aperiodicity
// bands onto the engine's five, the derived speaker's vocal tract and pitch,
// and the level of a voice.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tools/voicebuild/VXN_aperiodicity_map.h"
#include "tools/voicebuild/VXN_voice_derive.h"
#include "tools/voicebuild/VXN_voice_import.h"
#include "tools/voicebuild/VXN_voice_level.h"

using namespace vxn::voice;

namespace {

constexpr double kDbPerNeper = 20.0 / 2.302585092994046;

double envelope_db(const std::vector<double>& c, double alpha, double rate, double f) {
  return kDbPerNeper * cepstral_log_envelope(c.data(), static_cast<int>(c.size()) - 1, alpha, rate, f);
}

std::vector<double> mapped(const SpectralMap& m, const std::vector<float>& in) {
  std::vector<float> out(m.dst_order() + 1);
  m.map_static_mean(in.data(), out.data());
  return std::vector<double>(out.begin(), out.end());
}

TEST(SpectralExtension, SixteenKilohertzSourceContinuesItsTopLevel) {
  // A tilted envelope at 16 kHz, order 24, all-pass 0.42.
  std::vector<float> src(25, 0.0f);
  src[0] = 1.0f;
  src[1] = 0.6f;
  src[2] = -0.2f;
  src[3] = 0.1f;
  const SpectralMap m(24, 0.42, 16000, 34, 0.45, 24000);
  const std::vector<double> dst = mapped(m, src);
  const std::vector<double> s(src.begin(), src.end());
  for (double f : {300.0, 2000.0, 5000.0, 7500.0})
    EXPECT_NEAR(envelope_db(dst, 0.45, 24000, f), envelope_db(s, 0.42, 16000, f), 0.3) << f;
  const double top = envelope_db(s, 0.42, 16000, 8000.0);
  // 6 dB per octave above 8 kHz: -3.5 dB at 12 kHz, -1.8 dB at 9.8 kHz.
  EXPECT_NEAR(envelope_db(dst, 0.45, 24000, 9800.0), top - 6.0 * std::log2(9800.0 / 8000.0), 0.6);
  EXPECT_NEAR(envelope_db(dst, 0.45, 24000, 11500.0), top - 6.0 * std::log2(11500.0 / 8000.0), 0.8);
  // The tilt is a constant: deltas (map_mean) carry no offset.
  std::vector<float> zero(25, 0.0f), out(35);
  m.map_mean(zero.data(), out.data());
  for (float x : out) EXPECT_EQ(x, 0.0f);
  EXPECT_LT(m.envelope_error_db(src.data(), 8000.0), 0.3);
}

TEST(AperiodicityBands, SevenAndFiveBandSourcesMapOntoTheEngineBands) {
  AperiodicityMap seven;
  std::string error;
  ASSERT_TRUE(AperiodicityMap::for_bands(7, &seven, &error));
  // Engine band 4 (6-12 kHz) is the mean of the source's 6-8, 8-10, 10-12 kHz.
  for (int j = 4; j < 7; ++j) EXPECT_NEAR(seven.weight(4, j), 1.0 / 3.0, 1e-12);
  for (int k = 0; k < 4; ++k) {
    EXPECT_DOUBLE_EQ(seven.weight(k, k), 1.0);
    double sum = 0;
    for (int j = 0; j < 7; ++j) sum += seven.weight(k, j);
    EXPECT_DOUBLE_EQ(sum, 1.0);
  }
  AperiodicityMap five;
  ASSERT_TRUE(AperiodicityMap::for_bands(5, &five, &error));
  EXPECT_DOUBLE_EQ(five.weight(4, 4), 1.0);  // 6-8 kHz carries on to 12 kHz
  AperiodicityMap other;
  EXPECT_FALSE(AperiodicityMap::for_bands(6, &other, &error));
  EXPECT_NE(error.find("6 bands"), std::string::npos);

  // Calibration: the voiced pdfs' mean goes onto the voiced profile.
  Pdf voiced, unvoiced;
  voiced.mean = {-18, -8, -6, -4, -2, -2, -2};
  unvoiced.mean = {-1, -1, -1, -1, -1, -1, -1};
  voiced.vari.assign(7, 1.0f);
  unvoiced.vari.assign(7, 1.0f);
  const float profile[5] = {-36, -24, -18, -12, -6};
  EXPECT_EQ(seven.calibrate({&voiced, &unvoiced}, profile), 1);
  EXPECT_DOUBLE_EQ(seven.gain(0), 2.0);
  EXPECT_DOUBLE_EQ(seven.gain(1), 3.0);
  EXPECT_DOUBLE_EQ(seven.gain(4), 1.0);
  Pdf in;
  in.mean.assign(21, 0.0f);
  in.vari.assign(21, 1.0f);
  for (int j = 0; j < 7; ++j) in.mean[j] = voiced.mean[j];
  in.mean[4] = in.mean[5] = in.mean[6] = -20.0f;  // a top band that would turn voiced
  in.mean[7] = 0.5f;                              // a delta of band 0
  const Pdf out = seven.map_pdf(in, 3);
  ASSERT_EQ(out.mean.size(), 15u);
  EXPECT_FLOAT_EQ(out.mean[0], -36.0f);
  EXPECT_FLOAT_EQ(out.mean[1], -24.0f);
  EXPECT_FLOAT_EQ(out.mean[4], -6.0f);  // held at the floor, never voiced
  EXPECT_FLOAT_EQ(out.mean[5], 1.0f);   // delta scaled by the gain
  EXPECT_FLOAT_EQ(out.vari[0], 4.0f);   // variance by the squared gain
  EXPECT_NEAR(out.vari[4], 3.0f / 9.0f, 1e-6);
}

// A voice in the engine's layout with one spectral pdf (a resonance) and
// log-F0 pdfs around 200 Hz.
Voice small_voice() {
  Voice v;
  v.streams[0].vector_length = 105;
  v.streams[1].vector_length = 3;
  v.streams[1].msd = true;
  Pdf s;
  s.mean.assign(105, 0.0f);
  s.vari.assign(105, 0.01f);
  // ln|H| peaking near 1 kHz: a Gaussian bump in warped frequency.
  const double wc = warp_frequency(2 * 3.14159265358979 * 1000.0 / 24000.0, 0.45);
  for (int m = 0; m <= 34; ++m)
    s.mean[m] = static_cast<float>((m == 0 ? 1.0 : 2.0) * 0.5 * std::exp(-0.02 * m * m) *
                                   std::cos(m * wc));
  v.streams[0].pdfs = {{s}};
  Pdf f;
  f.mean = {static_cast<float>(std::log(200.0)), 0.01f, 0.0f};
  f.vari = {0.02f, 0.001f, 0.001f};
  f.msd = 1.0f;
  Pdf g = f;
  g.mean[0] = static_cast<float>(std::log(250.0));
  v.streams[1].pdfs = {{f, g}};
  return v;
}

double peak_hz(const Pdf& p) {
  std::vector<double> c(p.mean.begin(), p.mean.begin() + 35);
  double best = -1e9, at = 0;
  for (double f = 100; f < 4000; f += 10) {
    const double e = cepstral_log_envelope(c.data(), 34, 0.45, 24000, f);
    if (e > best) best = e, at = f;
  }
  return at;
}

TEST(DerivedSpeaker, MovesFormantsAndPitchRegister) {
  Voice v = small_voice();
  const double before = peak_hz(v.streams[0].pdfs[0][0]);
  DeriveReport rep;
  std::string error;
  ASSERT_TRUE(derive_voice(&v, derive_towards_male(), &rep, &error)) << error;
  EXPECT_NEAR(peak_hz(v.streams[0].pdfs[0][0]) / before, 0.85, 0.03);
  // Mean 223.6 Hz (geometric) to x0.57; excursions x0.85.
  EXPECT_NEAR(rep.mean_f0_before, std::sqrt(200.0 * 250.0), 0.5);
  EXPECT_NEAR(rep.mean_f0_after, 0.57 * rep.mean_f0_before, 0.5);
  const double lo = v.streams[1].pdfs[0][0].mean[0], hi = v.streams[1].pdfs[0][1].mean[0];
  EXPECT_NEAR(hi - lo, 0.85 * std::log(250.0 / 200.0), 1e-5);
  EXPECT_NEAR(v.streams[1].pdfs[0][0].mean[1], 0.85 * 0.01, 1e-6);
  EXPECT_NEAR(v.streams[1].pdfs[0][0].vari[0], 0.85 * 0.85 * 0.02, 1e-6);

  Voice w = small_voice();
  ASSERT_TRUE(derive_voice(&w, derive_towards_female(), nullptr, &error));
  EXPECT_NEAR(peak_hz(w.streams[0].pdfs[0][0]) / before, 1.17, 0.03);
  EXPECT_FALSE(derive_voice(&w, DeriveOptions{2.0, 1.0, 1.0}, nullptr, &error));
  Voice empty;
  EXPECT_FALSE(derive_voice(&empty, DeriveOptions{}, nullptr, &error));
}

TEST(VoiceLevel, GainMovesTheLevelByItsDecibels) {
  Voice v = small_voice();
  const double before = voice_level_db(v);
  apply_gain_db(&v, 6.0);
  EXPECT_NEAR(voice_level_db(v) - before, 6.0, 1e-3);
  apply_gain_db(&v, -10.0);
  EXPECT_NEAR(voice_level_db(v) - before, -4.0, 1e-3);
  EXPECT_EQ(voice_level_db(Voice()), 0.0);
}

}  // namespace
