// Integer kernels of the vocoder's inner loops: the FIR filters of the mixed
// excitation and the MLSA filter's per-frame sample loop. They are compiled
// portably and, on x86-64, for AVX2 and AVX-512; the widest build the
// processor supports is chosen once, at first use. Every build performs the
// same two's-complement integer operations, so the outputs are identical.
// Thread-safe: the tables are constant; VXN_dsp_use_simd is for tests and
// start-up only.
#ifndef VXN_DSP_KERNELS_H
#define VXN_DSP_KERNELS_H

#include <stdint.h>

typedef struct _VXN_DspKernels {
  const char* name;  // "portable", "avx2" or "avx512"
  // FIR filter in place: io[i] = round(sum_{j=0..order} coef[j] io[i-j] / 2^15)
  // for i = n-1 down to 0; io[-order..-1] is the filter memory.
  void (*fir)(int32_t* io, const int32_t* coef_Q15, int order, int n);
  // The same for a filter symmetric about tap order/2 (order even).
  void (*fir_symmetric)(int32_t* io, const int32_t* coef_Q15, int order, int n);
  // n samples of excitation (Q15) through gain exp(c[0]) and the MLSA filter
  // of order m, pd = 5, with the coefficients c (Q17) moving by cinc every
  // iprd samples; writes clipped 16-bit samples to out (may be null).
  void (*mlsa_frame)(int32_t* c_Q17, const int32_t* cinc_Q17, int m, int32_t alpha_Q13,
                     int64_t* delay, const int32_t* pade_Q20, const int32_t* exc_Q15, int n,
                     int iprd, int16_t* out);
  // One sample through the MLSA filter (see VXN_mlsadf).
  int64_t (*mlsadf)(int64_t x, const int32_t* b_Q17, int m, int32_t alpha_Q13, int pd,
                    int64_t* d, const int32_t* pade_Q20);
} VXN_DspKernels;

// The kernels in use.
const VXN_DspKernels* VXN_dsp_kernels(void);
// The portable kernels.
const VXN_DspKernels* VXN_dsp_kernels_portable(void);
// Every build this processor can run, portable first and the widest last;
// returns the count (at most 3).
int VXN_dsp_kernels_list(const VXN_DspKernels* out[3]);
// Switches the vector kernels off (0) or back on where available (1);
// returns the previous setting.
int VXN_dsp_use_simd(int enable);

#endif
