#include "tools/voicebuild/analysis/VXN_spectrum.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <mutex>

#include "engine/VXN_melp.h"

extern "C" {
#include <SPTK.h>
}

namespace vxn {
namespace analysis {

namespace {

const double kPi = 3.14159265358979323846;

// SPTK's FFT keeps its sine table in process-wide statics that it frees and
// reallocates when the size changes: the trainer analyses recordings in
// several threads, so their transforms take turns.
std::mutex g_fft_mutex;

}  // namespace

const double kApBandEdgesHz[kApBands + 1] = {0.0, 1000.0, 2000.0, 4000.0, 6000.0, 12000.0};

bool resample(const std::vector<float>& in, double from, double to, std::vector<float>* out,
              std::string* error) {
  if (!(from > 0.0) || !(to > 0.0)) {
    if (error) *error = "resample: rates " + std::to_string(from) + " -> " + std::to_string(to);
    return false;
  }
  if (from == to) {
    *out = in;
    return true;
  }
  const std::size_t olen = (std::size_t)std::llround((double)in.size() * to / from);
  out->assign(olen, 0.0f);
  if (in.empty() || olen == 0) return true;
  const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
  const soxr_quality_spec_t q = soxr_quality_spec(SOXR_HQ, 0);
  std::size_t odone = 0;
  const soxr_error_t e =
      soxr_oneshot(from, to, 1, in.data(), in.size(), nullptr, out->data(), olen, &odone, &io, &q,
                   nullptr);
  if (e) {
    if (error) *error = std::string("resample: ") + e;
    return false;
  }
  return true;
}

double warp(double w, double alpha) {
  return w + 2.0 * std::atan(alpha * std::sin(w) / (1.0 - alpha * std::cos(w)));
}

std::vector<float> mel_cepstrum(const float* samples, std::size_t count, double rate,
                                const std::vector<double>& f0, const McepOptions& opt) {
  const std::size_t frames = frame_count(count, rate, opt.frame_shift_s);
  const int m = opt.order, L = opt.fft_length, bins = L / 2 + 1;
  std::vector<float> out(frames * (m + 1), 0.0f);
  const int n = std::min(L, std::max(8, (int)std::lround(opt.window_s * rate)));
  std::vector<double> w(n);
  double energy = 0.0;
  for (int i = 0; i < n; ++i) {
    const double p = 2.0 * kPi * i / (n - 1);
    w[i] = 0.42 - 0.5 * std::cos(p) + 0.08 * std::cos(2.0 * p);
    energy += w[i] * w[i];
  }
  for (double& v : w) v /= std::sqrt(energy);
  const double hz_per_bin = rate / L;
  const double edge = opt.content_hz > 0.0 ? std::min(opt.content_hz, rate / 2.0) : rate / 2.0;

  // Fitting grid: K points uniform in warped frequency, each read from the
  // linear-frequency bins by interpolation; basis[d][k] = weight_d cos(d b_k) / K.
  const int K = 2 * L;
  std::vector<int> lo(K);
  std::vector<double> frac(K), basis((std::size_t)(m + 1) * K);
  for (int k = 0; k < K; ++k) {
    const double beta = kPi * (k + 0.5) / K;
    const double bin = warp(beta, -opt.alpha) / kPi * (bins - 1);
    lo[k] = std::min(bins - 2, (int)bin);
    frac[k] = bin - lo[k];
    for (int d = 0; d <= m; ++d) basis[(std::size_t)d * K + k] = (d ? 2.0 : 1.0) * std::cos(d * beta) / K;
  }

  std::vector<double> re(L), im(L), power(bins), env(bins), logk(K);
  const double hop = opt.frame_shift_s * rate;
  for (std::size_t t = 0; t < frames; ++t) {
    const long start = std::lround(t * hop) - n / 2;
    std::fill(re.begin(), re.end(), 0.0);
    std::fill(im.begin(), im.end(), 0.0);
    for (int i = 0; i < n; ++i) {
      const long j = start + i;
      if (j >= 0 && j < (long)count) re[i] = samples[j] * w[i];
    }
    {
      std::lock_guard<std::mutex> lock(g_fft_mutex);
      fftr(re.data(), im.data(), L);
    }
    for (int k = 0; k < bins; ++k) power[k] = re[k] * re[k] + im[k] * im[k];
    if (edge < rate / 2.0) {
      // The level just below the edge, then a falling slope above it.
      double level = 0.0;
      int used = 0;
      for (int k = 0; k < bins; ++k) {
        const double f = k * hz_per_bin;
        if (f >= edge - 500.0 && f <= edge) {
          level += power[k];
          ++used;
        }
      }
      level = used ? level / used : 0.0;
      for (int k = 0; k < bins; ++k) {
        const double f = k * hz_per_bin;
        if (f > edge) power[k] = level * std::pow(10.0, -1.2 * (f - edge) / 1000.0);
      }
    }
    // Average over a whole number of harmonics (mirrored at both ends).
    const double pitch = t < f0.size() && f0[t] > 0.0 ? f0[t] : 0.0;
    const double width = pitch > 0.0 ? pitch * std::ceil(100.0 / pitch) : 100.0;
    const int half = std::max(1, (int)std::lround(0.5 * width / hz_per_bin));
    for (int k = 0; k < bins; ++k) {
      double acc = 0.0;
      for (int j = k - half; j <= k + half; ++j) {
        const int r = j < 0 ? -j : j >= bins ? 2 * (bins - 1) - j : j;
        acc += power[std::clamp(r, 0, bins - 1)];
      }
      // A floor near the level of 16-bit quantisation noise keeps silent
      // frames finite.
      env[k] = 0.5 * std::log(acc / (2 * half + 1) + 0.1);
    }
    for (int k = 0; k < K; ++k) logk[k] = env[lo[k]] + frac[k] * (env[lo[k] + 1] - env[lo[k]]);
    for (int d = 0; d <= m; ++d) {
      const double* b = &basis[(std::size_t)d * K];
      double c = 0.0;
      for (int k = 0; k < K; ++k) c += b[k] * logk[k];
      out[t * (m + 1) + d] = (float)c;
    }
  }
  return out;
}

int limit_tilt(float* mcep, int frames, int order, double alpha, double limit) {
  int changed = 0;
  for (int t = 0; t < frames; ++t) {
    float* c = mcep + (std::size_t)t * (order + 1);
    double b = c[order];
    for (int i = order - 1; i >= 1; --i) b = c[i] - alpha * b;
    if (std::fabs(b) <= limit) continue;
    c[1] -= (float)(b > 0.0 ? b - limit : b + limit);
    ++changed;
  }
  return changed;
}

std::vector<float> band_aperiodicity(const float* samples, std::size_t count, double rate,
                                     const std::vector<double>& f0, double frame_shift_s,
                                     double content_hz) {
  const std::size_t frames = f0.size();
  std::vector<float> out(frames * kApBands, 0.0f);
  const int taps = VXN_MELP_BPF_ORDER + 1, half = VXN_MELP_BPF_ORDER / 2;
  const double hop = frame_shift_s * rate;
  for (int b = 0; b < kApBands; ++b) {
    if (content_hz > 0.0 && content_hz <= kApBandEdgesHz[b]) {
      // A band the recording does not reach repeats the band below it.
      for (std::size_t t = 0; t < frames; ++t)
        out[t * kApBands + b] = b > 0 ? out[t * kApBands + b - 1] : 0.0f;
      continue;
    }
    std::vector<double> y(count, 0.0), energy(count + 1, 0.0);
    for (std::size_t i = 0; i < count; ++i) {
      double acc = 0.0;
      for (int j = 0; j < taps; ++j) {
        const long k = (long)i + half - j;  // zero-phase: centred on tap 24
        if (k >= 0 && k < (long)count) acc += bp_cof[b][j] * (double)samples[k];
      }
      y[i] = acc / 32768.0;
      energy[i + 1] = energy[i] + y[i] * y[i];
    }
    auto range_energy = [&](long from, long n) {
      const long a = std::clamp(from, 0L, (long)count), e = std::clamp(from + n, 0L, (long)count);
      return e > a ? energy[e] - energy[a] : 0.0;
    };
    for (std::size_t t = 0; t < frames; ++t) {
      if (!(f0[t] > 0.0)) continue;
      const double period = rate / f0[t];
      // One and a half periods: over a longer window the period of a moving
      // F0 drifts by more than a high band's cycle.
      const long n = std::max(8L, std::lround(1.5 * period));
      const long centre = std::lround(t * hop);
      // Correlation at the integer lags around the period, and its peak
      // between them: a whole-sample lag misses a 5 kHz band's period by up
      // to a tenth of a cycle.
      const long reach = std::max(2L, std::lround(0.03 * period));
      const long k0 = std::max(2L, std::lround(period) - reach), k1 = std::lround(period) + reach;
      std::vector<double> rk(k1 - k0 + 3, 0.0);
      for (long k = k0 - 1; k <= k1 + 1; ++k) {
        const long s = centre - (n + k) / 2;
        const double e0 = range_energy(s, n), ek = range_energy(s + k, n);
        double v = 0.0;
        if (e0 > 1e-6 && ek > 1e-6) {
          double sum = 0.0;
          for (long j = 0; j < n; ++j) {
            const long a = s + j, c = s + j + k;
            if (a >= 0 && c < (long)count) sum += y[a] * y[c];
          }
          v = sum / std::sqrt(e0 * ek);
        }
        rk[k - (k0 - 1)] = v;
      }
      double r = 0.0;
      for (long k = k0; k <= k1; ++k) {
        const double a = rk[k - k0], b = rk[k - k0 + 1], c = rk[k - k0 + 2];
        double peak = b;
        const double den = a - 2.0 * b + c;
        if (b >= a && b >= c && den < 0.0) peak = b - 0.125 * (a - c) * (a - c) / den;
        r = std::max(r, std::min(peak, 1.0));
      }
      const double noise = std::clamp(1.0 - r, 1e-4, 1.0);
      out[t * kApBands + b] = (float)std::max(-40.0, 10.0 * std::log10(noise));
    }
  }
  return out;
}

bool analyse_recording(const std::vector<float>& samples, int rate, const AnalysisOptions& opt,
                       Features* out, std::string* error) {
  std::vector<float> x;
  if (!resample(samples, rate, opt.rate, &x, error)) return false;
  McepOptions mo = opt.mcep;
  double content = 0.0;
  if (rate < opt.rate) {
    // The resampler's pass band ends a little below the source's Nyquist
    // frequency.
    content = 0.47 * rate;
    mo.content_hz = content;
  }
  const std::vector<double> f0 = extract_f0(x.data(), x.size(), opt.rate, opt.f0);
  out->frames = (int)f0.size();
  out->mcep = mel_cepstrum(x.data(), x.size(), opt.rate, f0, mo);
  out->bap = band_aperiodicity(x.data(), x.size(), opt.rate, f0, opt.f0.frame_shift_s, content);
  out->lf0.resize(f0.size());
  for (std::size_t t = 0; t < f0.size(); ++t)
    out->lf0[t] = f0[t] > 0.0 ? (float)std::log(f0[t]) : kUnvoiced;
  return true;
}

}  // namespace analysis
}  // namespace vxn
