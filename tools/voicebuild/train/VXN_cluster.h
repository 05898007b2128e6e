// Decision-tree context clustering with a minimum-description-length stop:
// items (one per distinct context) carry their context's field values and
// sufficient statistics; a leaf is split by the question with the largest
// log-likelihood gain while that gain exceeds the description length of the
// extra distribution, mdl_factor * K / 2 * ln(W) (K free parameters per
// distribution, W the occupancy at the root). Pure function; one tree per
// call, so trees may be grown on separate threads.
#ifndef VXN_TRAIN_CLUSTER_H
#define VXN_TRAIN_CLUSTER_H

#include <vector>

#include "tools/voicebuild/VXN_voice_model.h"

namespace vxn {
namespace train {

// Flat statistics layouts (V = dimensions):
//   kGaussian: occ, sum[V], sq[V]                      (width 1 + 2V)
//   kMsd:      occ_voiced, occ_unvoiced, occ[V], sum[V], sq[V] (width 2 + 3V)
enum class StatKind { kGaussian, kMsd };
int stat_width(StatKind kind, int dims);

struct ClusterQuestion {
  int field = 0;
  std::vector<int> members;  // value indexes of the field for which it holds
};

struct ClusterInput {
  StatKind kind = StatKind::kGaussian;
  int dims = 0;
  std::vector<int> values_per_field;  // value count of each field
  std::vector<std::vector<int>> item_values;  // per item: value index of each field
  std::vector<float> stats;                   // items x stat_width
  std::vector<double> floor;                  // variance floor per dimension
  double mdl_factor = 1.0;
  double min_occupancy = 10.0;  // per leaf (voiced + unvoiced for kMsd)
};

struct ClusterResult {
  std::vector<voice::Node> nodes;        // root first (empty: a single leaf)
  std::vector<std::vector<double>> leaf_stats;  // per leaf, summed statistics
  std::vector<int> leaf_of_item;         // 0-based leaf of every item
  double log_likelihood_root = 0.0;
  double log_likelihood_leaves = 0.0;
};

// Log-likelihood of data with statistics s under its own ML estimate.
double cluster_log_likelihood(StatKind kind, int dims, const double* s,
                              const std::vector<double>& floor);

void grow_tree(const ClusterInput& in, const std::vector<ClusterQuestion>& questions,
               ClusterResult* out);

}  // namespace train
}  // namespace vxn

#endif
