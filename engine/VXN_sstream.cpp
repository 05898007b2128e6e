#include "engine/VXN_sstream.h"

#include <math.h>
#include <string.h>

#include "engine/VXN_misc.h"
#include "engine/VXN_vsearch.h"

// Durations are shaped per label on a float vector, then every rule that needs
// the whole utterance runs over the global state index (label x nstate + state).

namespace {

// State factors of hybrid mode, states 0..4 of a five-state model.
const float kHybridStateFactor[5] = {0.8f, 1.1f, 1.15f, 1.1f, 0.8f};
// Split of the middle label of a three-label utterance, states 0..4.
const float kThreeLabelSplit[5] = {0.1f, 0.4f, 0.45f, 0.35f, 0.1f};
// Lowest log gain of the middle label of a three-label utterance.
const float kThreeLabelGainFloor[5] = {2.5f, 3.5f, 4.0f, 3.5f, 2.5f};
// Longest state (500 s): keeps a broken duration model from overflowing the
// frame and sample counts.
const float kMaxStateFrames = 100000.0f;

void normalise(float* w, int n) {
  if (!w || n <= 0) return;
  float sum = 0.0f;
  for (int i = 0; i < n; i++) sum += w[i];
  for (int i = 0; i < n; i++) w[i] /= sum;
}

// Window coefficient storage: the original layout holds -2l+1 values for a
// centred window and -2l otherwise, which is too short for a window reaching
// further right than left; never allocate fewer than r - l + 1.
int window_storage(int l, int r) {
  int n = (l + r == 0) ? -2 * l + 1 : -2 * l;
  if (n < r - l + 1) n = r - l + 1;
  return n;
}

// Speed factor of one label (substep 3.1).
float label_speed_factor(const char* str, float speech_speed) {
  float f = (speech_speed != 1.0f) ? 1.0f / speech_speed : 1.0f;
  if (str && VXN_pattern_match(str, "*-1@*") && VXN_pattern_match(str, "*+1@*") &&
      VXN_pattern_match(str, "*@1+*"))
    f = VXN_pattern_match(str, "*+1-*") ? 1.0f : 1.2f;
  return f;
}

int lf0_stream(const VXN_SStreamSet* sss) {
  for (int s = 0; s < sss->nstream; s++)
    if (sss->sstream[s].msd) return s;
  return -1;
}

// Log-F0 voiced weight of a global state; 0 when the voice has no MSD stream.
float lf0_msd(const VXN_SStreamSet* sss, int lf0, int state) {
  return lf0 < 0 ? 0.0f : sss->sstream[lf0].msd[state];
}

bool allocate_streams(VXN_SStreamSet* sss, VXN_ModelSet* ms) {
  sss->sstream = (VXN_SStream*)VXN_calloc((size_t)sss->nstream, sizeof(VXN_SStream));
  sss->duration = (int32_t*)VXN_calloc((size_t)(sss->total_state > 0 ? sss->total_state : 1),
                                       sizeof(int32_t));
  if (!sss->sstream || !sss->duration) return false;
  for (int s = 0; s < sss->nstream; s++) {
    VXN_SStream* st = &sss->sstream[s];
    st->vector_length = VXN_ModelSet_get_vector_length(ms, s);
    if (sss->total_state > 0 && st->vector_length > 0) {
      st->mean = VXN_alloc_matrix(sss->total_state, st->vector_length);
      st->vari = VXN_alloc_matrix(sss->total_state, st->vector_length);
      if (!st->mean || !st->vari) return false;
    }
    if (VXN_ModelSet_is_msd(ms, s)) {
      st->msd = (float*)VXN_calloc((size_t)(sss->total_state > 0 ? sss->total_state : 1),
                                   sizeof(float));
      if (!st->msd) return false;
    }
  }
  return true;
}

bool copy_windows(VXN_SStreamSet* sss, VXN_ModelSet* ms) {
  for (int s = 0; s < sss->nstream; s++) {
    VXN_SStream* st = &sss->sstream[s];
    const int nwin = VXN_ModelSet_get_window_size(ms, s);
    st->win_max_width = VXN_ModelSet_get_window_max_width(ms, s);
    if (nwin <= 0) continue;
    st->win_l_width = (int32_t*)VXN_calloc((size_t)nwin, sizeof(int32_t));
    st->win_r_width = (int32_t*)VXN_calloc((size_t)nwin, sizeof(int32_t));
    st->win_coefficient = (float**)VXN_calloc((size_t)nwin, sizeof(float*));
    if (!st->win_l_width || !st->win_r_width || !st->win_coefficient) return false;
    st->win_size = nwin;
    for (int w = 0; w < nwin; w++) {
      const int l = VXN_ModelSet_get_window_left_width(ms, s, w);
      const int r = VXN_ModelSet_get_window_right_width(ms, s, w);
      st->win_l_width[w] = l;
      st->win_r_width[w] = r;
      float* c = (float*)VXN_calloc((size_t)window_storage(l, r), sizeof(float));
      if (!c) return false;
      st->win_coefficient[w] = c - l;
      for (int j = l; j <= r; j++)
        st->win_coefficient[w][j] = VXN_ModelSet_get_window_coefficient(ms, s, w, j);
    }
  }
  return true;
}

bool copy_gv(VXN_SStreamSet* sss, VXN_ModelSet* ms, float** gv_iw) {
  for (int s = 0; s < sss->nstream; s++) {
    VXN_SStream* st = &sss->sstream[s];
    if (!VXN_ModelSet_use_gv(ms, s) || st->win_size <= 0) continue;
    const int n = st->vector_length / st->win_size;
    if (n <= 0) continue;
    st->gv_mean = (float*)VXN_calloc((size_t)n, sizeof(float));
    st->gv_vari = (float*)VXN_calloc((size_t)n, sizeof(float));
    if (!st->gv_mean || !st->gv_vari) return false;
    VXN_ModelSet_get_gv(ms, st->gv_mean, st->gv_vari, s, gv_iw ? gv_iw[s] : NULL);
  }
  return true;
}

// Step 3: durations of every label, with the voicing pass that also fills the
// per-state distributions.
void make_durations(VXN_SStreamSet* sss, VXN_ModelSet* ms, VXN_Label* label, int hybrid,
                    int delete_start_pause, int delete_end_pause, float* d, float* dmean,
                    float* dvari, int* flags) {
  const int n = sss->nstate;
  const int L = VXN_Label_get_size(label);
  const float speed = VXN_Label_get_speech_speed(label);
  float first_sum = 0.0f;
  for (int i = 0; i < L; i++) {
    const char* str = VXN_Label_get_string(label, i);
    const float f = label_speed_factor(str, speed);

    for (int s = 0; s < n + 2; s++) dmean[s] = dvari[s] = 0.0f;
    VXN_ModelSet_get_duration(ms, str, dmean, dvari);
    for (int s = 0; s < n; s++) d[s] = dmean[s + 2];

    float S = 0.0f;
    for (int s = 0; s < n; s++) {
      if (hybrid && s < 5) d[s] *= kHybridStateFactor[s];
      if (i == 0) first_sum += d[s];
      if (L < 8 && i > 0 && i < L - 1 && s > 0 && s < n - 1 && d[s] < 10.0f)
        d[s] = d[s] + (float)(8 - L);
      S += d[s];
    }
    if (L < 6 && i > 0 && i < L - 1) {
      float scale = 1.0f;
      if (S > 50.0f)
        scale = 0.8f;
      else if (S > 40.0f)
        scale = 0.9f;
      else if (S > 30.0f)
        scale = 0.95f;
      if (scale != 1.0f)
        for (int s = 0; s < n; s++) d[s] *= scale;
    }
    if (L == 3) {
      if (i != 1) {
        for (int s = 0; s < n; s++) d[s] *= 0.5f;
      } else if (n == 5) {
        float T = 0.0f;
        for (int s = 0; s < n; s++) T += d[s];
        if (T < 50.0f)
          for (int s = 0; s < 5; s++) d[s] = kThreeLabelSplit[s] * T;
      }
    }
    if (S > 30.0f)
      for (int s = 0; s < n; s++) d[s] *= 0.9f;
    if (i == 0 && n > 1 && first_sum < 60.0f) d[1] = d[1] + 60.0f - first_sum;
    for (int s = 0; s < n; s++) {
      d[s] = d[s] * f + 0.5f;
      if (!(d[s] >= 1.0f)) d[s] = 1.0f;  // also a model value that is not a number
      if (d[s] > kMaxStateFrames) d[s] = kMaxStateFrames;
    }

    // Voicing pass: the distributions of every stream, and the states whose
    // voicing the language rules overrode.
    int c = 0;
    int sigma = 0;
    for (int s = 0; s < n; s++) {
      const int gs = i * n + s;
      int flag = 1;
      for (int k = 0; k < sss->nstream; k++) {
        VXN_SStream* st = &sss->sstream[k];
        if (st->vector_length <= 0) continue;
        const int r = VXN_ModelSet_get_parameter(ms, str, st->mean[gs], st->vari[gs],
                                                 st->msd ? &st->msd[gs] : NULL, k, s + 2);
        if (st->msd) flag = r;
      }
      if (gs >= sss->total_state - 2 * n) flag = 1;
      flags[s] = flag;
      if (flag == 0) {
        if (hybrid) d[s] *= 0.92f;
        c++;
        sigma += (int)d[s];
      } else if (hybrid) {
        d[s] *= 1.01f;
      }
    }
    VXN_SStream_AdjustDuration(d, flags, n, c, sigma);
    if (delete_start_pause == 1 && i == 0) VXN_SStream_DeleteStartPause(d, n);
    if (delete_end_pause == 1 && i == L - 1) VXN_SStream_DeleteEndPause(d, n);

    for (int s = 0; s < n; s++) {
      sss->duration[i * n + s] = (int32_t)d[s];
      sss->total_frame += (int32_t)d[s];
    }
  }
}

// Steps 6 and 7: first and last labels unvoiced, dynamic statistics of voiced
// states tamed, and the voiced static means smoothed.
void correct_lf0(VXN_SStreamSet* sss, int lf0, int* voiced) {
  VXN_SStream* st = &sss->sstream[lf0];
  const int n = sss->nstate;
  const int ts = sss->total_state;
  const int sl = st->win_size > 0 ? st->vector_length / st->win_size : st->vector_length;
  for (int s = 0; s < n && s < ts; s++) st->msd[s] = 0.05f;
  for (int s = ts - n; s < ts; s++)
    if (s >= 0) st->msd[s] = 0.05f;

  int V = 0;
  for (int s = 0; s < ts; s++) {
    if (st->msd[s] <= 0.5f) continue;
    voiced[V++] = s;
    if (st->win_size >= 3 && sl > 0) {
      float* m = st->mean[s];
      float* v = st->vari[s];
      if (v[sl] > 1.0f || v[sl] < -1.0f) v[sl] = v[2 * sl];
      if (m[sl] < -0.1f || m[sl] > 0.1f) m[sl] = 0.0001f;
      if (m[2 * sl] < -0.1f || m[2 * sl] > 0.1f) m[2 * sl] = 0.0001f;
    }
  }

  // x[k] is the static mean of voiced state k, written back at once.
#define X(k) st->mean[voiced[(k)]][0]
  for (int k = 1; k <= V - 2; k++) {
    if (k == 1 && X(1) - X(0) > 0.2) X(0) = X(1) - 0.2f;
    if (fabsf(X(k + 1) - X(k)) > 0.17 && fabsf(X(k - 1) - X(k)) > 0.17)
      X(k) = (X(k - 1) + X(k + 1)) / 2.0f;
  }
  for (int k = 1; k <= V - 2; k++) {
    const float delta = X(k + 1) - X(k - 1);
    if ((delta > -0.2 && delta <= 0.0f && (X(k) > X(k - 1) || X(k + 1) > X(k))) ||
        (delta > 0.0f && delta < 0.2 && (X(k - 1) > X(k) || X(k) > X(k + 1))))
      X(k) = X(k - 1) + delta / 2.0f;
  }
  if (V > 1) {
    if (X(V - 1) > X(V - 2) + 0.2f)
      X(V - 1) = X(V - 2) + 0.2f;
    else if (X(V - 1) < X(V - 2) - 0.2f)
      X(V - 1) = X(V - 2) - 0.2f;
  }
#undef X
}

// Steps 9 to 11: spectrum edges, spikes and the output gain of short utterances.
void correct_spectrum(VXN_SStreamSet* sss, int lf0, int L) {
  VXN_SStream* st = &sss->sstream[0];
  const int n = sss->nstate;
  const int ts = sss->total_state;
  const int vl = st->vector_length;
  if (vl <= 0) return;
  for (int s = 0; s < ts; s++) {
    if (s >= n && s < ts - n) continue;
    for (int d = 0; d < vl; d++) st->mean[s][d] = 0.1f;
  }
  for (int s = 2; s <= ts - 3; s++) {
    float** m = st->mean;
    if (lf0_msd(sss, lf0, s - 1) > 0.5f && lf0_msd(sss, lf0, s) > 0.5f &&
        lf0_msd(sss, lf0, s + 1) > 0.5f &&
        ((fabsf(m[s - 1][0] - m[s][0]) > 2.0f && fabsf(m[s + 1][0] - m[s][0]) > 2.0f) ||
         m[s][0] < 4.0f)) {
      for (int d = 0; d < vl; d++) m[s][d] = (m[s - 1][d] + m[s + 1][d]) / 2.0f;
    }
    if (st->vari[s][0] > 1.0f) st->vari[s][0] = 1.0f;
  }

  if (L >= 7) return;
  if (L == 3 && n == 5)
    for (int s = 0; s < 5; s++)
      if (st->mean[n + s][0] < kThreeLabelGainFloor[s]) st->mean[n + s][0] = kThreeLabelGainFloor[s];
  // Without an inner label there is nothing to measure: the gain stays 1.0.
  if (L > 2) {
    const int dims = vl < 5 ? vl : 5;
    float P = 0.0f;
    for (int s = n; s < ts - n; s++) {
      float sum = 0.0f;
      for (int d = 0; d < dims; d++) sum += fabsf(st->mean[s][d]);
      if (sum > P) P = sum;
    }
    if (P >= 9.0f && P < 10.0f)
      sss->output_gain = 1.0f + (10.0f - P);
    else if (P >= 8.0f && P < 9.0f)
      sss->output_gain = 1.5f + (10.0f - P);
    else if (P >= 6.0f && P < 8.0f)
      sss->output_gain = 2.0f + (10.0f - P);
    else if (P < 6.0f)
      sss->output_gain = 6.0f;
  }
  if (L == 3) sss->output_gain = 1.3f;
}

}  // namespace

