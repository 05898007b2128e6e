#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <string>

#include "tests/voicebuild/hts_fixture.h"
#include "tools/voicebuild/VXN_voice_import.h"

using namespace vxn::voice;
using vxn_test::HtsFixture;

namespace {

HtsVoice parse_fixture(const HtsFixture& f) {
  HtsVoice v;
  std::string err;
  const std::string b = f.bytes();
  EXPECT_TRUE(parse_htsvoice(reinterpret_cast<const unsigned char*>(b.data()), b.size(), &v, &err))
      << err;
  return v;
}

// Leaf of an engine-side tree for a label: the walk the package lookup does.
int voice_leaf(const Voice& v, const Tree& t, const std::string& label) {
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

TEST(SpectralMap, SameShapeIsTheIdentity) {
  SpectralMap m(34, 0.45, 24000, 34, 0.45, 24000);
  for (int i = 0; i <= 34; ++i)
    for (int j = 0; j <= 34; ++j) EXPECT_NEAR(m.a(i, j), i == j ? 1.0 : 0.0, 1e-9) << i << "," << j;
}

TEST(SpectralMap, SmoothEnvelopesAgreeBelowTwelveKilohertz) {
  SpectralMap m(44, 0.45, 32000, 34, 0.45, 24000);
  // Smooth envelopes: cepstra that decay within the first 20 coefficients.
  for (int shape = 0; shape < 4; ++shape) {
    std::vector<float> c(45, 0.0f);
    c[0] = 2.0f;
    for (int k = 1; k < 20; ++k)
      c[k] = static_cast<float>(std::pow(0.75, k) * std::cos(0.7 * k * (shape + 1)));
    double rms = 0.0;
    double worst = m.envelope_error_db(c.data(), 12000.0, 2000, &rms);
    EXPECT_LT(worst, 0.25) << "shape " << shape;
    EXPECT_LT(rms, 0.05) << "shape " << shape;
  }
  // Evaluating the mapped cepstrum at a frequency gives the source's value.
  std::vector<float> c(45, 0.0f), d(35);
  c[0] = 1.0f;
  c[1] = 0.5f;
  c[2] = -0.25f;
  m.map_mean(c.data(), d.data());
  std::vector<double> cs(c.begin(), c.end()), cd(d.begin(), d.end());
  for (double f : {0.0, 500.0, 3000.0, 8000.0})
    EXPECT_NEAR(cepstral_log_envelope(cs.data(), 44, 0.45, 32000, f),
                cepstral_log_envelope(cd.data(), 34, 0.45, 24000, f), 0.01)
        << f << " Hz";
}

TEST(SpectralMap, VariancesAreThoseOfTheMappedVector) {
  SpectralMap m(44, 0.45, 32000, 34, 0.45, 24000);
  std::vector<float> var(45), mapped(35);
  for (int j = 0; j < 45; ++j) var[j] = 0.01f + 0.002f * j;
  m.map_variance(var.data(), mapped.data());
  // Sample variance of A x for independent x_j of variance var_j.
  std::mt19937 rng(7);
  std::normal_distribution<double> gauss;
  const int n = 20000;
  std::vector<double> sum2(35, 0.0);
  std::vector<float> x(45), y(35);
  for (int s = 0; s < n; ++s) {
    for (int j = 0; j < 45; ++j) x[j] = static_cast<float>(gauss(rng) * std::sqrt(var[j]));
    m.map_mean(x.data(), y.data());
    for (int i = 0; i < 35; ++i) sum2[i] += double(y[i]) * y[i];
  }
  for (int i = 0; i < 35; ++i) EXPECT_NEAR(sum2[i] / n, mapped[i], 0.05 * mapped[i]) << i;
}

TEST(Aperiodicity, VoicingStrengthFollowsTheVocoderCurve) {
  EXPECT_NEAR(band_voicing_strength(0.0), 0.0, 1e-12);
  EXPECT_NEAR(band_voicing_strength(3.0), 0.0, 1e-12);  // positive dB counts as 0 dB
  EXPECT_NEAR(band_voicing_strength(-200.0), 1.0, 1e-9);
  // Thresholds: W = 0.93 near -12.47 dB, W = 0.9 near -11.03 dB.
  EXPECT_FALSE(band_is_voiced(0, -12.3));
  EXPECT_TRUE(band_is_voiced(0, -12.7));
  EXPECT_FALSE(band_is_voiced(3, -10.9));
  EXPECT_TRUE(band_is_voiced(3, -11.2));
  EXPECT_FALSE(band_is_voiced(1, -11.2));  // the low bands need more
}

TEST(Aperiodicity, ProfileVoicesLowBandsAndNeverAllBands) {
  float b[kBands];
  aperiodicity_from_weight(1.0f, b);
  for (int k = 0; k < 4; ++k) EXPECT_TRUE(band_is_voiced(k, b[k])) << "band " << k;
  EXPECT_FALSE(band_is_voiced(4, b[4]));
  aperiodicity_from_weight(0.0f, b);
  for (int k = 0; k < kBands; ++k) {
    EXPECT_EQ(b[k], 0.0f);
    EXPECT_FALSE(band_is_voiced(k, b[k]));
  }
  // Voicing grows with the weight, band by band from the bottom, and no
  // weight (nor any out-of-range one) voices all five bands.
  int previous = 0;
  for (int i = -10; i <= 110; ++i) {
    aperiodicity_from_weight(i / 100.0f, b);
    int voiced = 0;
    for (int k = 0; k < kBands; ++k) {
      if (band_is_voiced(k, b[k])) {
        EXPECT_EQ(voiced, k) << "band " << k << " voiced above an unvoiced band at w=" << i;
        ++voiced;
      }
    }
    EXPECT_LT(voiced, kBands);
    EXPECT_GE(voiced, previous);
    previous = voiced;
    // Below the voicing threshold of 0.5 at most the lowest band is voiced.
    if (i <= 50) {
      EXPECT_LE(voiced, 1) << "w=" << i;
    }
  }
}

class ImportFixture : public ::testing::Test {
 protected:
  bool run(const HtsVoice& v, std::string* err = nullptr) {
    std::string local;
    return import_htsvoice(v, ImportOptions(), &out, &rep, err ? err : &local);
  }
  Voice out;
  ImportReport rep;
};

TEST_F(ImportFixture, ConvertsEveryStreamToTheEngineShape) {
  HtsVoice src = parse_fixture(HtsFixture());
  ASSERT_TRUE(run(src));
  EXPECT_EQ(out.questions.size(), 3u);
  EXPECT_EQ(rep.renamed_questions, 0);

  // Durations copied.
  EXPECT_EQ(out.duration.vector_length, 5);
  ASSERT_EQ(out.duration.pdfs.size(), 1u);
  EXPECT_EQ(out.duration.pdfs[0][1].mean, src.duration_pdf.pdfs[0][1].mean);
  EXPECT_EQ(out.duration.pdfs[0][1].vari, src.duration_pdf.pdfs[0][1].vari);

  // Stream 0: 35 x 3, every window block through the same map.
  SpectralMap map(1, 0.45, 32000, 34, 0.45, 24000);
  const Stream& s0 = out.streams[0];
  EXPECT_EQ(s0.vector_length, 105);
  ASSERT_EQ(s0.pdfs.size(), 5u);
  const Pdf& a = src.streams[0].pdf.pdfs[2][1];
  const Pdf& b = s0.pdfs[2][1];
  ASSERT_EQ(b.mean.size(), 105u);
  std::vector<float> m(35), v(35);
  for (int w = 0; w < 3; ++w) {
    map.map_mean(&a.mean[2 * w], m.data());
    map.map_variance(&a.vari[2 * w], v.data());
    for (int i = 0; i < 35; ++i) {
      EXPECT_FLOAT_EQ(b.mean[35 * w + i], m[i]);
      EXPECT_FLOAT_EQ(b.vari[35 * w + i], v[i]);
    }
  }

  // Stream 1: copied, multi-space; the single-leaf tree has no nodes.
  const Stream& s1 = out.streams[1];
  EXPECT_TRUE(s1.msd);
  EXPECT_EQ(s1.vector_length, 3);
  EXPECT_TRUE(s1.trees[2].nodes.empty());
  EXPECT_EQ(s1.trees[2].pdf_count, 1);
  EXPECT_EQ(s1.pdfs[2].size(), 1u);
  EXPECT_EQ(s1.pdfs[3][2].msd, src.streams[1].pdf.pdfs[3][2].msd);
  EXPECT_EQ(s1.pdfs[3][2].mean, src.streams[1].pdf.pdfs[3][2].mean);

  // Stream 2: the log-F0 trees, one pdf per leaf from its voiced weight.
  const Stream& s2 = out.streams[2];
  EXPECT_FALSE(s2.msd);
  EXPECT_EQ(s2.vector_length, 15);
  ASSERT_EQ(s2.trees.size(), s1.trees.size());
  for (std::size_t t = 0; t < s2.trees.size(); ++t) {
    EXPECT_EQ(s2.trees[t].state, s1.trees[t].state);
    EXPECT_EQ(s2.trees[t].nodes.size(), s1.trees[t].nodes.size());
    ASSERT_EQ(s2.pdfs[t].size(), s1.pdfs[t].size());
    for (std::size_t k = 0; k < s2.pdfs[t].size(); ++k) {
      float bands[kBands];
      aperiodicity_from_weight(s1.pdfs[t][k].msd, bands);
      for (int d = 0; d < 15; ++d) {
        EXPECT_FLOAT_EQ(s2.pdfs[t][k].mean[d], d < kBands ? bands[d] : 0.0f);
        EXPECT_GT(s2.pdfs[t][k].vari[d], 0.0f);
      }
    }
  }

  // Every tree selects the same leaf as the source tree.
  const char* labels[] = {"x^y-a+b=c", "x^i-i+b=c", "x^y-k+b=c", "i^i-aa+a=i"};
  for (const char* l : labels) {
    EXPECT_EQ(voice_leaf(out, out.duration.trees[0], l), hts_tree_leaf(src.duration_tree, 0, l));
    for (int t = 0; t < 5; ++t) {
      EXPECT_EQ(voice_leaf(out, s0.trees[t], l), hts_tree_leaf(src.streams[0].tree, t, l));
      int lf0_leaf = hts_tree_leaf(src.streams[1].tree, t, l);
      if (s1.trees[t].nodes.empty()) lf0_leaf = 1;  // the only pdf kept
      EXPECT_EQ(voice_leaf(out, s1.trees[t], l), lf0_leaf);
      EXPECT_EQ(voice_leaf(out, s2.trees[t], l), lf0_leaf);
    }
  }

  // GV: spectral GV mapped as a variance, log-F0 GV copied, none for bands.
  ASSERT_TRUE(out.gv[0].present);
  ASSERT_EQ(out.gv[0].mean.size(), 35u);
  map.map_variance(src.streams[0].gv_pdf.pdfs[0][0].mean.data(), m.data());
  EXPECT_FLOAT_EQ(out.gv[0].mean[3], m[3]);
  ASSERT_TRUE(out.gv[1].present);
  EXPECT_EQ(out.gv[1].mean, src.streams[1].gv_pdf.pdfs[0][0].mean);
  EXPECT_FALSE(out.gv[2].present);

  EXPECT_EQ(rep.pdfs[0], 3);
  EXPECT_EQ(rep.pdfs[1], 15);
  EXPECT_EQ(rep.pdfs[2], 13);
  EXPECT_EQ(rep.pdfs[3], 13);
  EXPECT_EQ(rep.trees[3], 5);
  ASSERT_EQ(rep.shapes_before.size(), 2u);
  ASSERT_EQ(rep.shapes_after.size(), 3u);
  EXPECT_NE(rep.shapes_after[0].find("35 static x 3"), std::string::npos);
}

TEST_F(ImportFixture, MergesQuestionsAcrossBlocks) {
  HtsFixture f;
  // Same set in another order: the same question. Other patterns under the
  // same name: a second question, and the LF0 trees must use it.
  std::string& t = f.block("STREAM_TREE[LF0]");
  t.replace(t.find("\"*-a+*\",\"*-i+*\""), 15, "\"*-i+*\",\"*-a+*\"");
  t.replace(t.find("QS C-a { \"*-a+*\" }"), 18, "QS C-a { \"*-i+*\" }");
  HtsVoice src = parse_fixture(f);
  ASSERT_TRUE(run(src));
  ASSERT_EQ(out.questions.size(), 4u);
  EXPECT_EQ(rep.renamed_questions, 1);
  EXPECT_EQ(out.questions[3].name, "C-a~2");
  const Tree& lf0 = out.streams[1].trees[0];
  EXPECT_EQ(lf0.nodes[1].question, 3);
  EXPECT_EQ(lf0.nodes[0].question, 1);  // C-Vowel shared
  EXPECT_EQ(voice_leaf(out, lf0, "x^y-i+b=c"), hts_tree_leaf(src.streams[1].tree, 0, "x^y-i+b=c"));
}

TEST_F(ImportFixture, RejectsVoicesTheEngineCannotUse) {
  const HtsVoice base = parse_fixture(HtsFixture());
  struct Case {
    std::function<void(HtsVoice*)> edit;
    std::string needle;
  } cases[] = {
      {[](HtsVoice* v) { v->num_states = 4; }, "the engine needs 5"},
      {[](HtsVoice* v) { v->streams.pop_back(); }, "no multi-space log F0 stream"},
      {[](HtsVoice* v) { v->streams.erase(v->streams.begin()); }, "no spectral"},
      {[](HtsVoice* v) { v->streams.push_back(v->streams[0]); v->streams.back().name = "BAP"; },
       "aperiodicity stream with 2 bands"},
      {[](HtsVoice* v) { v->streams.push_back(v->streams[0]); v->streams.back().name = "STR"; },
       "only band aperiodicity (BAP) converts"},
      {[](HtsVoice* v) { v->streams.push_back(v->streams[0]); v->streams.back().name = "MGC"; },
       "more than one spectral stream"},
      {[](HtsVoice* v) { v->streams[1].vector_length = 2; }, "log F0 has 1"},
      {[](HtsVoice* v) { v->streams[0].windows[2] = {0.5, -1.0, 0.5}; }, "windows differ"},
      {[](HtsVoice* v) { v->streams[0].option = "ALPHA=0.42,GAMMA=-0.33"; }, "GAMMA"},
      {[](HtsVoice* v) { v->streams[0].option = ""; }, "has no ALPHA"},
      {[](HtsVoice* v) { v->streams[0].option = "ALPHA=1.5"; }, "ALPHA must lie"},
      {[](HtsVoice* v) { v->streams[0].option = "ALPHA"; }, "is not KEY=VALUE"},
      {[](HtsVoice* v) { v->duration_tree.selections[0] = "*-a+*"; }, "is not {*}"},
      {[](HtsVoice* v) {
         v->streams[0].tree.trees[1].nodes[1].id = -16000;
         v->streams[0].tree.trees[1].nodes[0].yes = -16000;
       },
       "do not fit the package"},
  };
  for (const Case& c : cases) {
    HtsVoice v = base;
    c.edit(&v);
    std::string err;
    EXPECT_FALSE(run(v, &err)) << c.needle;
    EXPECT_NE(err.find(c.needle), std::string::npos) << "message: " << err;
  }
  // A 16 kHz voice is continued above 8 kHz, with a note.
  HtsVoice low = base;
  low.sampling_frequency = 16000;
  ASSERT_TRUE(run(low));
  bool extended = false;
  for (const std::string& n : rep.notes) extended = extended || n.find("above 8000 Hz") != std::string::npos;
  EXPECT_TRUE(extended);
  // The LPF stream is dropped with a note, not refused.
  HtsVoice v = base;
  v.streams.push_back(v.streams[0]);
  v.streams.back().name = "LPF";
  ASSERT_TRUE(run(v));
  bool noted = false;
  for (const std::string& n : rep.notes) noted = noted || n.find("LPF") != std::string::npos;
  EXPECT_TRUE(noted);
}

}  // namespace
