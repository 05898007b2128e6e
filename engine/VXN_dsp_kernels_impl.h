// Bodies of the vocoder kernels, included by the portable and the AVX2
// translation units inside their own namespace (VXN_DSP_NAMESPACE), so that
// each build keeps its own copies. Not a public header.
#ifndef VXN_DSP_NAMESPACE
#error "define VXN_DSP_NAMESPACE before including this file"
#endif

#include <string.h>

#include "engine/VXN_dsp_kernels.h"
#include "engine/qfix_basicop.h"

namespace VXN_DSP_NAMESPACE {

const int kPd = 5;
const int32_t kClip = 32000;
const int32_t kLog2eHalf_Q16 = 47274;  // log2(e) / 2

// c += inc over n coefficients (distinct arrays), Q17.
inline void add_increment(int32_t* __restrict c_Q17, const int32_t* __restrict inc_Q17, int n) {
  for (int i = 0; i < n; i++) c_Q17[i] = qfix_add32(c_Q17[i], inc_Q17[i]);
}

// An excitation sample (Q15) times the gain exp(c0) (c0 Q17), in Q8: log2 of
// the gain in Q16, then 2^that in Q15.
inline int64_t gain(int32_t x_Q15, int32_t c0_Q17) {
  if (x_Q15 == 0) return 0;
  int32_t lg_Q16 = qfix_to32(qfix_pshr64(qfix_mul64(c0_Q17, kLog2eHalf_Q16), 16));
  int16_t exponent, fraction;
  qfix_l_extract(lg_Q16, &exponent, &fraction);
  int32_t g_Q15 = qfix_pow2(exponent, fraction, 15);
  return qfix_pshr64(qfix_mul64(g_Q15, x_Q15), 22);  // Q15 x Q15 -> Q8
}

// Pade sum of the second stage over its chain outputs pt[1..pd]; pt[0]
// keeps the stage's input for the next sample.
inline int64_t pade_sum(int64_t x, int64_t* pt, int pd, const int32_t* p_Q20) {
  int64_t out = 0;
  for (int i = pd; i >= 1; i--) {
    int32_t v = qfix_to32(qfix_pshr64(qfix_mul64(p_Q20[i], pt[i]), 20));
    x = (i & 1) ? qfix_add64(x, v) : qfix_sub64(x, v);
    out = qfix_add64(out, v);
  }
  pt[0] = x;
  return qfix_add64(out, x);
}

// One all-pass chain of the second stage. d[0..m+1]: d[1] is stage 1,
// d[i + 1] stage i (i = 1..m) of the previous call. Returns sum b[i] stage i.
inline int64_t VXN_mlsafir(int64_t x, const int32_t* b_Q17, int m, int32_t a_Q13, int32_t aa_Q13,
                           int64_t* d) {
  d[0] = x;
  d[1] = qfix_pshr64(qfix_add64(qfix_mul64(d[1], a_Q13), qfix_mul64(aa_Q13, x)), 13);
  int64_t u = d[1];        // new value of stage i - 1
  int64_t old_i = d[2];    // previous value of stage i - 1
  int64_t y = 0;
  for (int i = 2; i <= m; i++) {
    int64_t old_next = d[i + 1];
    int64_t v = qfix_add64(old_i, qfix_pshr64(qfix_mul64(a_Q13, qfix_sub64(old_next, u)), 13));
    d[i + 1] = v;
    y = qfix_add64(y, qfix_mul64(b_Q17[i], v));
    u = v;
    old_i = old_next;
  }
  d[2] = d[1];
  return qfix_pshr64(y, 17);
}

// First stage: exp of the b[1] term through the Pade approximant, on
// d[0..2 pd + 1].
int64_t VXN_mlsadf1(int64_t x, const int32_t* b_Q17, int32_t a_Q13, int32_t aa_Q13, int pd,
                    int64_t* d, const int32_t* p_Q20) {
  int64_t* pt = d + pd + 1;
  int64_t out = 0;
  for (int i = pd; i >= 1; i--) {
    d[i] = qfix_pshr64(qfix_add64(qfix_mul64(d[i], a_Q13), qfix_mul64(aa_Q13, pt[i - 1])), 13);
    pt[i] = qfix_pshr64(qfix_mul64(b_Q17[1], d[i]), 17);
    int32_t v = qfix_to32(qfix_pshr64(qfix_mul64(p_Q20[i], pt[i]), 20));
    x = (i & 1) ? qfix_add64(x, v) : qfix_sub64(x, v);
    out = qfix_add64(out, v);
  }
  pt[0] = x;
  return qfix_add64(out, x);
}

// The pd = 5 all-pass chains of the second stage for one sample, computed
// side by side: within a sample every chain reads only the previous sample's
// Pade taps, so the five recursions are independent and their latencies
// overlap. Same integer operations as VXN_mlsafir, so the same results.
// S = m + 2 (entries per chain) is a compile-time constant for the usual order.
template <int S>
void VXN_mlsafir5(const int64_t* in, int64_t* result, const int32_t* b_Q17, int32_t a_Q13,
                  int32_t aa_Q13, int64_t* d) {
  static_assert(S % 2 == 0, "the chain loop takes two stages at a time: m must be even");
  const int m = S - 2;
  // Chain c lives at d + c * S; with S a constant every access is one base
  // register plus a fixed displacement.
#define VXN_FIR5_START(c)                                                                    \
  d[(c) * S] = in[c];                                                                        \
  d[(c) * S + 1] = qfix_pshr64(                                                              \
      qfix_add64(qfix_mul64(d[(c) * S + 1], a_Q13), qfix_mul64(aa_Q13, in[c])), 13);         \
  int64_t u##c = d[(c) * S + 1], old##c = d[(c) * S + 2]
  VXN_FIR5_START(0);
  VXN_FIR5_START(1);
  VXN_FIR5_START(2);
  VXN_FIR5_START(3);
  VXN_FIR5_START(4);
#undef VXN_FIR5_START
  // Stage i of chain c: new(i) = old(i - 1) + a (old(i) - new(i - 1)), rounded
  // Q13; new(i) is stored at position i + 1. Stage 2 alone, then two stages per
  // step so that old(i) of the second is the value just loaded.
#define VXN_FIR5_STEP1(c, i)                                                                 \
  {                                                                                          \
    int64_t n1 = d[(c) * S + (i) + 1];                                                       \
    int64_t v1 = qfix_add64(old##c, qfix_pshr64(qfix_mul64(a_Q13, qfix_sub64(n1, u##c)), 13)); \
    d[(c) * S + (i) + 1] = v1;                                                               \
    u##c = v1;                                                                               \
    old##c = n1;                                                                             \
  }
#define VXN_FIR5_STEP2(c, i)                                                                 \
  {                                                                                          \
    int64_t n1 = d[(c) * S + (i) + 1];                                                       \
    int64_t v1 = qfix_add64(old##c, qfix_pshr64(qfix_mul64(a_Q13, qfix_sub64(n1, u##c)), 13)); \
    d[(c) * S + (i) + 1] = v1;                                                               \
    int64_t n2 = d[(c) * S + (i) + 2];                                                       \
    int64_t v2 = qfix_add64(n1, qfix_pshr64(qfix_mul64(a_Q13, qfix_sub64(n2, v1)), 13));     \
    d[(c) * S + (i) + 2] = v2;                                                               \
    u##c = v2;                                                                               \
    old##c = n2;                                                                             \
  }
  VXN_FIR5_STEP1(0, 2)
  VXN_FIR5_STEP1(1, 2)
  VXN_FIR5_STEP1(2, 2)
  VXN_FIR5_STEP1(3, 2)
  VXN_FIR5_STEP1(4, 2)
  for (int i = 3; i < m; i += 2) {
    VXN_FIR5_STEP2(0, i)
    VXN_FIR5_STEP2(1, i)
    VXN_FIR5_STEP2(2, i)
    VXN_FIR5_STEP2(3, i)
    VXN_FIR5_STEP2(4, i)
  }
#undef VXN_FIR5_STEP1
#undef VXN_FIR5_STEP2
  (void)u0, (void)u1, (void)u2, (void)u3, (void)u4;
  (void)old0, (void)old1, (void)old2, (void)old3, (void)old4;
#ifdef VXN_DSP_CHAIN_SUM
  // The build's own sum of b[i] stage i over a chain.
  const int64_t y0 = VXN_DSP_CHAIN_SUM(b_Q17 + 2, d + 3, m - 1);
  const int64_t y1 = VXN_DSP_CHAIN_SUM(b_Q17 + 2, d + S + 3, m - 1);
  const int64_t y2 = VXN_DSP_CHAIN_SUM(b_Q17 + 2, d + 2 * S + 3, m - 1);
  const int64_t y3 = VXN_DSP_CHAIN_SUM(b_Q17 + 2, d + 3 * S + 3, m - 1);
  const int64_t y4 = VXN_DSP_CHAIN_SUM(b_Q17 + 2, d + 4 * S + 3, m - 1);
#else
  int64_t y0 = 0, y1 = 0, y2 = 0, y3 = 0, y4 = 0;
  for (int i = 2; i <= m; i++) {
    const int64_t bi = b_Q17[i];
    y0 = qfix_add64(y0, qfix_mul64(bi, d[i + 1]));
    y1 = qfix_add64(y1, qfix_mul64(bi, d[S + i + 1]));
    y2 = qfix_add64(y2, qfix_mul64(bi, d[2 * S + i + 1]));
    y3 = qfix_add64(y3, qfix_mul64(bi, d[3 * S + i + 1]));
    y4 = qfix_add64(y4, qfix_mul64(bi, d[4 * S + i + 1]));
  }
#endif
  for (int c = 0; c < 5; c++) d[c * S + 2] = d[c * S + 1];
  result[0] = qfix_pshr64(y0, 17);
  result[1] = qfix_pshr64(y1, 17);
  result[2] = qfix_pshr64(y2, 17);
  result[3] = qfix_pshr64(y3, 17);
  result[4] = qfix_pshr64(y4, 17);
}

// Second stage: exp of the b[2..m] terms, pd all-pass chains of m + 2 entries
// followed by the pd + 1 Pade taps.
int64_t VXN_mlsadf2(int64_t x, const int32_t* b_Q17, int m, int32_t a_Q13, int32_t aa_Q13,
                    int pd, int64_t* d, const int32_t* p_Q20) {
  int64_t* pt = d + pd * (m + 2);
  if (pd == 5 && m == 34) {
    VXN_mlsafir5<36>(pt, pt + 1, b_Q17, a_Q13, aa_Q13, d);
  } else {
    for (int i = pd; i >= 1; i--)
      pt[i] = VXN_mlsafir(pt[i - 1], b_Q17, m, a_Q13, aa_Q13, d + (i - 1) * (m + 2));
  }
  return pade_sum(x, pt, pd, p_Q20);
}


int64_t mlsadf(int64_t x, const int32_t* b_Q17, int m, int32_t alpha_Q13, int pd, int64_t* d,
               const int32_t* pade_Q20) {
  // 1 - alpha^2, Q13.
  int32_t aa_Q13 = qfix_to32(
      qfix_sub64(((int64_t)1 << 26) + 4096, qfix_mul64(alpha_Q13, alpha_Q13)) >> 13);
  const int32_t* p_Q20 = pade_Q20 + pd * (pd + 1) / 2;
  x = VXN_mlsadf1(x, b_Q17, alpha_Q13, aa_Q13, pd, d, p_Q20);
  return VXN_mlsadf2(x, b_Q17, m, alpha_Q13, aa_Q13, pd, d + 2 * (pd + 1), p_Q20);
}

void mlsa_frame(int32_t* c_Q17, const int32_t* cinc_Q17, int m, int32_t alpha_Q13,
                int64_t* delay, const int32_t* pade_Q20, const int32_t* exc_Q15, int n, int iprd,
                int16_t* out) {
  int count = (iprd + 1) >> 1;
  for (int k = 0; k < n; k++) {
    int64_t y_Q8 = mlsadf(gain(exc_Q15[k], c_Q17[0]), c_Q17, m, alpha_Q13, kPd, delay, pade_Q20);
    if (out) out[k] = qfix_clip16(qfix_pshr64(y_Q8, 8), kClip);
    if (--count == 0) {
      add_increment(c_Q17, cinc_Q17, m + 1);
      count = iprd;
    }
  }
}

void fir(int32_t* io, const int32_t* coef_Q15, int order, int n) {
  for (int i = n - 1; i >= 0; i--) {
    int64_t acc = 0;
    for (int j = 0; j <= order; j++) acc = qfix_add64(acc, qfix_mul64(coef_Q15[j], io[i - j]));
    io[i] = qfix_to32(qfix_pshr64(acc, 15));
  }
}

// coef[j] x (in[i-j] + in[i-order+j]): the same integer sums with half the
// products.
void fir_symmetric(int32_t* io, const int32_t* coef_Q15, int order, int n) {
  const int half = order / 2;
  for (int i = n - 1; i >= 0; i--) {
    int64_t acc = qfix_mul64(coef_Q15[half], io[i - half]);
    for (int j = 0; j < half; j++)
      acc = qfix_add64(acc, qfix_mul64(coef_Q15[j], qfix_add64(io[i - j], io[i - order + j])));
    io[i] = qfix_to32(qfix_pshr64(acc, 15));
  }
}

}  // namespace VXN_DSP_NAMESPACE
