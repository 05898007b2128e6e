#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "engine/VXN_engine.h"
#include "include/vxn_engine.h"
#include "lang/VXN_language.h"
#include "tests/engine/package_fixture.h"
#include "tools/voicebuild/VXN_prosody_db.h"

namespace {

class Facade : public ::testing::Test {
 protected:
  void SetUp() override { synth_ = new CVxnSynth(); }
  void TearDown() override {
    synth_->VXNFree();
    delete synth_;
    g_nStatePrint = 2;
  }
  VXN_Engine& engine() { return synth_->Language()->engine; }
  std::string model_name() { return engine().model_name; }

  CVxnSynth* synth_ = nullptr;
};

TEST_F(Facade, UnknownLanguageLeavesNoHost) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(synth_->VXNSetLanguage(18, 0), 0);
  EXPECT_EQ(synth_->VXNSetLanguage(-1, 0), 0);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(
                "error [0010] : This language is not supported.\n"),
            std::string::npos);
  EXPECT_EQ(synth_->Language(), nullptr);
  EXPECT_EQ(synth_->VXNGetControlState(), -1);
}

TEST_F(Facade, SettersWithoutHostReportTheirName) {
  const char* names[] = {"VXNSetStreamCallback", "VXNSetMemory", "VXNSetSamplingRate",
                         "VXNSetChannel", "VXNSetControlStart", "VXNSetControlStop",
                         "VXNModelSelect", "VXNVoiceControl", "VXNInit", "VXNShowLanguage"};
  testing::internal::CaptureStderr();
  synth_->VXNSetStreamCallback(nullptr);
  synth_->VXNSetMemory(10, 2);
  synth_->VXNSetSamplingRate(16000);
  synth_->VXNSetChannel(2);
  synth_->VXNSetControlStart();
  synth_->VXNSetControlStop();
  EXPECT_EQ(synth_->VXNModelSelect(0), 0);
  EXPECT_EQ(synth_->VXNVoiceControl(0, 0, 0), 0);
  char dir[] = "/nonexistent/";
  EXPECT_EQ(synth_->VXNInit(dir, dir), 0);
  char out[64];
  EXPECT_EQ(synth_->VXNShowLanguage(out), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  for (const char* name : names)
    EXPECT_NE(err.find(std::string("Not initialized in ") + name), std::string::npos) << name;
}

TEST_F(Facade, SetLanguageInitialisesEngine) {
  ASSERT_EQ(synth_->VXNSetLanguage(5, 0), 1);
  EXPECT_EQ(engine().language_id, 5);
  EXPECT_EQ(engine().ms.language, 5);
  EXPECT_EQ(engine().pss.language_id, 5);
  EXPECT_EQ(engine().stream_count, 3);
  EXPECT_FLOAT_EQ(synth_->Language()->speed, 1.0f);
  EXPECT_EQ(synth_->VXNGetControlState(), 1);
  // Selecting another language replaces the host.
  ASSERT_EQ(synth_->VXNSetLanguage(1, 0), 1);
  EXPECT_EQ(engine().language_id, 1);
}

TEST_F(Facade, ModelStemsByLanguageAndIndex) {
  synth_->VXNSetLanguage(5, 0);
  synth_->VXNModelSelect(1);
  EXPECT_EQ(model_name(), "Fr/vxnm_fr_24_256");
  testing::internal::CaptureStderr();
  synth_->VXNModelSelect(5);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(
                "error [0020] : The selected model does not match the language.\n It will be set "
                "to the default model.\n"),
            std::string::npos);
  EXPECT_EQ(model_name(), "Fr/vxnf_fr_24_256");
  EXPECT_STREQ(engine().prosody_name, "aa");

  synth_->VXNSetLanguage(2, 0);
  synth_->VXNModelSelect(2);
  EXPECT_EQ(model_name(), "EnAU/vxnf_auen_24_256");
  synth_->VXNModelSelect(3);
  EXPECT_EQ(model_name(), "EnAU/vxnm_auen_24_256");
  testing::internal::CaptureStderr();
  synth_->VXNModelSelect(4);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(model_name(), "EnGB/vxnf_uken_24_256");

  synth_->VXNSetLanguage(1, 0);
  synth_->VXNModelSelect(0);
  EXPECT_EQ(model_name(), "EnUS/vxnf_usen_24_256");
  EXPECT_STREQ(engine().prosody_name, "EnUS/vxnf_usen_24_256.pd");
  synth_->VXNModelSelect(1);
  EXPECT_STREQ(engine().prosody_name, "EnUS/vxnm_usen_24_256.pd");
  EXPECT_EQ(engine().model_index, 1);
  EXPECT_EQ(engine().ms.model_select, 1);

  const char* stems[] = {"Ko/vxnf_kr",    "EnUS/vxnf_usen", "EnGB/vxnf_uken", "EnAU/vxnf_auen",
                         "De/vxnf_ge",    "Fr/vxnf_fr",     "Es/vxnf_es",     "It/vxnf_it",
                         "Nl/vxnf_nl",    "Ch/vxnf_ch",     "Br/vxnf_br",     "Pl/vxnf_pl",
                         "Ru/vxnf_ru",    "Dk/vxnf_dk",     "Se/vxnf_se",     "Fi/vxnf_fi",
                         "No/vxnf_no",    "Pt/vxnf_pt"};
  for (int id = 0; id < 18; id++) {
    synth_->VXNSetLanguage(id, 0);
    synth_->VXNModelSelect(0);
    EXPECT_EQ(model_name(), std::string(stems[id]) + "_24_256") << id;
    synth_->VXNModelSelect(1);
    std::string male = std::string(stems[id]) + "_24_256";
    male[male.find("vxnf")] = 'v';
    male[male.find("vxnf") + 3] = 'm';
    EXPECT_EQ(model_name(), male) << id;
    if (id != 1) {
      EXPECT_STREQ(engine().prosody_name, "aa") << id;
    }
  }
}

