#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "engine/VXN_engine.h"

namespace {

class EngineRecord : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nStatePrint = 2;
    VXN_Engine_initialize(&engine_, 3);
  }
  void TearDown() override { VXN_Engine_clear(&engine_); }
  VXN_Engine engine_;
};

std::string read_all(FILE* fp) {
  std::string s;
  rewind(fp);
  int c;
  while ((c = fgetc(fp)) != EOF) s.push_back((char)c);
  return s;
}

uint32_t le32(const std::string& s, size_t at) {
  return (uint32_t)(unsigned char)s[at] | (uint32_t)(unsigned char)s[at + 1] << 8 |
         (uint32_t)(unsigned char)s[at + 2] << 16 | (uint32_t)(unsigned char)s[at + 3] << 24;
}

TEST_F(EngineRecord, SettersClamp) {
  VXN_Engine_set_sampling_rate(&engine_, 0);
  EXPECT_EQ(engine_.sampling_rate, 1);
  VXN_Engine_set_sampling_rate(&engine_, 96000);
  EXPECT_EQ(engine_.sampling_rate, 48000);
  EXPECT_FLOAT_EQ(engine_.rate_ratio, 2.0f);
  VXN_Engine_set_fperiod(&engine_, 5000);
  EXPECT_EQ(engine_.fperiod, 2000);
  VXN_Engine_set_fperiod(&engine_, 0);
  EXPECT_EQ(engine_.fperiod, 1);
  VXN_Engine_set_beta(&engine_, 1.0f);
  EXPECT_FLOAT_EQ(engine_.beta, 0.8f);
  VXN_Engine_set_beta(&engine_, -3.0f);
  EXPECT_FLOAT_EQ(engine_.beta, -0.8f);
  VXN_Engine_set_alpha(&engine_, 1.5f);
  EXPECT_FLOAT_EQ(engine_.alpha, 1.0f);
  VXN_Engine_set_gamma(&engine_, -4);
  EXPECT_EQ(engine_.stage, 0);
  VXN_Engine_set_msd_threshold(&engine_, 1, -0.3f);
  EXPECT_FLOAT_EQ(engine_.msd_threshold[1], 0.0f);
  VXN_Engine_set_msd_threshold(&engine_, 2, 1.7f);
  EXPECT_FLOAT_EQ(engine_.msd_threshold[2], 1.0f);
  VXN_Engine_set_audio_buff_size(&engine_, -1);
  EXPECT_EQ(engine_.audio_buff_size, 0);
  VXN_Engine_set_audio_buff_size(&engine_, 100000);
  EXPECT_EQ(engine_.audio_buff_size, 48000);
  VXN_Engine_set_gv_weight(&engine_, 0, 3.5f);
  EXPECT_FLOAT_EQ(engine_.gv_weight[0], 3.5f);
  // Stream indexes outside the record are ignored rather than written.
  VXN_Engine_set_gv_weight(&engine_, 3, 9.0f);
  VXN_Engine_set_msd_threshold(&engine_, -1, 0.2f);
}

