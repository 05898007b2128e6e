#include "engine/VXN_pstream.h"

#include <math.h>

#include <string.h>

#include "engine/VXN_misc.h"
#include "engine/VXN_vsearch.h"

// For every static dimension m the generator solves (W'U^-1W) c = W'U^-1 mu.
// W'U^-1W is symmetric and banded: wuw[t][k] holds the element (t, t + k) for
// k < width. It is factorised in place as L D L' (wuw[t][0] becomes D[t],
// wuw[t][k] the multiplier L[t + k][t]), then solved by forward and backward
// substitution. Everything is linear in the frame count.

float VXN_finv(float x) {
  const double v = x;
  if (v >= 1.0e+19 || v <= -1.0e+19) return 0.0f;
  if (v >= 0.0 && v <= 1.0e-19) return 1.0e+38f;
  if (v < 0.0 && v >= -1.0e-19) return -1.0e+38f;
  return (float)(1.0 / v);
}

namespace {

// Window coefficient at index j, 0 outside the window's extent.
inline float coefficient(const VXN_PStream* ps, int i, int j) {
  if (j < ps->win_l_width[i] || j > ps->win_r_width[i]) return 0.0f;
  return ps->win_coefficient[i][j];
}

// The band columns k (0 <= k < w, t + k < T) that the window offset j of a
// window spanning left..right reaches at frame t: those with k - j inside
// the window. Sets [*first, *end).
inline void reached_columns(int j, int left, int right, int w, int T, int t, int* first, int* end) {
  *first = j + left > 0 ? j + left : 0;
  *end = j + right + 1;
  if (*end > w) *end = w;
  if (*end > T - t) *end = T - t;
}

}  // namespace

void VXN_PStream_calc_wuw_and_wum(VXN_PStream* ps, int m) {
  const int T = ps->length;
  const int w = ps->width;
  for (int t = 0; t < T; t++) {
    float wum = 0.0f;
    double* wuw = ps->wuw[t];
    for (int k = 0; k < w; k++) wuw[k] = 0.0;
    for (int i = 0; i < ps->win_size; i++) {
      const int l = ps->win_l_width[i];
      const int r = ps->win_r_width[i];
      const float* c = ps->win_coefficient[i];
      const int q = i * ps->static_length + m;
      for (int j = l; j <= r; j++) {
        const float cj = coefficient(ps, i, -j);
        if (t + j < 0 || t + j >= T || cj == 0.0f) continue;
        const double wu = (double)ps->ivar[t + j][q] * (double)cj;
        wum += (float)(wu * (double)ps->mean[t + j][q]);
        // Only shifts k with k - j inside the window contribute.
        int k, kend;
        reached_columns(j, l, r, w, T, t, &k, &kend);
        for (; k < kend; k++) {
          const float ck = c[k - j];
          if (ck != 0.0f) wuw[k] += wu * (double)ck;
        }
      }
    }
    ps->wum[t] = wum;
  }
}

void VXN_PStream_ldl_factorization(VXN_PStream* ps) {
  const int T = ps->length;
  const int w = ps->width;
  double** a = ps->wuw;
  for (int t = 0; t < T; t++) {
    for (int i = 1; i < w && i <= t; i++) a[t][0] -= a[t - i][i] * a[t - i][i] * a[t - i][0];
    for (int i = 1; i < w; i++) {
      for (int j = 1; i + j < w && j <= t; j++) a[t][i] -= a[t - j][j] * a[t - j][i + j] * a[t - j][0];
      a[t][i] /= a[t][0];
    }
  }
}

void VXN_PStream_forward_substitution(VXN_PStream* ps) {
  const int T = ps->length;
  const int w = ps->width;
  for (int t = 0; t < T; t++) {
    double g = ps->wum[t];
    for (int i = 1; i < w && i <= t; i++) g -= ps->wuw[t - i][i] * (double)ps->g[t - i];
    ps->g[t] = (float)g;
  }
}

