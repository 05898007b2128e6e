// Built-in analyzer for every European language: loads the language's
// grapheme-to-phoneme module (dlopen), cuts the input into pieces of speakable
// length, runs the front end over one piece per call and writes one
// full-context label per segment. Owns the preprocessed text, the label
// buffers, the module handle and the module's voice. One thread at a time.
#ifndef VXN_LANGANALEU_H
#define VXN_LANGANALEU_H

#include <stdint.h>

#include "engine/VXN_misc.h"
#include "lang/VXN_LangAnalEuBase.h"

struct cst_item_struct;
struct kvap_feature_cache;

// Marks a cut point inside the analyzer's text buffer.
#define VXN_BREAK_MARKER '\x0F'

class VXN_EXPORT CLangAnalEu : public CLangAnalEuBase {
 public:
  CLangAnalEu();
  ~CLangAnalEu() override;
  CLangAnalEu(const CLangAnalEu&) = delete;
  CLangAnalEu& operator=(const CLangAnalEu&) = delete;

  int InitialLoad(char* libDir, char* dictDir) override;
  void CloseModule() override;
  int TextAnalyze(const char* text) override;
  void SetLanguage(int id) override;
  int RefreshInput() override;
  int PreprocessFirstSentence(char* text) override;
  int GetPorcessedTextLength() override;

  int InitialRegister(char* libDir, char* dictDir);
  void CloseRegister();
  // Character tests on s (bytes up to its terminator).
  static bool CheckInput(const char* s, const char* set);
  static int CheckPunctuation(const char* s);
  static bool CheckComma(const char* s);
  static bool IsLongLetter(const char* word, int length);
  // Keeps the first and last 25 bytes of a string longer than 50.
  static void CutJoinText(char* word, int* length);
  // Inserts spaces every 10 bytes of a long letter string (word needs room
  // for length / 10 more bytes) and adds the spelling pause units.
  void HanldeExcpeptionalText(char* word, int* length);
  // Rewrites text in place with long letter strings split up.
  void ProcessLongLetterText(char* text);
  // English rewrites of in into out (room for 2 * strlen(in) + 1); returns
  // the number of input bytes.
  static int TextAnalyzePreprocessEnglish(const char* in, char* out);
  static char CheckType(const char* piece);
  // cache: the feature functions of the segment's utterance (see kvap_util.h).
  void Flite_VXN_Engine_create_label(cst_item_struct* segment, char* out, char uttType,
                                     kvap_feature_cache* cache);

  int32_t labelCapacity;
  int32_t labelSize;
  int32_t language;
  char* textBuffer;
  char* curText;
  char* nextText;
  void* voice;
  uint32_t spellPauseCount;
  void* pluginHandle;

 private:
  void FreeLabels();
  bool AllocateLabels(int count);
  void BuildTextBuffer(const char* text);
  void FindPiece();
};

extern "C" {
VXN_EXPORT CLangAnalEuBase* CreateLangEnglish();
VXN_EXPORT void DestroyLangEnglish(CLangAnalEuBase* analyzer);
}

#endif
