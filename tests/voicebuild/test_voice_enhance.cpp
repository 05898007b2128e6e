#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/VXN_pstream.h"
#include "tests/engine/generation_fixture.h"
#include "tools/voicebuild/VXN_htsvoice.h"
#include "tools/voicebuild/VXN_voice_enhance.h"
#include "tools/voicebuild/VXN_voice_import.h"

using namespace vxn::voice;

namespace {

constexpr int kDims = 35;

// Smooth random mel-cepstral means (static, delta, delta-delta) with
// variances, the shape of the engine's spectral stream.
Pdf random_spectral_pdf(std::mt19937* rng) {
  std::uniform_real_distribution<float> u(-1.0f, 1.0f);
  Pdf p;
  p.mean.resize(3 * kDims);
  p.vari.resize(3 * kDims);
  for (int w = 0; w < 3; ++w)
    for (int m = 0; m < kDims; ++m) {
      const float scale = (w == 0 ? 1.0f : 0.2f) * std::pow(0.8f, static_cast<float>(m));
      p.mean[w * kDims + m] = (m == 0 && w == 0 ? -4.0f : 0.0f) + scale * u(*rng);
      p.vari[w * kDims + m] = 0.01f + 0.05f * std::fabs(u(*rng)) * scale;
    }
  return p;
}

// Generates the spectral trajectory of a state sequence with the engine's
// parameter generator; pdfs[k] serves state k for durations[k] frames.
std::vector<std::vector<float>> generate(const std::vector<const Pdf*>& pdfs,
                                         const std::vector<int>& durations) {
  VXN_SStreamSet sss;
  vxn_test::build_sss(&sss, {{kDims, false}}, 1, static_cast<int>(pdfs.size()));
  vxn_test::set_durations(&sss, durations);
  VXN_SStream* st = &sss.sstream[0];
  for (std::size_t k = 0; k < pdfs.size(); ++k)
    for (int d = 0; d < 3 * kDims; ++d) {
      st->mean[k][d] = pdfs[k]->mean[d];
      st->vari[k][d] = pdfs[k]->vari[d];
    }
  VXN_PStreamSet pss;
  VXN_PStreamSet_initialize(&pss);
  float thresholds[1] = {0.5f}, gv_weights[1] = {1.0f};
  EXPECT_EQ(VXN_PStreamSet_create(&pss, &sss, thresholds, gv_weights, nullptr), 1);
  std::vector<std::vector<float>> out(sss.total_frame, std::vector<float>(kDims));
  for (int t = 0; t < sss.total_frame; ++t)
    for (int m = 0; m < kDims; ++m) out[t][m] = VXN_PStreamSet_get_parameter(&pss, 0, t, m);
  VXN_PStreamSet_clear(&pss);
  VXN_SStreamSet_clear(&sss);
  return out;
}

Voice voice_with_spectral_pdfs(int count, std::mt19937* rng) {
  Voice v;
  v.streams[0].vector_length = 3 * kDims;
  Tree t;
  t.pdf_count = count;
  v.streams[0].trees.push_back(t);
  v.streams[0].pdfs.emplace_back();
  for (int i = 0; i < count; ++i) v.streams[0].pdfs[0].push_back(random_spectral_pdf(rng));
  return v;
}

TEST(FormantEnhancement, EqualsScalingTheGeneratedTrajectory) {
  std::mt19937 rng(20261206u);
  const Voice plain = voice_with_spectral_pdfs(6, &rng);
  Voice enhanced = plain;
  FormantEnhancement fe;
  fe.beta = 0.4;
  const double worst = enhance_formants(&enhanced, fe);
  EXPECT_GT(worst, 0.0);

  const std::vector<int> durations = {3, 7, 2, 9, 4, 5};
  std::vector<const Pdf*> a, b;
  for (int k = 0; k < 6; ++k) {
    a.push_back(&plain.streams[0].pdfs[0][k]);
    b.push_back(&enhanced.streams[0].pdfs[0][k]);
  }
  const auto ca = generate(a, durations), cb = generate(b, durations);
  // c0 moves by what generation makes of the per-state shifts alone.
  std::vector<Pdf> shifts(6);
  std::vector<const Pdf*> s;
  for (int k = 0; k < 6; ++k) {
    shifts[k] = *a[k];
    std::fill(shifts[k].mean.begin(), shifts[k].mean.end(), 0.0f);
    shifts[k].mean[0] = b[k]->mean[0] - a[k]->mean[0];
    s.push_back(&shifts[k]);
  }
  const auto cs = generate(s, durations);
  ASSERT_EQ(ca.size(), cb.size());
  for (std::size_t t = 0; t < ca.size(); ++t) {
    EXPECT_NEAR(cb[t][0], ca[t][0] + cs[t][0], 1e-4) << "frame " << t;
    EXPECT_NEAR(cb[t][1], ca[t][1], 1e-5) << "frame " << t;
    for (int m = 2; m < kDims; ++m)
      EXPECT_NEAR(cb[t][m], 1.4f * ca[t][m], 1e-4 * (1.0 + std::fabs(ca[t][m])))
          << "frame " << t << " coefficient " << m;
  }
}

TEST(FormantEnhancement, KeepsEachStatesEnergyAndSharpensPeaks) {
  std::mt19937 rng(7u);
  Voice v = voice_with_spectral_pdfs(20, &rng);
  const Voice before = v;
  FormantEnhancement fe;
  fe.beta = 0.3;
  enhance_formants(&v, fe);
  for (int i = 0; i < 20; ++i) {
    const float* c0 = before.streams[0].pdfs[0][i].mean.data();
    const float* c1 = v.streams[0].pdfs[0][i].mean.data();
    const double e0 = envelope_energy(c0, kDims - 1, fe.alpha, 512);
    const double e1 = envelope_energy(c1, kDims - 1, fe.alpha, 512);
    EXPECT_NEAR(std::log(e1 / e0), 0.0, 0.02) << "pdf " << i;
    // The envelope's dynamic range (peak to valley, in log units) grows.
    double lo0 = 1e9, hi0 = -1e9, lo1 = 1e9, hi1 = -1e9;
    for (int k = 0; k < 200; ++k) {
      const double f = 12000.0 * (k + 0.5) / 200;
      std::vector<double> d0(c0, c0 + kDims), d1(c1, c1 + kDims);
      const double l0 = cepstral_log_envelope(d0.data(), kDims - 1, fe.alpha, 24000.0, f);
      const double l1 = cepstral_log_envelope(d1.data(), kDims - 1, fe.alpha, 24000.0, f);
      lo0 = std::min(lo0, l0), hi0 = std::max(hi0, l0);
      lo1 = std::min(lo1, l1), hi1 = std::max(hi1, l1);
    }
    EXPECT_GT(hi1 - lo1, hi0 - lo0) << "pdf " << i;
  }
  // Zero strength changes nothing at all.
  Voice same = before;
  fe.beta = 0.0;
  enhance_formants(&same, fe);
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(same.streams[0].pdfs[0][i].mean, before.streams[0].pdfs[0][i].mean);
}

// A voice with a question table of phone classes and a log-F0 tree per state
// that splits on voicing context, for the aperiodicity trees.
Voice voice_with_lf0_trees() {
  Voice v;
  auto q = [&](const std::string& name, std::vector<std::string> phones) {
    Question question;
    question.name = name;
    for (const std::string& p : phones) question.patterns.push_back("*-" + p + "+*");
    v.questions.push_back(question);
  };
  q("C-Unvoiced_Consonant", {"s", "t", "k"});     // 0
  q("C-Voiced_Fricative", {"z", "v"});             // 1
  q("C-Vowel", {"aa", "iy"});                      // 2
  v.streams[1].vector_length = 3;
  v.streams[1].msd = true;
  for (int s = 2; s <= 6; ++s) {
    // Root asks "vowel?": yes -> leaf 1 (w = 1); no -> node -1 asks
    // "unvoiced consonant?": yes -> leaf 2 (w = 0.02), no -> leaf 3 (w = 0.7).
    Tree t;
    t.state = s;
    t.nodes = {{0, 2, -1, false, 1, true}, {-1, 0, 3, true, 2, true}};
    t.pdf_count = 3;
    v.streams[1].trees.push_back(t);
    std::vector<Pdf> pdfs(3);
    const float weights[3] = {1.0f, 0.02f, 0.7f};
    for (int i = 0; i < 3; ++i) {
      pdfs[i].mean = {5.0f, 0.0f, 0.0f};
      pdfs[i].vari = {0.1f, 0.01f, 0.01f};
      pdfs[i].msd = weights[i];
    }
    v.streams[1].pdfs.push_back(pdfs);
  }
  return v;
}

// Leaf reached by a label in a voice's tree.
int leaf_of(const Voice& v, const Tree& t, const std::string& label) {
  if (t.nodes.empty()) return 1;
  std::map<int, const Node*> by_id;
  for (const Node& n : t.nodes) by_id[n.id] = &n;
  const Node* n = by_id.at(0);
  for (;;) {
    bool yes = false;
    for (const std::string& p : v.questions.at(n->question).patterns)
      yes = yes || hts_pattern_match(label, p);
    if (yes ? n->yes_is_leaf : n->no_is_leaf) return yes ? n->yes : n->no;
    n = by_id.at(yes ? n->yes : n->no);
  }
}

std::vector<float> bands_for(const Voice& v, int state, const std::string& label) {
  const Tree& t = v.streams[2].trees.at(state - 2);
  const Pdf& p = v.streams[2].pdfs.at(state - 2).at(leaf_of(v, t, label) - 1);
  return std::vector<float>(p.mean.begin(), p.mean.begin() + 5);
}

TEST(PhoneAperiodicity, BandsFollowThePhoneClassAndTheVoicedWeight) {
  Voice v = voice_with_lf0_trees();
  PhoneAperiodicity pa = english_phone_aperiodicity();
  AperiodicityReport rep;
  std::string error;
  ASSERT_TRUE(build_phone_aperiodicity(&v, pa, &rep, &error)) << error;
  // The voice lacks the nasal, liquid and voiced-stop questions.
  EXPECT_EQ(rep.missing_questions.size(), 3u);
  ASSERT_EQ(v.streams[2].trees.size(), 5u);
  EXPECT_EQ(v.streams[2].vector_length, 15);

  const AperiodicityClass* vowel = nullptr;
  const AperiodicityClass* fricative = nullptr;
  for (const AperiodicityClass& c : pa.classes) {
    if (c.question == "C-Vowel") vowel = &c;
    if (c.question == "C-Voiced_Fricative") fricative = &c;
  }
  ASSERT_TRUE(vowel && fricative);
  for (int s = 2; s <= 6; ++s) {
    // A vowel state is fully voiced: the vowel profile itself.
    const auto a = bands_for(v, s, "x^k-aa+t=x");
    for (int b = 0; b < 5; ++b) EXPECT_FLOAT_EQ(a[b], vowel->profile_db[b]) << "band " << b;
    // Unvoiced consonants are noise in every band.
    for (float x : bands_for(v, s, "x^aa-s+iy=x")) EXPECT_EQ(x, 0.0f);
    // A voiced fricative with w = 0.7 (rounded to 0.75): 0.75 x its profile.
    const auto z = bands_for(v, s, "x^aa-z+iy=x");
    for (int b = 0; b < 5; ++b) EXPECT_FLOAT_EQ(z[b], 0.75f * fricative->profile_db[b]);
    // Any other phone keeps the default profile at its weight.
    const auto m = bands_for(v, s, "x^aa-m+iy=x");
    for (int b = 0; b < 5; ++b) EXPECT_FLOAT_EQ(m[b], 0.75f * pa.default_profile_db[b]);
  }
  // No fully voiced class profile may voice all five bands: an unvoiced
  // frame would then have no noise left.
  for (const AperiodicityClass& c : pa.classes) EXPECT_FALSE(band_is_voiced(4, c.profile_db[4]));
}

TEST(PhoneAperiodicity, SharesLeavesAndCollapsesSubtreesThatAgree) {
  Voice v = voice_with_lf0_trees();
  PhoneAperiodicity pa;
  pa.classes = {{"C-Vowel", {-36.0f, -28.0f, -18.0f, -9.0f, -3.0f}}};
  std::copy(kVoicedProfileDb, kVoicedProfileDb + 5, pa.default_profile_db);
  AperiodicityReport rep;
  std::string error;
  ASSERT_TRUE(build_phone_aperiodicity(&v, pa, &rep, &error)) << error;
  // Weights 1, 0.02, 0.7 round to 1, 0, 0.75: three pdfs below the vowel
  // question and three for the rest, but the two all-noise leaves (weight 0)
  // are one pdf, in every state.
  for (const auto& pdfs : v.streams[2].pdfs) EXPECT_EQ(pdfs.size(), 5u);
  EXPECT_EQ(rep.pdfs, 25);

  // One all-noise profile: every leaf agrees, each tree is a single leaf.
  Voice flat = voice_with_lf0_trees();
  PhoneAperiodicity noise;
  for (float& x : noise.default_profile_db) x = 0.0f;
  ASSERT_TRUE(build_phone_aperiodicity(&flat, noise, &rep, &error)) << error;
  for (std::size_t t = 0; t < flat.streams[2].trees.size(); ++t) {
    EXPECT_TRUE(flat.streams[2].trees[t].nodes.empty());
    EXPECT_EQ(flat.streams[2].pdfs[t].size(), 1u);
  }
  pa.weight_levels = 0;
  EXPECT_FALSE(build_phone_aperiodicity(&flat, pa, &rep, &error));
  EXPECT_NE(error.find("weight levels"), std::string::npos);
}

TEST(DurationScale, ScalesMeansAndVariances) {
  Voice v;
  v.duration.vector_length = 5;
  v.duration.pdfs.push_back({Pdf{{2, 4, 6, 8, 10}, {1, 1, 2, 2, 4}, 0.0f}});
  scale_durations(&v, 1.5);
  EXPECT_EQ(v.duration.pdfs[0][0].mean, (std::vector<float>{3, 6, 9, 12, 15}));
  EXPECT_EQ(v.duration.pdfs[0][0].vari, (std::vector<float>{2.25f, 2.25f, 4.5f, 4.5f, 9.0f}));
}

}  // namespace
