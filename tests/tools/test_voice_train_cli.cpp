// vxn-voice train from the command line: a small corpus of phone alignments
// trains into a complete package with its description; a broken corpus or a
// bad option stops before anything is written. vxn-voice label-corpus gives
// a corpus our Russian module's labels, timed from its phone alignments.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tools/voicebuild/analysis/VXN_wav.h"

namespace {

std::string run(const std::string& args, int* status) {
  const std::string cmd = std::string(VXN_TEST_BINARY_DIR) + "/bin/vxn-voice " + args + " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), p)) > 0) out.append(buf, n);
  const int rc = pclose(p);
  *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return out;
}

bool exists(const std::string& p) { return access(p.c_str(), F_OK) == 0; }

std::string slurp(const std::string& path) {
  std::string s;
  FILE* fp = std::fopen(path.c_str(), "r");
  if (!fp) return s;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), fp)) > 0) s.append(buf, n);
  std::fclose(fp);
  return s;
}

// A corpus of six utterances "pau aa s a pau" / "pau s aa s pau" at 16 kHz
// with festvox-style phone alignments.
std::string make_corpus(const std::string& name) {
  const std::string dir = std::string(VXN_TEST_BINARY_DIR) + "/" + name;
  std::system(("rm -rf '" + dir + "'").c_str());
  for (const char* d : {"", "/etc", "/wav", "/lab"}) mkdir((dir + d).c_str(), 0777);
  std::mt19937 gen(3);
  std::normal_distribution<double> g(0.0, 1.0);
  std::string prompts;
  for (int u = 0; u < 6; ++u) {
    const bool first = u % 2 == 0;
    const std::vector<std::string> phones = first ? std::vector<std::string>{"pau", "aa", "s", "a", "pau"}
                                                  : std::vector<std::string>{"pau", "s", "aa", "s", "pau"};
    std::vector<float> x;
    std::string lab = "#\n";
    double phase = 0.0;
    for (const std::string& p : phones) {
      const int n = p == "pau" ? 3200 : 2400;
      for (int i = 0; i < n; ++i) {
        if (p == "aa" || p == "a") {
          phase += (p == "aa" ? 120.0 : 140.0) / 16000.0;
          const bool pulse = phase >= 1.0;
          if (pulse) phase -= 1.0;
          x.push_back(pulse ? 6000.0f : (float)(3.0 * g(gen)));
        } else {
          x.push_back((float)((p == "s" ? 900.0 : 4.0) * g(gen)));
        }
      }
      char line[64];
      std::snprintf(line, sizeof(line), "%.5f 125 %s\n", x.size() / 16000.0, p.c_str());
      lab += line;
    }
    const std::string id = "r" + std::to_string(u);
    vxn::analysis::write_wav(dir + "/wav/" + id + ".wav", x.data(), x.size(), 16000, nullptr);
    FILE* fp = std::fopen((dir + "/lab/" + id + ".lab").c_str(), "w");
    std::fputs(lab.c_str(), fp);
    std::fclose(fp);
    prompts += "( " + id + " \"" + (first ? "+аса" : "с+ас") + "\" )\n";
  }
  FILE* fp = std::fopen((dir + "/etc/txt.done.data").c_str(), "w");
  std::fputs(prompts.c_str(), fp);
  std::fclose(fp);
  return dir;
}

class TrainCli : public ::testing::Test {
 protected:
  void SetUp() override {
    if (access((std::string(VXN_TEST_BINARY_DIR) + "/bin/vxn-voice").c_str(), X_OK) != 0)
      GTEST_SKIP() << "vxn-voice is not built (VXN_BUILD_TOOLS=OFF)";
  }
};

TEST_F(TrainCli, SmallCorpusBecomesACompletePackageWithItsDescription) {
  const std::string dir = make_corpus("test_train_cli_good");
  const std::string stem = dir + "/vxnm_ru_24_256";
  int status = 0;
  const std::string out = run("train " + dir + " " + stem +
                                  " --lang ru_RU --index 1 --held-out-every 3 --mono-iterations 2"
                                  " --tied-iterations 1 --margin 10 --source test --licence none",
                              &status);
  ASSERT_EQ(status, 0) << out;
  for (const char* ext : {".qt", ".pt", ".am", ".dt", ".info", ".train.txt"})
    EXPECT_TRUE(exists(stem + ext)) << ext;
  EXPECT_EQ(slurp(stem + ".info"),
            "language: ru_RU\nindex: 1\nstem: vxnm_ru_24_256\nkind: trained\nsource: test\nlicence: none\n");
  EXPECT_NE(out.find("held-out: 2 utterances"), std::string::npos) << out;
  EXPECT_NE(out.find("embedded re-estimation 2"), std::string::npos) << out;
  EXPECT_NE(out.find("duration"), std::string::npos) << out;
  EXPECT_EQ(slurp(stem + ".train.txt"), out.substr(out.find("corpus ")));
  run("check " + stem, &status);
  EXPECT_EQ(status, 0);
}