void VXN_PStream_backward_substitution(VXN_PStream* ps, int m) {
  const int T = ps->length;
  const int w = ps->width;
  for (int t = T - 1; t >= 0; t--) {
    double p = (double)ps->g[t] / ps->wuw[t][0];
    for (int i = 1; i < w && t + i < T; i++) p -= ps->wuw[t][i] * (double)ps->par[t + i][m];
    ps->par[t][m] = (float)p;
  }
}

namespace {

// Every static dimension has a band system of the same shape, so generation
// solves kLanes dimensions side by side: each lane does exactly the
// operations of the one-dimension steps above, in the same order, so the
// trajectories are those of the per-dimension path bit for bit, while the
// compiler keeps the lanes in vector registers. A last block with fewer
// dimensions repeats its last one in the spare lanes (the same inputs give
// the same values, written to the same place).
const int kLanes = 4;

struct LaneBuffers {
  double* wuw;  // [T][width][kLanes]
  double* wum;  // [T][kLanes], rounded to float as the one-dimension path stores it
  double* g;    // [T][kLanes], likewise
};

void solve_lanes(VXN_PStream* ps, int m0, const LaneBuffers& b) {
  const int T = ps->length;
  const int w = ps->width;
  int dim[kLanes];
  for (int l = 0; l < kLanes; l++) dim[l] = m0 + l < ps->static_length ? m0 + l : ps->static_length - 1;
  auto wuw = [&](int t, int k) { return b.wuw + ((size_t)t * w + k) * kLanes; };

  // W'U^-1W and W'U^-1 mu (VXN_PStream_calc_wuw_and_wum).
  for (int t = 0; t < T; t++) {
    float wum[kLanes] = {0.0f, 0.0f, 0.0f, 0.0f};
    for (int k = 0; k < w; k++)
      for (int l = 0; l < kLanes; l++) wuw(t, k)[l] = 0.0;
    for (int i = 0; i < ps->win_size; i++) {
      const int left = ps->win_l_width[i];
      const int right = ps->win_r_width[i];
      const float* c = ps->win_coefficient[i];
      const int q = i * ps->static_length;
      for (int j = left; j <= right; j++) {
        const float cj = coefficient(ps, i, -j);
        if (t + j < 0 || t + j >= T || cj == 0.0f) continue;
        const float* ivar = ps->ivar[t + j] + q;
        const float* mean = ps->mean[t + j] + q;
        double wu[kLanes];
        for (int l = 0; l < kLanes; l++) wu[l] = (double)ivar[dim[l]] * (double)cj;
        for (int l = 0; l < kLanes; l++) wum[l] += (float)(wu[l] * (double)mean[dim[l]]);
        int k, kend;
        reached_columns(j, left, right, w, T, t, &k, &kend);
        for (; k < kend; k++) {
          const float ck = c[k - j];
          if (ck == 0.0f) continue;
          double* a = wuw(t, k);
          for (int l = 0; l < kLanes; l++) a[l] += wu[l] * (double)ck;
        }
      }
    }
    for (int l = 0; l < kLanes; l++) b.wum[(size_t)t * kLanes + l] = wum[l];
  }

  // L D L' (VXN_PStream_ldl_factorization).
  for (int t = 0; t < T; t++) {
    double* d = wuw(t, 0);
    for (int i = 1; i < w && i <= t; i++) {
      const double* u = wuw(t - i, i);
      const double* e = wuw(t - i, 0);
      for (int l = 0; l < kLanes; l++) d[l] -= u[l] * u[l] * e[l];
    }
    for (int i = 1; i < w; i++) {
      double* a = wuw(t, i);
      for (int j = 1; i + j < w && j <= t; j++) {
        const double* u = wuw(t - j, j);
        const double* v = wuw(t - j, i + j);
        const double* e = wuw(t - j, 0);
        for (int l = 0; l < kLanes; l++) a[l] -= u[l] * v[l] * e[l];
      }
      for (int l = 0; l < kLanes; l++) a[l] /= d[l];
    }
  }

  // g = L^-1 wum (VXN_PStream_forward_substitution), stored as float.
  for (int t = 0; t < T; t++) {
    double g[kLanes];
    for (int l = 0; l < kLanes; l++) g[l] = b.wum[(size_t)t * kLanes + l];
    for (int i = 1; i < w && i <= t; i++) {
      const double* a = wuw(t - i, i);
      const double* h = b.g + (size_t)(t - i) * kLanes;
      for (int l = 0; l < kLanes; l++) g[l] -= a[l] * h[l];
    }
    for (int l = 0; l < kLanes; l++) b.g[(size_t)t * kLanes + l] = (double)(float)g[l];
  }

  // par = L'^-1 D^-1 g (VXN_PStream_backward_substitution).
  for (int t = T - 1; t >= 0; t--) {
    double p[kLanes];
    const double* d = wuw(t, 0);
    for (int l = 0; l < kLanes; l++) p[l] = b.g[(size_t)t * kLanes + l] / d[l];
    for (int i = 1; i < w && t + i < T; i++) {
      const double* a = wuw(t, i);
      const float* next = ps->par[t + i];
      for (int l = 0; l < kLanes; l++) p[l] -= a[l] * (double)next[dim[l]];
    }
    for (int l = 0; l < kLanes; l++) ps->par[t][dim[l]] = (float)p[l];
  }
}

}  // namespace

