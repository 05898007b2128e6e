// State stream set: per-sentence state durations and output distributions,
// with the duration, voicing, log-F0 and spectrum rules applied.
// Owns every per-state vector, window and GV array; created once per sentence,
// read by parameter generation and the output stage, cleared between
// sentences. Not thread-safe.
#ifndef VXN_SSTREAM_H
#define VXN_SSTREAM_H

#include <stdint.h>

#include "engine/VXN_label.h"
#include "engine/VXN_model.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct _VXN_SStream {
  int32_t vector_length;      // static length x window count
  float** mean;               // [state][vector_length]
  float** vari;               // [state][vector_length]
  float* msd;                 // [state], multi-space streams only
  int32_t win_size;
  int32_t* win_l_width;
  int32_t* win_r_width;
  float** win_coefficient;    // addressed from win_l_width..win_r_width
  int32_t win_max_width;
  float* gv_mean;             // vector_length / win_size, or null
  float* gv_vari;
} VXN_SStream;

struct _VXN_VTContext;

typedef struct _VXN_SStreamSet {
  VXN_SStream* sstream;
  int32_t nstream;
  int32_t nstate;
  int32_t* duration;          // frames per state, label index x nstate + state
  int32_t total_state;
  int32_t total_frame;
  char sentence_type;         // 'A' statement, 'B' question; survives clear
  float output_gain;          // applied by the output equaliser
} VXN_SStreamSet;

void VXN_SStreamSet_initialize(VXN_SStreamSet* sss);
// vt: the engine's hybrid unit-selection context, or null for plain synthesis;
// in hybrid mode its prosody step runs on the sentence.
void VXN_SStreamSet_create(VXN_SStreamSet* sss, VXN_ModelSet* ms, VXN_Label* label,
                           float* duration_iw, float** parameter_iw, float** gv_iw,
                           int delete_start_pause, int delete_end_pause,
                           struct _VXN_VTContext* vt);
void VXN_SStreamSet_clear(VXN_SStreamSet* sss);

int VXN_SStreamSet_get_nstream(const VXN_SStreamSet* sss);
int VXN_SStreamSet_get_vector_length(const VXN_SStreamSet* sss, int stream);
int VXN_SStreamSet_is_msd(const VXN_SStreamSet* sss, int stream);
int VXN_SStreamSet_get_total_state(const VXN_SStreamSet* sss);
int VXN_SStreamSet_get_total_frame(const VXN_SStreamSet* sss);
float VXN_SStreamSet_get_msd(const VXN_SStreamSet* sss, int stream, int state);
int VXN_SStreamSet_get_window_size(const VXN_SStreamSet* sss, int stream);
int VXN_SStreamSet_get_window_left_width(const VXN_SStreamSet* sss, int stream, int window);
int VXN_SStreamSet_get_window_right_width(const VXN_SStreamSet* sss, int stream, int window);
float VXN_SStreamSet_get_window_coefficient(const VXN_SStreamSet* sss, int stream, int window,
                                            int index);
int VXN_SStreamSet_get_window_max_width(const VXN_SStreamSet* sss, int stream);
int VXN_SStreamSet_use_gv(const VXN_SStreamSet* sss, int stream);
int VXN_SStreamSet_get_duration(const VXN_SStreamSet* sss, int state);
float VXN_SStreamSet_get_mean(const VXN_SStreamSet* sss, int stream, int state, int dim);
float VXN_SStreamSet_get_vari(const VXN_SStreamSet* sss, int stream, int state, int dim);
float VXN_SStreamSet_get_gv_mean(const VXN_SStreamSet* sss, int stream, int dim);
float VXN_SStreamSet_get_gv_vari(const VXN_SStreamSet* sss, int stream, int dim);
void VXN_SStreamSet_set_mean(VXN_SStreamSet* sss, int stream, int state, int dim, float value);
void VXN_SStreamSet_set_vari(VXN_SStreamSet* sss, int stream, int state, int dim, float value);

// Duration operations on one label's n state durations (frames, float).
// When 0 < flagged_count < n, every state with flags[s] = 1 gains
// 0.6 x flagged_sum / (n - flagged_count) and every state with flags[s] = 0
// keeps 0.4 of its duration; otherwise nothing changes.
void VXN_SStream_AdjustDuration(float* durations, const int* flags, int n, int flagged_count,
                                int flagged_sum);
void VXN_SStream_SetDurationZero(float* durations, int n);
// Leading pause: one frame left, in the last state.
void VXN_SStream_DeleteStartPause(float* durations, int n);
// Trailing pause: one frame left, in the first state.
void VXN_SStream_DeleteEndPause(float* durations, int n);

#ifdef __cplusplus
}
#endif

#endif
