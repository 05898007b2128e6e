// Hybrid intonation end to end on the US English female voice (built by
// scripts/build-voices.sh) with the small prosody database that
// scripts/build-prosody-db.sh --short builds from tests/data/prosody_sentences.txt
// (both run as CTest fixtures before these tests). The sentences spoken here
// are sentences of that corpus, so every diphone has units.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/VXN_engine.h"
#include "include/vxn_engine.h"
#include "lang/VXN_language.h"

namespace {

const std::string kBuild = VXN_TEST_BINARY_DIR;
const std::string kVoice = kBuild + "/voice/";
const std::string kStem = "vxnf_usen_24_256";
const std::string kDatabase = kBuild + "/pd-short/" + kStem + ".pd";

bool exists(const std::string& p) {
  struct stat st;
  return stat(p.c_str(), &st) == 0;
}

// A voice directory that links the built voice and holds its own database.
class HybridVoice {
 public:
  enum Kind { kGood, kCorrupt, kRaised };
  explicit HybridVoice(Kind kind) {
    char tmpl[] = "/tmp/vxn_hybridXXXXXX";
    dir_ = std::string(mkdtemp(tmpl)) + "/";
    const std::string model = dir_ + "Model/EnUS/";
    std::system(("mkdir -p '" + model + "' && ln -s '" + kVoice + "Lib' '" + dir_ + "Lib'").c_str());
    for (const char* ext : {".am", ".dt", ".qt", ".pt"})
      std::system(("ln -s '" + kVoice + "Model/EnUS/" + kStem + ext + "' '" + model + "'").c_str());
    std::ifstream in(kDatabase, std::ios::binary);
    std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The last unit's phone index past the inventory.
    if (kind == kCorrupt) image[image.size() - 9] = (char)0xff;
    if (kind == kRaised) raise_contours(&image);
    std::ofstream(model + kStem + ".pd", std::ios::binary) << image;
  }
  // Every voiced contour point 0.3 higher in log F0 (a third of an octave).
  static void raise_contours(std::string* image) {
    auto i32 = [&](size_t at) {
      int32_t v;
      std::memcpy(&v, &(*image)[at], 4);
      return (size_t)v;
    };
    size_t at = 3 + (unsigned char)(*image)[1] + 256 * (unsigned char)(*image)[2] + 12;
    for (int set = 0; set < 2; set++) at += 8 + 4 * i32(at) * i32(at + 4);
    const size_t values = i32(at) * i32(at + 4);
    at += 8;
    for (size_t k = 0; k < values; k++, at += 4) {
      float v;
      std::memcpy(&v, &(*image)[at], 4);
      if (v > 0.0f) v += 0.3f;
      std::memcpy(&(*image)[at], &v, 4);
    }
  }
  ~HybridVoice() { std::system(("rm -rf '" + dir_ + "'").c_str()); }
  char* path() { return &dir_[0]; }

