// Input layout: the bytes are one input text (a terminator is appended). The
// target runs the European analyzer's text preparation and piece cutting over
// it without a language module: long letter strings, first-sentence breaks,
// break-marker insertion, the piece search and the English rewrites.
#include <stdint.h>
#include <string.h>

#include <vector>

#include "lang/VXN_LangAnalEu.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  g_nStatePrint = 3;
  // Room for the spaces that long letter strings receive.
  std::vector<char> text(size * 2 + 64, '\0');
  memcpy(text.data(), data, size);
  CLangAnalEu analyzer;
  analyzer.ProcessLongLetterText(text.data());
  analyzer.spellPauseCount = 0;  // no pacing sleep inside the fuzzer
  analyzer.PreprocessFirstSentence(text.data());
  std::vector<char> english(strlen(text.data()) * 2 + 1);
  CLangAnalEu::TextAnalyzePreprocessEnglish(text.data(), english.data());
  analyzer.RefreshInput();
  for (int pieces = 0; pieces < 10000; ++pieces) {
    analyzer.TextAnalyze(text.data());
    analyzer.GetPorcessedTextLength();
    if (analyzer.textDone) break;
  }
  return 0;
}
