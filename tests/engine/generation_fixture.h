// Hand-built state stream sets for the generation tests: three streams
// (mel-cepstrum, multi-space log F0, five band values) with static, delta and
// delta-delta windows, filled state by state without a model set. Storage is
// allocated the way the state stream set allocates it, so
// VXN_SStreamSet_clear releases it.
#ifndef VXN_TESTS_GENERATION_FIXTURE_H
#define VXN_TESTS_GENERATION_FIXTURE_H

#include <vector>

#include "engine/VXN_misc.h"
#include "engine/VXN_sstream.h"

namespace vxn_test {

struct StreamShape {
  int static_length;
  bool msd;
};

// Windows: static [1], delta [-0.5, 0, 0.5], delta-delta [1, -2, 1].
inline void set_window(VXN_SStream* st, int w, int l, int r, const std::vector<float>& c) {
  st->win_l_width[w] = l;
  st->win_r_width[w] = r;
  const int size = (l + r == 0) ? -2 * l + 1 : (-2 * l > r - l + 1 ? -2 * l : r - l + 1);
  float* p = (float*)VXN_calloc((size_t)size, sizeof(float));
  st->win_coefficient[w] = p - l;
  for (int j = l; j <= r; j++) st->win_coefficient[w][j] = c[(size_t)(j - l)];
}

inline void build_sss(VXN_SStreamSet* sss, const std::vector<StreamShape>& shapes, int nstate,
                      int nlabel) {
  VXN_SStreamSet_initialize(sss);
  sss->nstream = (int)shapes.size();
  sss->nstate = nstate;
  sss->total_state = nstate * nlabel;
  sss->duration = (int32_t*)VXN_calloc((size_t)sss->total_state, sizeof(int32_t));
  sss->sstream = (VXN_SStream*)VXN_calloc(shapes.size(), sizeof(VXN_SStream));
  for (size_t s = 0; s < shapes.size(); s++) {
    VXN_SStream* st = &sss->sstream[s];
    st->win_size = 3;
    st->vector_length = shapes[s].static_length * 3;
    st->mean = VXN_alloc_matrix(sss->total_state, st->vector_length);
    st->vari = VXN_alloc_matrix(sss->total_state, st->vector_length);
    for (int k = 0; k < sss->total_state; k++)
      for (int d = 0; d < st->vector_length; d++) st->vari[k][d] = 1.0f;
    if (shapes[s].msd) st->msd = (float*)VXN_calloc((size_t)sss->total_state, sizeof(float));
    st->win_l_width = (int32_t*)VXN_calloc(3, sizeof(int32_t));
    st->win_r_width = (int32_t*)VXN_calloc(3, sizeof(int32_t));
    st->win_coefficient = (float**)VXN_calloc(3, sizeof(float*));
    set_window(st, 0, 0, 0, {1.0f});
    set_window(st, 1, -1, 1, {-0.5f, 0.0f, 0.5f});
    set_window(st, 2, -1, 1, {1.0f, -2.0f, 1.0f});
    st->win_max_width = 1;
  }
}

inline void set_durations(VXN_SStreamSet* sss, const std::vector<int>& d) {
  sss->total_frame = 0;
  for (int k = 0; k < sss->total_state; k++) {
    sss->duration[k] = d[(size_t)k];
    sss->total_frame += d[(size_t)k];
  }
}

// The standard three-stream layout of the voices: 35 mel-cepstral
// coefficients, log F0, five band values.
inline std::vector<StreamShape> voice_shapes() { return {{35, false}, {1, true}, {5, false}}; }

}  // namespace vxn_test

#endif