TEST_F(Facade, VoiceControlClampsAndTables) {
  synth_->VXNSetLanguage(1, 0);
  synth_->VXNModelSelect(0);
  EXPECT_EQ(synth_->VXNVoiceControl(256, 256, 256), 1);
  EXPECT_EQ(engine().pitch_shift, 0);
  EXPECT_FLOAT_EQ(engine().voice_alpha, 0.45f);
  EXPECT_FLOAT_EQ(synth_->Language()->speed, 1.0f);

  EXPECT_EQ(synth_->VXNVoiceControl(100, -20, 9), 1);
  EXPECT_EQ(engine().pitch_shift, 70);
  EXPECT_FLOAT_EQ(synth_->Language()->pitch, 70.0f);
  EXPECT_NEAR(engine().voice_alpha, 0.35f, 1e-6);
  EXPECT_NEAR(engine().alpha, 0.35f, 1e-6);
  EXPECT_FLOAT_EQ(synth_->Language()->speed, 2.0f);

  synth_->VXNVoiceControl(-100, 20, -9);
  EXPECT_EQ(engine().pitch_shift, -70);
  EXPECT_NEAR(engine().voice_alpha, 0.55f, 1e-6);
  EXPECT_FLOAT_EQ(synth_->Language()->speed, 0.65f);

  const float speeds[11] = {0.65f, 0.75f, 0.79f, 0.86f, 0.93f, 1.0f, 1.2f, 1.3f, 1.5f, 1.75f, 2.0f};
  for (int s = -5; s <= 5; s++) {
    synth_->VXNVoiceControl(256, 256, s);
    EXPECT_FLOAT_EQ(synth_->Language()->speed, speeds[s + 5]) << s;
  }
  // 256 in one argument leaves only that setting alone.
  synth_->VXNVoiceControl(12, 256, 256);
  EXPECT_EQ(engine().pitch_shift, 12);
  EXPECT_FLOAT_EQ(synth_->Language()->speed, 2.0f);

  // Model selection resets the voice.
  synth_->VXNModelSelect(0);
  EXPECT_EQ(engine().pitch_shift, 0);
  EXPECT_FLOAT_EQ(engine().voice_alpha, 0.45f);
  EXPECT_FLOAT_EQ(synth_->Language()->speed, 1.0f);
}

TEST_F(Facade, ShowLanguageWritesFiftyByteField) {
  synth_->VXNSetLanguage(9, 0);
  synth_->VXNModelSelect(1);
  char out[64];
  memset(out, 'Z', sizeof(out));
  ASSERT_EQ(synth_->VXNShowLanguage(out), 1);
  EXPECT_STREQ(out, "language:CHINESE  speaker:male\n");
  // The field after the text is zero up to byte 50 except where the speaker was appended.
  for (size_t i = strlen(out) + 1; i < 50; i++) EXPECT_EQ(out[i], '\0') << i;
  EXPECT_EQ(out[50], 'Z');

  synth_->VXNSetLanguage(17, 0);
  synth_->VXNModelSelect(0);
  synth_->VXNShowLanguage(out);
  EXPECT_STREQ(out, "language:PORTUGAL PORTUGUESE  speaker:female\n");

  synth_->VXNSetLanguage(2, 0);
  testing::internal::CaptureStderr();
  synth_->VXNModelSelect(3);
  testing::internal::GetCapturedStderr();
  synth_->VXNShowLanguage(out);
  EXPECT_STREQ(out, "language:UK ENGLISH  speaker:NOT SUPPORT\n");
  EXPECT_EQ(synth_->VXNShowLanguage(nullptr), 0);
}

