// The AVX-512 build of the vocoder kernels: the common source compiled with
// AVX-512, with the sums of the MLSA chains (sum of b[i] times stage i) done
// eight products to a vector. The chains' recursions stay scalar: a stage of
// a chain depends on the one before, and the scalar multiply is faster to
// wait for than the vector one (3 against 4 cycles, with 1 against 2 for the
// adds and shifts), while the integer units run the five chains side by side
// and the vector unit takes their sums. Measured against the chains in the
// lanes of a vector, about 10% faster. The 64-bit sums wrap identically in
// any order, so the samples are those of the portable build.
#if defined(VXN_DSP_HAVE_AVX512) && defined(__AVX512F__) && defined(__AVX512DQ__) && \
    defined(__AVX512VL__)
#if defined(__GNUC__) && !defined(__clang__)
// GCC 12 warns about the undefined pass-through operand inside some mask
// intrinsics; it is never read.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif
#include <immintrin.h>

#include <stdint.h>

// sum b[i] v[i] over the n stages of one chain.
static inline int64_t vxn_chain_sum_avx512(const int32_t* b, const int64_t* v, int n) {
  __m512i acc = _mm512_setzero_si512();
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m512i bi = _mm512_cvtepi32_epi64(_mm256_loadu_si256((const __m256i*)(b + i)));
    acc = _mm512_add_epi64(acc, _mm512_mullo_epi64(bi, _mm512_loadu_si512(v + i)));
  }
  if (i < n) {
    const __mmask8 k = (__mmask8)((1u << (n - i)) - 1);
    const __m512i bi = _mm512_cvtepi32_epi64(_mm256_maskz_loadu_epi32(k, b + i));
    acc = _mm512_add_epi64(acc, _mm512_mullo_epi64(bi, _mm512_maskz_loadu_epi64(k, v + i)));
  }
  // The lanes added as unsigned: the sum wraps like the portable one (the
  // library's reduction adds signed integers, undefined on overflow).
  alignas(64) uint64_t lanes[8];
  _mm512_store_si512(lanes, acc);
  uint64_t sum = 0;
  for (uint64_t lane : lanes) sum += lane;
  return (int64_t)sum;
}
#define VXN_DSP_CHAIN_SUM vxn_chain_sum_avx512

// Left to itself GCC would pack the five scalar chains into vectors,
// putting the vector multiply back on the stage-to-stage path.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("no-tree-slp-vectorize")
#endif
#define VXN_DSP_NAMESPACE vxn_dsp_avx512
#include "engine/VXN_dsp_kernels_impl.h"

const VXN_DspKernels* VXN_dsp_kernels_avx512_build(void) {
  static const VXN_DspKernels kernels = {"avx512", vxn_dsp_avx512::fir,
                                         vxn_dsp_avx512::fir_symmetric,
                                         vxn_dsp_avx512::mlsa_frame, vxn_dsp_avx512::mlsadf};
  return &kernels;
}
#endif
