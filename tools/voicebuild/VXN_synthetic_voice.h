// Synthetic voices and labels for tests, benchmarks and fuzz seeds: a question
// set in the full-context label style (phoneme identity at five positions,
// phoneme classes, numeric fields), random decision trees and random pdfs,
// all reproducible from a seed. Plain functions; safe from any thread.
#ifndef VXN_SYNTHETIC_VOICE_H
#define VXN_SYNTHETIC_VOICE_H

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tools/voicebuild/VXN_voice_model.h"

namespace vxn {
namespace voice {

struct SyntheticOptions {
  uint32_t seed = 1;
  int states = 5;
  int leaves = 40;          // leaves of each parameter tree
  int duration_leaves = 60;
  int static_length[3] = {35, 1, 5};  // static coefficients per stream (x3 windows)
  bool gv = true;
  bool numeric_questions = true;       // include "@n_" / "?" / three-star questions
};

// The phoneme inventory the synthetic questions and labels use.
const std::vector<std::string>& synthetic_phonemes();

Voice make_synthetic_voice(const SyntheticOptions& options);

// One full-context label (full form, non-pause) with random context.
std::string make_synthetic_label(std::mt19937& rng);

}  // namespace voice
}  // namespace vxn

#endif