TEST_F(Facade, OutputSettings) {
  synth_->VXNSetLanguage(1, 0);
  synth_->VXNSetSamplingRate(48000);
  EXPECT_EQ(engine().output_fperiod, 240);
  EXPECT_FLOAT_EQ(engine().rate_ratio, 0.5f);
  synth_->VXNSetSamplingRate(16000);
  EXPECT_EQ(engine().output_fperiod, 80);
  EXPECT_FLOAT_EQ(engine().rate_ratio, 1.5f);
  EXPECT_EQ(synth_->VXNGetSamplingRate(), 16000);
  synth_->VXNSetChannel(2);
  EXPECT_EQ(synth_->VXNGetChannel(), 2);
  synth_->VXNSetMemory(2400, 4);
  ASSERT_NE(engine().ring_buffer, nullptr);
  EXPECT_EQ(engine().chunk_size, 2400);
  EXPECT_EQ(engine().chunk_count, 4);
  EXPECT_EQ(engine().ring_buffer[2400 * 4 - 1], 0);
  synth_->VXNSetControlStop();
  EXPECT_EQ(synth_->VXNGetControlState(), 0);
  synth_->VXNSetControlStart();
  EXPECT_EQ(synth_->VXNGetControlState(), 1);
}

TEST_F(Facade, HighBoostLeavesEndsAndWrapsWithoutSaturation) {
  short x[5] = {0, 100, 0, -100, 32000};
  synth_->VXNHighBoost(x, 5);
  EXPECT_EQ(x[0], 0);
  EXPECT_EQ(x[1], 200);    // 100 + (200 - 0 - 0) / 2
  EXPECT_EQ(x[2], 0);      // 0 + (0 - 100 + 100) / 2
  EXPECT_EQ(x[3], (short)(-100 + ((-200 - 0 - 32000) >> 1)));
  EXPECT_EQ(x[4], 32000);
  short y[3] = {-32000, 32000, -32000};
  synth_->VXNHighBoost(y, 3);
  EXPECT_EQ(y[1], (short)(32000 + 64000));  // stored as 16 bits without saturation
}

// A voice directory in the temporary folder, with whichever files a test asks for.
class VoiceDir {
 public:
  VoiceDir() {
    char tmpl[] = "/tmp/vxn_voiceXXXXXX";
    path_ = mkdtemp(tmpl);
    path_ += "/";
  }
  ~VoiceDir() { system(("rm -rf '" + path_ + "'").c_str()); }
  void touch(const std::string& relative) {
    const std::string full = path_ + relative;
    system(("mkdir -p \"$(dirname '" + full + "')\" && touch '" + full + "'").c_str());
  }
  void touch_package(const std::string& stem) {
    for (const char* ext : {".am", ".dt", ".qt", ".pt"}) touch("Model/" + stem + ext);
  }
  // A small valid package written with the package writer.
  void write_package(const std::string& stem) {
    touch_package(stem);
    std::string error;
    ASSERT_TRUE(vxn::voice::write_package(
        vxn_test::single_leaf_voice({3, 4, 5, 4, 3}, {1, 2, 3}, 0.8f), path_ + "Model/" + stem,
        nullptr, &error))
        << error;
  }
  char* path() { return &path_[0]; }

 private:
  std::string path_;
};