void VXN_SStream_AdjustDuration(float* durations, const int* flags, int n, int flagged_count,
                                int flagged_sum) {
  if (flagged_count <= 0 || flagged_count >= n) return;
  const double add = 0.6 * (double)flagged_sum / (double)(n - flagged_count);
  for (int s = 0; s < n; s++) {
    if (flags[s] == 0)
      durations[s] = (float)(0.4 * (double)durations[s]);
    else
      durations[s] = (float)((double)durations[s] + add);
  }
}

void VXN_SStream_SetDurationZero(float* durations, int n) {
  for (int s = 0; s < n; s++) durations[s] = 0.0f;
}

void VXN_SStream_DeleteStartPause(float* durations, int n) {
  if (n <= 0) return;
  VXN_SStream_SetDurationZero(durations, n);
  durations[n - 1] = 1.0f;
}

void VXN_SStream_DeleteEndPause(float* durations, int n) {
  if (n <= 0) return;
  VXN_SStream_SetDurationZero(durations, n);
  durations[0] = 1.0f;
}

void VXN_SStreamSet_initialize(VXN_SStreamSet* sss) {
  sss->sstream = NULL;
  sss->nstream = 0;
  sss->nstate = 0;
  sss->duration = NULL;
  sss->total_state = 0;
  sss->total_frame = 0;
  sss->output_gain = 1.0f;
}

