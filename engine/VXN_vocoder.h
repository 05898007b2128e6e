// Mixed-excitation vocoder with an MLSA filter in fixed point, and the output
// equaliser.
// VXN_Vocoder owns its coefficient and filter-memory buffers and the
// excitation generator state (one per utterance, released by
// VXN_Vocoder_clear). The random seed that runs on from one utterance to the
// next and the equaliser section states live in the engine record. Nothing
// here is shared between vocoders.
#ifndef VXN_VOCODER_H
#define VXN_VOCODER_H

#include <stdint.h>

#include "engine/VXN_melp.h"

#ifdef __cplusplus
extern "C" {
#endif

struct _VXN_Engine;

// Marks an unvoiced frame in the log-F0 argument.
#define VXN_LF0_UNVOICED INT32_MIN

typedef struct _VXN_Vocoder {
  int32_t stage;        // 0: MLSA
  float gamma;          // 0 when stage is 0
  int32_t use_log_gain;
  int32_t fprd;         // frame period in samples (120)
  int32_t iprd;         // coefficient interpolation period (1)
  int32_t rate;         // sampling rate in Hz (24000)
  float first_point;    // -1 until the first frame
  int32_t* c;           // (m+1) Q17, coefficients in use
  int32_t* cc;          // (m+1) Q17, target coefficients of the frame
  int32_t* cinc;        // (m+1) Q17, per-step increment
  int64_t* delay;       // 3*(pd+1) + pd*(m+2) MLSA filter memory, pd = 5
  int32_t* pade;        // 21 Q20 Pade coefficients (stage 0 only)
  VXN_Excitation exc;   // excitation generator; exc.seed is the random seed
} VXN_Vocoder;

// Last two inputs and outputs of one equaliser section.
typedef struct _VXN_EqSection {
  int32_t x1, x2, y1, y2;
} VXN_EqSection;

// Equaliser sections: 0 "S" (voice shaping), 1 "C" (second shaping), 2 "fp"
// and 3 "sp" (hybrid only).
enum { VXN_EQ_SECTIONS = 4 };

// m: mel-cepstrum order (34).
void VXN_Vocoder_initialize(VXN_Vocoder* v, int m, int stage, int use_log_gain, int rate,
                            int fprd);
// Resets the excitation state from v->exc.seed (VXN_Vocoder_initialize sets
// the seed to 0; set it between the two calls to continue another sequence);
// call right after initialisation.
void STME_Vocoder_initialize_fixed(VXN_Vocoder* v);
// One frame: lf0 Q20 or VXN_LF0_UNVOICED, mcep (m+1) Q17, band 5 values Q15 (dB),
// alpha Q13. Writes fprd samples to out (out may be null).
void ME_Vocoder_synthesize(VXN_Vocoder* v, int m, int32_t lf0, const int32_t* mcep,
                           const int32_t* band, int32_t alpha, int16_t* out);
void VXN_Vocoder_clear(VXN_Vocoder* v);

// Output equaliser, in place on one frame, on the section states of the
// engine record; frame counts from 0 per utterance.
void EQ_Filter(int16_t* samples, int count, int frame, struct _VXN_Engine* engine, int voiced);

// Stages of the frame synthesis, for tools and tests.
enum { VXN_PADE_ORDER = 5 };
// Pitch period rate / F0 in Q15 samples for a log F0 in Q20; 0 for
// VXN_LF0_UNVOICED.
int32_t VXN_Vocoder_pitch(int32_t lf0_Q20, int32_t rate);
// Mel-cepstrum (m+1, Q17) to MLSA coefficients b (m+1, Q17):
// b[m] = mc[m], b[i] = mc[i] - alpha b[i+1].
void VXN_mc2b(const int32_t* mc_Q17, int32_t* b_Q17, int m, int32_t alpha_Q13);
// One sample through the MLSA filter (input and result in the same scale,
// Q8 of the output sample); d is the filter memory of VXN_Vocoder.delay,
// pade the 21-entry Q20 table.
int64_t VXN_mlsadf(int64_t x, const int32_t* b_Q17, int m, int32_t alpha_Q13, int pd, int64_t* d,
                   const int32_t* pade_Q20);
// Copies count items of size bytes from `from` to `to`; the ranges may overlap.
void VXN_movem(const void* from, void* to, int size, int count);
// The Pade coefficient table, Q20, entry pd (pd + 1) / 2 + i for order pd.
extern const int32_t VXN_pade_Q20[21];

#ifdef __cplusplus
}
#endif

#endif
