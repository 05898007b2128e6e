// Hybrid unit selection: the process-wide unit-selection context (hybrid flag,
// pitch-range parameters, per-sentence frame log-F0 target). The prosody
// database and the unit search are not built yet: without a database the
// prosody step leaves the target absent and every sentence uses the model's
// log F0. One synthesis per process; nothing here is thread-safe.
#ifndef VXN_VSEARCH_H
#define VXN_VSEARCH_H

#ifdef __cplusplus
extern "C" {
#endif

struct _VXN_SStreamSet;
struct _VXN_Label;

// 1 when hybrid synthesis is active for the process.
int VXN_VT_is_hybrid(void);
// Cleared by engine initialisation.
void VXN_VT_reset_hybrid(void);
// Switches hybrid mode; set by the database loader once a database is in place.
void VXN_VT_set_hybrid(int flag);

// Hybrid prosody step of the state stream set, run after the durations are
// final: unit search over the sentence and the frame log-F0 target. Leaves the
// target absent when no unit database is loaded.
void VXN_VT_prosody_step(struct _VXN_SStreamSet* sss, struct _VXN_Label* label);
// Frame log-F0 target of the current sentence (one value per frame of the
// utterance), or null when there is none; *count receives its length.
const float* VXN_VT_get_lf0_target(int* count);
// Replaces the frame target with a copy of count values (null clears it).
// Returns 0 when the copy cannot be allocated.
int VXN_VT_set_lf0_target(const float* values, int count);
// Releases the per-sentence search state (frame target); run after generation.
void Hybrid_close(void);

// Pitch-range parameters of the hybrid range adjustment, in Hz: range R,
// expansion E, floor F. 0 at start-up; keep the values last set.
void VXN_VT_get_pitch_range(float* range, float* expansion, float* floor_hz);
void VXN_VT_set_pitch_range(float range, float expansion, float floor_hz);

#ifdef __cplusplus
}
#endif

#endif
