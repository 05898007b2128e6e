#include <gtest/gtest.h>

#include <string.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "api/VXN_encodingConverter.h"
#include "api/VXN_preprocessing_single_symbol.h"
#include "emoji/VXN_preprocessing_emoji.h"
#include "engine/VXN_engine.h"
#include "include/vxn_engine.h"
#include "lang/VXN_language.h"
#include "test_module_probe.h"

namespace {

struct Chunk {
  short* samples;
  int count;
  int state;
};
std::vector<Chunk> g_chunks;

void collect(short* samples, int count, int state) { g_chunks.push_back({samples, count, state}); }

std::string euckr(const std::string& utf8) {
  CVxnEncodeConvert converter;
  std::vector<char> out(3 * utf8.size() + 4, 0);
  converter.ConvertUtf8ToEuckr(out.data(), utf8.c_str(), (int)out.size() - 1);
  return out.data();
}

class Driver : public ::testing::Test {
 protected:
  void TearDown() override {
    synth_.VXNFree();
    g_nStatePrint = 2;
  }
  // Language host with the test module of `language` (0 or 9) loaded, or no
  // analyzer for any other language.
  void Start(int language) {
    g_chunks.clear();
    ASSERT_EQ(synth_.VXNSetLanguage(language, 0), 1);
    synth_.VXNModelSelect(0);
    std::string lib = module_dir("Lib");
    char model[] = "M/", data[] = "Da/", dict[] = "Di/";
    const int level = g_nStatePrint;
    g_nStatePrint = 3;  // a European language reports that it has no analyzer
    synth_.Language()->LangInitialLoad(model, &lib[0], data, dict);
    g_nStatePrint = level;
    synth_.VXNSetMemory(2400, 4);
    synth_.VXNSetStreamCallback(collect);
  }
  int Utf8(const std::string& text, int pauseFlag = 0, int pauseMs = 0) {
    std::vector<unsigned char> copy(text.begin(), text.end());
    copy.push_back(0);
    return synth_.VXNStartStreamingPlayUtf8(copy.data(), (int)text.size(), pauseFlag, pauseMs);
  }
  VXN_Engine& engine() { return synth_.Language()->engine; }

