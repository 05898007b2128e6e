// Mixed excitation: band voicing from the band aperiodicity, pulse train and
// noise shaped by the summed band filters, pulse dispersion, generated one
// pitch period at a time with the overflow carried into the next frame.
#include "engine/VXN_melp.h"

#include <stdlib.h>
#include <string.h>

#include "engine/VXN_dsp_kernels.h"
#include "engine/qfix_basicop.h"

const int32_t bp_cof[VXN_MELP_BANDS][VXN_MELP_BPF_ORDER + 1] = {
    // band 0 (lowest)
    {0, -46, -103, -166, -233, -295, -346, -378, -382, -351, -280, -163, 0, 209, 459, 743,
     1052, 1373, 1692, 1995, 2267, 2494, 2666, 2772, 2808, 2772, 2666, 2494, 2267, 1995, 1692,
     1373, 1052, 743, 459, 209, 0, -163, -280, -351, -382, -378, -346, -295, -233, -166, -103,
     -46, 0},
    // band 1
    {0, -41, -72, -66, 0, 136, 330, 547, 729, 810, 730, 457, 0, -585, -1197, -1714, -2009,
     -1990, -1616, -919, 0, 987, 1863, 2467, 2682, 2467, 1863, 987, 0, -919, -1616, -1990,
     -2009, -1714, -1197, -585, 0, 457, 730, 810, 729, 547, 330, 136, 0, -66, -72, -41, 0},
    // band 2
    {0, -65, 0, 235, 465, 417, 0, -533, -763, -496, 0, 231, 0, -295, 0, 1050, 2102, 1939, 0,
     -2818, -4528, -3523, 0, 3916, 5610, 3916, 0, -3523, -4528, -2818, 0, 1939, 2102, 1050, 0,
     -295, 0, 231, 0, -496, -763, -533, 0, 417, 465, 235, 0, -65, 0},
    // band 3
    {0, -24, 177, 235, -233, -570, 0, 729, 382, -496, -484, 84, 0, -108, 795, 1051, -1052,
     -2651, 0, 3851, 2265, -3525, -4614, 1434, 5613, 1434, -4614, -3525, 2265, 3851, 0, -2651,
     -1052, 1051, 795, -108, 0, 84, -484, -496, 382, 729, 0, -570, -233, 235, 177, -24, 0},
    // band 4 (highest)
    {0, 186, -14, -215, -17, 317, -19, -362, -22, 509, -24, -592, -26, 816, -28, -999, -30,
     1421, -31, -1988, -32, 3482, -33, -10442, 16446, -10442, -33, 3482, -32, -1988, -31, 1421,
     -30, -999, -28, 816, -26, -592, -24, 509, -22, -362, -19, 317, -17, -215, -14, 186, 0},
};

const int32_t disp_cof[VXN_MELP_DISP_ORDER + 1] = {
    -5671, -461,  401,   3723, 64,     0,    1484, -31,  -34,   836,  -2078, -40,  462,
    7970,  -580,  -7,    1923, -108,   199,  902,  -1099, 197,  470,   27149, 10,   -119,
    2406,  -170,  425,   959,  -652,   398,  386,  -12755, 236, -379,  2761,  -117, 704,
    972,   -409,  607,   24,   -2540,  407,  -892, 2380,  154,  1155,  876,   -244, 846,
    6,     -926,  563,   -1968, -2319, 299,  1993, 591,   -105, 1128,  8,     -346, 709};

