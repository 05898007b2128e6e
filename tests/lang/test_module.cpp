// Test analyzer module with the Korean (VXN_TEST_KOREAN) or the Chinese object
// layout. It does not analyse a language: it cuts its text at '|' (a real
// boundary) or '~' (a forced cut), answers "<silence=N>" pieces with a
// silence, and gives every other piece one label per word between two pauses.
// Exported probes let the tests see which operations the host called.
// Variants: VXN_TEST_NULL_FACTORY, VXN_TEST_NO_CREATE, VXN_TEST_NO_DESTROY
// (entry contract) and VXN_TEST_STUCK (an analyzer that never finishes).
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "lang/VXN_module_layout.h"

#define VXN_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::string g_calls;      // one entry per host call, separated by ';'
std::string g_last_text;  // text of the last TextAnalyze
int g_live = 0;           // objects made and not yet destroyed

void record(const std::string& call) { g_calls += call + ";"; }

// The pending text and the cutting shared by both layouts.
struct Cutter {
  std::string text;
  size_t pos = 0;
  bool pending = false;
  std::vector<std::string> names;
  std::vector<char*> pointers;

  // Cuts the next piece; fills the result fields through the references.
  int next(const char* input, char** &labels, int32_t& labelCount, char& uttType, bool& textDone,
           bool& normalCur, bool& normalPrev, int32_t& silenceTime) {
#ifdef VXN_TEST_STUCK
    // A faulty analyzer: never says anything, never finishes.
    (void)input;
    labels = nullptr;
    labelCount = 0;
    uttType = 'A';
    textDone = false;
    normalCur = normalPrev = true;
    silenceTime = 0;
    return 0;
#endif
    if (!pending) {
      text = input ? input : "";
      pos = 0;
      pending = true;
    }
    size_t end = text.find_first_of("|~", pos);
    const bool forced = end != std::string::npos && text[end] == '~';
    if (end == std::string::npos) end = text.size();
    std::string piece = text.substr(pos, end - pos);
    pos = end < text.size() ? end + 1 : end;
    textDone = pos >= text.size();
    if (textDone) pending = false;
    normalPrev = normalCur;
    normalCur = !forced;
    silenceTime = 0;
    labelCount = 0;
    names.clear();
    pointers.clear();
    labels = nullptr;

    while (!piece.empty() && piece.front() == ' ') piece.erase(0, 1);
    while (!piece.empty() && piece.back() == ' ') piece.pop_back();
    if (piece.empty()) return 0;
    uttType = piece.back() == '?' ? 'B' : 'A';
    int ms = 0;
    if (sscanf(piece.c_str(), "<silence=%d>", &ms) == 1) {
      silenceTime = ms;
      return -1;
    }
    names.push_back("x^x-pau+x=x");
    size_t start = 0;
    while (start < piece.size()) {
      size_t blank = piece.find(' ', start);
      if (blank == std::string::npos) blank = piece.size();
      if (blank > start) names.push_back("x^x-" + piece.substr(start, blank - start) + "+x=x");
      start = blank + 1;
    }
    names.push_back("x^x-pau+x=x");
    for (std::string& name : names) pointers.push_back(&name[0]);
    labels = pointers.data();
    labelCount = (int32_t)pointers.size();
    return labelCount;
  }
};

}  // namespace

#ifdef VXN_TEST_KOREAN

class KoreanAnalyzer {
 public:
  char** labels = nullptr;
  int32_t labelCount = 0;
  char uttType = 0;
  bool textDone = true;
  bool normalCur = true;
  bool normalPrev = true;
  int32_t silenceTime = 0;

  KoreanAnalyzer() { g_live++; }
  virtual ~KoreanAnalyzer() { g_live--; }
  virtual int InitialLoad(char* modelDir, char* dataDir, char* dictDir) {
    record(std::string("load(") + modelDir + "," + dataDir + "," + dictDir + ")");
    return 1;
  }
  virtual void CloseModule() { record("close"); }
  virtual int TextAnalyze(const char* text) {
    record("analyze");
    g_last_text = text ? text : "";
    return cutter.next(text, labels, labelCount, uttType, textDone, normalCur, normalPrev,
                       silenceTime);
  }
  virtual int RefreshInput() {
    record("refresh");
    cutter.pending = false;
    textDone = normalCur = normalPrev = true;
    silenceTime = 0;
    return 1;
  }
  virtual int PreprocessFirstSentence(char* text) {
    record(std::string("preprocess(") + (text ? text : "") + ")");
    return 2;
  }
  virtual int GetPorcessedTextLength() { return (int)cutter.pos; }

