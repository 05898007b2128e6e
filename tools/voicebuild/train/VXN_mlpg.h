// Maximum-likelihood parameter generation for measuring a trained voice:
// static trajectories from per-frame means and variances of static, delta
// and delta-delta features (the package's windows), solved in double
// precision; a multi-space stream is generated over its voiced frames, with
// the dynamic windows left out next to an unvoiced frame, as the engine does.
#ifndef VXN_TRAIN_MLPG_H
#define VXN_TRAIN_MLPG_H

#include <vector>

namespace vxn {
namespace train {

// mean and vari: frames x (3 * dims). voiced: per frame, or empty for a
// stream without unvoiced frames. Returns frames x dims (unvoiced frames 0).
std::vector<double> generate(const std::vector<double>& mean, const std::vector<double>& vari,
                             int dims, const std::vector<char>& voiced);

}  // namespace train
}  // namespace vxn

#endif
