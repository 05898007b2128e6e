// libVXN_lang_kr.so: the Korean analyzer object the language host loads.
// Its data fields and the order of its virtual operations are a binary
// contract with the host (lang/VXN_module_layout.h); the work is done by
// KoreanAnalysis. Text arrives in EUC-KR; the object keeps the pending text
// and its position between calls.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <new>
#include <string>
#include <vector>

#include "lang/VXN_module_layout.h"
#include "modules/cjk/cjk_piece.h"
#include "modules/kr/kr_analyzer.h"
#include "modules/kr/kr_euckr.h"

#define VXN_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

const size_t kMaxPieceChars = 120;

class CLangKorean {
 public:
  char** labels = nullptr;
  int32_t labelCount = 0;
  char uttType = 'A';
  bool textDone = true;
  bool normalCur = true;
  bool normalPrev = true;
  int32_t silenceTime = 0;

  CLangKorean() : cutter_(kMaxPieceChars) {}
  virtual ~CLangKorean() = default;

  virtual int InitialLoad(char* modelDir, char* dataDir, char* dictDir) {
    (void)dictDir;
    std::string model = modelDir ? modelDir : "", data = dataDir ? dataDir : "";
    if (!model.empty() && model.back() != '/') model += '/';
    if (!data.empty() && data.back() != '/') data += '/';
    if (!analysis_.Load(model, data)) {
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
      cutter_.Start(kr::DecodeEucKr(text, strlen(text)));
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
    kr::PieceAnalysis result = analysis_.Analyze(piece.chars, EndsSentence(piece));
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

  virtual int PreprocessFirstSentence(char* text) {
    if (cutter_.pending() || !text) return 0;
    cutter_.Start(kr::DecodeEucKr(text, strlen(text)));
    textDone = !cutter_.pending();
    return 1;
  }

  virtual int GetPorcessedTextLength() { return (int)cutter_.consumed(); }

 private:
  // A piece ends a sentence when it ends with an end mark or the text ends.
  bool EndsSentence(const cjk::Piece& piece) const {
    if (!cutter_.pending()) return true;
    for (size_t k = piece.chars.size(); k-- > 0;) {
      uint32_t c = cjk::FoldWidth(piece.chars[k]);
      if (c == '.' || c == '?' || c == '!' || c == 0x3002) return true;
      if (c != '"' && c != '\'' && c != ')' && !cjk::IsSpace(c)) return false;
    }
    return false;
  }

  void ClearLabels() {
    labels = nullptr;
    labelCount = 0;
    pointers_.clear();
    strings_.clear();
  }

  kr::KoreanAnalysis analysis_;
  cjk::PieceCutter cutter_;
  std::vector<std::string> strings_;
  std::vector<char*> pointers_;
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(CLangKorean, labels) == vxn_module::kKoLabels, "labels");
static_assert(offsetof(CLangKorean, labelCount) == vxn_module::kKoLabelCount, "labelCount");
static_assert(offsetof(CLangKorean, uttType) == vxn_module::kKoUttType, "uttType");
static_assert(offsetof(CLangKorean, textDone) == vxn_module::kKoTextDone, "textDone");
static_assert(offsetof(CLangKorean, normalCur) == vxn_module::kKoNormalCur, "normalCur");
static_assert(offsetof(CLangKorean, normalPrev) == vxn_module::kKoNormalPrev, "normalPrev");
static_assert(offsetof(CLangKorean, silenceTime) == vxn_module::kKoSilenceTime, "silenceTime");
#pragma GCC diagnostic pop

}  // namespace

VXN_MODULE_EXPORT void* CreateLangKorean() { return new (std::nothrow) CLangKorean(); }

VXN_MODULE_EXPORT void DestroyLangKorean(void* object) { delete static_cast<CLangKorean*>(object); }
