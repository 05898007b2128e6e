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
#include "voice_fixture.h"

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
  // An initialised engine with a synthetic voice and, for Korean (0) and
  // Chinese (9), the test analyzer module; 24 kHz output, 4 chunks of 2400.
  void Start(int language) {
    g_chunks.clear();
    const char* stem = language == 0 ? "Ko/vxnf_kr_24_256"
                       : language == 9 ? "Ch/vxnf_ch_24_256"
                                       : "EnUS/vxnf_usen_24_256";
    std::string base =
        vxn_scratch(std::string("driver_") +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    vxn_make_voice(base, stem, module_dir("Lib"));
    const std::string usen = base + "Lib/libVXN_lang_usen.so";
    if (symlink(VXN_TEST_BINARY_DIR "/voice/Lib/libVXN_lang_usen.so", usen.c_str()) != 0)
      perror("symlink");
    // The analyzer reads its dictionaries from the directory given to VXNInit.
    ASSERT_EQ(synth_.VXNSetLanguage(language, 0), 1);
    synth_.VXNModelSelect(0);
    const int level = g_nStatePrint;
    g_nStatePrint = 3;  // a European language reports that it has no analyzer
    std::string dict = std::string(VXN_TEST_BINARY_DIR) + "/voice/Dict/";
    ASSERT_EQ(synth_.VXNInit(&base[0], &dict[0]), 1);
    g_nStatePrint = level;
    synth_.VXNSetMemory(2400, 4);
    synth_.VXNSetStreamCallback(collect);
  }
  // Number of chunks that end a piece (state 3) or the text (state 1).
  static int piece_ends() {
    int n = 0;
    for (const Chunk& c : g_chunks) n += c.state == 3 || c.state == 1;
    return n;
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
  for (int language : {9, 0}) {
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
  Start(0);
  synth_.Language()->LangCloseModule();
  ASSERT_FALSE(synth_.Language()->HasAnalyzer());
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
  EXPECT_NE(err.find("error [0040] : Null input parameter in VXNStartStreamingPlayUtf8."), std::string::npos);
  EXPECT_NE(err.find("error [0050] : Not initialized in VXNStartStreamingPlayUtf8"), std::string::npos);
  EXPECT_NE(err.find("error [0040] : Null input parameter in VXNStartStreamingPlayUtf16."), std::string::npos);
  EXPECT_NE(err.find("error [0040] : Null input parameter in VXNStartStreamingPlay."), std::string::npos);
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
  // Three pieces of speech: the first two end with state 3, the text with 1;
  // the last result was a label count, so no end notice follows.
  ASSERT_FALSE(g_chunks.empty());
  EXPECT_EQ(piece_ends(), 3);
  EXPECT_EQ(g_chunks.back().state, 1);
  EXPECT_GT(g_chunks.back().count, 0);
  for (size_t i = 1; i < g_chunks.size(); i++)
    if (g_chunks[i].state == 0) {
      EXPECT_NE(g_chunks[i - 1].state, 3) << i;
    }

  testing::internal::CaptureStderr();
  EXPECT_EQ(Utf8("x", 0, 300), 1);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(engine().ms.pause_mode, 0);
  EXPECT_FLOAT_EQ(engine().ms.pause_frames, 0.0f);
}

TEST_F(Driver, UsEnglishSingleSymbolIsSpokenByName) {
  Start(1);
  ASSERT_TRUE(synth_.Language()->HasAnalyzer());
  testing::internal::CaptureStderr();
  g_nStatePrint = 1;
  EXPECT_EQ(Utf8("?"), 1);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Synthesis text: Question mark\n"), std::string::npos) << err;
  ASSERT_FALSE(g_chunks.empty());
  EXPECT_EQ(g_chunks.back().state, 1);
  EXPECT_GT(g_chunks.back().count, 0);
}

TEST_F(Driver, AnAnalyzerThatNeverFinishesIsLeft) {
  Start(9);
  std::string lib = module_dir("LibStuck");
  char model[] = "M/", dict[] = "D/";
  synth_.Language()->LangInitialLoad(model, &lib[0], model, dict);
  ASSERT_TRUE(synth_.Language()->HasAnalyzer());
  short text[] = {'a', 0};
  testing::internal::CaptureStderr();
  EXPECT_EQ(synth_.VXNStartStreamingPlayUtf16(text, 1, 0, 0), 1);  // no pacing in this entry
  EXPECT_NE(testing::internal::GetCapturedStderr().find("The analyzer made no progress"),
            std::string::npos);
  ASSERT_EQ(g_chunks.size(), 1u);
  EXPECT_EQ(g_chunks[0].count, 0);
  EXPECT_EQ(g_chunks[0].state, 1);
}

TEST_F(Driver, TimingLogRecordsTheStagesOfEveryPiece) {
  Start(9);
  synth_.VXNFree();
  remove("SynthesisTime.txt");
  ASSERT_EQ(synth_.VXNSetLanguage(9, 1), 1);
  synth_.VXNModelSelect(0);
  std::string base =
      vxn_scratch(std::string("driver_") +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_log");
  vxn_make_voice(base, "Ch/vxnf_ch_24_256", module_dir("Lib"));
  ASSERT_EQ(synth_.VXNInit(&base[0], &base[0]), 1);
  synth_.VXNSetMemory(2400, 4);
  synth_.VXNSetStreamCallback(collect);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Utf8("a b|c"), 1);
  testing::internal::GetCapturedStderr();
  FILE* log = fopen("SynthesisTime.txt", "r");
  ASSERT_NE(log, nullptr);
  std::string text;
  char line[256];
  while (fgets(line, sizeof(line), log)) text += line;
  fclose(log);
  size_t speech = 0;
  for (size_t p = text.find("Speech Generation"); p != std::string::npos;
       p = text.find("Speech Generation", p + 1))
    speech++;
  EXPECT_EQ(speech, 2u);  // one per piece
  EXPECT_NE(text.find("Parameter Generation"), std::string::npos);
  EXPECT_GT(engine().total_time, 0.0f);
  remove("SynthesisTime.txt");
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
  // A stop between pieces still closes the call with exactly one end notice.
  ASSERT_FALSE(g_chunks.empty());
  EXPECT_EQ(g_chunks.back().state, 1);
  int ends = 0;
  for (const Chunk& c : g_chunks) ends += c.state == 1;
  EXPECT_EQ(ends, 1);
}

TEST_F(Driver, PacingSleepsBetweenPieces) {
  Start(9);
  using Clock = std::chrono::steady_clock;
  testing::internal::CaptureStderr();
  const Clock::time_point t0 = Clock::now();
  EXPECT_EQ(Utf8(""), 1);
  const Clock::time_point t1 = Clock::now();
  // Three pieces with nothing to say: 20 ms before the second, 100 ms before
  // the third.
  EXPECT_EQ(Utf8("|||"), 1);
  const Clock::time_point t2 = Clock::now();
  testing::internal::GetCapturedStderr();
  const auto one = std::chrono::duration_cast<std::chrono::milliseconds>(t1 - t0).count();
  const auto three = std::chrono::duration_cast<std::chrono::milliseconds>(t2 - t1).count();
  EXPECT_GE(three - one, 110);
  EXPECT_LT(three - one, 400);
}

TEST_F(Driver, SilenceOnlyTextGivesTheSilenceChunksAndNoEndNotice) {
  Start(9);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Utf8("<silence=110>"), 1);  // 2640 samples at 24 kHz
  ASSERT_EQ(g_chunks.size(), 2u);
  EXPECT_EQ(g_chunks[0].count, 2400);
  EXPECT_EQ(g_chunks[0].state, 2);
  EXPECT_EQ(g_chunks[1].count, 240);
  EXPECT_EQ(g_chunks[1].state, 1);
  for (int i = 0; i < 240; i++) ASSERT_EQ(g_chunks[1].samples[i], 1);
  synth_.VXNRefresh();
  g_chunks.clear();
  EXPECT_EQ(Utf8("<silence=100>"), 1);  // exactly one chunk: the last one is empty
  testing::internal::GetCapturedStderr();
  ASSERT_EQ(g_chunks.size(), 2u);
  EXPECT_EQ(g_chunks[0].state, 2);
  EXPECT_EQ(g_chunks[1].count, 0);
  EXPECT_EQ(g_chunks[1].state, 1);
}

TEST_F(Driver, SilenceBeforeSpeechEndsItsPiece) {
  Start(9);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Utf8("<silence=50>|a b"), 1);
  testing::internal::GetCapturedStderr();
  ASSERT_GE(g_chunks.size(), 2u);
  EXPECT_EQ(g_chunks[0].count, 1200);
  EXPECT_EQ(g_chunks[0].state, 3);
  EXPECT_EQ(piece_ends(), 2);
  EXPECT_EQ(g_chunks.back().state, 1);
}