  CVxnSynth synth_;
};

TEST_F(Driver, EmptyTextGivesOneEndNotice) {
  for (int language : {9, 0, 1}) {
    Start(language);
    engine().chunk_index = 2;
    EXPECT_EQ(Utf8(""), 1);
    ASSERT_EQ(g_chunks.size(), 1u) << language;
    EXPECT_EQ(g_chunks[0].count, 0);
    EXPECT_EQ(g_chunks[0].state, 1);
    EXPECT_EQ(g_chunks[0].samples, engine().ring_buffer + 2 * 2400);
    synth_.VXNFree();
  }
}

TEST_F(Driver, WithoutAnalyzerTextYieldsOnlyTheEndNotice) {
  Start(1);  // no European analyzer is loaded by this fixture
  if (synth_.Language()->HasAnalyzer()) GTEST_SKIP() << "this build has a European analyzer";
  EXPECT_EQ(Utf8("Hello there. How are you?"), 1);
  ASSERT_EQ(g_chunks.size(), 1u);
  EXPECT_EQ(g_chunks[0].state, 1);
  EXPECT_EQ(g_chunks[0].count, 0);
}

TEST_F(Driver, NullTextOrNoLanguageIsRefused) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(synth_.VXNStartStreamingPlayUtf8(nullptr, 3, 0, 0), 0);
  unsigned char text[] = "abc";
  EXPECT_EQ(synth_.VXNStartStreamingPlayUtf8(text, 3, 0, 0), 0);
  Start(9);
  EXPECT_EQ(synth_.VXNStartStreamingPlayUtf16(nullptr, 3, 0, 0), 0);
  EXPECT_EQ(synth_.VXNStartStreamingPlay(nullptr, 0, 0), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Null input parameter in the VXNStartStreamingPlayUtf8"), std::string::npos);
  EXPECT_NE(err.find("Not initialized in VXNStartStreamingPlayUtf8"), std::string::npos);
  EXPECT_NE(err.find("Null input parameter in the VXNStartStreamingPlayUtf16"), std::string::npos);
  EXPECT_NE(err.find("Null input parameter in the VXNStartStreamingPlay"), std::string::npos);
  EXPECT_TRUE(g_chunks.empty());
}

TEST_F(Driver, EveryPieceIsAnalysedAndItsLabelsLoaded) {
  ModuleProbe probe(module_dir("Lib") + "libVXN_lang_ch.so");
  Start(9);
  synth_.VXNVoiceControl(256, 256, 5);  // speed factor 2.0
  probe.reset();
  testing::internal::CaptureStderr();
  EXPECT_EQ(Utf8("a b|c|d e f?", 1, 300), 1);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(probe.calls(), "refresh;analyze;analyze;analyze;");
  // The last piece's labels stay until the host refreshes.
  ASSERT_EQ(VXN_Label_get_size(&engine().label), 5);
  EXPECT_STREQ(VXN_Label_get_string(&engine().label, 3), "x^x-f?+x=x");
  EXPECT_FLOAT_EQ(engine().label.speech_speed, 2.0f);
  EXPECT_EQ(engine().sss.sentence_type, 'B');
  EXPECT_EQ(engine().ms.pause_mode, 1);
  EXPECT_FLOAT_EQ(engine().ms.pause_frames, 60.0f);
  EXPECT_EQ(engine().last_piece, 1);
  // The last result was a label count: no end notice.
  for (const Chunk& c : g_chunks) EXPECT_FALSE(c.count == 0 && c.state == 1);

  testing::internal::CaptureStderr();
  EXPECT_EQ(Utf8("x", 0, 300), 1);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(engine().ms.pause_mode, 0);
  EXPECT_FLOAT_EQ(engine().ms.pause_frames, 0.0f);
}

TEST_F(Driver, KoreanTextArrivesInEucKrWithoutItsByteOrderMark) {
  ModuleProbe probe(module_dir("Lib") + "libVXN_lang_kr.so");
  Start(0);
  probe.reset();
  const std::string korean = "\xED\x95\x9C\xEA\xB5\xAD";  // two Hangul syllables
  EXPECT_EQ(Utf8("\xEF\xBB\xBF" + korean), 1);
  EXPECT_EQ(probe.last_text(), "\xC7\xD1\xB1\xB9");
  EXPECT_NE(probe.calls().find("preprocess(\xC7\xD1\xB1\xB9)"), std::string::npos);
}

TEST_F(Driver, LengthBoundsTheConvertedText) {
  ModuleProbe probe(module_dir("Lib") + "libVXN_lang_kr.so");
  Start(0);
  EXPECT_EQ(Utf8("abcdef"), 1);
  EXPECT_EQ(probe.last_text(), "abcdef");
  // length sizes the conversion buffer (3 bytes per byte counted); the text
  // is cut only where that buffer ends.
  unsigned char text[] = "abcdefgh";
  EXPECT_EQ(synth_.VXNStartStreamingPlayUtf8(text, 2, 0, 0), 1);
  EXPECT_EQ(probe.last_text(), "abcdef");
}

TEST_F(Driver, SingleSymbolIsReplacedByItsName) {
  ModuleProbe probe(module_dir("Lib") + "libVXN_lang_kr.so");
  Start(0);
  char symbol[] = "?";
  char* name = nullptr;
  ASSERT_TRUE(VXN_single_symbol(symbol, 0, &name));
  const std::string expected = euckr(name);
  VXN_free(name);
  EXPECT_EQ(Utf8("?"), 1);
  EXPECT_EQ(probe.last_text(), expected);
  EXPECT_NE(probe.last_text(), "?");
}

TEST_F(Driver, EmojiNamesAreNeverCut) {
  ModuleProbe probe(module_dir("Lib") + "libVXN_lang_kr.so");
  Start(0);
  // An emoji whose spoken form needs more than three bytes per input byte.
  std::string input, expected;
  for (uint32_t cp = 0x1F300; cp <= 0x1F64F && input.empty(); cp++) {
    const char utf8[5] = {(char)(0xF0 | (cp >> 18)), (char)(0x80 | ((cp >> 12) & 0x3F)),
                          (char)(0x80 | ((cp >> 6) & 0x3F)), (char)(0x80 | (cp & 0x3F)), 0};
    CUtf8EmojiTransducer t(0, utf8);
    const std::string spoken = euckr(t.transform());
    if (t.has_changed() && spoken.size() > 3 * 4 + 3) {
      input = utf8;
      expected = spoken;
    }
  }
  ASSERT_FALSE(input.empty());
  EXPECT_EQ(Utf8(input), 1);
  EXPECT_EQ(probe.last_text(), expected);
}

TEST_F(Driver, Utf16TextIsConvertedAndBounded) {
  ModuleProbe kr(module_dir("Lib") + "libVXN_lang_kr.so");
  Start(0);
  short korean[] = {(short)0xFEFF, (short)0xD55C, (short)0xAD6D, 0};
  testing::internal::CaptureStderr();
  EXPECT_EQ(synth_.VXNStartStreamingPlayUtf16(korean, 8, 0, 0), 1);
  EXPECT_EQ(kr.last_text(), "\xC7\xD1\xB1\xB9");
  // No terminator within length: only `length` units are read.
  short unterminated[] = {'a', 'b', 'c'};
  EXPECT_EQ(synth_.VXNStartStreamingPlayUtf16(unterminated, 2, 0, 0), 1);
  EXPECT_EQ(kr.last_text(), "ab");
  synth_.VXNFree();

  ModuleProbe ch(module_dir("Lib") + "libVXN_lang_ch.so");
  Start(9);
  short chinese[] = {'a', 'b', '|', 0x4E2D, 0};
  EXPECT_EQ(synth_.VXNStartStreamingPlayUtf16(chinese, 10, 0, 0), 1);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(ch.last_text(), "ab|\xE4\xB8\xAD");
  EXPECT_NE(ch.calls().find("analyze;analyze;"), std::string::npos);
}

TEST_F(Driver, PreEncodedChineseIsReadAsGb2312) {
  ModuleProbe probe(module_dir("Lib") + "libVXN_lang_ch.so");
  Start(9);
  char text[] = "\xD6\xD0\xCE\xC4";
  EXPECT_EQ(synth_.VXNStartStreamingPlay(text, 0, 0), 1);
  EXPECT_EQ(probe.last_text(), "\xE4\xB8\xAD\xE6\x96\x87");
  char empty[] = "";
  testing::internal::CaptureStderr();
  g_nStatePrint = 1;
  EXPECT_EQ(synth_.VXNStartStreamingPlay(empty, 0, 0), 0);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("ConvertUtf16orGB2312toUtf8 failed\n"),
            std::string::npos);
}

