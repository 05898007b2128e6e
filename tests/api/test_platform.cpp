#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "api/VXN_platform.h"
#include "engine/VXN_engine.h"
#include "include/vxn_engine.h"
#include "lang/VXN_language.h"
#include "tests/lang/voice_fixture.h"

namespace {

const char* const kAtsc = "opt/usr/apps/org.morel.tts-engine-qx-ATSC/";
const char* const kDvb = "opt/usr/apps/org.morel.tts-engine-qx-DVB/";
const char* const kIsdb = "opt/usr/apps/org.morel.tts-engine-qx-DVBISDB/";
const char* const kVoice = "shared/voice/tts/vxn_qx/";

class Platform : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = vxn_scratch(::testing::UnitTest::GetInstance()->current_test_info()->name());
    setenv("VXN_INSTALL_ROOT", root_.c_str(), 1);
  }
  void TearDown() override {
    tts_release();
    unsetenv("VXN_INSTALL_ROOT");
    g_nStatePrint = 2;
  }
  // Installs a region directory with a voice for `stem`.
  void Install(const char* region, const std::string& stem) {
    vxn_make_voice(root_ + region + kVoice, stem, VXN_TEST_MODULE_DIR);
  }
  int Init(const char* language, int speed, int pitch) {
    testing::internal::CaptureStderr();
    const int result = tts_init(language, speed, pitch);
    err_ = testing::internal::GetCapturedStderr();
    return result;
  }
  CVxnLanguage* host() { return g_vxn ? g_vxn->Language() : nullptr; }

  std::string root_;
  std::string err_;
};

TEST(PlatformLevels, BandsMapToSpeedAndPitch) {
  const int us[5] = {-4, 0, 2, 4, 5}, others[5] = {-3, -1, 0, 3, 5}, pitch[5] = {-30, -15, 0, 15, 30};
  for (int level = 1; level <= 15; level++) {
    const int band = (level - 1) / 3;
    EXPECT_EQ(engine_get_speed("en_US", level), us[band]) << level;
    EXPECT_EQ(engine_get_speed("en_GB", level), others[band]) << level;
    EXPECT_EQ(engine_get_pitch(level), pitch[band]) << level;
  }
  for (int level : {0, 20, -3, 16}) {
    EXPECT_EQ(engine_get_speed("en_US", level), 2);
    EXPECT_EQ(engine_get_speed("ko_KR", level), 0);
    EXPECT_EQ(engine_get_pitch(level), 0);
  }
}

TEST_F(Platform, NoInstallDirectoryFails) {
  EXPECT_EQ(Init("en_US", 8, 8), 0);
  EXPECT_NE(err_.find("[ERROR] No TTSEngine installed"), std::string::npos);
  EXPECT_EQ(g_dtv_type, -1);
  EXPECT_EQ(g_vxn, nullptr);
}

TEST_F(Platform, AtscUsEnglishIsHybridUsVoiceAtFactorOnePointThree) {
  Install(kAtsc, "EnUS/vxnf_usen_24_256");
  Install(kDvb, "EnGB/vxnf_uken_24_256");  // ATSC is probed first
  EXPECT_EQ(Init("en_US", 8, 8), 1) << err_;
  EXPECT_EQ(g_dtv_type, 0);
  ASSERT_NE(host(), nullptr);
  EXPECT_EQ(host()->languageId, 1);
  EXPECT_EQ(host()->engine.hybrid_request, 1);
  // Speed index 2: entry 2 + 5 of the facade's speed table.
  EXPECT_FLOAT_EQ(host()->speed, 1.3f);
  EXPECT_FLOAT_EQ(host()->pitch, 0.0f);
  EXPECT_EQ(host()->engine.output_rate, 48000);
  EXPECT_EQ(host()->engine.channels, 1);
  EXPECT_EQ(host()->engine.chunk_size, 16000);
  EXPECT_EQ(host()->engine.chunk_count, 10);
  EXPECT_STREQ(host()->engine.model_name, "EnUS/vxnf_usen_24_256");
}

TEST_F(Platform, DvbUsEnglishIsSpokenWithTheUkVoice) {
  Install(kDvb, "EnGB/vxnf_uken_24_256");
  EXPECT_EQ(Init("en_US", 8, 8), 1) << err_;
  EXPECT_EQ(g_dtv_type, 1);
  ASSERT_NE(host(), nullptr);
  EXPECT_EQ(host()->languageId, 2);
  EXPECT_EQ(host()->engine.hybrid_request, 0);
  // The bands follow the platform code: en_US keeps its own with the UK voice.
  EXPECT_FLOAT_EQ(host()->speed, 1.3f);
  EXPECT_STREQ(host()->engine.model_name, "EnGB/vxnf_uken_24_256");
  EXPECT_EQ(tts_release(), 1);
  EXPECT_EQ(Init("en_GB", 8, 8), 1) << err_;
  EXPECT_FLOAT_EQ(host()->speed, 1.0f);
}