void VXN_SStreamSet_clear(VXN_SStreamSet* sss) {
  if (sss->sstream) {
    for (int s = 0; s < sss->nstream; s++) {
      VXN_SStream* st = &sss->sstream[s];
      VXN_free_matrix(st->mean, sss->total_state);
      VXN_free_matrix(st->vari, sss->total_state);
      VXN_free(st->msd);
      if (st->win_coefficient) {
        for (int w = 0; w < st->win_size; w++)
          if (st->win_coefficient[w]) VXN_free(st->win_coefficient[w] + st->win_l_width[w]);
        VXN_free(st->win_coefficient);
      }
      VXN_free(st->win_l_width);
      VXN_free(st->win_r_width);
      VXN_free(st->gv_mean);
      VXN_free(st->gv_vari);
    }
    VXN_free(sss->sstream);
  }
  VXN_free(sss->duration);
  VXN_SStreamSet_initialize(sss);
}

void VXN_SStreamSet_create(VXN_SStreamSet* sss, VXN_ModelSet* ms, VXN_Label* label,
                           float* duration_iw, float** parameter_iw, float** gv_iw,
                           int delete_start_pause, int delete_end_pause, VXN_VTContext* vt) {
  // A set that was not cleared is cleared here rather than leaked.
  if (sss->sstream || sss->duration) VXN_SStreamSet_clear(sss);
  if (!ms->stream || VXN_ModelSet_get_nstate(ms) <= 0 || VXN_ModelSet_get_nstream(ms) <= 0) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_SStreamSet_create: no model set is loaded\n");
    return;
  }

  // 1. Shapes and storage.
  const int L = VXN_Label_get_size(label);
  sss->nstate = VXN_ModelSet_get_nstate(ms);
  sss->nstream = VXN_ModelSet_get_nstream(ms);
  sss->total_frame = 0;
  sss->total_state = L * sss->nstate;
  sss->output_gain = 1.0f;
  const int n = sss->nstate;
  float* work = (float*)VXN_calloc((size_t)(3 * (n + 2)), sizeof(float));
  int* flags = (int*)VXN_calloc((size_t)n, sizeof(int));
  int* voiced = (int*)VXN_calloc((size_t)(sss->total_state > 0 ? sss->total_state : 1),
                                 sizeof(int));
  // The windows come with the storage: the log-F0 rules address the delta and
  // delta-delta parts through the window count.
  if (!work || !flags || !voiced || !allocate_streams(sss, ms) || !copy_windows(sss, ms)) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_SStreamSet_create: Cannot allocate the state streams\n");
    VXN_free(work);
    VXN_free(flags);
    VXN_free(voiced);
    VXN_SStreamSet_clear(sss);
    return;
  }

  // 2. Interpolation weights.
  normalise(duration_iw, VXN_ModelSet_get_duration_interpolation_size(ms));
  for (int s = 0; s < sss->nstream; s++) {
    if (parameter_iw)
      normalise(parameter_iw[s], VXN_ModelSet_get_parameter_interpolation_size(ms, s));
    if (gv_iw && VXN_ModelSet_use_gv(ms, s))
      normalise(gv_iw[s], VXN_ModelSet_get_gv_interpolation_size(ms, s));
  }

  // 3. Durations and distributions.
  make_durations(sss, ms, label, VXN_VT_is_hybrid(vt), delete_start_pause, delete_end_pause, work, work + n + 2,
                 work + 2 * (n + 2), flags);

  // 4. Isolated unvoiced states become voiced.
  const int lf0 = lf0_stream(sss);
  if (lf0 >= 0) {
    float* msd = sss->sstream[lf0].msd;
    for (int s = 1; s <= sss->total_state - 2; s++)
      if (msd[s] <= 0.5f && msd[s - 1] > 0.5f && msd[s + 1] > 0.5f) msd[s] = 0.9f;
  }

  // 5. Hybrid prosody.
  if (VXN_VT_is_hybrid(vt)) VXN_VT_prosody_step(vt, sss, label);

  // 6, 7. Log-F0 corrections.
  if (lf0 >= 0 && sss->sstream[lf0].vector_length > 0) correct_lf0(sss, lf0, voiced);

  // 8. Band values of voiced states.
  if (sss->nstream > 2 && sss->sstream[2].vector_length > 0)
    for (int s = 0; s < sss->total_state; s++)
      if (lf0_msd(sss, lf0, s) > 0.5f) sss->sstream[2].mean[s][0] = -30.0f;

  // 9 to 11. Spectrum.
  correct_spectrum(sss, lf0, L);

  // 13. GV statistics.
  if (!copy_gv(sss, ms, gv_iw)) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_SStreamSet_create: Cannot allocate the state streams\n");
    VXN_SStreamSet_clear(sss);
  }
  VXN_free(work);
  VXN_free(flags);
  VXN_free(voiced);
}