void VXN_PStream_mlpg(VXN_PStream* ps) {
  if (ps->length <= 0 || ps->static_length <= 0) return;
  const size_t T = (size_t)ps->length;
  double* buffer = (double*)VXN_calloc(T * kLanes * ((size_t)ps->width + 2), sizeof(double));
  if (!buffer) {
    // Without room for the lanes, one dimension at a time.
    for (int m = 0; m < ps->static_length; m++) {
      VXN_PStream_calc_wuw_and_wum(ps, m);
      VXN_PStream_ldl_factorization(ps);
      VXN_PStream_forward_substitution(ps);
      VXN_PStream_backward_substitution(ps, m);
    }
    return;
  }
  const LaneBuffers b = {buffer, buffer + T * kLanes * (size_t)ps->width,
                         buffer + T * kLanes * ((size_t)ps->width + 1)};
  for (int m0 = 0; m0 < ps->static_length; m0 += kLanes) solve_lanes(ps, m0, b);
  VXN_free(buffer);
}

void VXN_PStreamSet_initialize(VXN_PStreamSet* pss) {
  pss->pstream = NULL;
  pss->nstream = 0;
  pss->total_frame = 0;
}

namespace {

bool allocate_stream(VXN_PStream* ps, const VXN_SStreamSet* sss, int s, int total_frame) {
  const int T = ps->length;
  if (T > 0 && ps->vector_length > 0 && ps->static_length > 0 && ps->width > 0) {
    if (VXN_SStreamSet_is_msd(sss, s)) {
      if (!(ps->mean = VXN_alloc_matrix(T, ps->vector_length))) return false;
      if (!(ps->ivar = VXN_alloc_matrix(T, ps->vector_length))) return false;
    } else {
      // One row per state (fill_plain points every frame of a state at its
      // state's row) and a zeroed one for frames past the states.
      const int rows = VXN_SStreamSet_get_total_state(sss) + 1;
      if (!(ps->mean = VXN_alloc_shared_rows(T, rows, ps->vector_length))) return false;
      if (!(ps->ivar = VXN_alloc_shared_rows(T, rows, ps->vector_length))) return false;
    }
    if (!(ps->par = VXN_alloc_matrix(T, ps->static_length))) return false;
    if (!(ps->wuw = VXN_alloc_matrix_double(T, ps->width))) return false;
    if (!(ps->wum = (float*)VXN_calloc((size_t)T, sizeof(float)))) return false;
    if (!(ps->g = (float*)VXN_calloc((size_t)T, sizeof(float)))) return false;
  }
  if (VXN_SStreamSet_is_msd(sss, s)) {
    ps->msd_flag = (int32_t*)VXN_calloc((size_t)(total_frame > 0 ? total_frame : 1),
                                        sizeof(int32_t));
    if (!ps->msd_flag) return false;
  }
  if (ps->win_size > 0) {
    ps->win_l_width = (int32_t*)VXN_calloc((size_t)ps->win_size, sizeof(int32_t));
    ps->win_r_width = (int32_t*)VXN_calloc((size_t)ps->win_size, sizeof(int32_t));
    ps->win_coefficient = (float**)VXN_calloc((size_t)ps->win_size, sizeof(float*));
    if (!ps->win_l_width || !ps->win_r_width || !ps->win_coefficient) return false;
    for (int i = 0; i < ps->win_size; i++) {
      const int l = VXN_SStreamSet_get_window_left_width(sss, s, i);
      const int r = VXN_SStreamSet_get_window_right_width(sss, s, i);
      // Room for l..r even when the window reaches further right than left.
      int size = (l + r == 0) ? -2 * l + 1 : -2 * l;
      if (size < r - l + 1) size = r - l + 1;
      float* c = (float*)VXN_calloc((size_t)size, sizeof(float));
      if (!c) return false;
      ps->win_l_width[i] = l;
      ps->win_r_width[i] = r;
      ps->win_coefficient[i] = c - l;
      for (int j = l; j <= r; j++)
        ps->win_coefficient[i][j] = VXN_SStreamSet_get_window_coefficient(sss, s, i, j);
    }
  }
  if (VXN_SStreamSet_use_gv(sss, s) && ps->static_length > 0) {
    ps->gv_mean = (float*)VXN_calloc((size_t)ps->static_length, sizeof(float));
    ps->gv_vari = (float*)VXN_calloc((size_t)ps->static_length, sizeof(float));
    if (!ps->gv_mean || !ps->gv_vari) return false;
    for (int d = 0; d < ps->static_length; d++) {
      ps->gv_mean[d] = VXN_SStreamSet_get_gv_mean(sss, s, d);
      ps->gv_vari[d] = VXN_SStreamSet_get_gv_vari(sss, s, d);
    }
  }
  return true;
}

// Frame statistics of a stream without multi-space: every frame of a state
// points at the state's row (rows in state order, as allocate_stream made them).
void fill_plain(VXN_PStream* ps, const VXN_SStreamSet* sss, int s) {
  const int ts = VXN_SStreamSet_get_total_state(sss);
  const int V = ps->vector_length;
  const int T = ps->length;
  float* const mean_rows = ps->mean[0];
  float* const ivar_rows = ps->ivar[0];
  int t = 0;
  size_t row = 0;
  for (int st = 0; st < ts && t < T; st++) {
    const int dur = VXN_SStreamSet_get_duration(sss, st);
    if (dur <= 0) continue;
    const float* mean = sss->sstream[s].mean[st];
    const float* vari = sss->sstream[s].vari[st];
    float* m = mean_rows + row * V;
    float* iv = ivar_rows + row * V;
    row++;
    for (int d = 0; d < V; d++) {
      m[d] = mean[d];
      iv[d] = VXN_finv(vari[d]);
    }
    const int end = dur < T - t ? t + dur : T;
    for (; t < end; t++) {
      ps->mean[t] = m;
      ps->ivar[t] = iv;
    }
  }
  // Frames past the states' keep the zeroed last row.
  for (; t < T; t++) {
    ps->mean[t] = mean_rows + row * V;
    ps->ivar[t] = ivar_rows + row * V;
  }
}

// Frame statistics of a multi-space stream over its voiced frames; the
// dynamic windows are switched off where they would reach an unvoiced frame
// or past either end of the utterance.
void fill_msd(VXN_PStream* ps, const VXN_SStreamSet* sss, int s, int total_frame,
              const VXN_VTContext* vt) {
  int target_count = 0;
  const float* target = VXN_VT_is_hybrid(vt) ? VXN_VT_get_lf0_target(vt, &target_count) : NULL;
  const int ts = VXN_SStreamSet_get_total_state(sss);
  int t = 0;
  int u = 0;
  for (int st = 0; st < ts; st++) {
    const int dur = VXN_SStreamSet_get_duration(sss, st);
    for (int k = 0; k < dur && t < total_frame; k++, t++) {
      if (!ps->msd_flag[t] || u >= ps->length) continue;
      for (int i = 0; i < ps->win_size; i++) {
        bool boundary = false;
        for (int shift = ps->win_l_width[i]; shift <= ps->win_r_width[i]; shift++)
          if (t + shift < 0 || t + shift >= total_frame || !ps->msd_flag[t + shift]) {
            boundary = true;
            break;
          }
        for (int l = 0; l < ps->static_length; l++) {
          const int m = i * ps->static_length + l;
          ps->mean[u][m] = VXN_SStreamSet_get_mean(sss, s, st, m);
          if (m == 0 && target && t < target_count) ps->mean[u][0] = target[t];
          ps->ivar[u][m] = (i == 0 || !boundary)
                               ? VXN_finv(VXN_SStreamSet_get_vari(sss, s, st, m))
                               : 0.0f;
        }
      }
      u++;
    }
  }
}

}  // namespace

