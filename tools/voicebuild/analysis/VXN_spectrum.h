// Spectral analysis for voice building: resampling (libsoxr), mel-cepstral
// analysis (SPTK's mcep on a power spectrum we prepare), band aperiodicity
// on the vocoder's five bands, and the whole per-utterance feature
// extraction. Pure functions over caller-owned values; safe on any thread.
#ifndef VXN_ANALYSIS_SPECTRUM_H
#define VXN_ANALYSIS_SPECTRUM_H

#include <cstddef>
#include <string>
#include <vector>

#include "tools/voicebuild/analysis/VXN_f0.h"

namespace vxn {
namespace analysis {

// Resamples with libsoxr (high quality, linear phase, delay compensated):
// the output has round(count * to / from) samples.
bool resample(const std::vector<float>& in, double from, double to, std::vector<float>* out,
              std::string* error);

struct McepOptions {
  int order = 34;
  double alpha = 0.45;
  double frame_shift_s = 0.005;
  double window_s = 0.030;  // Blackman window, normalised to unit energy
  int fft_length = 1024;
  // Highest frequency the recording really has (Hz; 0: the Nyquist
  // frequency). Above it the power spectrum is replaced by a slope falling
  // 12 dB per kHz from the level just below it, so that the cepstrum does
  // not spend its coefficients on the empty band of an upsampled recording.
  double content_hz = 0.0;
};

// Mel-cepstra c[0..order] per frame (frame t centred at t * shift), row-major
// frames x (order + 1). Samples are in 16-bit units, so c[0] is the log gain
// the vocoder's unit-power excitation needs: an excitation of unit power
// through exp(c) reproduces the frame's power spectrum.
//
// The envelope is the frame's power spectrum averaged over a whole number of
// harmonics (at least 100 Hz wide; 100 Hz where f0 is 0 or not given), which
// keeps the mean power of a voiced frame; its log is sampled uniformly on the
// all-pass-warped frequency axis, where the mel-cepstrum is a cosine series,
// and the coefficients are that series' least-squares fit. One FFT and one
// small matrix product per frame, no iteration.
std::vector<float> mel_cepstrum(const float* samples, std::size_t count, double rate,
                                const std::vector<double>& f0, const McepOptions& opt);

// Warped frequency (radians) of frequency w (radians per sample) for the
// all-pass constant alpha; alpha -> -alpha inverts it.
double warp(double w, double alpha);

// Limits the first coefficient of the MLSA filter, b1 = c1 - alpha c2 +
// alpha^2 c3 - ..., to [-limit, limit] by moving c1 (the spectral tilt) in the
// frames beyond it. The engine's fixed-point MLSA filter overflows above
// |b1| of about 4.5; a strongly tilted voice (much low-frequency energy, as in
// the Russian corpus) has half its frames there. Returns the frames changed.
int limit_tilt(float* mcep, int frames, int order, double alpha, double limit);

// The vocoder's five bands (Hz): 0-1k, 1-2k, 2-4k, 4-6k, 6k-Nyquist, the
// crossings of its band filters.
constexpr int kApBands = 5;
extern const double kApBandEdgesHz[kApBands + 1];

// Band aperiodicity in dB per frame (frames x 5): for a voiced frame,
// 10 log10(1 - r) with r the normalised correlation of the band-passed
// signal over 1.5 periods, at its peak within 3 % of the pitch period
// (interpolated between samples): the noise share of the band's energy,
// limited to [-40, 0]; 0 dB (noise) in unvoiced frames. Bands above
// content_hz (when given) are measured on the part below it.
std::vector<float> band_aperiodicity(const float* samples, std::size_t count, double rate,
                                     const std::vector<double>& f0, double frame_shift_s,
                                     double content_hz);

// Everything one utterance contributes to training, at 24 kHz, 5 ms frames.
struct Features {
  int frames = 0;
  std::vector<float> mcep;  // frames x 35
  std::vector<float> lf0;   // frames: ln F0, or kUnvoiced
  std::vector<float> bap;   // frames x 5, dB
};
constexpr float kUnvoiced = -1e10f;

struct AnalysisOptions {
  double rate = 24000.0;
  McepOptions mcep;
  F0Options f0;
};

// Analyses one recording (already read): resampled to opt.rate when it has
// another rate, the band above the source's own Nyquist frequency handled as
// McepOptions::content_hz describes.
bool analyse_recording(const std::vector<float>& samples, int rate, const AnalysisOptions& opt,
                       Features* out, std::string* error);

}  // namespace analysis
}  // namespace vxn

#endif
