// The AVX-512 build of the vocoder kernels. The filters are the common source
// compiled with AVX-512; the MLSA frame loop runs the five all-pass chains of
// the second stage in the lanes of one 512-bit vector (lane c = chain c), so
// each stage of all five chains costs one subtract, multiply, round, shift
// and add. The chain memory is transposed into lane order for the frame and
// back at its end; the integer operations per chain are those of the portable
// code, so the samples are identical.
#if defined(VXN_DSP_HAVE_AVX512) && defined(__AVX512F__) && defined(__AVX512DQ__)
// GCC 12 warns about the undefined pass-through operand inside the shift
// intrinsics; it is never read (all lanes are written).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#define VXN_DSP_NAMESPACE vxn_dsp_avx512
#include "engine/VXN_dsp_kernels_impl.h"

namespace vxn_dsp_avx512 {
namespace {

const int kMaxStages = 64;  // chain entries (m + 2) the lane layout holds

// Rounded arithmetic shift right, as qfix_pshr64 lane by lane.
inline __m512i pshr(__m512i x, int s) {
  return _mm512_srai_epi64(_mm512_add_epi64(x, _mm512_set1_epi64((int64_t)1 << (s - 1))), s);
}

// The second stage for one sample with the chains in lanes: D[k] lane c is
// entry k of chain c. Inputs are pt[0..4], results go to pt[1..5].
inline void mlsafir_lanes(__m512i* D, int m, int64_t* pt, const int32_t* b_Q17, __m512i A,
                          __m512i AA) {
  const __mmask8 five = 0x1f;
  __m512i in = _mm512_maskz_loadu_epi64(five, pt);
  D[0] = in;
  D[1] = pshr(_mm512_add_epi64(_mm512_mullo_epi64(D[1], A), _mm512_mullo_epi64(AA, in)), 13);
  __m512i u = D[1];
  __m512i old = D[2];
  __m512i y = _mm512_setzero_si512();
  const __m512i round = _mm512_set1_epi64(4096);
  for (int i = 2; i <= m; i++) {
    __m512i next = D[i + 1];
    // a (next - u) + 1/2 as (a next + 1/2) - a u: the same value modulo 2^64,
    // with one multiply fewer on the path from stage to stage.
    __m512i early = _mm512_add_epi64(_mm512_mullo_epi64(A, next), round);
    __m512i late = _mm512_sub_epi64(early, _mm512_mullo_epi64(A, u));
    __m512i v = _mm512_add_epi64(old, _mm512_srai_epi64(late, 13));
    D[i + 1] = v;
    y = _mm512_add_epi64(y, _mm512_mullo_epi64(_mm512_set1_epi64(b_Q17[i]), v));
    u = v;
    old = next;
  }
  D[2] = D[1];
  _mm512_mask_storeu_epi64(pt + 1, five, pshr(y, 17));
}

void mlsa_frame_lanes(int32_t* c_Q17, const int32_t* cinc_Q17, int m, int32_t alpha_Q13,
                      int64_t* delay, const int32_t* pade_Q20, const int32_t* exc_Q15, int n,
                      int iprd, int16_t* out) {
  const int S = m + 2;
  const int32_t aa_Q13 = qfix_to32(
      qfix_sub64(((int64_t)1 << 26) + 4096, qfix_mul64(alpha_Q13, alpha_Q13)) >> 13);
  const int32_t* p_Q20 = pade_Q20 + kPd * (kPd + 1) / 2;
  int64_t* d1 = delay;                    // first stage
  int64_t* d2 = delay + 2 * (kPd + 1);    // second stage chains
  int64_t* pt = d2 + kPd * S;             // second stage Pade taps
  alignas(64) __m512i D[kMaxStages];
  for (int k = 0; k < S; k++) {
    alignas(64) int64_t lanes[8] = {0};
    for (int c = 0; c < kPd; c++) lanes[c] = d2[c * S + k];
    D[k] = _mm512_load_si512(lanes);
  }
  const __m512i A = _mm512_set1_epi64(alpha_Q13);
  const __m512i AA = _mm512_set1_epi64(aa_Q13);
  int count = (iprd + 1) >> 1;
  for (int k = 0; k < n; k++) {
    int64_t x = VXN_mlsadf1(gain(exc_Q15[k], c_Q17[0]), c_Q17, alpha_Q13, aa_Q13, kPd, d1, p_Q20);
    mlsafir_lanes(D, m, pt, c_Q17, A, AA);
    int64_t y_Q8 = pade_sum(x, pt, kPd, p_Q20);
    if (out) out[k] = qfix_clip16(qfix_pshr64(y_Q8, 8), kClip);
    if (--count == 0) {
      add_increment(c_Q17, cinc_Q17, m + 1);
      count = iprd;
    }
  }
  for (int k = 0; k < S; k++) {
    alignas(64) int64_t lanes[8];
    _mm512_store_si512(lanes, D[k]);
    for (int c = 0; c < kPd; c++) d2[c * S + k] = lanes[c];
  }
}

// Orders the lane layout cannot hold take the common code.
void mlsa_frame_any(int32_t* c_Q17, const int32_t* cinc_Q17, int m, int32_t alpha_Q13,
                    int64_t* delay, const int32_t* pade_Q20, const int32_t* exc_Q15, int n,
                    int iprd, int16_t* out) {
  if (m + 2 <= kMaxStages)
    mlsa_frame_lanes(c_Q17, cinc_Q17, m, alpha_Q13, delay, pade_Q20, exc_Q15, n, iprd, out);
  else
    mlsa_frame(c_Q17, cinc_Q17, m, alpha_Q13, delay, pade_Q20, exc_Q15, n, iprd, out);
}

}  // namespace
}  // namespace vxn_dsp_avx512

const VXN_DspKernels* VXN_dsp_kernels_avx512_build(void) {
  static const VXN_DspKernels kernels = {"avx512", vxn_dsp_avx512::fir,
                                         vxn_dsp_avx512::fir_symmetric,
                                         vxn_dsp_avx512::mlsa_frame_any, vxn_dsp_avx512::mlsadf};
  return &kernels;
}
#endif
