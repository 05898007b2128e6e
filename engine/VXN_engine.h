// Engine record: global synthesis settings, voice and output settings written
// by the facade, the streaming output state and the five pipeline sub-records
// (model set, label sequence, state, parameter and speech stream sets).
// Owns every array and buffer it allocates (per-stream weights, name buffers,
// the output ring) and the sub-records; lives inside the language host, one per
// facade. VXN_Engine_clear releases everything. Not thread-safe except for
// control_state, a plain int polled by the frame loop.
#ifndef VXN_ENGINE_H
#define VXN_ENGINE_H

#include <stdint.h>
#include <stdio.h>

#include "engine/VXN_gstream.h"
#include "engine/VXN_label.h"
#include "engine/VXN_misc.h"
#include "engine/VXN_model.h"
#include "engine/VXN_pstream.h"
#include "engine/VXN_sstream.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*VXN_StreamCallback)(short* samples, int count, int state);

enum { VXN_NAME_BUFFER_SIZE = 128 };

typedef struct _VXN_Engine {
  int32_t stage;              // gamma stage; 0 = mel-cepstrum
  int32_t use_log_gain;
  int32_t sampling_rate;      // model rate, 24000
  int32_t fperiod;            // frame period in samples, 120
  float alpha;                // all-pass constant as kept by set_alpha
  float beta;                 // postfiltering coefficient
  int32_t audio_buff_size;    // reported only
  float* msd_threshold;       // [nstream]
  float* duration_iw;         // duration interpolation weights
  float** parameter_iw;       // [nstream] -> weights
  float** gv_iw;              // [nstream] -> weights
  float* gv_weight;           // [nstream]
  int32_t pitch_shift;        // -70..70
  float voice_alpha;          // all-pass constant used by the vocoder
  int32_t language_id;
  int32_t model_index;
  char* model_name;           // 128-byte buffer: model file stem
  char* prosody_name;         // 128-byte buffer: hybrid prosody file name
  int32_t hybrid_active;
  int32_t hybrid_request;
  float stage_time[4];        // seconds: loading/text, parameter loading, generation, speech
  float total_time;
  int32_t stream_count;       // bounds the per-stream arrays in clear
  volatile int32_t control_state;  // 1 run, 0 stop requested (written from another thread)
  VXN_StreamCallback stream_callback;
  short* ring_buffer;         // chunk_size x chunk_count samples
  int32_t chunk_size;
  int32_t chunk_count;
  int32_t chunk_fill;
  int32_t chunk_index;
  int32_t output_rate;
  int32_t channels;
  int32_t output_fperiod;     // output samples per 5 ms frame
  float rate_ratio;           // sampling_rate / output_rate
  int32_t last_piece;         // 1 when the piece is the last of the input
  int32_t end_delivered;      // 1 once a chunk of state 1 (end) went to the host in this call
  float spectral_variance;    // 0 (default) .. 1: sharpening towards the voice's global
                              // variance, an extension off unless a host sets it
  VXN_ModelSet ms;
  VXN_Label label;
  VXN_SStreamSet sss;
  VXN_PStreamSet pss;
  VXN_GStreamSet gss;
} VXN_Engine;

VXN_EXPORT void VXN_Engine_initialize(VXN_Engine* engine, int nstream);
VXN_EXPORT void VXN_Engine_set_sampling_rate(VXN_Engine* engine, int rate);
VXN_EXPORT void VXN_Engine_set_fperiod(VXN_Engine* engine, int fperiod);
VXN_EXPORT void VXN_Engine_set_alpha(VXN_Engine* engine, float alpha);
VXN_EXPORT void VXN_Engine_set_gamma(VXN_Engine* engine, int stage);
VXN_EXPORT void VXN_Engine_set_log_gain(VXN_Engine* engine, int flag);
VXN_EXPORT void VXN_Engine_set_beta(VXN_Engine* engine, float beta);
// Strength of the spectral sharpening applied after parameter generation,
// clamped to 0..1; 0 generates exactly as without it.
VXN_EXPORT void VXN_Engine_set_spectral_variance(VXN_Engine* engine, float strength);
VXN_EXPORT void VXN_Engine_set_audio_buff_size(VXN_Engine* engine, int size);
VXN_EXPORT void VXN_Engine_set_msd_threshold(VXN_Engine* engine, int stream, float threshold);
VXN_EXPORT void VXN_Engine_set_gv_weight(VXN_Engine* engine, int stream, float weight);

VXN_EXPORT int VXN_Engine_load_label_from_fn(VXN_Engine* engine, const char* path);
VXN_EXPORT void VXN_Engine_load_label_from_fp(VXN_Engine* engine, FILE* fp);
VXN_EXPORT void VXN_Engine_load_label_from_string(VXN_Engine* engine, char* text);
VXN_EXPORT void VXN_Engine_load_label_from_string_list(VXN_Engine* engine, char** lines,
                                                       int count);

// Pipeline stages, in this order for every sentence.
VXN_EXPORT void VXN_Engine_create_sstream(VXN_Engine* engine, int deleteStartPause,
                                          int deleteEndPause);
VXN_EXPORT int VXN_Engine_create_pstream(VXN_Engine* engine);
VXN_EXPORT int VXN_Engine_create_gstream(VXN_Engine* engine);

VXN_EXPORT void VXN_Engine_refresh(VXN_Engine* engine);
VXN_EXPORT void VXN_Engine_clear(VXN_Engine* engine);

// Output for tools and debugging.
VXN_EXPORT void VXN_Engine_save_infomation(VXN_Engine* engine, FILE* fp);
VXN_EXPORT void VXN_Engine_save_label(VXN_Engine* engine, FILE* fp);
VXN_EXPORT void VXN_Engine_save_generated_speech(VXN_Engine* engine, FILE* fp);
VXN_EXPORT void VXN_Engine_save_riff(VXN_Engine* engine, FILE* fp);

// Linear-interpolation resampling of one block, continued across blocks through
// the carried position. Returns the number of output values written.
VXN_EXPORT int VXN_Upsampling(const short* in, short* out, int inCount, int outMax, float step,
                              float offset, int* lastPos, float* lastFrac, int channels);

// Hybrid unit database hooks (process-wide unit-selection state).
VXN_EXPORT void VXN_VT_initialize(const char* prosodyPath);
VXN_EXPORT void VXN_VT_clear(void);

#ifdef __cplusplus
}
#endif

#endif
