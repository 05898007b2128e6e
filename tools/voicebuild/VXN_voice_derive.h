// A second speaker made from a first: a different vocal-tract length (every
// spectral envelope moved along the frequency axis, a linear map of the
// mel-cepstra) and a different pitch register and range (an affine map of log
// F0 about the voice's mean). Durations and aperiodicity stay. Both maps are
// linear on the distributions, so they apply to static, delta and
// delta-delta means and, squared, to variances and GV statistics.
#ifndef VXN_VOICE_DERIVE_H
#define VXN_VOICE_DERIVE_H

#include <string>
#include <vector>

#include "tools/voicebuild/VXN_voice_model.h"

namespace vxn {
namespace voice {

struct DeriveOptions {
  // Formant frequencies are multiplied by this (0.85: a longer vocal tract,
  // towards a man's; 1.17: shorter, towards a woman's).
  double formant_scale = 1.0;
  // F0 register: the voice's mean F0 is multiplied by this.
  double pitch_scale = 1.0;
  // Excursions of log F0 about the mean are multiplied by this.
  double range_scale = 1.0;
};

// A female voice's derived male voice and a male voice's derived female one.
DeriveOptions derive_towards_male();
DeriveOptions derive_towards_female();

struct DeriveReport {
  double mean_f0_before = 0.0;  // Hz, geometric mean over voiced log-F0 pdfs
  double mean_f0_after = 0.0;
  std::vector<std::string> notes;
};

// Converts voice in place (the engine's stream layout: 35 static mel-cepstral
// coefficients at 24 kHz, all-pass 0.45, log F0 in stream 1). False with a
// reason when the options are out of range or the voice has another shape.
bool derive_voice(Voice* voice, const DeriveOptions& options, DeriveReport* report,
                  std::string* error);

}  // namespace voice
}  // namespace vxn

#endif