namespace {

const int kTaps = VXN_MELP_BPF_ORDER + 1;
const int32_t kSafK_Q16 = 472742;             // 5 log2(e)
const int32_t kVoicedLow_Q24 = 15602810;      // 0.93, bands 0 and 1
const int32_t kVoicedHigh_Q24 = 15099494;     // 0.9, bands 2..4
const int32_t kNoiseAmp_Q15 = 51079;          // 0.9 sqrt(3)
const int32_t kNoisePrimeAmp_Q15 = 56754;     // amplitude of the initial noise memory
const int32_t kJitterAmp_Q15 = 32768;

// Splits a Q16 value into exponent and Q15 fraction and returns 2^value in Q(q).
int32_t pow2_of_Q16(int32_t value_Q16, int16_t q) {
  int16_t exponent, fraction;
  qfix_l_extract(value_Q16, &exponent, &fraction);
  return qfix_pow2(exponent, fraction, q);
}

// num / den as a Q31 quotient and the left shift applied to den (num < 2^30).
int32_t divide_normalised(int32_t num, int32_t den, int16_t* norm) {
  *norm = qfix_norm_l(den);
  int16_t hi, lo;
  qfix_l_extract(qfix_l_shl(den, *norm), &hi, &lo);
  return qfix_div_32(num, hi, lo);
}

// Filters n new samples of buf (which starts with `order` samples of memory)
// in place with coef, after saving the unfiltered tail as the next memory.
// The filter is symmetric about its middle tap when `symmetric` is set.
void filter_period(int32_t* buf, const int32_t* coef_Q15, int order, int n, bool symmetric) {
  int32_t tail[VXN_MELP_DISP_ORDER];
  memcpy(tail, buf + n, sizeof(int32_t) * order);
  const VXN_DspKernels* k = VXN_dsp_kernels();
  if (symmetric)
    k->fir_symmetric(buf + order, coef_Q15, order, n);
  else
    k->fir(buf + order, coef_Q15, order, n);
  memcpy(buf, tail, sizeof(int32_t) * order);
}

bool is_symmetric(const int32_t* coef, int order) {
  for (int j = 0; j < order / 2; j++)
    if (coef[j] != coef[order - j]) return false;
  return true;
}

// zerflt for a pulse period, whose input (memory included) is zero but for
// a pulse or two: the same sums, formed from the nonzero inputs only.
void filter_pulse_period(int32_t* buf, const int32_t* coef_Q15, int n) {
  const int order = VXN_MELP_BPF_ORDER;
  int32_t tail[VXN_MELP_BPF_ORDER];
  memcpy(tail, buf + n, sizeof(int32_t) * order);
  int64_t acc[VXN_MELP_PITCH_MAX] = {0};
  const int32_t* in = buf + order;
  for (int p = -order; p < n; p++) {
    if (in[p] == 0) continue;
    for (int j = p < 0 ? -p : 0; j <= order && p + j < n; j++)
      acc[p + j] = qfix_add64(acc[p + j], qfix_mul64(coef_Q15[j], in[p]));
  }
  for (int i = 0; i < n; i++) buf[order + i] = qfix_to32(qfix_pshr64(acc[i], 15));
  memcpy(buf, tail, sizeof(int32_t) * order);
}

}  // namespace

int32_t Saf(int32_t x, int32_t k_Q16, int db) {
  int32_t X_Q15 = x;
  if (db) {
    if (x >= 1) x = 0;  // positive dB values count as 0 dB
    // log2(10^(x/10)) in Q16: x * log2(10) / 5 at this scaling.
    int32_t lg_Q16 = qfix_to32(qfix_pshr64(qfix_mul64(x, 21771), 15));
    X_Q15 = pow2_of_Q16(lg_Q16, 15);
  }
  // log2(exp(-5 (X - 0.25))) in Q16.
  int64_t arg = qfix_sub64(-16384, qfix_mul64(k_Q16, qfix_sub64(X_Q15, 8192)));
  int32_t arg_Q16 = qfix_to32(arg >> 15);
  return qfix_to32(qfix_add64(pow2_of_Q16(arg_Q16, 17), 131072));
}

int32_t Waf(const VXN_Excitation* st, int32_t x, int32_t k_Q16) {
  int32_t s_Q17 = Saf(x, k_Q16, 1);
  int16_t n1, n2;
  // S(1) / s and (S(0) - s) / (S(0) - S(1)), both Q31 over normalised denominators.
  int32_t q1 = divide_normalised(st->saf1_Q17, s_Q17, &n1);
  int32_t q2 = divide_normalised(st->saf0_Q17 - s_Q17, st->saf0_Q17 - st->saf1_Q17, &n2);
  int64_t prod = qfix_mul64(q1, q2);
  int shift = 62 - n1 - n2;
  int64_t v_Q24 = shift < 25 ? qfix_shl64(prod, 24 - shift) : qfix_pshr64(prod, shift - 24);
  const int64_t one_Q24 = (int64_t)1 << 24;
  if (v_Q24 > one_Q24 || v_Q24 < 0) return 0;
  return (int32_t)(one_Q24 - v_Q24);
}

void rand_num(unsigned int* seed, int32_t* out, int32_t amplitude_Q15, int n) {
  for (int i = 0; i < n; i++) {
    int32_t r = rand_r(seed);
    int64_t centred = 2 * ((r % 32768) - 16384);
    out[i] = qfix_to32(qfix_mul64(centred, amplitude_Q15) >> 15);
  }
}

void mixed_excitation_reset_phase(VXN_Excitation* st) {
  st->syn_begin = 0;
  st->prev_jitter = 0;
  st->prev_pitch_Q15 = 0;
  st->last_period = 0;
}

void mixed_excitation_init(VXN_Excitation* st) {
  const unsigned int seed = st->seed;
  memset(st, 0, sizeof(*st));
  st->seed = seed;
  st->prev_noise_cof_Q15[VXN_MELP_BPF_ORDER / 2] = 32768;
  rand_num(&st->seed, st->noise_buf, kNoisePrimeAmp_Q15, VXN_MELP_BPF_ORDER);
  st->saf0_Q17 = Saf(0, kSafK_Q16, 0);
  st->saf1_Q17 = Saf(32768, kSafK_Q16, 0);
}