int VXN_SStreamSet_get_nstream(const VXN_SStreamSet* sss) { return sss->nstream; }

int VXN_SStreamSet_get_vector_length(const VXN_SStreamSet* sss, int stream) {
  return sss->sstream[stream].vector_length;
}

int VXN_SStreamSet_is_msd(const VXN_SStreamSet* sss, int stream) {
  return sss->sstream[stream].msd != NULL;
}

int VXN_SStreamSet_get_total_state(const VXN_SStreamSet* sss) { return sss->total_state; }

int VXN_SStreamSet_get_total_frame(const VXN_SStreamSet* sss) { return sss->total_frame; }

float VXN_SStreamSet_get_msd(const VXN_SStreamSet* sss, int stream, int state) {
  return sss->sstream[stream].msd[state];
}

int VXN_SStreamSet_get_window_size(const VXN_SStreamSet* sss, int stream) {
  return sss->sstream[stream].win_size;
}

int VXN_SStreamSet_get_window_left_width(const VXN_SStreamSet* sss, int stream, int window) {
  return sss->sstream[stream].win_l_width[window];
}

int VXN_SStreamSet_get_window_right_width(const VXN_SStreamSet* sss, int stream, int window) {
  return sss->sstream[stream].win_r_width[window];
}

float VXN_SStreamSet_get_window_coefficient(const VXN_SStreamSet* sss, int stream, int window,
                                            int index) {
  return sss->sstream[stream].win_coefficient[window][index];
}

