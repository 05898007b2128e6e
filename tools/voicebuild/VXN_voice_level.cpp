// Voice loudness; see VXN_voice_level.h.
#include "tools/voicebuild/VXN_voice_level.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/voicebuild/VXN_voice_import.h"

namespace vxn {
namespace voice {

namespace {

constexpr int kOrder = 34;
constexpr double kAlpha = 0.45;
constexpr double kRate = 24000.0;
constexpr int kPoints = 96;

}  // namespace

double voice_level_db(const Voice& voice) {
  std::vector<double> levels;
  double c[kOrder + 1];
  for (const auto& tree : voice.streams[0].pdfs) {
    for (const Pdf& p : tree) {
      if (p.mean.size() < static_cast<std::size_t>(kOrder + 1)) continue;
      for (int m = 0; m <= kOrder; ++m) c[m] = p.mean[m];
      double power = 0.0;
      for (int k = 0; k < kPoints; ++k) {
        const double f = (k + 0.5) * (kRate / 2.0) / kPoints;
        power += std::exp(2.0 * cepstral_log_envelope(c, kOrder, kAlpha, kRate, f));
      }
      levels.push_back(10.0 * std::log10(power / kPoints));
    }
  }
  if (levels.empty()) return 0.0;
  const std::size_t q = levels.size() * 3 / 4;
  std::nth_element(levels.begin(), levels.begin() + q, levels.end());
  return levels[q];
}

void apply_gain_db(Voice* voice, double gain_db) {
  const float nepers = static_cast<float>(gain_db * std::log(10.0) / 20.0);
  for (auto& tree : voice->streams[0].pdfs)
    for (Pdf& p : tree)
      if (!p.mean.empty()) p.mean[0] += nepers;
}

}  // namespace voice
}  // namespace vxn