int VXN_PStreamSet_create(VXN_PStreamSet* pss, VXN_SStreamSet* sss, const float* msd_threshold,
                          const float* gv_weight, VXN_VTContext* vt) {
  if (pss->pstream) {
    VXN_print(VXN_LEVEL_ERROR,
              "error [5010]: VXN_PStreamSet is not initialized.. pstream should be clear.\n");
    VXN_PStreamSet_clear(pss);
  }
  pss->nstream = VXN_SStreamSet_get_nstream(sss);
  pss->total_frame = VXN_SStreamSet_get_total_frame(sss);
  if (pss->nstream <= 0) return 1;
  pss->pstream = (VXN_PStream*)VXN_calloc((size_t)pss->nstream, sizeof(VXN_PStream));
  if (!pss->pstream) {
    pss->nstream = 0;
    VXN_print(VXN_LEVEL_ERROR, "error : Cannot allocate the Memory with VXN Calloc");
    return -1;
  }
  const int total_frame = pss->total_frame;
  const int ts = VXN_SStreamSet_get_total_state(sss);
  for (int s = 0; s < pss->nstream; s++) {
    VXN_PStream* ps = &pss->pstream[s];
    const bool msd = VXN_SStreamSet_is_msd(sss, s) != 0;
    if (msd) {
      ps->length = 0;
      for (int st = 0; st < ts; st++)
        if (VXN_SStreamSet_get_msd(sss, s, st) > msd_threshold[s])
          ps->length += VXN_SStreamSet_get_duration(sss, st);
    } else {
      ps->length = total_frame;
    }
    ps->vector_length = VXN_SStreamSet_get_vector_length(sss, s);
    ps->width = 2 * VXN_SStreamSet_get_window_max_width(sss, s) + 1;
    ps->win_size = VXN_SStreamSet_get_window_size(sss, s);
    ps->static_length = ps->win_size > 0 ? ps->vector_length / ps->win_size : 0;
    if (!allocate_stream(ps, sss, s, total_frame)) {
      VXN_print(VXN_LEVEL_ERROR, "error : Cannot allocate the Memory with VXN Calloc");
      return -1;
    }
    ps->gv_weight = gv_weight ? gv_weight[s] : 1.0f;

    if (msd) {
      int t = 0;
      for (int st = 0; st < ts; st++) {
        const int on = VXN_SStreamSet_get_msd(sss, s, st) > msd_threshold[s];
        const int dur = VXN_SStreamSet_get_duration(sss, st);
        for (int k = 0; k < dur && t < total_frame; k++) ps->msd_flag[t++] = on;
      }
    }
    if (!ps->mean) continue;  // nothing to generate
    if (msd)
      fill_msd(ps, sss, s, total_frame, vt);
    else
      fill_plain(ps, sss, s);
    VXN_PStream_mlpg(ps);
  }
  if (VXN_VT_is_hybrid(vt)) Hybrid_close(vt);
  return 1;
}

