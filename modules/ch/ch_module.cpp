// libVXN_lang_ch.so: the Chinese analyzer object the language host loads.
// Its data fields and the order of its virtual operations are a binary
// contract with the host (lang/VXN_module_layout.h); the work is done by
// ChineseAnalysis. Text arrives in UTF-8; the object keeps the pending text
// and its position between calls.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <new>
#include <string>
#include <vector>

#include "lang/VXN_module_layout.h"
#include "modules/ch/ch_analyzer.h"
#include "modules/cjk/cjk_piece.h"

#define VXN_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

const size_t kMaxPieceChars = 80;

class CLangChinese {
 public:
  char** labels = nullptr;
  int32_t labelCount = 0;
  char uttType = 'A';
  bool textDone = true;
  int32_t silenceTime = 0;
  bool normalCur = true;
  bool normalPrev = true;

  CLangChinese() : cutter_(kMaxPieceChars) {}
  virtual ~CLangChinese() = default;

  virtual int InitialLoad(char* chineseDir, char* dictDir) {
    (void)dictDir;
    if (!analysis_.Load(chineseDir ? chineseDir : "")) {
      fprintf(stderr, "\nTTS_Fatal Error: %s\n", analysis_.error().c_str());
      return 0;
    }
    return 1;
  }

  virtual void CloseModule() {
    cutter_.Reset();
    ClearLabels();
  }

  virtual int TextAnalyze(const char* text) {
    ClearLabels();
    silenceTime = 0;
    if (!cutter_.pending()) {
      if (!text) {
        textDone = true;
        return 0;
      }
      cutter_.Start(cjk::DecodeUtf8(std::string(text, strlen(text))));
    }
    if (!cutter_.pending()) {
      textDone = true;
      return 0;
    }
    cjk::Piece piece = cutter_.Next();
    textDone = !cutter_.pending();
    if (piece.kind == cjk::Piece::kSilence) {
      silenceTime = piece.silenceMs;
      return -1;
    }
    normalPrev = normalCur;
    normalCur = piece.normal;
    if (!analysis_.loaded()) return 0;
    ch::PieceAnalysis result = analysis_.Analyze(piece.chars, EndsSentence(piece));
    uttType = result.uttType;
    strings_ = result.labels;
    for (std::string& s : strings_) pointers_.push_back(&s[0]);
    labels = pointers_.empty() ? nullptr : pointers_.data();
    labelCount = (int32_t)pointers_.size();
    return labelCount;
  }

  virtual int RefreshInput() {
    cutter_.Reset();
    ClearLabels();
    textDone = normalCur = normalPrev = true;
    silenceTime = 0;
    return 1;
  }

  virtual int GetPorcessedTextLength() { return (int)cutter_.consumed(); }

 private:
  bool EndsSentence(const cjk::Piece& piece) const {
    if (!cutter_.pending()) return true;
    for (size_t k = piece.chars.size(); k-- > 0;) {
      uint32_t c = cjk::FoldWidth(piece.chars[k]);
      if (c == '.' || c == '?' || c == '!' || c == 0x3002) return true;
      if (c != '"' && c != 0x201D && c != ')' && !cjk::IsSpace(c)) return false;
    }
    return false;
  }

  void ClearLabels() {
    labels = nullptr;
    labelCount = 0;
    pointers_.clear();
    strings_.clear();
  }

  ch::ChineseAnalysis analysis_;
  cjk::PieceCutter cutter_;
  std::vector<std::string> strings_;
  std::vector<char*> pointers_;
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(CLangChinese, labels) == vxn_module::kChLabels, "labels");
static_assert(offsetof(CLangChinese, labelCount) == vxn_module::kChLabelCount, "labelCount");
static_assert(offsetof(CLangChinese, uttType) == vxn_module::kChUttType, "uttType");
static_assert(offsetof(CLangChinese, textDone) == vxn_module::kChTextDone, "textDone");
static_assert(offsetof(CLangChinese, silenceTime) == vxn_module::kChSilenceTime, "silenceTime");
static_assert(offsetof(CLangChinese, normalCur) == vxn_module::kChNormalCur, "normalCur");
static_assert(offsetof(CLangChinese, normalPrev) == vxn_module::kChNormalPrev, "normalPrev");
#pragma GCC diagnostic pop

}  // namespace

VXN_MODULE_EXPORT void* CreateLangChinese() { return new (std::nothrow) CLangChinese(); }

VXN_MODULE_EXPORT void DestroyLangChinese(void* object) { delete static_cast<CLangChinese*>(object); }
