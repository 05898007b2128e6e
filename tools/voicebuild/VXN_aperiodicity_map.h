// Band aperiodicity of a source voice mapped onto the engine's five bands.
//
// The engine's mixed excitation splits the spectrum into 0-1, 1-2, 2-4, 4-6
// and 6-12 kHz. Source voices with their own aperiodicity stream split it
// into 5 bands (0-1, 1-2, 2-4, 4-6, 6-8 kHz, a 16 kHz voice) or 7 bands
// (the same, then 8-10 and 10-12 kHz, a 24 kHz voice). Each engine band is the
// bandwidth-weighted mean (in dB) of the source bands it overlaps; above the
// source's top band the top band carries on. Being linear, the map applies to
// static, delta and delta-delta means alike, and to variances with squared
// weights.
//
// The source's values then get one gain per engine band (a calibration): the
// engine decides voicing per band with a hard threshold (about -12.5 dB in
// bands 0-1, -11 dB above), which the source's own excitation did not, so
// the voice's average voiced frame is scaled onto the engine's voiced profile
// (never by less than 1). The top band keeps its values and is held at or
// above kTopBandFloorDb, so it never turns voiced and no frame ever has every
// band voiced (which would silence an unvoiced frame).
#ifndef VXN_APERIODICITY_MAP_H
#define VXN_APERIODICITY_MAP_H

#include <string>
#include <vector>

#include "tools/voicebuild/VXN_voice_model.h"

namespace vxn {
namespace voice {

constexpr int kEngineBands = 5;
constexpr float kTopBandFloorDb = -6.0f;

class AperiodicityMap {
 public:
  // source_bands: 5 or 7 (see above). Fails for other counts.
  static bool for_bands(int source_bands, AperiodicityMap* map, std::string* error);
  int source_bands() const { return source_bands_; }
  double weight(int engine_band, int source_band) const {
    return w_[engine_band * source_bands_ + source_band];
  }
  // Chooses the per-band gains from the voiced pdfs of the source stream
  // (static means in the first source_bands values): a pdf counts as voiced
  // when its engine band 0 lies below -10 dB. Returns the number of voiced
  // pdfs found; without any, the gains stay 1.
  int calibrate(const std::vector<const Pdf*>& pdfs, const float voiced_profile_db[kEngineBands]);
  double gain(int engine_band) const { return gain_[engine_band]; }
  // Mean of the calibration's voiced pdfs per engine band, before the gains.
  double voiced_mean_db(int engine_band) const { return voiced_mean_[engine_band]; }
  // Converts one pdf of windows x source_bands values into windows x 5.
  Pdf map_pdf(const Pdf& in, int windows) const;

 private:
  int source_bands_ = 0;
  std::vector<double> w_;  // kEngineBands x source_bands
  double gain_[kEngineBands] = {1, 1, 1, 1, 1};
  double voiced_mean_[kEngineBands] = {0, 0, 0, 0, 0};
};

}  // namespace voice
}  // namespace vxn

#endif