// A trajectory is never spread more than this: statistics that ask for more
// belong to a voice whose generation is not what they were measured on.
static const double kMaxVarianceScale = 4.0;

void VXN_PStreamSet_scale_variance(VXN_PStreamSet* pss, int stream, float strength,
                                   const unsigned char* used_frame) {
  if (!(strength > 0.0f) || stream < 0 || stream >= pss->nstream) return;
  VXN_PStream* ps = &pss->pstream[stream];
  if (ps->msd_flag || !ps->gv_mean || !ps->par) return;
  for (int d = 1; d < ps->static_length; d++) {
    double sum = 0.0, sq = 0.0;
    int n = 0;
    for (int t = 0; t < ps->length; t++) {
      if (used_frame && !used_frame[t]) continue;
      sum += ps->par[t][d];
      n++;
    }
    if (n < 2) return;
    const double mean = sum / n;
    for (int t = 0; t < ps->length; t++) {
      if (used_frame && !used_frame[t]) continue;
      const double e = ps->par[t][d] - mean;
      sq += e * e;
    }
    const double var = sq / n;
    if (!(var > 0.0) || !(ps->gv_mean[d] > 0.0f)) continue;
    double ratio = sqrt(ps->gv_mean[d] / var);
    if (ratio > kMaxVarianceScale) ratio = kMaxVarianceScale;
    const double scale = 1.0 + strength * (ratio - 1.0);
    for (int t = 0; t < ps->length; t++)
      ps->par[t][d] = (float)(mean + scale * (ps->par[t][d] - mean));
  }
}

