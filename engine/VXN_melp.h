// Mixed excitation of the vocoder: per-band pulse/noise decision, band-shaped
// pulse train and noise, pulse dispersion, one pitch period at a time.
// Owns only process-wide statics (filter memories, the previous frame's
// filters, the period carried into the next frame and the rand_r seed):
// one utterance at a time per process; not thread-safe.
#ifndef VXN_MELP_H
#define VXN_MELP_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
  VXN_MELP_FRAME = 120,      // excitation samples per call
  VXN_MELP_BANDS = 5,        // band aperiodicity values per frame
  VXN_MELP_BPF_ORDER = 48,   // band filters: 49 taps
  VXN_MELP_DISP_ORDER = 64,  // dispersion filter: 65 taps
  VXN_MELP_PITCH_MIN = 40,   // period clamp, samples
  VXN_MELP_PITCH_MAX = 320
};

// Frame record handed to the excitation generator.
typedef struct _VXN_MelpFrame {
  int32_t pitch_Q15;                     // I: pitch period in samples, 0 when unvoiced
  int32_t jitter;                        // I: always 0
  int32_t band_Q15[VXN_MELP_BANDS];      // I: band aperiodicity in dB, band 0 lowest
  int32_t output_Q15[VXN_MELP_FRAME];    // O: excitation (unit power is 32768)
} VXN_MelpFrame;

// Band filters (49 taps, symmetric about tap 24) and the 65-tap dispersion
// filter, Q15.
extern const int32_t bp_cof[VXN_MELP_BANDS][VXN_MELP_BPF_ORDER + 1];
extern const int32_t disp_cof[VXN_MELP_DISP_ORDER + 1];

// Clears the excitation state (not the seed), puts a unit impulse in the
// previous noise filter, primes the noise memory and fixes S(0) and S(1).
void mixed_excitation_init(void);
// Zeroes the phase fields (period position, previous jitter, previous pitch,
// last period length); called on an utterance's first frame.
void mixed_excitation_reset_phase(void);
// Writes the frame's 120 excitation samples into frame->output_Q15.
void mixed_excitation_get_frame(VXN_MelpFrame* frame);

// 1 + exp(-5 (X - 0.25)) in Q17 for X = 10^(x/10) (x in dB, Q15; positive x
// counts as 0 dB) when db is nonzero, else for X = x (Q15). k_Q16 = 5 log2(e).
int32_t Saf(int32_t x, int32_t k_Q16, int db);
// Voicing strength in Q24 of a band value x (dB, Q15): 1 for no
// aperiodicity, 0 at 0 dB.
int32_t Waf(int32_t x, int32_t k_Q16);
// n values uniform in [-amplitude, amplitude) (Q15 amplitude) from rand_r on
// the process-wide seed.
void rand_num(int32_t* out, int32_t amplitude_Q15, int n);

// The rand_r seed (0 at load; the engine never resets it). Exposed so that a
// run can be repeated exactly.
unsigned int mixed_excitation_get_seed(void);
void mixed_excitation_set_seed(unsigned int seed);
// Length in samples of the last pitch period generated (0 before the first).
int32_t mixed_excitation_last_period(void);

#ifdef __cplusplus
}
#endif

#endif
