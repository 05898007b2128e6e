// The Korean and Chinese voices built by scripts/build-voices.sh speak
// through the API end to end: text handed to the encoded entry in the
// analyzer's encoding (EUC-KR, GB2312) gives the same speech as the same text
// handed to the UTF-8 entry, and that speech is over a second long and not
// silence.
#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>

#include <cmath>
#include <string>
#include <vector>

#include "include/vxn_engine.h"

namespace {

const std::string kVoice = std::string(VXN_TEST_BINARY_DIR) + "/voice/";

bool exists(const std::string& p) {
  struct stat st;
  return stat(p.c_str(), &st) == 0;
}

std::string convert(const std::string& text, const char* to) {
  iconv_t cd = iconv_open(to, "UTF-8");
  EXPECT_NE(cd, (iconv_t)-1);
  std::string out(text.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  size_t in_left = text.size(), out_left = out.size();
  char* o = &out[0];
  EXPECT_NE(iconv(cd, &in, &in_left, &o, &out_left), (size_t)-1) << "to " << to;
  iconv_close(cd);
  out.resize(out.size() - out_left);
  return out;
}

// The stream callback carries no user pointer.
std::vector<short> g_samples;
int g_ends = 0;
void on_chunk(short* samples, int count, int state) {
  g_samples.insert(g_samples.end(), samples, samples + count);
  if (state == VXN_CHUNK_END) ++g_ends;
}

struct Speech {
  std::vector<short> samples;
  int rate = 0;
  int ends = 0;
};

// Speaks the text with the language's voice, through the encoded entry
// (encoding non-null) or the UTF-8 entry.
Speech speak(int language, int index, const std::string& utf8, const char* encoding) {
  Speech s;
  void* h = create();
  VXNSetPrintLevel(h, 2);
  EXPECT_EQ(VXNSetLanguage(h, language, 0), 1);
  EXPECT_EQ(VXNModelSelect(h, index), 1);
  std::string base = kVoice;
  EXPECT_EQ(VXNInit(h, &base[0], &base[0]), 1);
  EXPECT_EQ(VXNIsLanguageReady(h), 1);
  VXNSetSamplingRate(h, 24000);
  VXNSetChannel(h, 1);
  VXNSetMemory(h, 2400, 4);
  VXNSetStreamCallback(h, on_chunk);
  EXPECT_EQ(VXNVoiceControl(h, 0, 0, 0), 1);
  g_samples.clear();
  g_ends = 0;
  if (encoding) {
    std::string text = convert(utf8, encoding);
    EXPECT_EQ(VXNStartStreamingPlay(h, &text[0], 0, 0), 1);
  } else {
    std::string text = utf8;
    EXPECT_EQ(VXNStartStreamingPlayUtf8(h, reinterpret_cast<unsigned char*>(&text[0]),
                                        (int)text.size(), 0, 0),
              1);
  }
  s.samples = g_samples;
  s.ends = g_ends;
  s.rate = VXNGetSamplingRate(h);
  VXNRefresh(h);
  VXNFree(h);
  destroy(h);
  return s;
}

double rms(const std::vector<short>& s) {
  double sum = 0;
  for (short v : s) sum += (double)v * v;
  return s.empty() ? 0 : std::sqrt(sum / s.size()) / 32768.0;
}

struct Case {
  int language;
  int index;
  const char* stem;
  const char* encoding;
  const char* text;
};

// Both voices of a language; skipped when neither is built.
void speak_language(const Case (&cases)[2]) {
  int spoken = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stem);
    if (!exists(kVoice + "Model/" + c.stem + ".am")) continue;
    const Speech encoded = speak(c.language, c.index, c.text, c.encoding);
    const Speech utf8 = speak(c.language, c.index, c.text, nullptr);
    ASSERT_GT(encoded.rate, 0);
    EXPECT_EQ(encoded.ends, 1);
    EXPECT_GT(encoded.samples.size(), (size_t)encoded.rate);  // over a second
    EXPECT_LT(encoded.samples.size(), (size_t)encoded.rate * 6);
    EXPECT_GT(rms(encoded.samples), 0.01);
    // The same labels, so the same length; the noise excitation differs.
    EXPECT_EQ(encoded.samples.size(), utf8.samples.size());
    EXPECT_NEAR(rms(encoded.samples), rms(utf8.samples), 0.002);
    ++spoken;
  }
  if (spoken == 0) GTEST_SKIP() << "no voice " << cases[0].stem << " in " << kVoice;
}

TEST(CjkVoices, KoreanSpeaksFromEucKr) {
  const Case cases[2] = {{0, 0, "Ko/vxnf_kr_24_256", "EUC-KR", "오늘 저녁 9시 뉴스입니다."},
                         {0, 1, "Ko/vxnm_kr_24_256", "EUC-KR", "오늘 저녁 9시 뉴스입니다."}};
  speak_language(cases);
}

TEST(CjkVoices, ChineseSpeaksFromGb2312) {
  const Case cases[2] = {{9, 0, "Ch/vxnf_ch_24_256", "GB2312", "今天晚上八点新闻。"},
                         {9, 1, "Ch/vxnm_ch_24_256", "GB2312", "今天晚上八点新闻。"}};
  speak_language(cases);
}

}  // namespace