TEST_F(EngineRecord, RiffHeaderOfThousandSamples) {
  std::vector<int16_t> samples(1000);
  for (int i = 0; i < 1000; i++) samples[i] = (int16_t)(i * 31 - 9000);
  engine_.gss.speech = (int16_t*)VXN_calloc(1000, sizeof(int16_t));
  memcpy(engine_.gss.speech, samples.data(), 2000);
  engine_.gss.total_nsample = 1000;
  FILE* fp = tmpfile();
  VXN_Engine_save_riff(&engine_, fp);
  const std::string s = read_all(fp);
  fclose(fp);
  ASSERT_EQ(s.size(), 44u + 2000u);
  EXPECT_EQ(s.substr(0, 4), "RIFF");
  EXPECT_EQ(le32(s, 4), 2036u);
  EXPECT_EQ(s.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(le32(s, 16), 16u);
  EXPECT_EQ(le32(s, 20), 0x00010001u);  // PCM, one channel
  EXPECT_EQ(le32(s, 24), 24000u);
  EXPECT_EQ(le32(s, 28), 48000u);
  EXPECT_EQ(le32(s, 32), 0x00100002u);  // 2 bytes per frame, 16 bits
  EXPECT_EQ(s.substr(36, 4), "data");
  EXPECT_EQ(le32(s, 40), 2000u);
  EXPECT_EQ(memcmp(s.data() + 44, samples.data(), 2000), 0);

  fp = tmpfile();
  VXN_Engine_save_generated_speech(&engine_, fp);
  EXPECT_EQ(read_all(fp).size(), 2000u);
  fclose(fp);
}

TEST_F(EngineRecord, TimedLabelListCountsFramesIn100ns) {
  char a[] = "first", b[] = "second";
  char* lines[] = {a, b};
  VXN_Engine_load_label_from_string_list(&engine_, lines, 2);
  // Two labels of two states: 20 frames, then 10 frames.
  engine_.sss.nstate = 2;
  engine_.sss.total_state = 4;
  engine_.sss.duration = (int32_t*)VXN_calloc(4, sizeof(int32_t));
  engine_.sss.duration[0] = 12;
  engine_.sss.duration[1] = 8;
  engine_.sss.duration[2] = 3;
  engine_.sss.duration[3] = 7;
  FILE* fp = tmpfile();
  VXN_Engine_save_label(&engine_, fp);
  EXPECT_EQ(read_all(fp), "0 1000000 first\n1000000 1500000 second\n");
  fclose(fp);
  VXN_free(engine_.sss.duration);
  engine_.sss.duration = nullptr;
  engine_.sss.total_state = 0;
}

TEST_F(EngineRecord, SettingsReportWithoutVoice) {
  FILE* fp = tmpfile();
  VXN_Engine_set_alpha(&engine_, 0.45f);
  VXN_Engine_save_infomation(&engine_, fp);
  const std::string s = read_all(fp);
  fclose(fp);
  EXPECT_NE(s.find("sampring frequency                     ->    24000(Hz)\n"), std::string::npos);
  EXPECT_NE(s.find("                                           5.00000(msec)\n"), std::string::npos);
  EXPECT_NE(s.find("all-pass constant                      ->  0.45000\n"), std::string::npos);
  EXPECT_EQ(s.find("log gain flag"), std::string::npos);  // only with a gamma stage
  EXPECT_NE(s.find("duration number of state               ->       -1\n"), std::string::npos);
}

TEST(Resampler, DoublesRateAndCarriesPosition) {
  std::vector<short> in(120);
  for (int i = 0; i < 120; i++) in[i] = (short)(i * 100);
  std::vector<short> out(2 * 250);
  int pos = -1;
  float frac = -1.0f;
  const int n = VXN_Upsampling(in.data(), out.data(), 120, 250, 0.5f, 0.0f, &pos, &frac, 1);
  EXPECT_EQ(n, 238);
  EXPECT_EQ(pos, 119);
  EXPECT_FLOAT_EQ(frac, 0.0f);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 50);
  EXPECT_EQ(out[237], 11850);

  const int n2 = VXN_Upsampling(in.data(), out.data(), 120, 250, 0.5f, 0.0f, &pos, &frac, 2);
  EXPECT_EQ(n2, 476);
  for (int i = 0; i < 238; i++) ASSERT_EQ(out[2 * i], out[2 * i + 1]);
  EXPECT_EQ(out[2 * 237], 11850);
}

TEST(Resampler, DownsamplingLeavesFractionalCarry) {
  // 24 kHz to 16 kHz: step 1.5. Positions 0, 1.5, ... stop before the last pair.
  std::vector<short> in(120, 1000);
  std::vector<short> out(200);
  int pos = 0;
  float frac = 0.0f;
  const int n = VXN_Upsampling(in.data(), out.data(), 120, 90, 1.5f, 0.0f, &pos, &frac, 1);
  EXPECT_EQ(n, 80);  // i = 80 reaches p = 120
  EXPECT_EQ(pos, 120);
  EXPECT_FLOAT_EQ(frac, 0.0f);
  // Offset 0.75: i = 79 gives p = 119.25, so j + 1 reaches the end with a fraction.
  const int m = VXN_Upsampling(in.data(), out.data(), 120, 90, 1.5f, 0.75f, &pos, &frac, 1);
  EXPECT_EQ(m, 79);
  EXPECT_EQ(pos, 119);
  EXPECT_FLOAT_EQ(frac, 0.25f);
  // When outMax runs out first the count is one fewer than written.
  const int k = VXN_Upsampling(in.data(), out.data(), 120, 10, 1.5f, 0.0f, &pos, &frac, 1);
  EXPECT_EQ(k, 9);
  EXPECT_EQ(pos, 13);
  EXPECT_FLOAT_EQ(frac, 0.5f);
}

}  // namespace
