// Shared pieces of the tools: voice descriptions, the voice listing and the
// streaming WAV writer.
#include <gtest/gtest.h>

#include <stdio.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/lang/voice_fixture.h"
#include "tools/common/VXN_voice_info.h"
#include "tools/common/VXN_voice_list.h"
#include "tools/common/VXN_wav_writer.h"

namespace {

bool parse(const std::string& text, VXN_VoiceInfo* info, std::string* error) {
  return VXN_VoiceInfo_parse(text.data(), text.size(), info, error);
}

TEST(VoiceInfo, KeysInAnyOrderUnknownOnesIgnored) {
  VXN_VoiceInfo info;
  std::string error;
  ASSERT_TRUE(parse("language: pl_PL\r\nindex: 1\n\nstem: vxnm_pl_24_256\nkind: converted\n"
                    "source: a voice\nlicence: CC0 1.0\ndonor: vxnf_pl_24_256\n"
                    "notes: rate: 16 kHz\nfuture: ignored",
                    &info, &error))
      << error;
  EXPECT_EQ(info.language, "pl_PL");
  EXPECT_EQ(info.index, 1);
  EXPECT_EQ(info.kind, "converted");
  EXPECT_EQ(info.licence, "CC0 1.0");
  EXPECT_EQ(info.donor, "vxnf_pl_24_256");
  EXPECT_EQ(info.notes, "rate: 16 kHz");  // only the first colon separates
  ASSERT_TRUE(parse("", &info, &error));
  EXPECT_EQ(info.index, -1);
}

TEST(VoiceInfo, BadLinesAreRefusedWithTheLine) {
  VXN_VoiceInfo info;
  std::string error;
  EXPECT_FALSE(parse("language: en_US\nno colon here\n", &info, &error));
  EXPECT_NE(error.find("line 2"), std::string::npos) << error;
  EXPECT_FALSE(parse("index: 1x\n", &info, &error));
  EXPECT_NE(error.find("index '1x'"), std::string::npos) << error;
  EXPECT_FALSE(parse("index: 100\n", &info, &error));
  EXPECT_FALSE(parse("kind: borrowed\n", &info, &error));
  EXPECT_NE(error.find("kind 'borrowed'"), std::string::npos) << error;
  EXPECT_FALSE(parse(std::string("stem: a\0b", 9), &info, &error));
  EXPECT_FALSE(parse(": value\n", &info, &error));
  EXPECT_FALSE(VXN_VoiceInfo_read("/nonexistent/x.info", &info, &error));
  EXPECT_NE(error.find("cannot open"), std::string::npos);
}

// Only complete packages are listed, with their descriptions when present.
TEST(VoiceList, CompletePackagesOnly) {
  const std::string base = vxn_scratch("voice_list");
  vxn_make_voice(base, "EnUS/vxnf_usen_24_256", "");
  vxn_make_voice(base, "EnAU/vxnm_auen_24_256", "");
  vxn_make_voice(base, "De/vxnf_ge_24_256", "");
  ASSERT_EQ(unlink((base + "Model/De/vxnf_ge_24_256.pt").c_str()), 0);
  FILE* f = fopen((base + "Model/EnUS/vxnf_usen_24_256.info").c_str(), "w");
  ASSERT_NE(f, nullptr);
  fputs("language: en_US\nindex: 0\nkind: imported\nsource: test\n", f);
  fclose(f);
  f = fopen((base + "Model/EnAU/vxnm_auen_24_256.info").c_str(), "w");
  fputs("kind: stolen\n", f);
  fclose(f);

  const std::vector<VXN_VoiceEntry> voices = VXN_list_voices(base);
  // US English 0; UK English 3 and Australian English 1 share the AU package.
  ASSERT_EQ(voices.size(), 3u);
  EXPECT_EQ(voices[0].stem, "EnUS/vxnf_usen_24_256");
  EXPECT_TRUE(voices[0].described);
  EXPECT_EQ(voices[0].info.source, "test");
  EXPECT_EQ(voices[1].language, 2);
  EXPECT_EQ(voices[1].index, 3);
  EXPECT_EQ(voices[2].language, 3);
  EXPECT_EQ(voices[2].index, 1);
  EXPECT_FALSE(voices[2].described);
  EXPECT_NE(voices[2].info_error.find("kind 'stolen'"), std::string::npos);
  EXPECT_STREQ(VXN_voice_gender(voices[2].index), "male");
  EXPECT_TRUE(VXN_list_voices(base + "nothing/").empty());
}

std::vector<unsigned char> file_bytes(FILE* f) {
  fflush(f);
  fseek(f, 0, SEEK_END);
  const long n = ftell(f);
  std::vector<unsigned char> bytes((size_t)n);
  fseek(f, 0, SEEK_SET);
  if (fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) bytes.clear();
  return bytes;
}

uint32_t le32(const std::vector<unsigned char>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | ((uint32_t)b[at + 3] << 24);
}

TEST(WavWriter, HeaderFirstThenPatchedOnASeekableFile) {
  FILE* f = tmpfile();
  ASSERT_NE(f, nullptr);
  VXN_WavWriter w;
  VXN_WavWriter_open(&w, f, 16000, 2, 0);
  std::vector<unsigned char> b = file_bytes(f);
  ASSERT_EQ(b.size(), 44u);  // the header is out before any sample
  EXPECT_EQ(le32(b, 40), 0x7FFFF000u);
  EXPECT_EQ(le32(b, 28), 16000u * 4);  // byte rate of stereo 16-bit
  const short samples[3] = {1, -2, 0x1234};
  fseek(f, 0, SEEK_END);
  EXPECT_EQ(VXN_WavWriter_write(&w, samples, 3), 1);
  EXPECT_EQ(VXN_WavWriter_write(&w, samples, 1), 1);
  EXPECT_EQ(VXN_WavWriter_close(&w), 1);
  b = file_bytes(f);
  ASSERT_EQ(b.size(), 44u + 8);
  EXPECT_EQ(le32(b, 4), 36u + 8);
  EXPECT_EQ(le32(b, 40), 8u);
  EXPECT_EQ(b[46], 0xFE);  // -2, little-endian
  EXPECT_EQ(b[47], 0xFF);
  EXPECT_EQ(b[48], 0x34);
  fclose(f);
}

TEST(WavWriter, RawHasNoHeaderAndAPipeKeepsTheStreamingSizes) {
  FILE* f = tmpfile();
  VXN_WavWriter w;
  VXN_WavWriter_open(&w, f, 24000, 1, 1);
  const short s = 7;
  VXN_WavWriter_write(&w, &s, 1);
  EXPECT_EQ(VXN_WavWriter_close(&w), 1);
  EXPECT_EQ(file_bytes(f).size(), 2u);
  fclose(f);

  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  FILE* out = fdopen(fds[1], "w");
  VXN_WavWriter_open(&w, out, 24000, 1, 0);
  VXN_WavWriter_write(&w, &s, 1);
  EXPECT_EQ(VXN_WavWriter_close(&w), 1);
  fclose(out);
  unsigned char b[64];
  const ssize_t n = read(fds[0], b, sizeof(b));
  close(fds[0]);
  ASSERT_EQ(n, 46);
  EXPECT_EQ(le32(std::vector<unsigned char>(b, b + n), 40), 0x7FFFF000u);
}

}  // namespace
