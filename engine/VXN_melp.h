// Mixed excitation of the vocoder: per-band pulse/noise decision, band-shaped
// pulse train and noise, pulse dispersion, one pitch period at a time.
// Its state (filter memories, the previous frame's filters, the period
// carried into the next frame and the rand_r seed) is a VXN_Excitation record
// owned by the caller; records share nothing.
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

// Excitation generator state; everything but the seed is cleared by
// mixed_excitation_init.
typedef struct _VXN_Excitation {
  int32_t prev_pulse_cof_Q15[VXN_MELP_BPF_ORDER + 1];
  int32_t prev_noise_cof_Q15[VXN_MELP_BPF_ORDER + 1];
  int32_t prev_band_Q15[VXN_MELP_BANDS];
  int32_t pulse_buf[VXN_MELP_BPF_ORDER + VXN_MELP_PITCH_MAX];  // memory + one period
  int32_t noise_buf[VXN_MELP_BPF_ORDER + VXN_MELP_PITCH_MAX];
  int32_t disp_buf[VXN_MELP_DISP_ORDER + VXN_MELP_PITCH_MAX];
  int32_t overflow_Q15[VXN_MELP_PITCH_MAX];  // samples past the end of the frame
  int32_t syn_begin;                          // samples already placed in this frame
  int32_t prev_jitter;
  int32_t prev_pitch_Q15;
  int32_t last_period;                        // length of the last period generated
  int32_t saf0_Q17;                           // S(0)
  int32_t saf1_Q17;                           // S(1)
  unsigned int seed;                          // rand_r seed of the noise and jitter draws
} VXN_Excitation;

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
void mixed_excitation_init(VXN_Excitation* st);
// Zeroes the phase fields (period position, previous jitter, previous pitch,
// last period length); called on an utterance's first frame.
void mixed_excitation_reset_phase(VXN_Excitation* st);
// Writes the frame's 120 excitation samples into frame->output_Q15.
void mixed_excitation_get_frame(VXN_Excitation* st, VXN_MelpFrame* frame);

// 1 + exp(-5 (X - 0.25)) in Q17 for X = 10^(x/10) (x in dB, Q15; positive x
// counts as 0 dB) when db is nonzero, else for X = x (Q15). k_Q16 = 5 log2(e).
int32_t Saf(int32_t x, int32_t k_Q16, int db);
// Voicing strength in Q24 of a band value x (dB, Q15): 1 for no
// aperiodicity, 0 at 0 dB; S(0) and S(1) come from an initialised state.
int32_t Waf(const VXN_Excitation* st, int32_t x, int32_t k_Q16);
// n values uniform in [-amplitude, amplitude) (Q15 amplitude) from rand_r on
// *seed.
void rand_num(unsigned int* seed, int32_t* out, int32_t amplitude_Q15, int n);

#ifdef __cplusplus
}
#endif

#endif
