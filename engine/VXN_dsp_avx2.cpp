// The AVX2 build of the vocoder kernels: the same source compiled with -mavx2,
// where the compiler turns the filter sums into vector code. Only this file
// gets the flag, and only its namespace's functions are reachable, through
// the table, after the processor check in VXN_dsp_kernels.cpp.
#if defined(VXN_DSP_HAVE_AVX2) && defined(__AVX2__)
#define VXN_DSP_NAMESPACE vxn_dsp_avx2
#include "engine/VXN_dsp_kernels_impl.h"

const VXN_DspKernels* VXN_dsp_kernels_avx2_build(void) {
  static const VXN_DspKernels kernels = {"avx2", vxn_dsp_avx2::fir, vxn_dsp_avx2::fir_symmetric,
                                         vxn_dsp_avx2::mlsa_frame, vxn_dsp_avx2::mlsadf};
  return &kernels;
}
#endif
