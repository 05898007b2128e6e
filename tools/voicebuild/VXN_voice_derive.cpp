// Derived second speakers; see VXN_voice_derive.h.
#include "tools/voicebuild/VXN_voice_derive.h"

#include <cmath>
#include <cstdio>

#include "tools/voicebuild/VXN_voice_import.h"

namespace vxn {
namespace voice {

namespace {

constexpr int kWindows = 3;
constexpr int kOrder = 34;
constexpr double kAlpha = 0.45;
constexpr double kRate = 24000.0;

}  // namespace

// An adult man's vocal tract is about 15-20% longer than a woman's and his
// speaking F0 a little under an octave lower (roughly 120 against 210 Hz);
// the pitch range narrows a little with the register.
DeriveOptions derive_towards_male() { return DeriveOptions{0.85, 0.57, 0.85}; }
DeriveOptions derive_towards_female() { return DeriveOptions{1.17, 1.75, 1.15}; }

bool derive_voice(Voice* voice, const DeriveOptions& o, DeriveReport* report,
                  std::string* error) {
  auto fail = [&](const std::string& m) {
    if (error) *error = m;
    return false;
  };
  if (!(o.formant_scale >= 0.7 && o.formant_scale <= 1.4))
    return fail("formant scale must lie in 0.7..1.4");
  if (!(o.pitch_scale >= 0.4 && o.pitch_scale <= 2.5)) return fail("pitch scale must lie in 0.4..2.5");
  if (!(o.range_scale >= 0.3 && o.range_scale <= 2.0)) return fail("range scale must lie in 0.3..2.0");
  Stream& mcep = voice->streams[0];
  Stream& lf0 = voice->streams[1];
  if (mcep.vector_length != (kOrder + 1) * kWindows || lf0.vector_length != kWindows || !lf0.msd)
    return fail("derive: the voice is not in the engine's stream layout");
  DeriveReport local;
  DeriveReport* rep = report ? report : &local;

  // Vocal tract: the envelope moved along the frequency axis.
  const SpectralMap warp(kOrder, kAlpha, kRate, kOrder, kAlpha, kRate, 1024, o.formant_scale);
  const int v = kOrder + 1;
  std::vector<float> buf(v);
  for (auto& tree : mcep.pdfs) {
    for (Pdf& p : tree) {
      for (int w = 0; w < kWindows; ++w) {
        if (w == 0)
          warp.map_static_mean(&p.mean[0], buf.data());
        else
          warp.map_mean(&p.mean[w * v], buf.data());
        std::copy(buf.begin(), buf.end(), p.mean.begin() + w * v);
        warp.map_variance(&p.vari[w * v], buf.data());
        std::copy(buf.begin(), buf.end(), p.vari.begin() + w * v);
      }
    }
  }
  if (voice->gv[0].present) {
    GvStream& g = voice->gv[0];
    warp.map_variance(g.mean.data(), buf.data());
    std::copy(buf.begin(), buf.end(), g.mean.begin());
    warp.map_variance_of_variance(g.vari.data(), buf.data());
    std::copy(buf.begin(), buf.end(), g.vari.begin());
  }

  // Pitch: register and range about the mean voiced log F0.
  double sum = 0.0, weight = 0.0;
  for (const auto& tree : lf0.pdfs)
    for (const Pdf& p : tree) {
      sum += p.msd * p.mean[0];
      weight += p.msd;
    }
  if (weight <= 0.0) return fail("derive: the voice has no voiced log-F0 distributions");
  const double mu = sum / weight;
  const double shift = std::log(o.pitch_scale);
  const double r = o.range_scale;
  for (auto& tree : lf0.pdfs)
    for (Pdf& p : tree) {
      p.mean[0] = static_cast<float>(mu + shift + r * (p.mean[0] - mu));
      for (int w = 1; w < kWindows; ++w) p.mean[w] = static_cast<float>(r * p.mean[w]);
      for (int w = 0; w < kWindows; ++w) p.vari[w] = static_cast<float>(r * r * p.vari[w]);
    }
  if (voice->gv[1].present) {
    for (float& m : voice->gv[1].mean) m = static_cast<float>(m * r * r);
    for (float& s : voice->gv[1].vari) s = static_cast<float>(s * r * r * r * r);
  }
  rep->mean_f0_before = std::exp(mu);
  rep->mean_f0_after = std::exp(mu + shift);
  char line[160];
  std::snprintf(line, sizeof line,
                "derived speaker: formants x%.2f, mean F0 %.0f -> %.0f Hz, pitch range x%.2f",
                o.formant_scale, rep->mean_f0_before, rep->mean_f0_after, r);
  rep->notes.push_back(line);
  return true;
}

}  // namespace voice
}  // namespace vxn
