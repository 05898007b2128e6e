// The vector builds of the vocoder kernels against the portable build: the
// same samples and the same filter memory, bit for bit, including inputs
// large enough to wrap the 64-bit sums.
#include <gtest/gtest.h>

#include <stdint.h>

#include <random>
#include <vector>

#include "engine/VXN_dsp_kernels.h"
#include "engine/VXN_vocoder.h"

namespace {

const int kFrame = 120;

struct MlsaRun {
  std::vector<int16_t> samples;
  std::vector<int64_t> delay;
  std::vector<int32_t> c;
};

// Frames of slowly moving coefficients (scale sets their size) driven by a
// pulse train with noise; every build starts from the same memory.
MlsaRun run_mlsa(const VXN_DspKernels* k, int m, int frames, int32_t scale, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int32_t> coef(-scale, scale);
  MlsaRun r;
  r.c.assign(m + 1, 0);
  r.c[0] = 2 << 17;
  r.delay.assign(3 * (VXN_PADE_ORDER + 1) + VXN_PADE_ORDER * (m + 2), 0);
  std::vector<int32_t> inc(m + 1), exc(kFrame);
  for (int f = 0; f < frames; f++) {
    for (int i = 0; i <= m; i++) inc[i] = coef(rng) / 512;
    for (int i = 0; i < kFrame; i++) exc[i] = (i % 97 == 0) ? 150000 : (i % 3 ? coef(rng) % 9000 : 0);
    std::vector<int16_t> out(kFrame);
    k->mlsa_frame(r.c.data(), inc.data(), m, 3441, r.delay.data(), VXN_pade_Q20, exc.data(),
                  kFrame, 1, out.data());
    r.samples.insert(r.samples.end(), out.begin(), out.end());
  }
  return r;
}

std::vector<const VXN_DspKernels*> builds() {
  const VXN_DspKernels* list[3];
  int n = VXN_dsp_kernels_list(list);
  return std::vector<const VXN_DspKernels*>(list, list + n);
}

TEST(DspKernels, EveryBuildSynthesisesTheSameSamplesAsThePortableOne) {
  const std::vector<const VXN_DspKernels*> all = builds();
  ASSERT_EQ(all.front(), VXN_dsp_kernels_portable());
  // Order 34 takes the lane layout of the widest build; 24 and 2 the others.
  for (int m : {34, 24, 2}) {
    for (int32_t scale : {20000, 400000, 2000000000}) {
      MlsaRun want = run_mlsa(all.front(), m, 60, scale, 7 + m);
      bool moved = false;
      for (int16_t s : want.samples) moved |= s != 0;
      EXPECT_TRUE(moved) << "order " << m;
      for (size_t b = 1; b < all.size(); b++) {
        MlsaRun got = run_mlsa(all[b], m, 60, scale, 7 + m);
        EXPECT_EQ(got.samples, want.samples) << all[b]->name << " order " << m << " scale " << scale;
        EXPECT_EQ(got.delay, want.delay) << all[b]->name << " order " << m << " scale " << scale;
        EXPECT_EQ(got.c, want.c) << all[b]->name;
      }
    }
  }
}

TEST(DspKernels, FiltersAgreeAcrossBuildsAndTheSymmetricFormIsExact) {
  const std::vector<const VXN_DspKernels*> all = builds();
  std::mt19937 rng(3);
  for (int order : {48, 64}) {
    for (int64_t range : {30000LL, 2147483647LL}) {
      std::uniform_int_distribution<int64_t> value(-range, range);
      std::vector<int32_t> coef(order + 1), input(order + 300);
      for (auto& v : input) v = (int32_t)value(rng);
      for (int j = 0; j <= order / 2; j++) coef[j] = coef[order - j] = (int32_t)(value(rng) % 40000);
      std::vector<int32_t> want = input;
      all.front()->fir(want.data() + order, coef.data(), order, 300);
      EXPECT_NE(want, input);
      for (const VXN_DspKernels* k : all) {
        std::vector<int32_t> plain = input, folded = input;
        k->fir(plain.data() + order, coef.data(), order, 300);
        k->fir_symmetric(folded.data() + order, coef.data(), order, 300);
        EXPECT_EQ(plain, want) << k->name << " order " << order;
        EXPECT_EQ(folded, want) << k->name << " order " << order;
      }
    }
  }
}

TEST(DspKernels, VectorBuildsCanBeSwitchedOff) {
  const VXN_DspKernels* best = builds().back();
  int previous = VXN_dsp_use_simd(0);
  EXPECT_EQ(VXN_dsp_kernels(), VXN_dsp_kernels_portable());
  VXN_dsp_use_simd(1);
  EXPECT_EQ(VXN_dsp_kernels(), best);
  VXN_dsp_use_simd(previous);
}

}  // namespace
