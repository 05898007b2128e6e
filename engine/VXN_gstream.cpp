#include "engine/VXN_gstream.h"

#include <math.h>
#include <stdint.h>
#include <string.h>

#include "engine/VXN_engine.h"
#include "engine/VXN_misc.h"
#include "engine/VXN_vocoder.h"
#include "engine/VXN_vsearch.h"

// Streams of the parameter set: 0 mel-cepstrum (coefficient 0 is the log
// gain), 1 log F0 (multi-space), 2 band aperiodicity.
//
// Output ring: chunk j of the engine's ring starts at ring_buffer + j x
// chunk_size. Samples are appended to the current chunk; a chunk goes to the
// callback as soon as it is full. A frame's output larger than the room left
// is split over as many chunks as it needs, so any chunk size of at least one
// sample is safe. Without a ring (null buffer, no chunk) nothing is delivered
// but the waveform is still generated into the speech buffer.

namespace {

const int kBandCount = 5;

// The frame loop needs the three streams with their trajectories in place.
bool streams_complete(const VXN_PStreamSet* pss) {
  if (pss->nstream < 3 || !pss->pstream) return false;
  const VXN_PStream* p = pss->pstream;
  if (p[0].static_length <= 0 || p[2].static_length <= 0 || p[1].static_length <= 0) return false;
  if (pss->total_frame > 0 && (!p[0].par || !p[2].par || p[0].length < pss->total_frame ||
                               p[2].length < pss->total_frame))
    return false;
  if (p[1].length > 0 && !p[1].par) return false;
  return true;
}

bool ring_ready(const VXN_Engine* e) {
  return e->ring_buffer && e->chunk_size > 0 && e->chunk_count > 0;
}

short* current_chunk(VXN_Engine* e) { return e->ring_buffer + (size_t)e->chunk_index * e->chunk_size; }

// Hands the current chunk to the host and moves to the next one.
void emit(VXN_Engine* e, int count, int state) {
  if (e->stream_callback) e->stream_callback(current_chunk(e), count, state);
  if (state == 1) e->end_delivered = 1;
  e->chunk_fill = 0;
  e->chunk_index = (e->chunk_index + 1) % e->chunk_count;
}

// Appends samples to the ring, delivering every chunk that fills up; *state
// is the state of the next full chunk and becomes 0 after the first one.
void push(VXN_Engine* e, const short* samples, int count, int* state) {
  const int B = e->chunk_size;
  while (count > 0) {
    if (e->chunk_fill + count < B) {
      memcpy(current_chunk(e) + e->chunk_fill, samples, (size_t)count * sizeof(short));
      e->chunk_fill += count;
      return;
    }
    const int room = B - e->chunk_fill;
    memcpy(current_chunk(e) + e->chunk_fill, samples, (size_t)room * sizeof(short));
    emit(e, B, *state);
    *state = 0;
    samples += room;
    count -= room;
  }
}

// Sends count samples of value 1 from the start of fresh chunks; every chunk
// but the last goes with state full_state (then 0), the last with last_state.
void push_ones(VXN_Engine* e, int count, int full_state, int last_state) {
  const int B = e->chunk_size;
  e->chunk_fill = 0;
  int state = full_state;
  while (count > B) {
    VXN_GStreamSet_memset(current_chunk(e), 1, B);
    emit(e, B, state);
    state = 0;
    count -= B;
  }
  VXN_GStreamSet_memset(current_chunk(e), 1, count);
  emit(e, count, last_state);
}

// Float to fixed point, truncated toward zero and saturated; never yields
// INT32_MIN, which marks an unvoiced frame.
int32_t to_fixed(float v, double scale) {
  const double x = (double)v * scale;
  if (!(x == x)) return 0;
  if (x >= 2147483647.0) return INT32_MAX;
  if (x <= -2147483647.0) return -INT32_MAX;
  return (int32_t)x;
}

// Hybrid pitch range: the voiced contour is mapped linearly onto a range
// pulled towards the voice's typical range R.
void adjust_pitch_range(VXN_Engine* e, float* x, int V, float shift) {
  float R, E, F;
  if (e->language_id == 1) {
    if (e->model_index == 0)
      VXN_VT_set_pitch_range(168.0f, 25.0f, 5.0f);
    else if (e->model_index == 1)
      VXN_VT_set_pitch_range(110.0f, 18.0f, 5.0f);
  }
  VXN_VT_get_pitch_range(&R, &E, &F);
  float hi = 0.0f;
  float lo = 100.0f;
  for (int i = 0; i < V; i++) {
    if (x[i] > hi) hi = x[i];
    if (x[i] < lo) lo = x[i];
  }
  const float range = expf(hi) - expf(lo);
  float lo2, r;
  if (R > range) {
    lo2 = logf(expf(lo) + F);
    r = fminf(range + E, R);
  } else if (range > R) {
    lo2 = logf(expf(lo) + F);
    r = fmaxf(range - 2.0f * E, R);
  } else {
    return;
  }
  r += shift;
  if (r < 0.0f) r = 10.0f;
  const float hi2 = logf(expf(lo2) + r);
  for (int i = 0; i < V; i++)
    x[i] = (hi > lo) ? lo2 + (hi2 - lo2) * (x[i] - lo) / (hi - lo) : lo2;
}

// Moving averages over the voiced log F0: forward over x[i..i+h], then
// backward over x[i-h..i], both in place.
void smooth_lf0(float* x, int V, int h) {
  for (int i = 0; i < V; i++) {
    const int end = (i + h < V - 1) ? i + h : V - 1;
    double sum = 0.0;
    for (int k = i; k <= end; k++) sum += x[k];
    x[i] = (float)(sum / (end - i + 1));
  }
  for (int i = V - 1; i >= 0; i--) {
    const int begin = (i - h > 0) ? i - h : 0;
    double sum = 0.0;
    for (int k = begin; k <= i; k++) sum += x[k];
    x[i] = (float)(sum / (i - begin + 1));
  }
}

// Log gain of frames 1..T-2: clamped at 6.8, then a 3-point average of the
// clamped values.
bool smooth_log_gain(VXN_PStreamSet* pss, int T) {
  if (T < 3) return true;
  float* avg = (float*)VXN_calloc((size_t)T, sizeof(float));
  if (!avg) return false;
  for (int t = 1; t <= T - 2; t++) {
    float* c = VXN_PStreamSet_get_parameter_vector(pss, 0, t);
    if (c[0] > 6.8f) c[0] = 6.8f;
  }
  for (int t = 1; t <= T - 2; t++)
    avg[t] = (VXN_PStreamSet_get_parameter(pss, 0, t - 1, 0) +
              VXN_PStreamSet_get_parameter(pss, 0, t, 0) +
              VXN_PStreamSet_get_parameter(pss, 0, t + 1, 0)) /
             3.0f;
  for (int t = 1; t <= T - 2; t++) VXN_PStreamSet_get_parameter_vector(pss, 0, t)[0] = avg[t];
  VXN_free(avg);
  return true;
}

}  // namespace

