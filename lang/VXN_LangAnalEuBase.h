// Analyzer interface shared by the built-in European analyzer and the Korean
// and Chinese analyzer modules. The host reads the per-piece result fields
// directly; their byte offsets (labels 8, labelCount 16, uttType 20,
// textDone 21, silenceTime 24, normalCur 28, normalPrev 29) and the virtual
// slot order are a binary contract with the modules.
#ifndef VXN_LANGANALEUBASE_H
#define VXN_LANGANALEUBASE_H

#include <stdint.h>

class CLangAnalEuBase {
 public:
  char** labels = nullptr;     // label strings of the current piece
  int32_t labelCount = 0;
  char uttType = 0;            // 'A' statement, 'B' question
  bool textDone = true;        // no text left after the current piece
  int32_t silenceTime = 0;     // milliseconds of a silence-tag piece
  bool normalCur = true;       // piece ended at a real boundary
  bool normalPrev = true;      // normalCur of the previous piece

  virtual ~CLangAnalEuBase() {}                                  // slots 0 and 1
  virtual int InitialLoad(char* libDir, char* dictDir) = 0;      // slot 2
  virtual void CloseModule() = 0;                                // slot 3
  virtual int TextAnalyze(const char* text) = 0;                 // slot 4
  virtual void SetLanguage(int id) = 0;                          // slot 5
  virtual int RefreshInput() = 0;                                // slot 6
  virtual int PreprocessFirstSentence(char* text) = 0;           // slot 7
  virtual int GetPorcessedTextLength() { return 0; }             // slot 8
};

#endif
