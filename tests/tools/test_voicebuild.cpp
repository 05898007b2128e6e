// Package writer: write-then-read round trips through the facade's
// initialisation, quantisation quality, the format limits the writer
// enforces, and the vxn-voice command line on good and corrupted packages.
#include <gtest/gtest.h>

#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "include/vxn_engine.h"
#include "lang/VXN_language.h"
#include "tests/engine/package_fixture.h"
#include "tools/voicebuild/VXN_package_writer.h"
#include "tools/voicebuild/VXN_synthetic_voice.h"

namespace {

using namespace vxn::voice;
using vxn_test::read_bytes;
using vxn_test::TempDir;
using vxn_test::write_bytes;

// Reference walk of an in-memory tree with a table-driven matcher.
bool ref_match(const std::string& s, const std::string& p) {
  std::vector<std::vector<char>> m(s.size() + 1, std::vector<char>(p.size() + 1, 0));
  m[0][0] = 1;
  for (size_t j = 1; j <= p.size(); j++) m[0][j] = p[j - 1] == '*' && m[0][j - 1];
  for (size_t i = 1; i <= s.size(); i++)
    for (size_t j = 1; j <= p.size(); j++)
      m[i][j] = p[j - 1] == '*' ? (m[i - 1][j] || m[i][j - 1])
                                : ((p[j - 1] == '?' || p[j - 1] == s[i - 1]) && m[i - 1][j - 1]);
  return m[s.size()][p.size()];
}

int ref_leaf(const Voice& v, const Tree& t, const std::string& label) {
  if (t.nodes.empty()) return 1;
  const Node* n = &t.nodes[0];
  for (;;) {
    bool yes = false;
    for (const std::string& p : v.questions[n->question].patterns) yes = yes || ref_match(label, p);
    const int next = yes ? n->yes : n->no;
    if (yes ? n->yes_is_leaf : n->no_is_leaf) return next;
    for (const Node& c : t.nodes)
      if (c.id == next) n = &c;
  }
}

const Tree* ref_tree(const Stream& st, int state, size_t* index) {
  for (size_t i = 0; i < st.trees.size(); i++)
    if (st.trees[i].state == state) {
      *index = i;
      return &st.trees[i];
    }
  return nullptr;
}

class VoiceDir {
 public:
  void install(const Voice& voice, PackageReport* report, Voice* deq) {
    const std::string model = dir_.path() + "/Model/EnUS";
    ASSERT_EQ(system(("mkdir -p '" + model + "'").c_str()), 0);
    std::string error;
    ASSERT_TRUE(write_package(voice, model + "/vxnf_usen_24_256", report, &error, deq)) << error;
  }
  std::string base() const { return dir_.path() + "/"; }

