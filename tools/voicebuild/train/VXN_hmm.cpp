#include "tools/voicebuild/train/VXN_hmm.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vxn {
namespace train {

namespace {

const double kNegInf = -std::numeric_limits<double>::infinity();
const double kLog2Pi = std::log(2.0 * 3.14159265358979323846);

inline double lse(double a, double b) {
  if (a == kNegInf) return b;
  if (b == kNegInf) return a;
  return a > b ? a + std::log1p(std::exp(b - a)) : b + std::log1p(std::exp(a - b));
}

// Static, delta and delta-delta of one stream's static rows.
void expand(const float* statics, int frames, int dims, std::vector<float>* out) {
  out->assign((std::size_t)frames * dims * 3, 0.0f);
  for (int t = 0; t < frames; ++t) {
    const float* prev = statics + (std::size_t)std::max(t - 1, 0) * dims;
    const float* cur = statics + (std::size_t)t * dims;
    const float* next = statics + (std::size_t)std::min(t + 1, frames - 1) * dims;
    float* o = out->data() + (std::size_t)t * dims * 3;
    for (int d = 0; d < dims; ++d) {
      o[d] = cur[d];
      o[dims + d] = 0.5f * (next[d] - prev[d]);
      o[2 * dims + d] = prev[d] - 2.0f * cur[d] + next[d];
    }
  }
}

// The band of composite states each frame may be in.
struct Band {
  std::vector<int> lo, hi;  // per frame, inclusive; hi < lo: none
  std::vector<std::size_t> offset;
  std::size_t size = 0;
  bool ok = true;
};

Band make_band(const Composite& c, int frames) {
  Band b;
  const int labels = (int)c.first.size(), n = labels * kStates;
  b.lo.resize(frames);
  b.hi.resize(frames);
  b.offset.resize(frames + 1);
  std::vector<int> first(c.first), last(c.last);
  for (int i = 1; i < labels; ++i) {
    first[i] = std::max(first[i], first[i - 1]);
    last[i] = std::max(last[i], last[i - 1]);
  }
  int lo_label = 0, hi_label = -1;
  for (int t = 0; t < frames; ++t) {
    while (lo_label < labels && last[lo_label] < t) ++lo_label;
    while (hi_label + 1 < labels && first[hi_label + 1] <= t) ++hi_label;
    int lo = lo_label * kStates, hi = hi_label * kStates + kStates - 1;
    lo = std::max(lo, n - frames + t);
    hi = std::min(hi, t);
    b.lo[t] = lo;
    b.hi[t] = hi;
    b.offset[t] = b.size;
    if (hi >= lo) b.size += (std::size_t)(hi - lo + 1);
    else b.ok = false;
  }
  b.offset[frames] = b.size;
  return b;
}

const float* frame_vector(const Observations& o, int s, int t) {
  return o.x[s].data() + (std::size_t)t * kWidth[s];
}

double emission(const StateModel& m, const Pools& p, const Observations& o, int t) {
  double v = 0.0;
  for (int s = 0; s < kStreams; ++s)
    v += log_output(p.pdfs[s][m.pdf[s]], frame_vector(o, s, t), s == kLf0, o.voiced[t] != 0,
                    o.lf0_mask[t]);
  return v;
}

void emissions(const Composite& c, const Pools& p, const Observations& o, const Band& b,
               std::vector<double>* out) {
  out->resize(b.size);
  for (int t = 0; t < o.frames; ++t)
    for (int s = b.lo[t]; s <= b.hi[t]; ++s)
      (*out)[b.offset[t] + (s - b.lo[t])] = emission(c.states[s], p, o, t);
}

inline double at(const std::vector<double>& v, const Band& b, int t, int s) {
  if (t < 0 || t >= (int)b.lo.size() || s < b.lo[t] || s > b.hi[t]) return kNegInf;
  return v[b.offset[t] + (s - b.lo[t])];
}

}  // namespace

void make_observations(const analysis::Features& f, Observations* out) {
  const int T = f.frames;
  out->frames = T;
  expand(f.mcep.data(), T, kStatic[0], &out->x[0]);
  expand(f.bap.data(), T, kStatic[2], &out->x[2]);
  out->x[kLf0].assign((std::size_t)T * 3, 0.0f);
  out->voiced.assign(T, 0);
  out->lf0_mask.assign(T, 0);
  for (int t = 0; t < T; ++t) out->voiced[t] = f.lf0[t] > analysis::kUnvoiced * 0.5f;
  for (int t = 0; t < T; ++t) {
    if (!out->voiced[t]) continue;
    float* o = &out->x[kLf0][(std::size_t)t * 3];
    o[0] = f.lf0[t];
    out->lf0_mask[t] = 1;
    if (t > 0 && t + 1 < T && out->voiced[t - 1] && out->voiced[t + 1]) {
      o[1] = 0.5f * (f.lf0[t + 1] - f.lf0[t - 1]);
      o[2] = f.lf0[t - 1] - 2.0f * f.lf0[t] + f.lf0[t + 1];
      out->lf0_mask[t] = 7;
    }
  }
}

void Gaussian::prepare() {
  const std::size_t n = mean.size();
  ivar.resize(n);
  lconst.resize(n);
  for (std::size_t d = 0; d < n; ++d) {
    ivar[d] = 1.0 / vari[d];
    lconst[d] = -0.5 * (kLog2Pi + std::log(vari[d]));
  }
}

void Stats::resize(int width, bool msd) {
  occ = occ_unvoiced = 0.0;
  sum.assign(width, 0.0);
  sq.assign(width, 0.0);
  occ_dim.assign(msd ? width : 0, 0.0);
}

void Stats::add(const Stats& o) {
  occ += o.occ;
  occ_unvoiced += o.occ_unvoiced;
  for (std::size_t d = 0; d < sum.size(); ++d) {
    sum[d] += o.sum[d];
    sq[d] += o.sq[d];
  }
  for (std::size_t d = 0; d < occ_dim.size(); ++d) occ_dim[d] += o.occ_dim[d];
}

double log_output(const Gaussian& g, const float* x, bool msd, bool voiced, std::uint8_t mask) {
  if (msd) {
    const double w = std::clamp(g.weight, 1e-6, 1.0 - 1e-6);
    if (!voiced) return std::log(1.0 - w);
    double v = std::log(w);
    for (std::size_t d = 0; d < g.mean.size(); ++d) {
      if (!(mask & (1u << d))) continue;
      const double e = x[d] - g.mean[d];
      v += g.lconst[d] - 0.5 * e * e * g.ivar[d];
    }
    return v;
  }
  double v = 0.0;
  const std::size_t n = g.mean.size();
  for (std::size_t d = 0; d < n; ++d) {
    const double e = x[d] - g.mean[d];
    v += g.lconst[d] - 0.5 * e * e * g.ivar[d];
  }
  return v;
}

bool forward_backward(const Composite& c, const Pools& pools, const Observations& o,
                      PassResult* out) {
  out->ok = false;
  const int T = o.frames, N = (int)c.states.size();
  if (N == 0 || T < N) return false;
  const Band b = make_band(c, T);
  if (!b.ok) return false;
  std::vector<double> em, alpha(b.size, kNegInf), beta(b.size, kNegInf);
  emissions(c, pools, o, b, &em);
  std::vector<double> stay(N), move(N);
  for (int s = 0; s < N; ++s) {
    stay[s] = std::log(c.states[s].self_loop);
    move[s] = std::log(1.0 - c.states[s].self_loop);
  }
  if (b.lo[0] != 0) return false;
  alpha[b.offset[0]] = em[b.offset[0]];
  for (int t = 1; t < T; ++t) {
    for (int s = b.lo[t]; s <= b.hi[t]; ++s) {
      double v = at(alpha, b, t - 1, s);
      v = v == kNegInf ? v : v + stay[s];
      const double p = at(alpha, b, t - 1, s - 1);
      if (p != kNegInf) v = lse(v, p + move[s - 1]);
      alpha[b.offset[t] + (s - b.lo[t])] = v == kNegInf ? v : v + em[b.offset[t] + (s - b.lo[t])];
    }
  }
  const double total = at(alpha, b, T - 1, N - 1);
  if (total == kNegInf || !std::isfinite(total)) return false;
  beta[b.offset[T - 1] + (N - 1 - b.lo[T - 1])] = 0.0;
  for (int t = T - 2; t >= 0; --t) {
    for (int s = b.lo[t]; s <= b.hi[t]; ++s) {
      double v = kNegInf;
      const double same = at(beta, b, t + 1, s);
      if (same != kNegInf) v = stay[s] + at(em, b, t + 1, s) + same;
      if (s + 1 < N) {
        const double nxt = at(beta, b, t + 1, s + 1);
        if (nxt != kNegInf) v = lse(v, move[s] + at(em, b, t + 1, s + 1) + nxt);
      }
      beta[b.offset[t] + (s - b.lo[t])] = v;
    }
  }
  for (int k = 0; k < kStreams; ++k) {
    out->stats[k].resize(N);
    for (Stats& st : out->stats[k]) st.resize(kWidth[k], k == kLf0);
  }
  out->frames.assign(N, 0.0);
  out->self_loops.assign(N, 0.0);
  out->best_label.assign(T, 0);
  for (int t = 0; t < T; ++t) {
    double best = -1.0;
    for (int s = b.lo[t]; s <= b.hi[t]; ++s) {
      const std::size_t i = b.offset[t] + (s - b.lo[t]);
      if (alpha[i] == kNegInf || beta[i] == kNegInf) continue;
      const double g = std::exp(alpha[i] + beta[i] - total);
      if (g > best) {
        best = g;
        out->best_label[t] = s / kStates;
      }
      if (g < 1e-5) continue;
      out->frames[s] += g;
      if (t + 1 < T) {
        const double nb = at(beta, b, t + 1, s);
        if (nb != kNegInf) out->self_loops[s] += std::exp(alpha[i] + stay[s] + at(em, b, t + 1, s) + nb - total);
      }
      for (int k = 0; k < kStreams; ++k) {
        Stats& st = out->stats[k][s];
        const float* x = frame_vector(o, k, t);
        if (k == kLf0) {
          if (!o.voiced[t]) {
            st.occ_unvoiced += g;
            continue;
          }
          st.occ += g;
          for (int d = 0; d < kWidth[k]; ++d) {
            if (!(o.lf0_mask[t] & (1u << d))) continue;
            st.occ_dim[d] += g;
            st.sum[d] += g * x[d];
            st.sq[d] += g * x[d] * x[d];
          }
          continue;
        }
        st.occ += g;
        for (int d = 0; d < kWidth[k]; ++d) {
          st.sum[d] += g * x[d];
          st.sq[d] += g * x[d] * x[d];
        }
      }
    }
  }
  out->log_likelihood = total;
  out->ok = true;
  return true;
}

bool viterbi(const Composite& c, const Pools& pools, const Observations& o,
             std::vector<int>* state_of_frame, double* log_likelihood) {
  const int T = o.frames, N = (int)c.states.size();
  if (N == 0 || T < N) return false;
  const Band b = make_band(c, T);
  if (!b.ok || b.lo[0] != 0) return false;
  std::vector<double> em, delta(b.size, kNegInf);
  std::vector<std::uint8_t> from(b.size, 0);
  emissions(c, pools, o, b, &em);
  delta[b.offset[0]] = em[b.offset[0]];
  for (int t = 1; t < T; ++t) {
    for (int s = b.lo[t]; s <= b.hi[t]; ++s) {
      double stay = at(delta, b, t - 1, s);
      if (stay != kNegInf) stay += std::log(c.states[s].self_loop);
      double move = at(delta, b, t - 1, s - 1);
      if (move != kNegInf) move += std::log(1.0 - c.states[s - 1].self_loop);
      const std::size_t i = b.offset[t] + (s - b.lo[t]);
      if (stay == kNegInf && move == kNegInf) continue;
      from[i] = move > stay;
      delta[i] = std::max(stay, move) + em[i];
    }
  }
  const double total = at(delta, b, T - 1, N - 1);
  if (total == kNegInf) return false;
  state_of_frame->assign(T, 0);
  int s = N - 1;
  for (int t = T - 1; t >= 0; --t) {
    (*state_of_frame)[t] = s;
    if (t > 0 && from[b.offset[t] + (s - b.lo[t])]) --s;
  }
  if (log_likelihood) *log_likelihood = total;
  return true;
}

void estimate(const Stats& s, bool msd, const std::vector<double>& floor,
              const Gaussian& fallback, Gaussian* out) {
  const std::size_t n = s.sum.size();
  out->mean.resize(n);
  out->vari.resize(n);
  for (std::size_t d = 0; d < n; ++d) {
    const double occ = msd ? s.occ_dim[d] : s.occ;
    if (occ <= 1e-3) {
      out->mean[d] = fallback.mean[d];
      out->vari[d] = fallback.vari[d];
      continue;
    }
    const double m = s.sum[d] / occ;
    out->mean[d] = m;
    out->vari[d] = std::max(s.sq[d] / occ - m * m, floor[d]);
  }
  if (msd) {
    const double total = s.occ + s.occ_unvoiced;
    out->weight = total > 0.0 ? std::clamp(s.occ / total, 1e-4, 1.0 - 1e-4) : fallback.weight;
  }
  out->prepare();
}

}  // namespace train
}  // namespace vxn
