#include "tools/voicebuild/train/VXN_cluster.h"

#include <cmath>
#include <deque>

namespace vxn {
namespace train {

namespace {

const double kLog2Pi = std::log(2.0 * 3.14159265358979323846);

double gaussian_ll(double occ, double sum, double sq, double floor) {
  if (occ <= 1e-9) return 0.0;
  const double scatter = std::max(sq - sum * sum / occ, 0.0);
  const double v = std::max(scatter / occ, floor);
  return -0.5 * (occ * (kLog2Pi + std::log(v)) + scatter / v);
}

double occupancy(StatKind kind, const double* s) {
  return kind == StatKind::kMsd ? s[0] + s[1] : s[0];
}

int parameters(StatKind kind, int dims) { return kind == StatKind::kMsd ? 2 * dims + 1 : 2 * dims; }

struct Work {
  std::vector<int> items;
  std::vector<double> stats;
  double ll = 0.0;
  int parent = -1;  // node record index, -1 for the root
  bool yes = false;
};

}  // namespace

int stat_width(StatKind kind, int dims) { return kind == StatKind::kMsd ? 2 + 3 * dims : 1 + 2 * dims; }

double cluster_log_likelihood(StatKind kind, int dims, const double* s,
                              const std::vector<double>& floor) {
  if (kind == StatKind::kGaussian) {
    double ll = 0.0;
    for (int d = 0; d < dims; ++d) ll += gaussian_ll(s[0], s[1 + d], s[1 + dims + d], floor[d]);
    return ll;
  }
  const double v = s[0], u = s[1], total = v + u;
  double ll = 0.0;
  if (v > 0.0) ll += v * std::log(v / total);
  if (u > 0.0) ll += u * std::log(u / total);
  for (int d = 0; d < dims; ++d)
    ll += gaussian_ll(s[2 + d], s[2 + dims + d], s[2 + 2 * dims + d], floor[d]);
  return ll;
}

void grow_tree(const ClusterInput& in, const std::vector<ClusterQuestion>& questions,
               ClusterResult* out) {
  const int S = stat_width(in.kind, in.dims);
  const std::size_t items = in.item_values.size();
  const int fields = (int)in.values_per_field.size();
  out->nodes.clear();
  out->leaf_stats.clear();
  out->leaf_of_item.assign(items, 0);
  out->log_likelihood_leaves = 0.0;

  std::vector<char> field_used(fields, 0);
  for (const ClusterQuestion& q : questions) field_used[q.field] = 1;
  std::vector<std::size_t> bucket_offset(fields + 1, 0);
  for (int f = 0; f < fields; ++f)
    bucket_offset[f + 1] = bucket_offset[f] + (field_used[f] ? (std::size_t)in.values_per_field[f] * S : 0);
  std::vector<double> buckets(bucket_offset[fields]);

  Work root;
  root.items.resize(items);
  root.stats.assign(S, 0.0);
  for (std::size_t i = 0; i < items; ++i) {
    root.items[i] = (int)i;
    const float* s = &in.stats[i * S];
    for (int k = 0; k < S; ++k) root.stats[k] += s[k];
  }
  root.ll = cluster_log_likelihood(in.kind, in.dims, root.stats.data(), in.floor);
  out->log_likelihood_root = root.ll;
  const double w = std::max(occupancy(in.kind, root.stats.data()), 2.0);
  const double threshold = in.mdl_factor * 0.5 * parameters(in.kind, in.dims) * std::log(w);

  std::deque<Work> queue;
  queue.push_back(std::move(root));
  int next_id = 0;
  std::vector<double> yes(S), no(S), best_yes(S);
  while (!queue.empty()) {
    Work work = std::move(queue.front());
    queue.pop_front();
    int best = -1;
    double best_gain = threshold;
    double best_ll_yes = 0.0, best_ll_no = 0.0;
    if (occupancy(in.kind, work.stats.data()) >= 2.0 * in.min_occupancy && work.items.size() > 1) {
      std::fill(buckets.begin(), buckets.end(), 0.0);
      for (int item : work.items) {
        const float* s = &in.stats[(std::size_t)item * S];
        const std::vector<int>& values = in.item_values[item];
        for (int f = 0; f < fields; ++f) {
          if (!field_used[f]) continue;
          double* b = &buckets[bucket_offset[f] + (std::size_t)values[f] * S];
          for (int k = 0; k < S; ++k) b[k] += s[k];
        }
      }
      for (std::size_t q = 0; q < questions.size(); ++q) {
        const ClusterQuestion& cq = questions[q];
        std::fill(yes.begin(), yes.end(), 0.0);
        for (int v : cq.members) {
          const double* b = &buckets[bucket_offset[cq.field] + (std::size_t)v * S];
          for (int k = 0; k < S; ++k) yes[k] += b[k];
        }
        const double occ_yes = occupancy(in.kind, yes.data());
        const double occ_no = occupancy(in.kind, work.stats.data()) - occ_yes;
        if (occ_yes < in.min_occupancy || occ_no < in.min_occupancy) continue;
        for (int k = 0; k < S; ++k) no[k] = work.stats[k] - yes[k];
        const double ly = cluster_log_likelihood(in.kind, in.dims, yes.data(), in.floor);
        const double ln = cluster_log_likelihood(in.kind, in.dims, no.data(), in.floor);
        const double gain = ly + ln - work.ll;
        if (gain > best_gain) {
          best_gain = gain;
          best = (int)q;
          best_yes = yes;
          best_ll_yes = ly;
          best_ll_no = ln;
        }
      }
    }
    if (best < 0) {
      // A leaf.
      const int leaf = (int)out->leaf_stats.size();
      for (int item : work.items) out->leaf_of_item[item] = leaf;
      out->leaf_stats.push_back(work.stats);
      out->log_likelihood_leaves += work.ll;
      if (work.parent >= 0) {
        voice::Node& p = out->nodes[work.parent];
        if (work.yes) {
          p.yes = leaf + 1;
          p.yes_is_leaf = true;
        } else {
          p.no = leaf + 1;
          p.no_is_leaf = true;
        }
      }
      continue;
    }
    voice::Node node;
    node.id = next_id == 0 ? 0 : -next_id;
    ++next_id;
    node.question = best;
    const int record = (int)out->nodes.size();
    out->nodes.push_back(node);
    if (work.parent >= 0) {
      voice::Node& p = out->nodes[work.parent];
      if (work.yes) p.yes = node.id;
      else p.no = node.id;
    }
    const ClusterQuestion& cq = questions[best];
    std::vector<char> member(in.values_per_field[cq.field], 0);
    for (int v : cq.members) member[v] = 1;
    Work y, n;
    for (int item : work.items) (member[in.item_values[item][cq.field]] ? y : n).items.push_back(item);
    y.stats = best_yes;
    n.stats.resize(S);
    for (int k = 0; k < S; ++k) n.stats[k] = work.stats[k] - best_yes[k];
    y.ll = best_ll_yes;
    n.ll = best_ll_no;
    y.parent = n.parent = record;
    y.yes = true;
    n.yes = false;
    queue.push_back(std::move(y));
    queue.push_back(std::move(n));
  }
}

}  // namespace train
}  // namespace vxn
