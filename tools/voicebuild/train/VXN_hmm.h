// Hidden Markov models for voice training: five-state left-to-right models
// with one diagonal Gaussian per state and stream, a multi-space
// distribution for log F0 (a voiced weight and a Gaussian over the voiced
// frames, whose delta and delta-delta are missing next to an unvoiced frame,
// as the engine's generation treats them), observations with static, delta
// and delta-delta features from the package's windows, the forward-backward
// (Baum-Welch) pass and the Viterbi alignment of one utterance, restricted
// to a band of frames around each label when its timing is known.
// Pure functions over caller-owned values; each pass may run on its own
// thread.
#ifndef VXN_TRAIN_HMM_H
#define VXN_TRAIN_HMM_H

#include <cstdint>
#include <vector>

#include "tools/voicebuild/analysis/VXN_spectrum.h"

namespace vxn {
namespace train {

constexpr int kStates = 5;
constexpr int kStreams = 3;
constexpr int kStatic[kStreams] = {35, 1, 5};
constexpr int kWidth[kStreams] = {105, 3, 15};  // static, delta, delta-delta
constexpr int kLf0 = 1;                          // the multi-space stream

// One utterance's observation vectors.
struct Observations {
  int frames = 0;
  std::vector<float> x[kStreams];      // frames x kWidth[s]
  std::vector<std::uint8_t> voiced;    // per frame
  std::vector<std::uint8_t> lf0_mask;  // per frame: bit d set when dimension d is present
};

// Static features to observations: delta 0.5 (x[t+1] - x[t-1]), delta-delta
// x[t-1] - 2 x[t] + x[t+1], edges repeating the first and last frame; log F0
// deltas only where both neighbours are voiced.
void make_observations(const analysis::Features& f, Observations* out);

struct Gaussian {
  std::vector<double> mean, vari;
  double weight = 1.0;  // voiced weight of the multi-space stream
  // Derived by prepare(): inverse variances and per-dimension log constants.
  std::vector<double> ivar, lconst;
  void prepare();
};

// Sufficient statistics of one Gaussian (or multi-space distribution).
struct Stats {
  double occ = 0.0;              // frames (for log F0: voiced frames)
  double occ_unvoiced = 0.0;     // log F0 only
  std::vector<double> occ_dim;   // log F0 only: voiced frames with the dimension present
  std::vector<double> sum, sq;
  void resize(int width, bool msd);
  void add(const Stats& o);
  bool empty() const { return occ + occ_unvoiced <= 0.0; }
};

double log_output(const Gaussian& g, const float* x, bool msd, bool voiced, std::uint8_t mask);

// A state of a label: one Gaussian per stream (indexes into the stream's
// pool) and its self-loop probability.
struct StateModel {
  int pdf[kStreams] = {0, 0, 0};
  double self_loop = 0.8;
};

struct Pools {
  std::vector<Gaussian> pdfs[kStreams];
};

// One utterance's model sequence: kStates states per label, in order, with
// the band of frames each label may occupy (first, last; inclusive).
struct Composite {
  std::vector<StateModel> states;
  std::vector<int> first, last;  // per label
};

// Posteriors of one pass: per composite state, the statistics of every stream
// and the expected frames; the log-likelihood; false when no path exists.
struct PassResult {
  bool ok = false;
  double log_likelihood = 0.0;
  std::vector<Stats> stats[kStreams];  // per composite state
  std::vector<double> frames;          // per composite state: expected occupancy
  std::vector<double> self_loops;      // expected self-transitions per state
  std::vector<int> best_label;         // per frame: the label most likely there
};

bool forward_backward(const Composite& c, const Pools& pools, const Observations& o,
                      PassResult* out);

// Most likely state sequence: per frame the composite state; false when no
// path exists.
bool viterbi(const Composite& c, const Pools& pools, const Observations& o,
             std::vector<int>* state_of_frame, double* log_likelihood);

// Maximum-likelihood estimate from statistics, variances floored; the
// multi-space weight from the voiced and unvoiced occupancy. A dimension
// without data keeps fallback's value.
void estimate(const Stats& s, bool msd, const std::vector<double>& floor,
              const Gaussian& fallback, Gaussian* out);

}  // namespace train
}  // namespace vxn

#endif