TEST_F(TrainCli, BrokenCorpusOrBadOptionWritesNothing) {
  const std::string dir = make_corpus("test_train_cli_bad");
  const std::string stem = dir + "/voice";
  std::remove((dir + "/wav/r3.wav").c_str());
  int status = 0;
  std::string out = run("train " + dir + " " + stem, &status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(out.find("wav/r3.wav: missing recording for r3"), std::string::npos) << out;
  for (const char* ext : {".qt", ".pt", ".am", ".dt", ".info"}) EXPECT_FALSE(exists(stem + ext)) << ext;
  out = run("train " + dir + " " + stem + " --mdl -1", &status);
  EXPECT_EQ(status, 2);
  EXPECT_NE(out.find("--mdl takes a positive number, got -1"), std::string::npos) << out;
  out = run("train " + dir + " " + stem + " --labels words", &status);
  EXPECT_EQ(status, 2);
  out = run("train " + dir, &status);
  EXPECT_EQ(status, 2);
}

// Two prompts with festvox-style alignments: one that agrees with what our
// Russian module says, one that does not.
TEST_F(TrainCli, LabelCorpusTimesOurLabelsAndLeavesOutPoorMatches) {
  const std::string bin = VXN_TEST_BINARY_DIR;
  if (access((bin + "/voice/Lib/libVXN_lang_ru.so").c_str(), R_OK) != 0)
    GTEST_SKIP() << "the Russian module is not built";
  const std::string dir = bin + "/test_label_corpus", out = dir + ".out";
  std::system(("rm -rf '" + dir + "' '" + out + "'").c_str());
  for (const char* d : {"", "/etc", "/wav", "/lab"}) mkdir((dir + d).c_str(), 0777);
  FILE* fp = std::fopen((dir + "/etc/txt.done.data").c_str(), "w");
  std::fputs("( a1 \"М+ама мыла раму.\" )\n( a2 \"Мама мыла раму.\" )\n", fp);
  std::fclose(fp);
  const std::vector<std::string> good = {"pau", "m", "aa", "m", "ay", "m", "yy", "l",
                                         "a",   "r", "aa", "m", "u",  "pau"};
  std::string lab = "#\n";
  for (std::size_t i = 0; i < good.size(); ++i)
    lab += std::to_string(0.1 * (i + 1)) + " 125 " + good[i] + "\n";
  fp = std::fopen((dir + "/lab/a1.lab").c_str(), "w");
  std::fputs(lab.c_str(), fp);
  std::fclose(fp);
  fp = std::fopen((dir + "/lab/a2.lab").c_str(), "w");
  std::fputs("#\n0.2 125 pau\n0.5 125 s\n0.6 125 ss\n0.9 125 pau\n", fp);
  std::fclose(fp);
  const std::string map = std::string(VXN_TEST_SOURCE_DIR) + "/tools/voicebuild/train/phones/ru_RU.festvox-map.txt";
  int status = 0;
  std::string said = run("label-corpus --voice-dir " + bin + "/voice --phone-map " + map + " " + dir + " " + out, &status);
  ASSERT_EQ(status, 0) << said;
  EXPECT_NE(said.find("2 utterances: 1 kept, 1 left out"), std::string::npos) << said;
  EXPECT_EQ(slurp(out + "/etc/txt.done.data"), "( a1 \"М+ама мыла раму.\" )\n");
  EXPECT_TRUE(exists(out + "/wav"));
  EXPECT_FALSE(exists(out + "/labels/a2.lab"));
  const std::string report = slurp(out + "/label-report.txt");
  EXPECT_NE(report.find("a1 kept 1.000 12/12/12 0 0 0 2,0,0"), std::string::npos) << report;
  EXPECT_NE(report.find("a2 skipped"), std::string::npos) << report;
  // Every label of a1 takes its festvox phone's times (100 ns units).
  const std::string labels = slurp(out + "/labels/a1.lab");
  std::size_t pos = 0;
  for (std::size_t i = 0; i < good.size(); ++i) {
    long long start = -1, end = -1;
    char phone[256] = {0};
    ASSERT_EQ(std::sscanf(labels.c_str() + pos, "%lld %lld %255s", &start, &end, phone), 3) << labels;
    EXPECT_EQ(start, (long long)i * 1000000) << i;
    EXPECT_EQ(end, (long long)(i + 1) * 1000000) << i;
    pos = labels.find('\n', pos) + 1;
  }
  said = run("label-corpus --voice-dir " + bin + "/voice " + dir + " " + out, &status);
  EXPECT_EQ(status, 2) << said;
  said = run("label-corpus --voice-dir " + bin + "/voice --phone-map " + map + " --min-match 2 " + dir + " " + out, &status);
  EXPECT_EQ(status, 2) << said;
}

}  // namespace
