// Model training pieces (observations, forward-backward and Viterbi passes,
// clustering, parameter generation) and a whole training run on a small
// corpus made in the test.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "engine/VXN_code.h"
#include "engine/VXN_engine.h"
#include "tools/voicebuild/VXN_package_writer.h"
#include "tools/voicebuild/analysis/VXN_wav.h"
#include "tools/voicebuild/train/VXN_cluster.h"
#include "tools/voicebuild/train/VXN_hmm.h"
#include "tools/voicebuild/train/VXN_mlpg.h"
#include "tools/voicebuild/train/VXN_trainer.h"

namespace {

using namespace vxn::train;
using vxn::analysis::Features;
using vxn::analysis::kUnvoiced;

TEST(Observations, DeltasAndLogF0MaskFollowTheWindows) {
  Features f;
  f.frames = 4;
  f.mcep.assign(4 * 35, 0.0f);
  for (int t = 0; t < 4; ++t) f.mcep[t * 35] = (float)(t * t);
  f.bap.assign(4 * 5, 0.0f);
  f.lf0 = {kUnvoiced, 5.0f, 5.2f, 5.3f};
  Observations o;
  make_observations(f, &o);
  EXPECT_FLOAT_EQ(o.x[0][1 * 105 + 35], 0.5f * (4.0f - 0.0f));   // delta at t = 1
  EXPECT_FLOAT_EQ(o.x[0][1 * 105 + 70], 0.0f - 2.0f + 4.0f);    // delta-delta at t = 1
  EXPECT_FLOAT_EQ(o.x[0][0 * 105 + 35], 0.5f * (1.0f - 0.0f));   // the edge repeats frame 0
  EXPECT_EQ(o.voiced, (std::vector<std::uint8_t>{0, 1, 1, 1}));
  // Deltas of log F0 only where both neighbours are voiced.
  EXPECT_EQ(o.lf0_mask, (std::vector<std::uint8_t>{0, 1, 7, 1}));
  EXPECT_NEAR(o.x[1][2 * 3 + 1], 0.15f, 1e-6);
}

// Two states' worth of models on a one-dimensional signal: every stream but
// the spectrum carries nothing.
Pools two_pools(double mean_a, double mean_b) {
  Pools p;
  for (int k = 0; k < kStreams; ++k) {
    for (double m : {mean_a, mean_b}) {
      Gaussian g;
      g.mean.assign(kWidth[k], 0.0);
      g.vari.assign(kWidth[k], 1.0);
      if (k == 0) g.mean[0] = m;
      g.weight = 0.5;
      g.prepare();
      p.pdfs[k].push_back(g);
    }
  }
  return p;
}

TEST(Passes, ForwardBackwardAndViterbiFindTheChangeOfModel) {
  std::mt19937 gen(11);
  std::normal_distribution<double> g(0.0, 0.3);
  Features f;
  f.frames = 60;
  f.mcep.assign(60 * 35, 0.0f);
  f.bap.assign(60 * 5, 0.0f);
  f.lf0.assign(60, kUnvoiced);
  for (int t = 0; t < 60; ++t) f.mcep[t * 35] = (float)((t < 25 ? 0.0 : 4.0) + g(gen));
  Observations o;
  make_observations(f, &o);
  // Two labels of five states: the first label's states use pdf 0, the second's pdf 1.
  Composite c;
  for (int i = 0; i < 2 * kStates; ++i) {
    StateModel m;
    for (int k = 0; k < kStreams; ++k) m.pdf[k] = i < kStates ? 0 : 1;
    m.self_loop = 0.8;
    c.states.push_back(m);
  }
  c.first = {0, 0};
  c.last = {59, 59};
  const Pools pools = two_pools(0.0, 4.0);
  PassResult r;
  ASSERT_TRUE(forward_backward(c, pools, o, &r));
  double frames = 0.0, first_label = 0.0;
  for (int s = 0; s < 2 * kStates; ++s) {
    frames += r.frames[s];
    if (s < kStates) first_label += r.frames[s];
    EXPECT_NEAR(r.stats[0][s].occ, r.frames[s], 1e-9);
  }
  EXPECT_NEAR(frames, 60.0, 1e-3);  // posteriors below 1e-5 are dropped
  EXPECT_NEAR(first_label, 25.0, 1.0);
  EXPECT_EQ(r.best_label[10], 0);
  EXPECT_EQ(r.best_label[40], 1);
  std::vector<int> state;
  double ll = 0.0;
  ASSERT_TRUE(viterbi(c, pools, o, &state, &ll));
  EXPECT_LE(ll, r.log_likelihood);
  int boundary = 0;
  while (boundary < 60 && state[boundary] < kStates) ++boundary;
  EXPECT_NEAR(boundary, 25, 1);
  // Labels held to frames away from the change: the passes follow the band.
  c.first = {0, 40};
  c.last = {39, 59};
  ASSERT_TRUE(viterbi(c, pools, o, &state, &ll));
  EXPECT_EQ(state[39] / kStates, 0);
  EXPECT_EQ(state[40] / kStates, 1);
  // Fewer frames than states, or bands that leave a frame without a label: no path.
  c.first = {0, 50};
  c.last = {30, 59};
  EXPECT_FALSE(forward_backward(c, pools, o, &r));
  f.frames = 9;
  make_observations(f, &o);
  c.first = {0, 0};
  c.last = {8, 8};
  EXPECT_FALSE(viterbi(c, pools, o, &state, &ll));
}

TEST(Clustering, SplitsOnTheFieldThatMattersAndStopsByDescriptionLength) {
  ClusterInput in;
  in.kind = StatKind::kGaussian;
  in.dims = 1;
  in.values_per_field = {3, 2};
  in.floor = {1e-4};
  in.min_occupancy = 1.0;
  std::mt19937 gen(13);
  std::normal_distribution<double> g(0.0, 0.1);
  for (int i = 0; i < 60; ++i) {
    const int a = i % 3, b = (i / 3) % 2;
    in.item_values.push_back({a, b});
    // Twenty frames an item, mean 1 when field 0 has value 2.
    double sum = 0.0, sq = 0.0;
    for (int t = 0; t < 20; ++t) {
      const double x = (a == 2 ? 1.0 : 0.0) + g(gen);
      sum += x;
      sq += x * x;
    }
    in.stats.insert(in.stats.end(), {20.0f, (float)sum, (float)sq});
  }
  const std::vector<ClusterQuestion> qs = {{1, {1}}, {0, {0}}, {0, {2}}, {0, {0, 1}}};
  ClusterResult r;
  grow_tree(in, qs, &r);
  ASSERT_FALSE(r.nodes.empty());
  EXPECT_TRUE(r.nodes[0].question == 2 || r.nodes[0].question == 3);
  EXPECT_EQ(r.leaf_stats.size(), 2u) << "the noise fields are not worth their parameters";
  EXPECT_GT(r.log_likelihood_leaves, r.log_likelihood_root);
  for (int i = 0; i < 60; ++i)
    EXPECT_EQ(r.leaf_of_item[i], r.leaf_of_item[i % 3 == 2 ? 2 : 0]) << i;
  in.mdl_factor = 1e6;
  grow_tree(in, qs, &r);
  EXPECT_TRUE(r.nodes.empty());
  EXPECT_EQ(r.leaf_stats.size(), 1u);
  EXPECT_DOUBLE_EQ(r.log_likelihood_root, r.log_likelihood_leaves);
}

TEST(Generation, FollowsMeansAndDeltasAndLeavesUnvoicedFramesOut) {
  const int T = 12;
  std::vector<double> mean(T * 3, 0.0), vari(T * 3, 1.0);
  // A ramp of slope 0.5 whose deltas say so.
  for (int t = 0; t < T; ++t) {
    mean[t * 3] = 0.5 * t;
    mean[t * 3 + 1] = 0.5;
  }
  std::vector<double> x = generate(mean, vari, 1, {});
  for (int t = 0; t < T; ++t) EXPECT_NEAR(x[t], 0.5 * t, 1e-9);
  // A step in the static means is smoothed by the delta and delta-delta terms.
  for (int t = 0; t < T; ++t) {
    mean[t * 3] = t < 6 ? 0.0 : 1.0;
    mean[t * 3 + 1] = 0.0;
    vari[t * 3 + 1] = 0.01;
  }
  x = generate(mean, vari, 1, {});
  EXPECT_GT(x[5], 0.1);
  EXPECT_LT(x[6], 0.9);
  for (int t = 1; t < T; ++t) EXPECT_GE(x[t], x[t - 1] - 1e-9);
  std::vector<char> voiced(T, 1);
  voiced[4] = voiced[5] = 0;
  for (int t = 0; t < T; ++t) mean[t * 3] = 3.0;
  x = generate(mean, vari, 1, voiced);
  EXPECT_EQ(x[4], 0.0);
  EXPECT_EQ(x[5], 0.0);
  EXPECT_NEAR(x[3], 3.0, 1e-9);
  EXPECT_NEAR(x[6], 3.0, 1e-9);
}

// ------------------------------------------------------------ whole training

const double kPi = 3.14159265358979323846;

// One "phone": a voiced vowel (pulses at f0 through a resonance), a hiss or a
// near silence, 16-bit scale.
void add_phone(const std::string& p, double seconds, std::mt19937& gen, std::vector<float>* x) {
  const double rate = 16000.0;
  std::normal_distribution<double> g(0.0, 1.0);
  const bool vowel = p == "aa" || p == "a" || p == "oo";
  const double f0 = p == "aa" ? 120.0 : p == "a" ? 140.0 : 105.0;
  const double formant = p == "aa" ? 800.0 : p == "a" ? 650.0 : 450.0;
  const double r = std::exp(-kPi * 150.0 / rate), w = 2.0 * kPi * formant / rate;
  double y1 = 0.0, y2 = 0.0, phase = 0.0;
  for (int i = 0; i < (int)(seconds * rate); ++i) {
    double e;
    if (vowel) {
      phase += f0 / rate;
      e = phase >= 1.0 ? 1.0 : 0.0;
      if (phase >= 1.0) phase -= 1.0;
      e = e * 3000.0 + 3.0 * g(gen);
      const double y = e + 2.0 * r * std::cos(w) * y1 - r * r * y2;
      y2 = y1;
      y1 = y;
      x->push_back((float)y);
    } else {
      x->push_back((float)((p == "s" ? 900.0 : 4.0) * g(gen)));
    }
  }
}

TEST(Training, SmallCorpusTrainsIntoAPackageTheEngineReadsAndThatMeasuresWell) {
  const std::string dir = std::string(VXN_TEST_BINARY_DIR) + "/test_train_whole";
  std::system(("rm -rf '" + dir + "'").c_str());
  mkdir(dir.c_str(), 0777);
  struct Script {
    std::vector<std::string> phones;
    std::string prompt;
  };
  const std::vector<Script> scripts = {
      {{"pau", "aa", "s", "a", "pau"}, "+аса"},   {{"pau", "s", "aa", "s", "pau"}, "с+ас"},
      {{"pau", "oo", "s", "a", "pau"}, "+оса"},   {{"pau", "a", "s", "oo", "pau"}, "ас+о"},
      {{"pau", "s", "oo", "s", "a", "pau"}, "с+оса"}, {{"pau", "aa", "s", "oo", "pau"}, "+асо"},
  };
  std::mt19937 gen(17);
  std::vector<CorpusUtterance> corpus;
  for (int rep = 0; rep < 3; ++rep) {
    for (std::size_t u = 0; u < scripts.size(); ++u) {
      CorpusUtterance cu;
      cu.id = "u" + std::to_string(rep) + std::to_string(u);
      cu.prompt = scripts[u].prompt;
      cu.wav_path = dir + "/" + cu.id + ".wav";
      cu.rate = 16000;
      std::vector<float> x;
      std::vector<TimedPhone> phones;
      for (const std::string& p : scripts[u].phones) {
        const double len = p == "pau" ? 0.2 : 0.12 + 0.02 * rep;
        const double start = x.size() / 16000.0;
        add_phone(p, len, gen, &x);
        phones.push_back({p, start, x.size() / 16000.0});
      }
      ASSERT_TRUE(vxn::analysis::write_wav(cu.wav_path, x.data(), x.size(), 16000, nullptr));
      std::string error;
      ASSERT_TRUE(phone_labels(phones, cu.prompt, russian_phone_set(), &cu.labels, nullptr, &error)) << error;
      corpus.push_back(cu);
    }
  }
  TrainOptions opt;
  opt.held_out_every = 6;
  opt.mono_iterations = 3;
  opt.tied_iterations = 1;
  opt.margin_frames = 10;
  opt.cache_dir = dir;
  opt.classes.classes.push_back({"Vowel", {"aa", "a", "oo"}});
  vxn::voice::Voice voice;
  TrainReport report;
  std::vector<MeasureUtterance> held_out;
  std::string error;
  ASSERT_TRUE(train_voice(corpus, opt, &voice, &report, &held_out, &error)) << error;
  EXPECT_EQ(report.train_utterances, 15);
  EXPECT_EQ(report.held_out_utterances, 3);
  EXPECT_EQ(held_out.size(), 3u);
  EXPECT_EQ(report.monophones, 5);  // pau, s, aa, a, oo
  EXPECT_EQ(report.trees.size(), 16u);
  // Embedded re-estimation never lowers the likelihood (EM).
  std::vector<double> ll;
  for (const StageReport& s : report.stages)
    if (s.name.rfind("embedded re-estimation", 0) == 0) ll.push_back(s.log_likelihood);
  ASSERT_EQ(ll.size(), 3u);
  EXPECT_GE(ll[1], ll[0] - 1e-6);
  EXPECT_GE(ll[2], ll[1] - 1e-6);

  // The package the engine reads back, and the voice as it reads it.
  const std::string stem = dir + "/voice";
  vxn::voice::Voice dequantised;
  ASSERT_TRUE(vxn::voice::write_package(voice, stem, nullptr, &error, &dequantised)) << error;
  VXN_Engine engine;
  VXN_Engine_initialize(&engine, 3);
  CVxnCode reader;
  std::string qt = stem + ".qt", pt = stem + ".pt", am = stem + ".am", dt = stem + ".dt";
  EXPECT_TRUE(reader.VXN_Code_load_question_from_fn(&qt[0], &pt[0]) &&
              reader.VXN_Code_load_parameter_from_fn(&engine, &am[0], &dt[0], 1));
  EXPECT_EQ(engine.ms.nstate, 5);
  EXPECT_TRUE(VXN_ModelSet_use_gv(&engine.ms, 0));
  float dm[8] = {0}, dv[8] = {0};
  VXN_ModelSet_get_duration(&engine.ms, held_out[0].labels[1].label.c_str(), dm, dv);
  float sum = 0.0f;
  for (int s = 2; s < 7; ++s) sum += dm[s];
  EXPECT_GT(sum, 10.0f) << "a 0.12 s vowel lasts more than ten frames";
  VXN_Engine_clear(&engine);

  Measures m;
  ASSERT_TRUE(measure_voice(dequantised, held_out, opt.margin_frames, false, &m, &error)) << error;
  EXPECT_EQ(m.utterances, 3);
  EXPECT_GT(m.frames, 50);
  EXPECT_LT(m.mcd_db, 6.0);
  EXPECT_LT(m.vuv_error, 0.2);
  EXPECT_LT(m.lf0_rmse, 0.1);
}

}  // namespace
