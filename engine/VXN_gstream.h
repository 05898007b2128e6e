// Speech stream set and frame loop: post-processes the trajectories, runs the
// vocoder and the output equaliser frame by frame, resamples to the output
// rate and delivers chunks through the host callback.
// Owns the utterance waveform at the model rate (until clear). The chunk ring
// and its position belong to the engine record. Not thread-safe; the only
// value read across threads is the engine's control_state.
#ifndef VXN_GSTREAM_H
#define VXN_GSTREAM_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct _VXN_Engine;

typedef struct _VXN_GStreamSet {
  int32_t total_nsample;      // samples of the utterance at the model rate
  int32_t total_frame;
  int32_t nstream;
  int16_t* speech;            // total_nsample samples, owned
} VXN_GStreamSet;

void VXN_GStreamSet_initialize(VXN_GStreamSet* gss);
// Synthesises the sentence and delivers it; 0 on success (also when stopped),
// -1 when an allocation failed. Delivery needs the engine's ring (buffer,
// chunk_size >= 1, chunk_count >= 1); without it the waveform is still made
// but nothing is delivered. A frame's output larger than the room left in the
// chunk is spread over as many chunks as needed, and the closing chunk of
// ones after a stop likewise when chunk_size < 10 x output_fperiod. Without a
// callback the ring advances silently.
int VXN_GStreamSet_create(struct _VXN_Engine* engine);
// Delivers ms milliseconds of silence (sample value 1) at the given rate.
void VXN_GStreamSet_silence(struct _VXN_Engine* engine, int ms, int rate);
void VXN_GStreamSet_memset(int16_t* samples, int16_t value, int count);
int VXN_GStreamSet_get_total_nsample(const VXN_GStreamSet* gss);
int VXN_GStreamSet_get_total_frame(const VXN_GStreamSet* gss);
int16_t VXN_GStreamSet_get_speech(const VXN_GStreamSet* gss, int index);
int16_t VXN_GStreamSet_get_speech2(const VXN_GStreamSet* gss, int index);
int16_t* VXN_GStreamSet_get_speech_ptr(VXN_GStreamSet* gss);
void VXN_GStreamSet_clear(VXN_GStreamSet* gss);

#ifdef __cplusplus
}
#endif

#endif
