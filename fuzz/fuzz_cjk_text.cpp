// Korean and Chinese analysis of arbitrary bytes. Input layout: the first
// byte selects the language (even: Korean, read as EUC-KR; odd: Chinese,
// read as UTF-8); the rest is the text, cut into pieces and analysed piece
// by piece as the modules do. The resources come from the fuzz build's
// voice directory.
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "modules/ch/ch_analyzer.h"
#include "modules/cjk/cjk_piece.h"
#include "modules/kr/kr_analyzer.h"
#include "modules/kr/kr_euckr.h"

namespace {

const std::string kVoice = VXN_FUZZ_VOICE_DIR;

template <typename Analysis>
void analyse(const Analysis& analysis, cjk::Text text) {
  cjk::PieceCutter cutter(120);
  cutter.Start(std::move(text));
  while (cutter.pending()) {
    cjk::Piece piece = cutter.Next();
    if (piece.kind == cjk::Piece::kSpeech) analysis.Analyze(piece.chars, !cutter.pending());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static kr::KoreanAnalysis korean;
  static ch::ChineseAnalysis chinese;
  static bool loaded = korean.Load(kVoice + "Model/", kVoice + "Data/") &&
                       chinese.Load(kVoice + "Model/Ch/LangCN");
  if (!loaded || size < 1) return 0;
  std::string text((const char*)data + 1, size - 1);
  if (data[0] % 2 == 0) analyse(korean, kr::DecodeEucKr(text.data(), text.size()));
  else analyse(chinese, cjk::DecodeUtf8(text));
  return 0;
}
