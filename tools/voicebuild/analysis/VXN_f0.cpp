#include "tools/voicebuild/analysis/VXN_f0.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vxn {
namespace analysis {

namespace {

const double kPi = 3.14159265358979323846;
const int kLpcOrder = 12;

struct Candidate {
  double lag;   // period in samples at the full rate
  double nccf;  // normalised cross-correlation at that lag
};

// Normalised cross-correlation of x[s .. s + n) with x[s + k .. s + k + n),
// samples outside the signal taken as 0. energy is the
// running sum of squares (energy[i] = sum of x[0 .. i)).
class Correlator {
 public:
  Correlator(const std::vector<double>& x) : x_(x), energy_(x.size() + 1, 0.0) {
    for (std::size_t i = 0; i < x.size(); ++i) energy_[i + 1] = energy_[i] + x[i] * x[i];
  }
  double energy(long from, long n) const {
    const long size = (long)x_.size();
    const long a = std::clamp(from, 0L, size), b = std::clamp(from + n, 0L, size);
    return b > a ? energy_[b] - energy_[a] : 0.0;
  }
  double nccf(long s, long n, long k) const {
    const double e0 = energy(s, n), ek = energy(s + k, n);
    if (e0 <= 1e-9 || ek <= 1e-9) return 0.0;
    const long size = (long)x_.size();
    const long j0 = std::max(0L, std::max(-s, -(s + k)));
    const long j1 = std::min(n, std::min(size - s, size - s - k));
    double sum = 0.0;
    for (long j = j0; j < j1; ++j) sum += x_[s + j] * x_[s + j + k];
    return sum / std::sqrt(e0 * ek);
  }

