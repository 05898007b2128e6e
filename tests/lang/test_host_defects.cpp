// What small C hosts ran into: a missing language module, a damaged voice
// package, an engine destroyed without VXNFree, and the label hook that tools
// use to see each piece's labels.
#include <gtest/gtest.h>

#include <stdio.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "engine/VXN_engine.h"
#include "include/vxn_engine.h"
#include "lang/VXN_language.h"
#include "test_module_probe.h"
#include "voice_fixture.h"

namespace {

int g_chunk_calls = 0;
int g_samples = 0;
int g_last_state = -1;

void count_chunks(short*, int count, int state) {
  g_chunk_calls++;
  g_samples += count;
  g_last_state = state;
}

struct LabelLog {
  std::vector<std::vector<std::string>> pieces;
  int skip = 0;
};

int log_labels(const char* const* labels, int count, void* user) {
  LabelLog* log = static_cast<LabelLog*>(user);
  log->pieces.emplace_back(labels, labels + count);
  return log->skip;
}

std::string test_name() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

// A voice directory with a synthetic package for `stem`; with_usen links the
// US English module into its Lib/.
std::string voice_dir(const std::string& stem, bool with_usen) {
  const std::string base = vxn_scratch("defects_" + test_name());
  vxn_make_voice(base, stem, module_dir("Lib"));
  if (with_usen &&
      symlink(VXN_TEST_BINARY_DIR "/voice/Lib/libVXN_lang_usen.so",
              (base + "Lib/libVXN_lang_usen.so").c_str()) != 0)
    perror("symlink");
  return base;
}

int init(void* h, int language, std::string base, std::string* err) {
  VXNSetLanguage(h, language, 0);
  VXNModelSelect(h, 0);
  std::string dict = std::string(VXN_TEST_BINARY_DIR) + "/voice/Dict/";
  testing::internal::CaptureStderr();
  const int result = VXNInit(h, &base[0], &dict[0]);
  *err = testing::internal::GetCapturedStderr();
  return result;
}

TEST(HostDefects, MissingEuropeanModuleIsNamedAndReported) {
  void* h = create();
  std::string err;
  const std::string base = voice_dir("De/vxnf_ge_24_256", false);
  // The return value stays 1; the message names the module and the engine
  // reports that the language cannot read text.
  EXPECT_EQ(init(h, VXN_LANG_GERMAN, base, &err), 1);
  EXPECT_NE(err.find("error [1060] : Cannot load the language module " + base +
                     "Lib/libVXN_lang_ge.so"),
            std::string::npos)
      << err;
  EXPECT_EQ(VXNIsLanguageReady(h), 0);

  const std::string us = voice_dir("EnUS/vxnf_usen_24_256", true);
  EXPECT_EQ(init(h, VXN_LANG_US_ENGLISH, us, &err), 1);
  EXPECT_EQ(err.find("error [1060]"), std::string::npos) << err;
  EXPECT_EQ(VXNIsLanguageReady(h), 1);
  VXNFree(h);
  EXPECT_EQ(VXNIsLanguageReady(h), 0);
  EXPECT_EQ(VXNIsLanguageReady(nullptr), 0);
  destroy(h);
}

// Each of the four files, damaged in turn, is named; a missing one keeps the
// "invalid" message.
TEST(HostDefects, DamagedPackageFileIsNamed) {
  const std::string stem = "EnUS/vxnf_usen_24_256";
  for (const char* ext : {".qt", ".pt", ".am", ".dt"}) {
    SCOPED_TRACE(ext);
    const std::string base = voice_dir(stem, false);
    const std::string path = base + "Model/" + stem + ext;
    FILE* f = fopen(path.c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    fseek(f, 0, SEEK_END);
    const long size = ftell(f);
    fclose(f);
    // Cut the file short past its first bytes: a header that promises more.
    ASSERT_EQ(truncate(path.c_str(), size > 16 ? size / 2 : 3), 0);
    void* h = create();
    std::string err;
    EXPECT_EQ(init(h, VXN_LANG_US_ENGLISH, base, &err), -1);
    EXPECT_NE(err.find("error [1040] : The model file " + base + "Model/" + stem + ext +
                       " is damaged.\n"),
              std::string::npos)
        << err;
    EXPECT_EQ(err.find("error [1030]"), std::string::npos) << err;
    destroy(h);
  }
  const std::string base = voice_dir(stem, false);
  ASSERT_EQ(unlink((base + "Model/" + stem + ".dt").c_str()), 0);
  void* h = create();
  std::string err;
  EXPECT_EQ(init(h, VXN_LANG_US_ENGLISH, base, &err), -1);
  EXPECT_NE(err.find("error [1030] : Model name or path is invalid.\n"), std::string::npos);
  EXPECT_EQ(err.find("error [1040]"), std::string::npos);
  destroy(h);
}

// destroy on an engine that still holds a language releases the module
// object and closes the library (the probe sees the module's release entry).
TEST(HostDefects, DestroyReleasesWhatVxnFreeWould) {
  ModuleProbe probe(module_dir("Lib") + "libVXN_lang_ch.so");
  ASSERT_TRUE(probe.ok());
  void* h = create();
  std::string err;
  ASSERT_EQ(init(h, VXN_LANG_CHINESE, voice_dir("Ch/vxnf_ch_24_256", false), &err), 1) << err;
  EXPECT_EQ(probe.live(), 1);
  destroy(h);
  EXPECT_EQ(probe.live(), 0);
  EXPECT_NE(probe.calls().find("destroy;"), std::string::npos);
}

// The label hook sees every piece's labels before synthesis; asking to skip
// leaves only the end notice.
TEST(HostDefects, LabelCallbackReportsPiecesAndCanSkipSynthesis) {
  void* h = create();
  std::string err;
  ASSERT_EQ(init(h, VXN_LANG_US_ENGLISH, voice_dir("EnUS/vxnf_usen_24_256", true), &err), 1);
  VXNSetSamplingRate(h, 24000);
  VXNSetMemory(h, 2400, 4);
  VXNSetStreamCallback(h, count_chunks);
  LabelLog log;
  VXNSetLabelCallback(h, log_labels, &log);
  unsigned char text[] = "Good morning. See you soon.";
  g_chunk_calls = g_samples = 0;
  ASSERT_EQ(VXNStartStreamingPlayUtf8(h, text, (int)sizeof(text) - 1, 0, 0), 1);
  VXNRefresh(h);
  ASSERT_EQ(log.pieces.size(), 2u);
  for (const auto& piece : log.pieces) {
    ASSERT_GE(piece.size(), 3u);
    EXPECT_NE(piece.front().find("-pau+"), std::string::npos) << piece.front();
  }
  EXPECT_NE(log.pieces[0][1].find("^pau-g+uh="), std::string::npos) << log.pieces[0][1];
  EXPECT_GT(g_samples, 24000 / 2);

  log.pieces.clear();
  log.skip = 1;
  g_chunk_calls = g_samples = 0;
  ASSERT_EQ(VXNStartStreamingPlayUtf8(h, text, (int)sizeof(text) - 1, 0, 0), 1);
  VXNRefresh(h);
  EXPECT_EQ(log.pieces.size(), 2u);
  EXPECT_EQ(g_samples, 0);
  EXPECT_EQ(g_chunk_calls, 1);
  EXPECT_EQ(g_last_state, VXN_CHUNK_END);

  // Switched off again: no more reports.
  VXNSetLabelCallback(h, nullptr, &log);
  log.pieces.clear();
  ASSERT_EQ(VXNStartStreamingPlayUtf8(h, text, (int)sizeof(text) - 1, 0, 0), 1);
  EXPECT_TRUE(log.pieces.empty());
  destroy(h);
}

TEST(LanguageTable, CodesNamesAndStems) {
  EXPECT_STREQ(VXNLanguageCode(VXN_LANG_US_ENGLISH), "en_US");
  EXPECT_STREQ(VXNLanguageName(VXN_LANG_NORWEGIAN), "NORWEIGIAN");
  EXPECT_EQ(VXNLanguageCode(18), nullptr);
  EXPECT_EQ(VXNLanguageName(-1), nullptr);
  for (int id = 0; id < 18; id++) EXPECT_EQ(VXNLanguageId(VXNLanguageCode(id)), id) << id;
  EXPECT_EQ(VXNLanguageId("en-gb"), VXN_LANG_UK_ENGLISH);
  EXPECT_EQ(VXNLanguageId("EN_au"), VXN_LANG_AU_ENGLISH);
  EXPECT_EQ(VXNLanguageId("en"), VXN_LANG_US_ENGLISH);
  EXPECT_EQ(VXNLanguageId("de"), VXN_LANG_GERMAN);
  EXPECT_EQ(VXNLanguageId("nn_NO"), VXN_LANG_NORWEGIAN);
  EXPECT_EQ(VXNLanguageId("no"), VXN_LANG_NORWEGIAN);
  EXPECT_EQ(VXNLanguageId("e"), -1);
  EXPECT_EQ(VXNLanguageId("en_XX"), -1);
  EXPECT_EQ(VXNLanguageId(""), -1);
  EXPECT_EQ(VXNLanguageId(nullptr), -1);

  char stem[64] = "unchanged";
  EXPECT_EQ(VXNVoiceStem(VXN_LANG_FRENCH, 1, stem, sizeof(stem)), 1);
  EXPECT_STREQ(stem, "Fr/vxnm_fr_24_256");
  EXPECT_EQ(VXNVoiceStem(VXN_LANG_UK_ENGLISH, 3, stem, sizeof(stem)), 1);
  EXPECT_STREQ(stem, "EnAU/vxnm_auen_24_256");
  EXPECT_EQ(VXNVoiceStem(VXN_LANG_FRENCH, 2, stem, sizeof(stem)), 0);
  EXPECT_EQ(VXNVoiceStem(18, 0, stem, sizeof(stem)), 0);
  EXPECT_STREQ(stem, "EnAU/vxnm_auen_24_256");
  EXPECT_EQ(VXNVoiceStem(VXN_LANG_US_ENGLISH, 0, stem, 8), 0);  // does not fit
}

}  // namespace