int VXN_SStreamSet_get_window_max_width(const VXN_SStreamSet* sss, int stream) {
  return sss->sstream[stream].win_max_width;
}

int VXN_SStreamSet_use_gv(const VXN_SStreamSet* sss, int stream) {
  return sss->sstream[stream].gv_mean != NULL;
}

int VXN_SStreamSet_get_duration(const VXN_SStreamSet* sss, int state) {
  return sss->duration[state];
}

float VXN_SStreamSet_get_mean(const VXN_SStreamSet* sss, int stream, int state, int dim) {
  return sss->sstream[stream].mean[state][dim];
}

float VXN_SStreamSet_get_vari(const VXN_SStreamSet* sss, int stream, int state, int dim) {
  return sss->sstream[stream].vari[state][dim];
}

float VXN_SStreamSet_get_gv_mean(const VXN_SStreamSet* sss, int stream, int dim) {
  return sss->sstream[stream].gv_mean[dim];
}

float VXN_SStreamSet_get_gv_vari(const VXN_SStreamSet* sss, int stream, int dim) {
  return sss->sstream[stream].gv_vari[dim];
}

void VXN_SStreamSet_set_mean(VXN_SStreamSet* sss, int stream, int state, int dim, float value) {
  sss->sstream[stream].mean[state][dim] = value;
}

void VXN_SStreamSet_set_vari(VXN_SStreamSet* sss, int stream, int state, int dim, float value) {
  sss->sstream[stream].vari[state][dim] = value;
}