 private:
  std::string dir_;
};

struct Generated {
  std::vector<double> lf0;  // generated log F0 of the voiced frames
  std::string log;
  int hybrid_active = 0;
};

// Initialises the engine on the voice and generates the parameters of the
// first piece of text, as the synthesis driver does.
Generated generate(HybridVoice* voice, int hybrid, const std::string& text) {
  Generated out;
  CVxnSynth synth;
  synth.VXNSetLanguage(1, 0);
  synth.VXNSetHybrid(hybrid);
  synth.VXNModelSelect(0);
  synth.VXNSetPrintLevel(0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(synth.VXNInit(voice->path(), voice->path()), 1);
  CVxnLanguage* host = synth.Language();
  VXN_Engine* engine = &host->engine;
  out.hybrid_active = engine->hybrid_active;
  std::vector<char> buffer(text.begin(), text.end());
  buffer.resize(text.size() + 256, '\0');
  host->LangRefreshInput();
  host->LangTextPreprocessFirst(buffer.data());
  EXPECT_GT(host->LangTextAnalyze(buffer.data()), 0);
  host->SetLabel();
  VXN_Engine_create_sstream(engine, host->GetNormalPrev() == 0, host->GetNormalCur() == 0);
  EXPECT_EQ(VXN_Engine_create_pstream(engine), 1);
  for (int u = 0; u < engine->pss.pstream[1].length; u++)
    out.lf0.push_back(VXN_PStreamSet_get_parameter(&engine->pss, 1, u, 0));
  synth.VXNRefresh();
  synth.VXNFree();
  out.log = testing::internal::GetCapturedStderr();
  synth.VXNSetPrintLevel(2);
  return out;
}

// Mean absolute difference in semitones of two voiced contours, each
// stretched over the same 100 points.
double contour_distance(const std::vector<double>& a, const std::vector<double>& b) {
  double sum = 0.0;
  for (int k = 0; k < 100; k++) {
    const double x = a[(size_t)(k * (a.size() - 1) / 99)], y = b[(size_t)(k * (b.size() - 1) / 99)];
    sum += std::fabs(x - y) * 12.0 / std::log(2.0);
  }
  return sum / 100.0;
}

class SltHybrid : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!exists(kVoice + "Model/EnUS/" + kStem + ".am") || !exists(kDatabase))
      GTEST_SKIP() << "no voice or prosody database in " << kBuild
                   << " (scripts/build-voices.sh, scripts/build-prosody-db.sh --short)";
  }
};

TEST_F(SltHybrid, UnitContoursChangeThePitch) {
  HybridVoice voice(HybridVoice::kGood), raised(HybridVoice::kRaised);
  for (const char* text :
       {"Did the children enjoy the film?", "Please press the red button to open the guide."}) {
    SCOPED_TRACE(text);
    const Generated basic = generate(&voice, 0, text);
    const Generated hybrid = generate(&voice, 1, text);
    EXPECT_EQ(basic.hybrid_active, 0);
    EXPECT_EQ(hybrid.hybrid_active, 1);
    EXPECT_NE(hybrid.log.find("Hybrid info : Hybrid mode\n"), std::string::npos);
    EXPECT_NE(hybrid.log.find("Hybrid info : unit path over"), std::string::npos) << hybrid.log;
    ASSERT_GT(basic.lf0.size(), 50u);
    ASSERT_GT(hybrid.lf0.size(), 50u);
    const double d = contour_distance(basic.lf0, hybrid.lf0);
    EXPECT_GT(d, 0.3) << "semitones";
    // The units' contours are what the generated contour follows: raised
    // units raise it (frames without a unit value keep the model's mean).
    const Generated up = generate(&raised, 1, text);
    ASSERT_EQ(up.lf0.size(), hybrid.lf0.size());
    double shift = 0.0;
    for (size_t t = 0; t < up.lf0.size(); t++) shift += up.lf0[t] - hybrid.lf0[t];
    shift /= (double)up.lf0.size();
    EXPECT_GT(shift, 0.15);
    EXPECT_LT(shift, 0.31);
    std::printf("%s: %.2f semitones from basic mode; raised units raise it by %.3f\n", text, d,
                shift);
  }
}

TEST_F(SltHybrid, CorruptDatabaseSpeaksInBasicMode) {
  HybridVoice good(HybridVoice::kGood), bad(HybridVoice::kCorrupt);
  const std::string text = "Where is the remote control?";
  const Generated basic = generate(&good, 0, text);
  const Generated refused = generate(&bad, 1, text);
  EXPECT_EQ(refused.hybrid_active, 0);
  EXPECT_NE(refused.log.find("error [1070] : Hybrid_LoadingPD: "), std::string::npos)
      << refused.log;
  EXPECT_NE(refused.log.find("Hybrid info : basic mode\n"), std::string::npos);
  EXPECT_EQ(refused.lf0, basic.lf0);
}

}  // namespace