int g_stop_after = -1;
CVxnSynth* g_stop_synth = nullptr;

void stop_in_callback(short* samples, int count, int state) {
  collect(samples, count, state);
  if ((int)g_chunks.size() == g_stop_after) g_stop_synth->VXNSetControlStop();
}

TEST_F(Driver, StopInsideTheCallbackEndsWithinOneFrame) {
  Start(9);
  synth_.VXNSetMemory(1200, 8);  // the smallest chunk that holds the closing silence
  synth_.VXNSetStreamCallback(stop_in_callback);
  g_stop_synth = &synth_;
  g_stop_after = 2;
  testing::internal::CaptureStderr();
  EXPECT_EQ(Utf8("a b c d e f g h i j k l m n o p"), 1);
  testing::internal::GetCapturedStderr();
  // After the chunk that asked for the stop: the faded partial chunk (at most
  // one frame of samples) with state 0, then 10 frames of value 1 with state 1.
  ASSERT_EQ(g_chunks.size(), 4u);
  EXPECT_EQ(g_chunks[2].state, 0);
  EXPECT_LE(g_chunks[2].count, engine().output_fperiod + 10);
  EXPECT_EQ(g_chunks[3].state, 1);
  EXPECT_EQ(g_chunks[3].count, 10 * engine().output_fperiod);
  for (int i = 0; i < g_chunks[3].count; i++) ASSERT_EQ(g_chunks[3].samples[i], 1);
  EXPECT_EQ(synth_.VXNGetControlState(), 0);
  g_stop_after = -1;
}

}  // namespace