void mixed_excitation_get_frame(VXN_Excitation* excitation, VXN_MelpFrame* frame) {
  const int L = VXN_MELP_FRAME;
  VXN_Excitation& st = *excitation;
  int32_t* output = frame->output_Q15;

  // 1. Samples carried over from the previous frame.
  if (st.syn_begin > 0) {
    int n = st.syn_begin < L ? st.syn_begin : L;
    memcpy(output, st.overflow_Q15, sizeof(int32_t) * n);
    if (st.syn_begin > L)
      memmove(st.overflow_Q15, st.overflow_Q15 + L, sizeof(int32_t) * (st.syn_begin - L));
  }

  // 2. Band voicing: pulse filter = sum of voiced bands, noise filter = the rest.
  int32_t pulse_cof_Q15[kTaps] = {0};
  int32_t noise_cof_Q15[kTaps] = {0};
  for (int band = 0; band < VXN_MELP_BANDS; band++) {
    int32_t w_Q24 = Waf(&st, frame->band_Q15[band], kSafK_Q16);
    int32_t threshold = band < 2 ? kVoicedLow_Q24 : kVoicedHigh_Q24;
    int32_t* target = w_Q24 > threshold ? pulse_cof_Q15 : noise_cof_Q15;
    for (int j = 0; j < kTaps; j++) target[j] += bp_cof[band][j];
  }

  // 3. Pitch periods until the frame is full.
  while (st.syn_begin < L) {
    // Interpolation weight: square root of the position in the frame, Q15.
    uint32_t pos_Q18 = (uint32_t)st.syn_begin * 2185u;
    int32_t w_Q15 = (int32_t)qfix_sqrt(pos_Q18) * 64;
    int32_t cur_pulse_Q15[kTaps], cur_noise_Q15[kTaps];
    for (int j = 0; j < kTaps; j++) {
      cur_pulse_Q15[j] = qfix_to32(qfix_add64(
                             qfix_add64(qfix_mul64(st.prev_pulse_cof_Q15[j], 32768 - w_Q15),
                                        qfix_mul64(pulse_cof_Q15[j], w_Q15)),
                             16384) >> 15);
      cur_noise_Q15[j] = qfix_to32(qfix_add64(
                             qfix_add64(qfix_mul64(st.prev_noise_cof_Q15[j], 32768 - w_Q15),
                                        qfix_mul64(noise_cof_Q15[j], w_Q15)),
                             16384) >> 15);
    }

    // Jitter draw (the jitter is 0, the draw only advances the sequence).
    int32_t jitter_rand;
    rand_num(&st.seed, &jitter_rand, kJitterAmp_Q15, 1);
    int64_t jitter_term = qfix_mul64(qfix_mul64(frame->jitter, jitter_rand), frame->pitch_Q15);
    int64_t period = qfix_add64(qfix_add64(qfix_shl64(frame->pitch_Q15, 30), jitter_term),
                                (int64_t)1 << 44) >> 45;
    if (period < VXN_MELP_PITCH_MIN) period = VXN_MELP_PITCH_MIN;
    if (period > VXN_MELP_PITCH_MAX) period = VXN_MELP_PITCH_MAX;
    int n = (int)period;
    st.last_period = n;

    // Pulse of amplitude sqrt(period), band-shaped.
    int32_t* pulse = st.pulse_buf + VXN_MELP_BPF_ORDER;
    memset(pulse, 0, sizeof(int32_t) * n);
    uint32_t pitch_Q18 = (uint32_t)qfix_to32(qfix_mul64(frame->pitch_Q15, 8));
    pulse[0] = (int32_t)qfix_sqrt(pitch_Q18) * 64;
    filter_pulse_period(st.pulse_buf, cur_pulse_Q15, n);

    // Noise, band-shaped.
    int32_t* noise = st.noise_buf + VXN_MELP_BPF_ORDER;
    rand_num(&st.seed, noise, kNoiseAmp_Q15, n);
    filter_period(st.noise_buf, cur_noise_Q15, VXN_MELP_BPF_ORDER, n,
                  is_symmetric(cur_noise_Q15, VXN_MELP_BPF_ORDER));

    // Sum, then pulse dispersion.
    int32_t* sum = st.disp_buf + VXN_MELP_DISP_ORDER;
    for (int k = 0; k < n; k++) sum[k] = qfix_to32(qfix_add64(pulse[k], noise[k]));
    filter_period(st.disp_buf, disp_cof, VXN_MELP_DISP_ORDER, n, false);

    // Place the period; what passes the frame end waits in the overflow buffer.
    for (int k = 0; k < n; k++) {
      int p = st.syn_begin + k;
      if (p < L)
        output[p] = sum[k];
      else
        st.overflow_Q15[p - L] = sum[k];
    }
    st.syn_begin += n;
  }

  // 4. This frame's filters become the previous ones.
  memcpy(st.prev_pulse_cof_Q15, pulse_cof_Q15, sizeof(pulse_cof_Q15));
  memcpy(st.prev_noise_cof_Q15, noise_cof_Q15, sizeof(noise_cof_Q15));
  memcpy(st.prev_band_Q15, frame->band_Q15, sizeof(st.prev_band_Q15));
  st.prev_jitter = frame->jitter;
  st.prev_pitch_Q15 = frame->pitch_Q15;
  st.syn_begin -= L;
}
