// Fundamental-frequency extraction for voice building: normalised
// cross-correlation candidates at a decimated and then at the full rate,
// and a dynamic-programming search over candidates and the unvoiced state
// with costs for octave jumps, voicing onsets and offsets (the robust
// algorithm for pitch tracking of Talkin, 1995). Pure function over
// caller-owned samples; safe on any thread.
#ifndef VXN_ANALYSIS_F0_H
#define VXN_ANALYSIS_F0_H

#include <cstddef>
#include <vector>

namespace vxn {
namespace analysis {

struct F0Options {
  double frame_shift_s = 0.005;
  double min_hz = 60.0;
  double max_hz = 400.0;
  // Correlation window: longer than the classic 7.5 ms so that a low voice
  // (periods up to 1 / min_hz) does not lock onto the ringing of one formant.
  double window_s = 0.015;
  double candidate_threshold = 0.3;    // peaks kept above this share of the frame's best
  int max_candidates = 20;             // voiced candidates per frame
  double lag_weight = 0.3;             // bias towards short periods (against sub-octaves)
  double frequency_weight = 0.02;      // cost of a log-F0 step between frames
  double octave_cost = 0.35;           // extra cost of an octave jump
  double transition_cost = 0.005;      // fixed cost of a voicing change
  double transition_amplitude = 0.5;   // weight of the energy change at a voicing change
  double transition_spectral = 0.5;    // weight of spectral stationarity at a voicing change
  double voice_bias = 0.0;             // added to the unvoiced cost (positive: more voicing)
};

// One value per frame (frame t centred at t * frame_shift_s): F0 in Hz, 0
// where unvoiced. Frames run while their centre lies inside the signal:
// floor((count - 1) / (frame_shift_s * rate)) + 1 of them, none when count
// is 0. Options outside their sense (min_hz >= max_hz, a rate too low for
// max_hz, non-positive shift) give an all-unvoiced result.
std::vector<double> extract_f0(const float* samples, std::size_t count, double rate,
                               const F0Options& opt);

// Frames of a signal of count samples at rate with the given shift.
std::size_t frame_count(std::size_t count, double rate, double frame_shift_s);

}  // namespace analysis
}  // namespace vxn

#endif