void VXN_PStreamSet_clear(VXN_PStreamSet* pss) {
  if (pss->pstream) {
    for (int s = 0; s < pss->nstream; s++) {
      VXN_PStream* ps = &pss->pstream[s];
      VXN_free_matrix(ps->par, ps->length);
      VXN_free_matrix(ps->mean, ps->length);
      VXN_free_matrix(ps->ivar, ps->length);
      VXN_free_matrix_double(ps->wuw, ps->length);
      VXN_free(ps->g);
      VXN_free(ps->wum);
      if (ps->win_coefficient) {
        for (int i = 0; i < ps->win_size; i++)
          if (ps->win_coefficient[i]) VXN_free(ps->win_coefficient[i] + ps->win_l_width[i]);
        VXN_free(ps->win_coefficient);
      }
      VXN_free(ps->win_l_width);
      VXN_free(ps->win_r_width);
      VXN_free(ps->msd_flag);
      VXN_free(ps->gv_mean);
      VXN_free(ps->gv_vari);
    }
    VXN_free(pss->pstream);
  }
  VXN_PStreamSet_initialize(pss);
}

int VXN_PStreamSet_get_nstream(const VXN_PStreamSet* pss) { return pss->nstream; }

int VXN_PStreamSet_get_static_length(const VXN_PStreamSet* pss, int stream) {
  return pss->pstream[stream].static_length;
}

int VXN_PStreamSet_get_total_frame(const VXN_PStreamSet* pss) { return pss->total_frame; }

float VXN_PStreamSet_get_parameter(const VXN_PStreamSet* pss, int stream, int frame, int dim) {
  return pss->pstream[stream].par[frame][dim];
}

float* VXN_PStreamSet_get_parameter_vector(VXN_PStreamSet* pss, int stream, int frame) {
  return pss->pstream[stream].par[frame];
}

int VXN_PStreamSet_get_msd_flag(const VXN_PStreamSet* pss, int stream, int frame) {
  return pss->pstream[stream].msd_flag[frame];
}

int VXN_PStreamSet_is_msd(const VXN_PStreamSet* pss, int stream) {
  return pss->pstream[stream].msd_flag != NULL;
}
