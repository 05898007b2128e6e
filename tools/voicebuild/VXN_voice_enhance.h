// Passes over an in-memory Voice that change how it sounds through the
// engine, applied after import and before quantisation:
//  - formant enhancement baked into the mel-cepstral means, the same effect
//    as a cepstral postfilter on the generated trajectory;
//  - band aperiodicity that follows the phone class, on trees of its own;
//  - a scale on the duration means (speaking rate).
// Pure functions over values; nothing is kept between calls.
#ifndef VXN_VOICE_ENHANCE_H
#define VXN_VOICE_ENHANCE_H

#include <string>
#include <vector>

#include "tools/voicebuild/VXN_voice_model.h"

namespace vxn {
namespace voice {

// Parameter generation solves each static dimension on its own and is linear
// in that dimension's means (static, delta and delta-delta), so scaling all
// three means of coefficient m by k scales the generated c_m by k exactly.
// Coefficients first..order are scaled by 1 + beta. The scaled envelope would
// be louder or quieter, so every pdf's static c0 moves by
//   delta = 1/2 ln(E(c) / E(c')),  E(c) = mean over 0..pi of |H(w)|^2
// (linear frequency, the energy of the impulse response), which keeps each
// state's energy where it was.
struct FormantEnhancement {
  double beta = 0.0;     // 0 leaves the voice as it is
  int first = 2;         // lowest coefficient scaled
  double alpha = 0.45;   // all-pass constant of the voice's mel-cepstra
};

// Energy of the envelope exp(sum_m c_m cos(m w~)) over linear frequency,
// c[0..order], integrated on a grid uniform in the warped frequency.
double envelope_energy(const float* c, int order, double alpha, int grid = 256);

// Scales stream 0 in place. Returns the largest |delta c0| applied.
double enhance_formants(Voice* voice, const FormantEnhancement& fe);

// One phone class for the aperiodicity trees: the question (by name, from
// the voice's own table) that recognises the class's current phones, and the
// band profile (dB, band 0 first) of a fully voiced state of that class.
struct AperiodicityClass {
  std::string question;
  float profile_db[5];
};

// Classes tried in order; a state none of them claims keeps the voice's
// default profile.
struct PhoneAperiodicity {
  std::vector<AperiodicityClass> classes;
  float default_profile_db[5];
  int weight_levels = 4;  // voiced weights rounded to k / weight_levels
};

// The classes used for voices with the usual English question names
// (C-Vowel, C-Nasal, C-Voiced_Fricative, ...).
PhoneAperiodicity english_phone_aperiodicity();

struct AperiodicityReport {
  int pdfs = 0;      // aperiodicity pdfs written
  int nodes = 0;     // aperiodicity tree nodes written
  std::vector<std::string> missing_questions;  // classes skipped
};

// Rebuilds stream 2 from the log-F0 trees (stream 1, whose leaves give the
// voiced weight w): for every state a chain of class questions, below each
// class a copy of the log-F0 tree whose leaves hold b_k = w * profile_k with w
// rounded to weight_levels steps; subtrees whose leaves all agree collapse
// into one leaf. Returns false with a reason when the voice cannot take it.
bool build_phone_aperiodicity(Voice* voice, const PhoneAperiodicity& pa,
                              AperiodicityReport* report, std::string* error);

// Multiplies every duration mean by scale (variances by scale squared).
void scale_durations(Voice* voice, double scale);

}  // namespace voice
}  // namespace vxn

#endif
