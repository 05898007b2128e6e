#include "engine/VXN_dsp_kernels.h"

#if defined(VXN_DSP_HAVE_AVX2)
const VXN_DspKernels* VXN_dsp_kernels_avx2_build(void);
#endif
#if defined(VXN_DSP_HAVE_AVX512)
const VXN_DspKernels* VXN_dsp_kernels_avx512_build(void);
#endif

namespace {

// The checked fixed-point build reports wrap-around from the portable code
// only, so it never takes the vector kernels.
#if !VXN_FIXED_DEBUG && defined(VXN_DSP_HAVE_AVX2)
bool cpu_has_avx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}
#endif
#if !VXN_FIXED_DEBUG && defined(VXN_DSP_HAVE_AVX512)
bool cpu_has_avx512() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
         __builtin_cpu_supports("avx512vl");
}
#endif

struct Builds {
  const VXN_DspKernels* list[3];
  int count = 0;
  Builds() {
    list[count++] = VXN_dsp_kernels_portable();
#if !VXN_FIXED_DEBUG && defined(VXN_DSP_HAVE_AVX2)
    if (cpu_has_avx2()) list[count++] = VXN_dsp_kernels_avx2_build();
#endif
#if !VXN_FIXED_DEBUG && defined(VXN_DSP_HAVE_AVX512)
    if (cpu_has_avx512()) list[count++] = VXN_dsp_kernels_avx512_build();
#endif
  }
};

const Builds& builds() {
  static const Builds b;
  return b;
}

int g_use_simd = 1;

}  // namespace

int VXN_dsp_kernels_list(const VXN_DspKernels* out[3]) {
  const Builds& b = builds();
  for (int i = 0; i < b.count; i++) out[i] = b.list[i];
  return b.count;
}

const VXN_DspKernels* VXN_dsp_kernels(void) {
  const Builds& b = builds();
  return g_use_simd ? b.list[b.count - 1] : b.list[0];
}

int VXN_dsp_use_simd(int enable) {
  int previous = g_use_simd;
  g_use_simd = enable ? 1 : 0;
  return previous;
}
