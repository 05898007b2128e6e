// Conversion of a parsed .htsvoice (or voice directory) into the engine's
// voice shape: spectrum mapped to 24 kHz / order 34 / all-pass 0.45 by a
// least-squares linear map of mel-cepstra, log F0 and durations copied, band
// aperiodicity mapped from the source's own stream or derived from the log-F0
// trees, questions merged into one table. Pure functions over values;
// safe to call from several threads.
#ifndef VXN_VOICE_IMPORT_H
#define VXN_VOICE_IMPORT_H

#include <functional>
#include <string>
#include <vector>

#include "tools/voicebuild/VXN_htsvoice.h"
#include "tools/voicebuild/VXN_voice_model.h"

namespace vxn {
namespace voice {

// Warped frequency (radians) of the all-pass constant alpha at linear
// frequency w (radians per sample).
double warp_frequency(double w, double alpha);

// ln|H| of a mel-cepstrum c[0..order] at a physical frequency.
double cepstral_log_envelope(const double* c, int order, double alpha, double rate,
                             double freq_hz);

// Linear map c' = A c (+ b for static coefficients) between mel-cepstra of
// two rates, orders and all-pass constants, least-squares over the target's
// band. Below the source's Nyquist frequency the target reproduces the
// source envelope. Above it (a source at a lower rate than the target) there
// is nothing to reproduce, and the target continues the source's level at its
// Nyquist frequency, falling by kExtensionSlopeDb per octave: a spectrum that
// neither stops dead (a lisp on every fricative) nor invents sibilance the
// source never had. Being a function of the statics, the continuation is
// linear in c except for its constant tilt b, which enters the static means
// only (dynamic features of a constant are zero).
constexpr double kExtensionSlopeDb = 6.0;
class SpectralMap {
 public:
  // grid: number of fitting frequencies, uniform in the target's warped
  // frequency. frequency_scale moves the envelope along the frequency axis:
  // the target shows at f what the source has at f / frequency_scale (above
  // 1, formants rise as in a shorter vocal tract).
  SpectralMap(int src_order, double src_alpha, double src_rate, int dst_order, double dst_alpha,
              double dst_rate, int grid = 1024, double frequency_scale = 1.0);
  int src_order() const { return src_order_; }
  int dst_order() const { return dst_order_; }
  double a(int i, int j) const { return a_[i * (src_order_ + 1) + j]; }
  // out[0..dst_order] = A in[0..src_order]: delta and delta-delta means.
  void map_mean(const float* in, float* out) const;
  // out = A in + b: static means.
  void map_static_mean(const float* in, float* out) const;
  double offset(int i) const { return offset_[i]; }
  // out_i = sum_j A_ij^2 in_j (diagonal covariance of the mapped vector).
  void map_variance(const float* in, float* out) const;
  // out_i = sum_j A_ij^4 in_j (variance of the mapped variance estimates).
  void map_variance_of_variance(const float* in, float* out) const;
  // Largest |20 log10 |H_src| - 20 log10 |H_dst|| in dB over 0 .. max_hz for
  // the static cepstrum src and its mapped version (max_hz no higher than
  // the source's Nyquist frequency).
  // When rms_db is given it receives the root-mean-square error over the same
  // points.
  double envelope_error_db(const float* src, double max_hz, int points = 2000,
                           double* rms_db = nullptr) const;

 private:
  int src_order_, dst_order_;
  double src_alpha_, dst_alpha_, src_rate_, dst_rate_;
  std::vector<double> a_;  // (dst_order + 1) x (src_order + 1), row-major
  std::vector<double> offset_;  // b, dst_order + 1
};

// Band aperiodicity derived from the voiced weight of a log-F0 leaf.
constexpr int kBands = 5;

// Voicing strength W of a band value in dB as the vocoder computes it:
// W = 1 - (s(X) - s(0)) / (s(1) - s(0)), s(X) = 1 / (1 + e^(-5 (X - 0.25))),
// X = 10^(b / 10), with positive dB values taken as 0 dB.
double band_voicing_strength(double band_db);
// The vocoder's decision: W > 0.93 for bands 0 and 1, W > 0.9 for bands 2..4.
bool band_is_voiced(int band, double band_db);

// Voiced profile v (dB per band, low band first). A leaf of voiced weight w
// gets b_k = w * v_k + (1 - w) * 0 dB. Band k turns voiced once w exceeds
// roughly 0.35, 0.55, 0.7, 0.85 for bands 0..3; band 4 stays noise at any w,
// so no frame ever has all five bands voiced (which would silence an
// unvoiced frame).
extern const float kVoicedProfileDb[kBands];
void aperiodicity_from_weight(float voiced_weight, float out_db[kBands]);

// Variances given to every aperiodicity pdf (static, delta, delta-delta).
constexpr float kAperiodicityVariance[3] = {1.0f, 1.0f, 1.0f};

struct ImportOptions {
  int dst_order = 34;
  double dst_alpha = 0.45;
  double dst_rate = 24000.0;
  int envelope_sample = 200;  // spectral pdfs checked for envelope agreement
  // Progress of long steps: (step name, done, total).
  std::function<void(const std::string&, std::size_t, std::size_t)> progress;
};

struct ImportReport {
  std::vector<std::string> shapes_before;  // one line per source stream
  std::vector<std::string> shapes_after;   // one line per engine stream
  double worst_envelope_db = 0.0;          // over the checked pdfs, 0 .. dst_rate / 2
  double mean_envelope_db = 0.0;           // mean of the per-pdf worst errors
  double rms_envelope_db = 0.0;            // RMS error over all checked pdfs and points
  int envelope_pdfs = 0;
  int questions = 0;                       // merged question table
  int renamed_questions = 0;               // same name, other patterns in another block
  int pdfs[4] = {0, 0, 0, 0};              // duration, streams 0..2
  int trees[4] = {0, 0, 0, 0};
  std::vector<std::string> notes;          // decisions taken on the way
};

// Converts src into out. Returns false with a reason in *error when the
// source voice cannot become an engine voice.
bool import_htsvoice(const HtsVoice& src, const ImportOptions& options, Voice* out,
                     ImportReport* report, std::string* error);

}  // namespace voice
}  // namespace vxn

#endif