 private:
  TempDir dir_;
};

TEST(RoundTrip, EveryLookupReturnsTheQuantisedPdfTheTreeSelects) {
  SyntheticOptions o;
  o.leaves = 60;
  o.duration_leaves = 80;
  const Voice voice = make_synthetic_voice(o);
  VoiceDir dir;
  PackageReport rep;
  Voice deq;
  dir.install(voice, &rep, &deq);

  CVxnSynth synth;
  ASSERT_EQ(synth.VXNSetLanguage(1, 0), 1);
  synth.VXNModelSelect(0);
  std::string base = dir.base();
  g_nStatePrint = 3;
  ASSERT_EQ(synth.VXNInit(&base[0], &base[0]), 1);
  g_nStatePrint = 2;
  VXN_ModelSet* ms = &synth.Language()->engine.ms;
  ASSERT_EQ(ms->nstate, 5);
  ms->language = 9;  // Chinese: no voicing classes, no p-sound rule
  std::mt19937 rng(5);
  for (int n = 0; n < 150; n++) {
    const std::string label = make_synthetic_label(rng);
    // Duration: the selected pdf's quantised means, smoothed.
    float dm[8], dv[8];
    VXN_ModelSet_get_duration(ms, label.c_str(), dm, dv);
    const Pdf& dp = deq.duration.pdfs[0][ref_leaf(voice, voice.duration.trees[0], label) - 1];
    const std::vector<float>& m = dp.mean;
    const float smooth[5] = {(m[0] + m[1]) / 2, (m[0] + m[1] + m[2]) / 3, (m[1] + m[2] + m[3]) / 3,
                             (m[2] + m[3] + m[4]) / 3, (m[3] + m[4]) / 2};
    for (int s = 0; s < 5; s++) {
      ASSERT_FLOAT_EQ(dm[s + 2], smooth[s]) << label;
      ASSERT_EQ(dv[s + 2], dp.vari[s]);
    }
    for (int s = 0; s < 3; s++) {
      const int v = voice.streams[s].vector_length;
      std::vector<float> mean(v), vari(v);
      for (int state = 2; state <= 6; state++) {
        float w = -1;
        VXN_ModelSet_get_parameter(ms, label.c_str(), mean.data(), vari.data(), &w, s, state);
        size_t t = 0;
        const Tree* tree = ref_tree(voice.streams[s], state, &t);
        ASSERT_NE(tree, nullptr);
        const Pdf& p = deq.streams[s].pdfs[t][ref_leaf(voice, *tree, label) - 1];
        for (int d = 0; d < v; d++) {
          ASSERT_EQ(mean[d], p.mean[d]) << label << " stream " << s << " state " << state;
          ASSERT_EQ(vari[d], p.vari[d]);
        }
        if (s == 1) {
          ASSERT_FLOAT_EQ(w, p.msd);
        }
      }
    }
  }
  float gm[35], gv[35];
  VXN_ModelSet_get_gv(ms, gm, gv, 0, synth.Language()->engine.gv_iw[0]);
  for (int d = 0; d < 35; d++) EXPECT_FLOAT_EQ(gm[d], voice.gv[0].mean[d]);
  synth.VXNFree();
}

TEST(Writer, QuantisationErrorIsSmallRelativeToSpread) {
  SyntheticOptions o;
  o.leaves = 300;  // 1500 values per dimension: more than the 256 entries
  o.static_length[0] = 5;
  TempDir dir;
  PackageReport rep;
  Voice deq;
  std::string error;
  ASSERT_TRUE(write_package(make_synthetic_voice(o), dir.path() + "/v", &rep, &error, &deq)) << error;
  for (int s = 0; s < 3; s++) {
    std::printf("stream %d: mean error %.5f avg %.5f max, variance %.5f avg %.5f max\n", s,
                rep.streams[s].mean_error.mean_rel, rep.streams[s].mean_error.max_rel,
                rep.streams[s].vari_error.mean_rel, rep.streams[s].vari_error.max_rel);
    EXPECT_GT(rep.streams[s].mean_error.max_rel, 0.0) << s;  // really quantised
    EXPECT_LT(rep.streams[s].mean_error.mean_rel, 0.002) << s;
    EXPECT_LT(rep.streams[s].mean_error.max_rel, 0.05) << s;
    EXPECT_LT(rep.streams[s].vari_error.max_rel, 0.05) << s;
    EXPECT_EQ(rep.streams[s].pdfs, 1500);
    EXPECT_EQ(rep.streams[s].trees, 5);
  }
  EXPECT_EQ(rep.duration.mean_error.max_rel, 0.0);  // 60 pdfs: every value is an entry
  EXPECT_EQ(rep.bytes_am, read_bytes(dir.path() + "/v.am").size());
  // Each pattern is stored once even when several questions use it.
  EXPECT_LT(rep.patterns, 400);
}

TEST(Writer, RejectsWhatTheFormatCannotHold) {
  const Voice good = vxn_test::single_leaf_voice({5, 5, 5, 5, 5}, {1, 2, 3}, 0.5f);
  TempDir dir;
  auto fails = [&](Voice v, const char* fragment) {
    std::string error;
    EXPECT_FALSE(write_package(v, dir.path() + "/x", nullptr, &error)) << fragment;
    EXPECT_NE(error.find(fragment), std::string::npos) << error;
  };
  Voice v = good;
  v.questions[0].name = std::string(1024, 'q');
  fails(v, "longer than 1023");
  v = good;
  v.questions[0].patterns.push_back("*,*");
  fails(v, "comma");
  v = good;
  v.questions.push_back(v.questions[0]);
  fails(v, "appears twice");
  v = good;
  v.streams[0].trees[0].nodes = {{0, 0, 1, true, 2, true}};
  fails(v, "leaf 2 is outside");
  v = good;
  v.streams[0].trees[0] = {2, {{0, 0, -1, false, 1, true}, {-1, 0, 0, false, 1, true}}, 1};
  fails(v, "two parents or lies on a cycle");
  v = good;
  v.streams[2].trees[4].state = 7;
  fails(v, "no tree for state 6");
  v = good;
  v.duration.vector_length = 6;
  fails(v, "1..5");
  v = good;
  v.streams[1].pdfs[0][0].vari[0] = 0.0f;
  fails(v, "not positive");
  v = good;
  v.streams[0].trees[0] = {2, {{0, 40000, 1, true, 1, true}}, 1};
  v.questions.resize(40001, Question{"", {"*"}});
  for (size_t i = 1; i < v.questions.size(); i++) v.questions[i].name = "q" + std::to_string(i);
  fails(v, "at most 32767");
}

// Runs vxn-voice with arguments; returns the exit status and the output.
int run_tool(const std::string& args, std::string* output) {
  const std::string cmd = std::string(VXN_TEST_BINARY_DIR) + "/bin/vxn-voice " + args + " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return -1;
  char buf[4096];
  output->clear();
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), p)) > 0) output->append(buf, n);
  const int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(VoiceTool, ChecksInspectsAndRejectsCorruptedPackages) {
  if (access((std::string(VXN_TEST_BINARY_DIR) + "/bin/vxn-voice").c_str(), X_OK) != 0)
    GTEST_SKIP() << "vxn-voice is not built (VXN_BUILD_TOOLS=OFF)";
  TempDir dir;
  const std::string stem = dir.path() + "/v";
  std::string out;
  ASSERT_EQ(run_tool("make-test --seed 3 " + stem, &out), 0) << out;
  EXPECT_EQ(run_tool("check " + stem, &out), 0) << out;
  EXPECT_EQ(run_tool("info " + stem, &out), 0);
  EXPECT_NE(out.find("stream 1  vector length 3, multi-space, 5 trees"), std::string::npos) << out;
  EXPECT_EQ(run_tool("tree " + stem + " dur 2", &out), 0);
  EXPECT_NE(out.find("node 0: "), std::string::npos);
  EXPECT_EQ(run_tool("lookup --lang 6 " + stem + " 'a^b-c+d=e@1_1/A:0'", &out), 0);
  EXPECT_NE(out.find("stream 2 state 6 mean"), std::string::npos);

  const std::vector<unsigned char> dt = read_bytes(stem + ".dt");
  std::vector<unsigned char> bad = dt;
  bad[9 + 12 + 8] = 0xFF;  // question index past the table
  bad[9 + 12 + 9] = 0xFF;
  write_bytes(stem + ".dt", bad);
  EXPECT_EQ(run_tool("check " + stem, &out), 1);
  EXPECT_NE(out.find("error [3080] : Question index 65535 is outside"), std::string::npos) << out;
  write_bytes(stem + ".dt", std::vector<unsigned char>(dt.begin(), dt.begin() + dt.size() / 2));
  EXPECT_EQ(run_tool("check " + stem, &out), 1);
  EXPECT_NE(out.find("error [3"), std::string::npos) << out;
  write_bytes(stem + ".dt", dt);
  std::vector<unsigned char> pt = read_bytes(stem + ".pt");
  pt[pt.size() - 1] ^= 0x55;  // the last entry loses its ','
  write_bytes(stem + ".pt", pt);
  EXPECT_EQ(run_tool("check " + stem, &out), 1);
  EXPECT_NE(out.find("error [3040]"), std::string::npos) << out;

  EXPECT_EQ(run_tool("", &out), 2);
  EXPECT_EQ(run_tool("frobnicate", &out), 2);
  EXPECT_NE(out.find("unknown command frobnicate"), std::string::npos);
  EXPECT_EQ(run_tool("tree " + stem + " 7 2", &out), 2);
  EXPECT_EQ(run_tool("check " + dir.path() + "/missing", &out), 1);
  EXPECT_EQ(run_tool("--help", &out), 0);
  EXPECT_NE(out.find("exit status"), std::string::npos);
}

}  // namespace
