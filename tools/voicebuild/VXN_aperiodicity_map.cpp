// Source band aperiodicity onto the engine's bands; see VXN_aperiodicity_map.h.
#include "tools/voicebuild/VXN_aperiodicity_map.h"

#include <algorithm>

namespace vxn {
namespace voice {

namespace {

// Band edges in kHz.
const double kEngineEdges[kEngineBands + 1] = {0, 1, 2, 4, 6, 12};
const double kFiveEdges[6] = {0, 1, 2, 4, 6, 8};
const double kSevenEdges[8] = {0, 1, 2, 4, 6, 8, 10, 12};

}  // namespace

bool AperiodicityMap::for_bands(int source_bands, AperiodicityMap* map, std::string* error) {
  const double* edges = nullptr;
  if (source_bands == 5) edges = kFiveEdges;
  if (source_bands == 7) edges = kSevenEdges;
  if (!edges) {
    if (error)
      *error = "aperiodicity stream with " + std::to_string(source_bands) +
               " bands: only 5 (16 kHz) and 7 (24 kHz) band layouts are known";
    return false;
  }
  *map = AperiodicityMap();
  map->source_bands_ = source_bands;
  map->w_.assign(kEngineBands * source_bands, 0.0);
  const double top = edges[source_bands];
  for (int k = 0; k < kEngineBands; ++k) {
    const double lo = kEngineEdges[k], hi = std::min(kEngineEdges[k + 1], top);
    double sum = 0.0;
    for (int j = 0; j < source_bands; ++j) {
      const double overlap = std::min(hi, edges[j + 1]) - std::max(lo, edges[j]);
      if (overlap > 0.0) {
        map->w_[k * source_bands + j] = overlap;
        sum += overlap;
      }
    }
    if (sum <= 0.0) {  // wholly above the source's top band: carry the top band on
      map->w_[k * source_bands + source_bands - 1] = 1.0;
      sum = 1.0;
    }
    for (int j = 0; j < source_bands; ++j) map->w_[k * source_bands + j] /= sum;
  }
  return true;
}

int AperiodicityMap::calibrate(const std::vector<const Pdf*>& pdfs,
                               const float voiced_profile_db[kEngineBands]) {
  double sum[kEngineBands] = {0, 0, 0, 0, 0};
  int voiced = 0;
  for (const Pdf* p : pdfs) {
    double band[kEngineBands];
    for (int k = 0; k < kEngineBands; ++k) {
      band[k] = 0.0;
      for (int j = 0; j < source_bands_; ++j) band[k] += weight(k, j) * p->mean[j];
    }
    if (band[0] >= -10.0) continue;
    ++voiced;
    for (int k = 0; k < kEngineBands; ++k) sum[k] += band[k];
  }
  for (int k = 0; k < kEngineBands; ++k) {
    gain_[k] = 1.0;
    voiced_mean_[k] = voiced ? sum[k] / voiced : 0.0;
    if (k < kEngineBands - 1 && voiced && voiced_mean_[k] < -0.5)
      gain_[k] = std::max(1.0, voiced_profile_db[k] / voiced_mean_[k]);
  }
  return voiced;
}

Pdf AperiodicityMap::map_pdf(const Pdf& in, int windows) const {
  Pdf out;
  out.mean.assign(kEngineBands * windows, 0.0f);
  out.vari.assign(kEngineBands * windows, 0.0f);
  for (int w = 0; w < windows; ++w) {
    for (int k = 0; k < kEngineBands; ++k) {
      double m = 0.0, v = 0.0;
      for (int j = 0; j < source_bands_; ++j) {
        const double a = weight(k, j) * gain_[k];
        m += a * in.mean[w * source_bands_ + j];
        v += a * a * in.vari[w * source_bands_ + j];
      }
      if (w == 0 && k == kEngineBands - 1) m = std::max(m, static_cast<double>(kTopBandFloorDb));
      if (w == 0) m = std::min(m, 0.0);  // aperiodicity above 0 dB means nothing more
      out.mean[w * kEngineBands + k] = static_cast<float>(m);
      out.vari[w * kEngineBands + k] = static_cast<float>(std::max(v, 1e-6));
    }
  }
  return out;
}

}  // namespace voice
}  // namespace vxn