 private:
  const std::vector<double>& x_;
  std::vector<double> energy_;
};

// Low-pass (windowed sinc) and keep every factor-th sample.
std::vector<double> decimate(const std::vector<double>& x, int factor) {
  if (factor <= 1) return x;
  const int half = 8 * factor;
  const double cutoff = 0.45 / factor;  // cycles per input sample
  std::vector<double> h(2 * half + 1);
  double sum = 0.0;
  for (int i = -half; i <= half; ++i) {
    const double sinc = i == 0 ? 2.0 * cutoff : std::sin(2.0 * kPi * cutoff * i) / (kPi * i);
    const double w = 0.42 + 0.5 * std::cos(kPi * i / half) + 0.08 * std::cos(2.0 * kPi * i / half);
    h[i + half] = sinc * w;
    sum += h[i + half];
  }
  for (double& v : h) v /= sum;
  std::vector<double> y(x.size() / factor + 1, 0.0);
  const long size = (long)x.size();
  for (std::size_t m = 0; m < y.size(); ++m) {
    const long c = (long)m * factor;
    double acc = 0.0;
    for (int i = -half; i <= half; ++i) {
      const long j = c - i;
      if (j >= 0 && j < size) acc += h[i + half] * x[j];
    }
    y[m] = acc;
  }
  return y;
}

// Autocorrelation (Hann window) and LPC coefficients of the signal around
// centre; a[0] = 1. False for a silent window.
bool lpc_at(const std::vector<double>& x, long centre, long n, double* r, double* a) {
  std::vector<double> w(n);
  const long size = (long)x.size();
  for (long i = 0; i < n; ++i) {
    const long j = centre - n / 2 + i;
    const double v = j >= 0 && j < size ? x[j] : 0.0;
    w[i] = v * (0.5 - 0.5 * std::cos(2.0 * kPi * (i + 0.5) / n));
  }
  for (int k = 0; k <= kLpcOrder; ++k) {
    double s = 0.0;
    for (long i = k; i < n; ++i) s += w[i] * w[i - k];
    r[k] = s;
  }
  if (r[0] <= 1e-6) return false;
  r[0] *= 1.0 + 1e-6;  // slight white-noise correction keeps the recursion stable
  double err = r[0];
  double tmp[kLpcOrder + 1];
  a[0] = 1.0;
  for (int i = 1; i <= kLpcOrder; ++i) a[i] = 0.0;
  for (int i = 1; i <= kLpcOrder; ++i) {
    double acc = r[i];
    for (int j = 1; j < i; ++j) acc += a[j] * r[i - j];
    const double k = -acc / err;
    for (int j = 0; j <= i; ++j) tmp[j] = a[j];
    for (int j = 1; j < i; ++j) a[j] = tmp[j] + k * tmp[i - j];
    a[i] = k;
    err *= 1.0 - k * k;
    if (err <= 0.0) return false;
  }
  return true;
}

// a^T R b for the Toeplitz matrix of autocorrelation r.
double toeplitz_form(const double* r, const double* a, const double* b) {
  double s = 0.0;
  for (int i = 0; i <= kLpcOrder; ++i)
    for (int j = 0; j <= kLpcOrder; ++j) s += a[i] * b[j] * r[std::abs(i - j)];
  return s;
}

}  // namespace

std::size_t frame_count(std::size_t count, double rate, double frame_shift_s) {
  const double hop = frame_shift_s * rate;
  if (count == 0 || !(hop > 0.0)) return 0;
  return (std::size_t)std::floor((double)(count - 1) / hop) + 1;
}

std::vector<double> extract_f0(const float* samples, std::size_t count, double rate,
                               const F0Options& opt) {
  const std::size_t frames = frame_count(count, rate, opt.frame_shift_s);
  std::vector<double> f0(frames, 0.0);
  if (frames == 0 || !(opt.min_hz > 0.0) || !(opt.max_hz > opt.min_hz) ||
      !(rate >= 2.5 * opt.max_hz) || opt.max_candidates < 1)
    return f0;
  const double hop = opt.frame_shift_s * rate;

  // DC and rumble removal (first-order high-pass near 20 Hz).
  std::vector<double> x(count);
  const double pole = std::exp(-2.0 * kPi * 20.0 / rate);
  double prev_in = 0.0, prev_out = 0.0;
  for (std::size_t i = 0; i < count; ++i) {
    prev_out = samples[i] - prev_in + pole * prev_out;
    prev_in = samples[i];
    x[i] = prev_out;
  }

  const int factor = std::max(1, (int)std::floor(rate / (4.0 * opt.max_hz)));
  const std::vector<double> xd = decimate(x, factor);
  const double rate_d = rate / factor;
  const Correlator full(x), coarse(xd);

  const long kmin = std::max(2L, (long)std::floor(rate / opt.max_hz));
  const long kmax = (long)std::ceil(rate / opt.min_hz);
  const long kmin_d = std::max(1L, (long)std::floor(rate_d / opt.max_hz));
  const long kmax_d = (long)std::ceil(rate_d / opt.min_hz);
  const long n = std::max(2L, (long)std::lround(opt.window_s * rate));
  const long n_d = std::max(2L, (long)std::lround(opt.window_s * rate_d));

  std::vector<std::vector<Candidate>> cands(frames);
  std::vector<double> best(frames, 0.0);
  std::vector<double> coarse_nccf(kmax_d + 2);
  std::vector<double> fine(kmax + 2);
  std::vector<char> fine_done(kmax + 2);
  for (std::size_t t = 0; t < frames; ++t) {
    const long centre = std::lround(t * hop);
    // Coarse pass over every lag at the decimated rate.
    const long cd = std::lround((double)centre / factor);
    // Both windows of lag k lie symmetrically around the frame centre.
    double top = 0.0;
    for (long k = kmin_d - 1; k <= kmax_d + 1; ++k)
      coarse_nccf[k] = k >= 1 ? coarse.nccf(cd - (n_d + k) / 2, n_d, k) : 0.0;
    for (long k = kmin_d; k <= kmax_d; ++k) top = std::max(top, coarse_nccf[k]);
    if (top <= 0.0) continue;
    std::vector<std::pair<double, long>> peaks;
    for (long k = kmin_d; k <= kmax_d; ++k) {
      const double v = coarse_nccf[k];
      if (v < opt.candidate_threshold * top || v <= 0.0) continue;
      if ((k > kmin_d && v < coarse_nccf[k - 1]) || (k < kmax_d && v < coarse_nccf[k + 1])) continue;
      peaks.push_back({v, k});
    }
    std::sort(peaks.begin(), peaks.end(), std::greater<std::pair<double, long>>());
    if ((int)peaks.size() > opt.max_candidates) peaks.resize(opt.max_candidates);

    // Refinement at the full rate around each coarse peak.
    std::fill(fine_done.begin(), fine_done.end(), 0);
    auto fine_at = [&](long k) {
      if (!fine_done[k]) {
        fine[k] = full.nccf(centre - (n + k) / 2, n, k);
        fine_done[k] = 1;
      }
      return fine[k];
    };
    std::vector<Candidate>& out = cands[t];
    for (const auto& p : peaks) {
      const long lo = std::max(kmin, p.second * factor - factor - 1);
      const long hi = std::min(kmax, p.second * factor + factor + 1);
      long arg = lo;
      for (long k = lo; k <= hi; ++k)
        if (fine_at(k) > fine_at(arg)) arg = k;
      double lag = (double)arg, value = fine_at(arg);
      if (arg > kmin && arg < kmax) {
        const double a = fine_at(arg - 1), b = fine_at(arg), c = fine_at(arg + 1);
        const double den = a - 2.0 * b + c;
        if (den < 0.0) {
          const double d = std::clamp(0.5 * (a - c) / den, -0.5, 0.5);
          lag = arg + d;
          value = b - 0.25 * (a - c) * d;
        }
      }
      if (value <= 0.0) continue;
      bool duplicate = false;
      for (Candidate& c : out) {
        if (std::fabs(c.lag - lag) < 1.0) {
          duplicate = true;
          if (value > c.nccf) c = {lag, value};
        }
      }
      if (!duplicate) out.push_back({lag, value});
    }
    for (const Candidate& c : out) best[t] = std::max(best[t], c.nccf);
  }

  // Energy ratio and spectral stationarity around every frame, from 30 ms
  // windows 20 ms apart.
  const long lpc_window = std::lround(0.030 * rate);
  const long lpc_offset = std::lround(0.010 * rate);
  std::vector<double> onset(frames), offset(frames);
  double r_a[kLpcOrder + 1], a_a[kLpcOrder + 1], r_b[kLpcOrder + 1], a_b[kLpcOrder + 1];
  for (std::size_t t = 0; t < frames; ++t) {
    const long centre = std::lround(t * hop);
    const double e_before = full.energy(centre - lpc_offset - lpc_window / 2, lpc_window);
    const double e_after = full.energy(centre + lpc_offset - lpc_window / 2, lpc_window);
    double ratio = std::sqrt((e_after + 1.0) / (e_before + 1.0));
    ratio = std::clamp(ratio, 1e-3, 1e3);
    double stationarity = 0.0;
    if (lpc_at(x, centre - lpc_offset, lpc_window, r_a, a_a) &&
        lpc_at(x, centre + lpc_offset, lpc_window, r_b, a_b)) {
      const double itakura = toeplitz_form(r_a, a_b, a_b) / toeplitz_form(r_a, a_a, a_a);
      stationarity = 0.2 / std::max(itakura - 0.8, 0.05);
    }
    const double base = opt.transition_cost + opt.transition_spectral * stationarity;
    onset[t] = base + opt.transition_amplitude / ratio;
    offset[t] = base + opt.transition_amplitude * ratio;
  }

  // Dynamic programming: state 0 unvoiced, state j > 0 candidate j - 1.
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<std::vector<double>> cost(frames);
  std::vector<std::vector<int>> from(frames);
  const double log2 = std::log(2.0);
  for (std::size_t t = 0; t < frames; ++t) {
    const std::vector<Candidate>& c = cands[t];
    const std::size_t states = c.size() + 1;
    cost[t].assign(states, inf);
    from[t].assign(states, 0);
    for (std::size_t j = 0; j < states; ++j) {
      const double local =
          j == 0 ? opt.voice_bias + best[t]
                 : 1.0 - c[j - 1].nccf * (1.0 - opt.lag_weight * c[j - 1].lag / (double)kmax);
      if (t == 0) {
        cost[t][j] = local;
        continue;
      }
      const std::vector<Candidate>& p = cands[t - 1];
      double best_cost = inf;
      int best_from = 0;
      for (std::size_t i = 0; i < p.size() + 1; ++i) {
        double trans;
        if (i == 0 && j == 0) {
          trans = 0.0;
        } else if (i == 0) {
          trans = onset[t];
        } else if (j == 0) {
          trans = offset[t];
        } else {
          const double d = std::log(c[j - 1].lag / p[i - 1].lag);
          trans = opt.frequency_weight *
                  std::min({std::fabs(d), opt.octave_cost + std::fabs(d - log2),
                            opt.octave_cost + std::fabs(d + log2)});
        }
        const double total = cost[t - 1][i] + trans;
        if (total < best_cost) {
          best_cost = total;
          best_from = (int)i;
        }
      }
      cost[t][j] = best_cost + local;
      from[t][j] = best_from;
    }
  }
  std::size_t state = 0;
  for (std::size_t j = 1; j < cost[frames - 1].size(); ++j)
    if (cost[frames - 1][j] < cost[frames - 1][state]) state = j;
  for (std::size_t t = frames; t-- > 0;) {
    f0[t] = state == 0 ? 0.0 : rate / cands[t][state - 1].lag;
    state = (std::size_t)from[t][state];
  }
  return f0;
}

}  // namespace analysis
}  // namespace vxn
