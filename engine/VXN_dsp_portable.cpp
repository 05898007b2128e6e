// The portable build of the vocoder kernels.
#define VXN_DSP_NAMESPACE vxn_dsp_portable
#include "engine/VXN_dsp_kernels_impl.h"

const VXN_DspKernels* VXN_dsp_kernels_portable(void) {
  static const VXN_DspKernels kernels = {"portable", vxn_dsp_portable::fir,
                                         vxn_dsp_portable::fir_symmetric,
                                         vxn_dsp_portable::mlsa_frame, vxn_dsp_portable::mlsadf};
  return &kernels;
}
