// Loudness of a voice from its spectral distributions, and a gain that
// brings it to a target. Voices analysed at other rates or recorded at other
// levels come out of the vocoder up to 12 dB apart; one gain (a constant
// added to every static c0 mean, the log gain of the mel-cepstrum) makes the
// voices of a directory equally loud.
#ifndef VXN_VOICE_LEVEL_H
#define VXN_VOICE_LEVEL_H

#include "tools/voicebuild/VXN_voice_model.h"

namespace vxn {
namespace voice {

// The voice's level in dB: the 75th percentile, over the spectral pdfs of
// every state, of the pdf's mean power gain 10 log10(mean |H(f)|^2) over
// 0..12 kHz (the upper quartile: speech states, not pauses). Engine stream
// layout (order 34, all-pass 0.45, 24 kHz).
double voice_level_db(const Voice& voice);

// Adds gain_db to the voice's level (c0 of every static spectral mean).
void apply_gain_db(Voice* voice, double gain_db);

}  // namespace voice
}  // namespace vxn

#endif