TEST_F(Driver, StopBeforeTheCallEndsWithTheNoticeOnly) {
  ModuleProbe probe(module_dir("Lib") + "libVXN_lang_ch.so");
  Start(9);
  synth_.VXNSetControlStop();
  probe.reset();
  EXPECT_EQ(Utf8("a|b"), 1);
  EXPECT_EQ(probe.calls(), "refresh;");
  ASSERT_EQ(g_chunks.size(), 1u);
  EXPECT_EQ(g_chunks[0].count, 0);
  EXPECT_EQ(g_chunks[0].state, 1);
  EXPECT_EQ(synth_.VXNGetControlState(), 0);  // the driver never restarts
}

TEST_F(Driver, StopDuringPacingEndsTheCallWithinASlice) {
  ModuleProbe probe(module_dir("Lib") + "libVXN_lang_ch.so");
  Start(9);
  probe.reset();
  using Clock = std::chrono::steady_clock;
  Clock::time_point stoppedAt;
  std::thread host([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    stoppedAt = Clock::now();
    synth_.VXNSetControlStop();
  });
  testing::internal::CaptureStderr();
  // Ten pieces: about a second of pacing sleeps if nobody stops it.
  EXPECT_EQ(Utf8("a|b|c|d|e|f|g|h|i|j"), 1);
  const Clock::time_point returned = Clock::now();
  testing::internal::GetCapturedStderr();
  host.join();
  const auto lag = std::chrono::duration_cast<std::chrono::milliseconds>(returned - stoppedAt);
  EXPECT_LT(lag.count(), 60);
  size_t analysed = 0;
  for (size_t p = probe.calls().find("analyze"); p != std::string::npos;
       p = probe.calls().find("analyze", p + 1))
    analysed++;
  EXPECT_GE(analysed, 2u);
  EXPECT_LT(analysed, 10u);
  // The previous result was a label count: no end notice after the stop.
  for (const Chunk& c : g_chunks) EXPECT_FALSE(c.count == 0 && c.state == 1);
}

TEST_F(Driver, PacingSleepsBetweenPieces) {
  Start(9);
  using Clock = std::chrono::steady_clock;
  testing::internal::CaptureStderr();
  const Clock::time_point t0 = Clock::now();
  EXPECT_EQ(Utf8("a"), 1);
  const Clock::time_point t1 = Clock::now();
  EXPECT_EQ(Utf8("a|b|c"), 1);  // 20 ms before the second piece, 100 ms before the third
  const Clock::time_point t2 = Clock::now();
  testing::internal::GetCapturedStderr();
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(t1 - t0).count(), 20);
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(t2 - t1).count(), 120);
}

TEST_F(Driver, SilenceOnlyTextHasNoEndNotice) {
  Start(9);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Utf8("<silence=100>"), 1);
  testing::internal::GetCapturedStderr();
  for (const Chunk& c : g_chunks) EXPECT_FALSE(c.count == 0 && c.state == 1);
}

}  // namespace