TEST_F(Facade, InitReportsMissingPackageFiles) {
  VoiceDir dir;
  synth_->VXNSetLanguage(1, 0);
  synth_->VXNModelSelect(0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(synth_->VXNInit(dir.path(), dir.path()), -1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(
                "error [1030] : Model name or path is invalid.\n"),
            std::string::npos);
  dir.touch("Model/EnUS/vxnf_usen_24_256.am");
  dir.touch("Model/EnUS/vxnf_usen_24_256.dt");
  dir.touch("Model/EnUS/vxnf_usen_24_256.qt");
  testing::internal::CaptureStderr();
  EXPECT_EQ(synth_->VXNInit(dir.path(), dir.path()), -1);  // .pt still missing
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(synth_->VXNInit(nullptr, dir.path()), 0);
}

TEST_F(Facade, InitChecksKoreanAndChineseResources) {
  VoiceDir dir;
  dir.touch_package("Ko/vxnf_kr_24_256");
  synth_->VXNSetLanguage(0, 0);
  synth_->VXNModelSelect(0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(synth_->VXNInit(dir.path(), dir.path()), -1);
  for (const char* f : {"Model/Ko/config.ini", "Model/Ko/main.model", "Model/Ko/vxnkr.pb"})
    dir.touch(f);
  EXPECT_EQ(synth_->VXNInit(dir.path(), dir.path()), -1);  // Data/symbol.ini missing
  testing::internal::GetCapturedStderr();

  dir.touch_package("Ch/vxnf_ch_24_256");
  synth_->VXNSetLanguage(9, 0);
  synth_->VXNModelSelect(0);
  const char* cn[] = {"CNFamilyNameList.txt", "English_wordList_US.txt", "HMM20POS.model",
                      "longbrkmodel", "NER_model", "posmodel"};
  for (const char* f : cn) dir.touch(std::string("Model/Ch/LangCN/") + f);
  testing::internal::CaptureStderr();
  EXPECT_EQ(synth_->VXNInit(dir.path(), dir.path()), -1);  // shortbrkmodel missing
  EXPECT_NE(testing::internal::GetCapturedStderr().find("error [1030]"), std::string::npos);
}

TEST_F(Facade, HybridOnlyWithProsodyFileAndRequest) {
  VoiceDir dir;
  dir.write_package("Fr/vxnf_fr_24_256");
  synth_->VXNSetLanguage(5, 0);
  synth_->VXNSetHybrid(1);
  synth_->VXNModelSelect(0);
  g_nStatePrint = 1;
  testing::internal::CaptureStderr();
  synth_->VXNInit(dir.path(), dir.path());
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Hybrid info : prosody:" + std::string(dir.path()) + "Model/aa,0\n"),
            std::string::npos);
  EXPECT_NE(err.find("Hybrid info : basic mode\n"), std::string::npos);
  EXPECT_EQ(engine().hybrid_active, 0);
  // The fixed engine settings are applied after loading.
  EXPECT_EQ(engine().sampling_rate, 24000);
  EXPECT_EQ(engine().use_log_gain, 1);
  EXPECT_FLOAT_EQ(engine().alpha, 0.45f);
}

// US English with its prosody database: a good file turns hybrid mode on, a
// corrupted one is refused with its numbered error and the engine speaks in
// basic mode.
TEST_F(Facade, HybridWithProsodyDatabaseAndRefusedWhenCorrupt) {
  vxn::voice::ProsodyDatabase db;
  db.phones = {"x", "sp", "pau", "a"};
  db.slope_codebook = {0.0f};
  db.f0_codebook = {5.0f};
  db.contours = {{{5.0f, 5.0f, 5.0f, 5.0f, 5.0f}}};
  db.units.resize(3);
  db.units[1].phone = 3;
  std::vector<uint8_t> image;
  std::string error;
  ASSERT_TRUE(vxn::voice::encode_prosody_database(db, &image, &error)) << error;
  for (int corrupt = 0; corrupt <= 1; corrupt++) {
    SCOPED_TRACE(corrupt ? "corrupt" : "good");
    VoiceDir dir;
    dir.write_package("EnUS/vxnf_usen_24_256");
    if (corrupt) image.resize(image.size() - 4);
    const std::string pd = std::string(dir.path()) + "Model/EnUS/vxnf_usen_24_256.pd";
    FILE* fp = fopen(pd.c_str(), "wb");
    ASSERT_NE(fp, nullptr);
    fwrite(image.data(), 1, image.size(), fp);
    fclose(fp);
    synth_->VXNSetLanguage(1, 0);
    synth_->VXNSetHybrid(1);
    synth_->VXNModelSelect(0);
    g_nStatePrint = 1;
    testing::internal::CaptureStderr();
    EXPECT_EQ(synth_->VXNInit(dir.path(), dir.path()), 1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(pd + ",1\n"), std::string::npos);
    EXPECT_EQ(engine().hybrid_active, corrupt ? 0 : 1);
    EXPECT_NE(err.find(corrupt ? "Hybrid info : basic mode\n" : "Hybrid info : Hybrid mode\n"),
              std::string::npos);
    EXPECT_EQ(err.find("error [1070] : Hybrid_LoadingPD: " + pd) != std::string::npos,
              corrupt == 1);
    synth_->VXNFree();
  }
}

}  // namespace