TEST_F(Platform, AtscBritishEnglishUsesTheOtherLanguagesBands) {
  Install(kAtsc, "EnUS/vxnf_usen_24_256");
  EXPECT_EQ(Init("en_GB", 8, 8), 1) << err_;
  ASSERT_NE(host(), nullptr);
  EXPECT_EQ(host()->languageId, 1);       // spoken with the US voice
  EXPECT_FLOAT_EQ(host()->speed, 1.0f);   // middle band of the other languages
  EXPECT_EQ(tts_release(), 1);
  EXPECT_EQ(Init("en_GB", 14, 8), 1) << err_;
  EXPECT_FLOAT_EQ(host()->speed, 2.0f);   // top band: index 5 for every code
}

TEST_F(Platform, IsdbAndWorldwideTablesPickTheirVoices) {
  Install(kIsdb, "Br/vxnf_br_24_256");
  EXPECT_EQ(Init("pt_PT", 2, 14), 1) << err_;  // European Portuguese with the Brazilian voice
  EXPECT_EQ(g_dtv_type, 2);
  ASSERT_NE(host(), nullptr);
  EXPECT_EQ(host()->languageId, 10);
  EXPECT_FLOAT_EQ(host()->speed, 0.79f);  // speed index -3
  EXPECT_FLOAT_EQ(host()->pitch, 30.0f);
  EXPECT_EQ(tts_release(), 1);

  // Worldwide sets are probed last and speak en_GB with the UK voice.
  const std::string isdb = root_ + kIsdb;
  ASSERT_EQ(system(("rm -rf '" + isdb + "'").c_str()), 0);
  Install("opt/usr/apps/org.morel.tts-engine-qx-WW/", "EnGB/vxnf_uken_24_256");
  EXPECT_EQ(Init("en_GB", 8, 8), 1) << err_;
  EXPECT_EQ(g_dtv_type, 3);
  EXPECT_EQ(host()->languageId, 2);
}

TEST_F(Platform, UnknownCodeAndMissingVoiceFail) {
  vxn_mkdirs(root_ + kDvb);
  EXPECT_EQ(Init("xx_XX", 8, 8), 0);
  EXPECT_NE(err_.find("[ERROR] Can't support language: xx_XX"), std::string::npos);
  EXPECT_EQ(Init("en_AU", 8, 8), 0);  // an ISDB code, not offered in DVB sets
  EXPECT_NE(err_.find("[ERROR] Can't support language: en_AU"), std::string::npos);
  EXPECT_EQ(Init("de_DE", 8, 8), 0);  // region found, voice missing
  EXPECT_NE(err_.find("[ERROR] VXNInit failed - -1"), std::string::npos);
  // The engine stays until release.
  ASSERT_NE(host(), nullptr);
  EXPECT_EQ(host()->languageId, 4);
  EXPECT_EQ(tts_release(), 1);
  EXPECT_EQ(g_vxn, nullptr);
}

TEST_F(Platform, TextLengthLimitIs1023Bytes) {
  short* pcm = new short[VXN_SPEECH_CAPACITY];
  int count = -1;
  EXPECT_EQ(tts_get_pcm_data("a", pcm, &count), 0);  // no engine
  Install(kIsdb, "Ch/vxnf_ch_24_256");
  ASSERT_EQ(Init("zh_CN", 8, 8), 1) << err_;
  ASSERT_TRUE(host()->HasAnalyzer()) << err_;
  EXPECT_EQ(tts_get_pcm_data("a", nullptr, &count), 0);
  EXPECT_EQ(tts_get_pcm_data("a", pcm, nullptr), 0);

  // A 1024-byte text is refused before synthesis; 1023 bytes are spoken.
  std::string longest;
  while (longest.size() < 1023) longest += "ab ";
  longest.resize(1023);
  count = -1;
  EXPECT_EQ(tts_get_pcm_data((longest + "a").c_str(), pcm, &count), 0);
  EXPECT_EQ(count, -1);
  EXPECT_EQ(tts_get_pcm_data(longest.c_str(), pcm, &count), 1);
  EXPECT_GT(count, 0);
  EXPECT_LE(count, VXN_SPEECH_CAPACITY);
  EXPECT_EQ(g_speech_count, 0);
  delete[] pcm;
}

TEST_F(Platform, CollectionKeepsEveryPieceAndNeverOverflows) {
  std::vector<short> chunk(16000);
  VXN_platform_restart_collection();
  for (int i = 0; i < 16000; i++) chunk[i] = (short)(i % 1000);
  stream_cb(chunk.data(), 16000, 2);
  stream_cb(chunk.data(), 500, 3);
  stream_cb(chunk.data(), 16000, 2);  // the next piece does not restart the collection
  EXPECT_EQ(g_speech_count, 32500);
  EXPECT_EQ(g_speech[16000 + 499], 499);
  EXPECT_EQ(g_speech[16500], 0);
  testing::internal::CaptureStderr();
  for (int i = 0; i < 10; i++) stream_cb(chunk.data(), 16000, 0);
  stream_cb(nullptr, 0, 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("the rest is dropped"), std::string::npos);
  EXPECT_EQ(g_speech_count, VXN_SPEECH_CAPACITY);
  EXPECT_EQ(g_speech[VXN_SPEECH_CAPACITY - 1], (short)((VXN_SPEECH_CAPACITY - 32500 - 1) % 16000 % 1000));
  g_speech_count = 0;
}

}  // namespace