void VXN_GStreamSet_initialize(VXN_GStreamSet* gss) {
  gss->total_nsample = 0;
  gss->total_frame = 0;
  gss->nstream = 0;
  gss->speech = NULL;
}

void VXN_GStreamSet_clear(VXN_GStreamSet* gss) {
  VXN_free(gss->speech);
  VXN_GStreamSet_initialize(gss);
}

void VXN_GStreamSet_memset(int16_t* samples, int16_t value, int count) {
  for (int i = 0; i < count; i++) samples[i] = value;
}

int VXN_GStreamSet_create(VXN_Engine* engine) {
  VXN_GStreamSet* gss = &engine->gss;
  VXN_PStreamSet* pss = &engine->pss;
  const int nstream = VXN_PStreamSet_get_nstream(pss);
  const bool complete = streams_complete(pss);
  if (!complete)
    VXN_print(VXN_LEVEL_ERROR, "VXN_GStreamSet_create: the parameter streams are incomplete\n");
  const int channels = engine->channels == 2 ? 2 : 1;
  const int out_max = engine->output_fperiod + 10;
  const int mcep_len = complete ? VXN_PStreamSet_get_static_length(pss, 0) : 1;
  const int band_len = complete ? VXN_PStreamSet_get_static_length(pss, 2) : 0;

  // 1. Work buffers.
  short* resampled = (short*)VXN_calloc((size_t)(out_max > 0 ? out_max : 1) * channels,
                                        sizeof(short));
  int32_t* mcep = (int32_t*)VXN_calloc((size_t)mcep_len, sizeof(int32_t));
  // The vocoder always reads five band values.
  int32_t* band = (int32_t*)VXN_calloc(
      (size_t)(band_len > kBandCount ? band_len : kBandCount), sizeof(int32_t));
  if (!resampled || !mcep || !band) {
    VXN_free(resampled);
    VXN_free(mcep);
    VXN_free(band);
    return -1;
  }
  const int32_t alpha_q = (int32_t)(8192.0f * engine->voice_alpha);
  const float shift = (float)engine->pitch_shift;
  const int hybrid = VXN_VT_is_hybrid();

  // 2. Speech buffer.
  if (gss->speech) {
    VXN_print(VXN_LEVEL_ERROR,
              "error [5020] : VXN_GStreamSet is not initialized.. gstream should be clear.\n");
    VXN_GStreamSet_clear(gss);
  }
  gss->nstream = nstream;
  gss->total_frame = complete ? VXN_PStreamSet_get_total_frame(pss) : 0;
  if (engine->fperiod <= 0 || gss->total_frame > INT32_MAX / engine->fperiod) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_GStreamSet_create: %d frames cannot be synthesised\n",
              gss->total_frame);
    gss->total_frame = 0;
  }
  gss->total_nsample = gss->total_frame * engine->fperiod;
  if (gss->total_nsample > 0) {
    gss->speech = (int16_t*)VXN_calloc((size_t)gss->total_nsample, sizeof(int16_t));
    if (!gss->speech) {
      VXN_print(VXN_LEVEL_ERROR, "Cannot allocate the memory with VXN_calloc");
      gss->total_frame = gss->total_nsample = 0;
      VXN_free(resampled);
      VXN_free(mcep);
      VXN_free(band);
      return -1;
    }
  }
  const int T = gss->total_frame;

  // 3. Vocoder.
  VXN_Vocoder vocoder;
  memset(&vocoder, 0, sizeof(vocoder));
  VXN_Vocoder_initialize(&vocoder, mcep_len - 1, 0, 1, engine->sampling_rate, engine->fperiod);
  STME_Vocoder_initialize_fixed();
  if (complete && VXN_PStreamSet_get_static_length(pss, 1) != 1)
    VXN_print(VXN_LEVEL_ERROR, "error [5030] : The size of lf0 static vector should be 1.\n");

  // 4. Log-F0 post-processing over the voiced frames.
  const bool lf0_msd = complete && VXN_PStreamSet_is_msd(pss, 1);
  if (complete && pss->pstream[1].length > 0 && pss->pstream[1].static_length > 0) {
    const int V = pss->pstream[1].length;
    float* x = (float*)VXN_calloc((size_t)V, sizeof(float));
    if (x) {
      for (int i = 0; i < V; i++) x[i] = VXN_PStreamSet_get_parameter(pss, 1, i, 0);
      if (hybrid) adjust_pitch_range(engine, x, V, shift);
      smooth_lf0(x, V, hybrid ? 6 : 18);
      for (int i = 0; i < V; i++) VXN_PStreamSet_get_parameter_vector(pss, 1, i)[0] = x[i];
      VXN_free(x);
    }
  }

  // 5. Log gain.
  if (complete) smooth_log_gain(pss, T);

  // 6. Frame loop.
  const bool deliver = ring_ready(engine);
  if (!deliver)
    VXN_print(VXN_LEVEL_ERROR, "VXN_GStreamSet_create: no output ring, nothing is delivered\n");
  int state = 2;
  int carry = 0;      // input samples not yet consumed by the resampler
  float phase = 0.0f;
  int u = 0;          // voiced frame counter
  const int lf0_len = complete ? pss->pstream[1].length : 0;
  for (int t = 0; t < T; t++) {
    if (engine->control_state == 0) break;
    const float* c = VXN_PStreamSet_get_parameter_vector(pss, 0, t);
    for (int d = 0; d < mcep_len; d++) mcep[d] = to_fixed(c[d], 131072.0);
    const float* b = VXN_PStreamSet_get_parameter_vector(pss, 2, t);
    for (int d = 0; d < band_len && d < kBandCount; d++) band[d] = to_fixed(b[d], 32768.0);

    const int voiced = lf0_msd ? VXN_PStreamSet_get_msd_flag(pss, 1, t) : (t < lf0_len);
    int32_t lf0 = VXN_LF0_UNVOICED;
    if (voiced && u < lf0_len) {
      float x = VXN_PStreamSet_get_parameter(pss, 1, u++, 0);
      if (!hybrid && shift != 0.0f) {
        // Keep the shifted pitch above 1 Hz so that the logarithm is defined.
        const float hz = expf(x) + shift;
        x = logf(hz > 1.0f ? hz : 1.0f);
      }
      lf0 = to_fixed(x, 1048576.0);
    }

    int16_t* frame = gss->speech + (size_t)t * engine->fperiod;
    ME_Vocoder_synthesize(&vocoder, mcep_len - 1, lf0, mcep, band, alpha_q, frame);
    EQ_Filter(frame, engine->fperiod, t, engine, voiced);

    const int start = t * engine->fperiod - carry;
    const int count = carry + engine->fperiod;
    if (start < 0 || start + count > gss->total_nsample) break;
    int consumed = 0;
    float next_phase = 0.0f;
    const int m = VXN_Upsampling(gss->speech + start, resampled, count, out_max,
                                 engine->rate_ratio, phase, &consumed, &next_phase, channels);
    carry = count - consumed;
    phase = next_phase;
    if (deliver) push(engine, resampled, m, &state);
  }

  // 7, 8. Last chunk of the piece; after a stop, a faded ending and a closing
  // chunk of silence.
  if (deliver) {
    // One reading of the run flag decides the ending.
    const int run = engine->control_state;
    const bool stopped = run == 0;
    int last = (run == 1 && engine->last_piece == 0) ? 3 : 1;
    const int f = engine->chunk_fill;
    if (stopped) {
      short* chunk = current_chunk(engine);
      for (int i = 0; i < f; i++)
        chunk[i] = (short)(int)((float)(f - i) * (float)chunk[i] / (float)(f + 1));
      last = 0;
    }
    emit(engine, f, last);
    // Ten output frames of every channel.
    if (stopped) push_ones(engine, 10 * engine->output_fperiod * channels, 0, 1);
  }

  // 9. Release.
  VXN_Vocoder_clear(&vocoder);
  VXN_free(resampled);
  VXN_free(mcep);
  VXN_free(band);
  return 0;
}

