#include "tools/voicebuild/train/VXN_mlpg.h"

namespace vxn {
namespace train {

namespace {

// Window k's coefficient at offset j (-1..1).
double window(int k, int j) {
  static const double w[3][3] = {{0.0, 1.0, 0.0}, {-0.5, 0.0, 0.5}, {1.0, -2.0, 1.0}};
  return w[k][j + 1];
}

}  // namespace

std::vector<double> generate(const std::vector<double>& mean, const std::vector<double>& vari,
                             int dims, const std::vector<char>& voiced) {
  const int frames = (int)(mean.size() / (3 * dims));
  std::vector<double> out((std::size_t)frames * dims, 0.0);
  // Runs of voiced frames (the whole utterance for a plain stream).
  std::vector<std::pair<int, int>> runs;
  for (int t = 0; t < frames;) {
    if (!voiced.empty() && !voiced[t]) {
      ++t;
      continue;
    }
    int e = t;
    while (e < frames && (voiced.empty() || voiced[e])) ++e;
    runs.push_back({t, e});
    t = e;
  }
  for (const auto& run : runs) {
    const int T = run.second - run.first;
    // Band matrix A (bandwidth 2) and right-hand side b per dimension.
    for (int d = 0; d < dims; ++d) {
      std::vector<double> a0(T, 0.0), a1(T, 0.0), a2(T, 0.0), b(T, 0.0);
      for (int u = 0; u < T; ++u) {
        const int t = run.first + u;
        for (int k = 0; k < 3; ++k) {
          // Dynamic windows need both neighbours inside the run.
          if (k > 0 && (u == 0 || u == T - 1)) continue;
          const std::size_t i = (std::size_t)t * 3 * dims + (std::size_t)k * dims + d;
          const double iv = vari[i] > 0.0 ? 1.0 / vari[i] : 0.0;
          for (int p = -1; p <= 1; ++p) {
            const double wp = window(k, p);
            if (wp == 0.0 || u + p < 0 || u + p >= T) continue;
            b[u + p] += wp * iv * mean[i];
            for (int q = p; q <= 1; ++q) {
              const double wq = window(k, q);
              if (wq == 0.0 || u + q >= T) continue;
              const double v = wp * wq * iv;
              if (q - p == 0) a0[u + p] += v;
              else if (q - p == 1) a1[u + p] += v;
              else a2[u + p] += v;
            }
          }
        }
      }
      // LDL^T of the symmetric band matrix, then the two substitutions.
      std::vector<double> D(T), L1(T, 0.0), L2(T, 0.0);
      for (int u = 0; u < T; ++u) {
        double dd = a0[u];
        if (u >= 1) dd -= L1[u - 1] * L1[u - 1] * D[u - 1];
        if (u >= 2) dd -= L2[u - 2] * L2[u - 2] * D[u - 2];
        D[u] = dd > 1e-12 ? dd : 1e-12;
        if (u + 1 < T) {
          double v = a1[u];
          if (u >= 1) v -= L2[u - 1] * L1[u - 1] * D[u - 1];
          L1[u] = v / D[u];
        }
        if (u + 2 < T) L2[u] = a2[u] / D[u];
      }
      std::vector<double> y(T);
      for (int u = 0; u < T; ++u) {
        double v = b[u];
        if (u >= 1) v -= L1[u - 1] * y[u - 1];
        if (u >= 2) v -= L2[u - 2] * y[u - 2];
        y[u] = v;
      }
      std::vector<double> x(T);
      for (int u = T - 1; u >= 0; --u) {
        double v = y[u] / D[u];
        if (u + 1 < T) v -= L1[u] * x[u + 1];
        if (u + 2 < T) v -= L2[u] * x[u + 2];
        x[u] = v;
      }
      for (int u = 0; u < T; ++u) out[(std::size_t)(run.first + u) * dims + d] = x[u];
    }
  }
  return out;
}

}  // namespace train
}  // namespace vxn