 private:
  Cutter cutter;
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(KoreanAnalyzer, labels) == vxn_module::kKoLabels, "");
static_assert(offsetof(KoreanAnalyzer, labelCount) == vxn_module::kKoLabelCount, "");
static_assert(offsetof(KoreanAnalyzer, uttType) == vxn_module::kKoUttType, "");
static_assert(offsetof(KoreanAnalyzer, textDone) == vxn_module::kKoTextDone, "");
static_assert(offsetof(KoreanAnalyzer, normalCur) == vxn_module::kKoNormalCur, "");
static_assert(offsetof(KoreanAnalyzer, normalPrev) == vxn_module::kKoNormalPrev, "");
static_assert(offsetof(KoreanAnalyzer, silenceTime) == vxn_module::kKoSilenceTime, "");
#pragma GCC diagnostic pop

#ifndef VXN_TEST_NO_CREATE
VXN_MODULE_EXPORT void* CreateLangKorean() {
#ifdef VXN_TEST_NULL_FACTORY
  return nullptr;
#else
  return new KoreanAnalyzer();
#endif
}
#endif

#ifndef VXN_TEST_NO_DESTROY
VXN_MODULE_EXPORT void DestroyLangKorean(void* object) {
  record("destroy");
  delete static_cast<KoreanAnalyzer*>(object);
}
#endif

#else  // Chinese layout

class ChineseAnalyzer {
 public:
  char** labels = nullptr;
  int32_t labelCount = 0;
  char uttType = 0;
  bool textDone = true;
  int32_t silenceTime = 0;
  bool normalCur = true;
  bool normalPrev = true;

  ChineseAnalyzer() { g_live++; }
  virtual ~ChineseAnalyzer() { g_live--; }
  virtual int InitialLoad(char* chineseDir, char* dictDir) {
    record(std::string("load(") + chineseDir + "," + dictDir + ")");
    return 1;
  }
  virtual void CloseModule() { record("close"); }
  virtual int TextAnalyze(const char* text) {
    record("analyze");
    g_last_text = text ? text : "";
    return cutter.next(text, labels, labelCount, uttType, textDone, normalCur, normalPrev,
                       silenceTime);
  }
  virtual int RefreshInput() {
    record("refresh");
    cutter.pending = false;
    textDone = normalCur = normalPrev = true;
    silenceTime = 0;
    return 1;
  }
  virtual int GetPorcessedTextLength() { return (int)cutter.pos; }
  // Never called by the host: preprocessing does not reach the Chinese module.
  virtual int PreprocessFirstSentence(char* text) {
    record(std::string("preprocess(") + (text ? text : "") + ")");
    return 2;
  }

 private:
  Cutter cutter;
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(ChineseAnalyzer, labels) == vxn_module::kChLabels, "");
static_assert(offsetof(ChineseAnalyzer, labelCount) == vxn_module::kChLabelCount, "");
static_assert(offsetof(ChineseAnalyzer, uttType) == vxn_module::kChUttType, "");
static_assert(offsetof(ChineseAnalyzer, textDone) == vxn_module::kChTextDone, "");
static_assert(offsetof(ChineseAnalyzer, silenceTime) == vxn_module::kChSilenceTime, "");
static_assert(offsetof(ChineseAnalyzer, normalCur) == vxn_module::kChNormalCur, "");
static_assert(offsetof(ChineseAnalyzer, normalPrev) == vxn_module::kChNormalPrev, "");
#pragma GCC diagnostic pop

#ifndef VXN_TEST_NO_CREATE
VXN_MODULE_EXPORT void* CreateLangChinese() {
#ifdef VXN_TEST_NULL_FACTORY
  return nullptr;
#else
  return new ChineseAnalyzer();
#endif
}
#endif

#ifndef VXN_TEST_NO_DESTROY
VXN_MODULE_EXPORT void DestroyLangChinese(void* object) {
  record("destroy");
  delete static_cast<ChineseAnalyzer*>(object);
}
#endif

#endif

VXN_MODULE_EXPORT const char* VXN_test_module_calls() { return g_calls.c_str(); }
VXN_MODULE_EXPORT const char* VXN_test_module_last_text() { return g_last_text.c_str(); }
VXN_MODULE_EXPORT int VXN_test_module_live() { return g_live; }
VXN_MODULE_EXPORT void VXN_test_module_reset() {
  g_calls.clear();
  g_last_text.clear();
}