void VXN_GStreamSet_silence(VXN_Engine* engine, int ms, int rate) {
  if (!ring_ready(engine)) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_GStreamSet_silence: no output ring, nothing is delivered\n");
    return;
  }
  const int B = engine->chunk_size;
  // Silence lasts ms milliseconds in every channel: interleaved stereo holds
  // twice the values.
  const int channels = engine->channels == 2 ? 2 : 1;
  const int total = ms > 0 ? ms * (rate / 1000) * channels : 0;
  const int q = total / B;
  const int r = total % B;
  engine->chunk_fill = 0;
  for (int i = 0; i < q; i++) {
    VXN_GStreamSet_memset(current_chunk(engine), 1, B);
    emit(engine, B, i == 0 ? 2 : 0);
    if (engine->control_state != 1) break;
  }
  VXN_GStreamSet_memset(current_chunk(engine), 1, r);
  emit(engine, r, (engine->last_piece != 0 || engine->control_state == 0) ? 1 : 3);
}

int VXN_GStreamSet_get_total_nsample(const VXN_GStreamSet* gss) { return gss->total_nsample; }

int VXN_GStreamSet_get_total_frame(const VXN_GStreamSet* gss) { return gss->total_frame; }

int16_t VXN_GStreamSet_get_speech(const VXN_GStreamSet* gss, int index) {
  return gss->speech[index];
}

int16_t VXN_GStreamSet_get_speech2(const VXN_GStreamSet* gss, int index) {
  return gss->speech[index];
}

int16_t* VXN_GStreamSet_get_speech_ptr(VXN_GStreamSet* gss) { return gss->speech; }
