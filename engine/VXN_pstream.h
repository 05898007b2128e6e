// Parameter stream set: maximum-likelihood parameter generation with dynamic
// features, one trajectory per stream, voiced frames only for multi-space
// streams.
// Owns every matrix and vector of its streams; created once per sentence from
// the state stream set, edited in place by the frame loop, cleared between
// sentences. Not thread-safe.
#ifndef VXN_PSTREAM_H
#define VXN_PSTREAM_H

#include <stdint.h>

#include "engine/VXN_sstream.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct _VXN_PStream {
  int32_t vector_length;      // static_length x win_size
  int32_t static_length;
  int32_t length;             // frames generated
  int32_t width;              // band width of W'U^-1W
  float** par;                // [length][static_length]
  float** mean;               // [length][vector_length]
  float** ivar;               // [length][vector_length]
  float* g;                   // [length]
  double** wuw;               // [length][width]
  float* wum;                 // [length]
  int32_t win_size;
  int32_t* win_l_width;
  int32_t* win_r_width;
  float** win_coefficient;
  int32_t* msd_flag;          // [total_frame], multi-space streams only
  float* gv_mean;             // applied only by VXN_PStreamSet_scale_variance
  float* gv_vari;
  float gv_weight;
} VXN_PStream;

typedef struct _VXN_PStreamSet {
  VXN_PStream* pstream;
  int32_t nstream;
  int32_t total_frame;
  int32_t language_id;        // copies written by the facade
  int32_t model_index;
  char sentence_type;         // written by the language host
} VXN_PStreamSet;

void VXN_PStreamSet_initialize(VXN_PStreamSet* pss);
// vt: the hybrid context whose frame log-F0 target replaces the log-F0 means
// in hybrid mode (and whose per-sentence search state is then released), or
// null.
int VXN_PStreamSet_create(VXN_PStreamSet* pss, VXN_SStreamSet* sss, const float* msd_threshold,
                          const float* gv_weight, struct _VXN_VTContext* vt);
void VXN_PStreamSet_clear(VXN_PStreamSet* pss);

// Optional spectral sharpening, off unless a host asks for it: moves the
// generated trajectory of every dimension d >= 1 of a stream towards the
// variance its global-variance statistics give, around its own mean over the
// frames flagged in used_frame (all frames when null):
//   c'(t) = m + (1 + strength (r - 1)) (c(t) - m),  r = min(sqrt(gv_mean[d] / v), 4),
// with m and v the mean and variance over the used frames. strength 0 leaves
// the stream untouched; 1 gives the full global variance. Streams without
// global-variance statistics, multi-space streams and dimensions without
// spread are left as they are.
void VXN_PStreamSet_scale_variance(VXN_PStreamSet* pss, int stream, float strength,
                                   const unsigned char* used_frame);

int VXN_PStreamSet_get_nstream(const VXN_PStreamSet* pss);
int VXN_PStreamSet_get_static_length(const VXN_PStreamSet* pss, int stream);
int VXN_PStreamSet_get_total_frame(const VXN_PStreamSet* pss);
float VXN_PStreamSet_get_parameter(const VXN_PStreamSet* pss, int stream, int frame, int dim);
float* VXN_PStreamSet_get_parameter_vector(VXN_PStreamSet* pss, int stream, int frame);
int VXN_PStreamSet_get_msd_flag(const VXN_PStreamSet* pss, int stream, int frame);
int VXN_PStreamSet_is_msd(const VXN_PStreamSet* pss, int stream);

// Inverse variance with the extremes pinned: 0 for |x| >= 1e19, +-1e38 for
// |x| <= 1e-19 (by the sign of x), 1/x otherwise.
float VXN_finv(float x);
// One stream, static dimension m: W'U^-1W into wuw (band form) and W'U^-1 mu
// into wum, from mean and ivar.
void VXN_PStream_calc_wuw_and_wum(VXN_PStream* ps, int m);
// In-place L D L' factorisation of the band matrix wuw.
void VXN_PStream_ldl_factorization(VXN_PStream* ps);
// g = L^-1 wum.
void VXN_PStream_forward_substitution(VXN_PStream* ps);
// par[.][m] = L'^-1 D^-1 g.
void VXN_PStream_backward_substitution(VXN_PStream* ps, int m);
// The four steps above for every static dimension.
void VXN_PStream_mlpg(VXN_PStream* ps);

#ifdef __cplusplus
}
#endif

#endif
