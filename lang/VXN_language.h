// Language host: owns the engine record and exactly one analyzer (the built-in
// European analyzer, or a Korean or Chinese module object loaded with dlopen),
// forwards the driver's requests to it and reads its per-piece results.
// The analyzer and module handles are released by LangCloseModule, the engine
// record by VXN_Engine_clear (both from the facade's VXNFree). Not thread-safe.
#ifndef VXN_LANGUAGE_H
#define VXN_LANGUAGE_H

#include "engine/VXN_engine.h"

class CLangAnalEuBase;

class CVxnLanguage {
 public:
  CVxnLanguage();
  ~CVxnLanguage() = default;
  CVxnLanguage(const CVxnLanguage&) = delete;
  CVxnLanguage& operator=(const CVxnLanguage&) = delete;

  // Loads the analyzer of languageId, closing any previous one first. A
  // missing module, entry or object is reported and leaves no analyzer.
  void LangInitialLoad(char* modelDir, char* libDir, char* dataDir, char* dictDir);
  // Releases whichever analyzer is loaded (all three kinds are checked).
  void LangCloseModule();

  // Per-call and per-pass requests; without an analyzer they do nothing and
  // return 0.
  int LangRefreshInput();
  int LangTextPreprocessFirst(char* text);
  // Analyses the next piece: > 0 labels ready, 0 nothing to say, -1 silence.
  // Copies the piece's sentence type into the state and parameter stream sets.
  int LangTextAnalyze(char* text);
  // The analyzer's labels become the engine's label sequence.
  void SetLabel();

  // Per-piece results. Without an analyzer: boundaries true, text done,
  // no silence, nothing processed.
  bool GetNormalCur();
  bool GetNormalPrev();
  bool GetProcInTxt();
  int GetSilenceTime();
  int GetPorcessedTextLength();
  // True when an analyzer is installed.
  bool HasAnalyzer() const;
  // True when the analyzer can analyse text: for European languages its
  // grapheme-to-phoneme module loaded as well.
  bool IsReady() const;

  // Returns value clamped to min..max.
  static int CheckData(int min, int max, int value);
  // When the whole text is one listed symbol, *out receives its spoken name
  // (a VXN_calloc buffer owned by the caller) and the result is true.
  bool processing_single_symbol(char* text, int languageId, char** out);

  float pitch;
  float speed;
  VXN_Engine engine;
  int32_t languageId;
  int32_t modelIndex;
  void* koreanAnalyzer;
  void* koreanLibrary;
  void* chineseAnalyzer;
  void* chineseLibrary;
  CLangAnalEuBase* europeanAnalyzer;

 private:
  enum Kind { kNone, kKorean, kChinese, kEuropean };
  bool europeanModuleLoaded;
  Kind Current() const;
  // Opens a module, calls its factory; false (and nothing kept) on any failure.
  bool LoadModule(const char* libDir, const char* fileName, const char* createName,
                  const char* languageName, void** object, void** library);
  void CloseModuleObject(const char* destroyName, const char* languageName, void** object,
                         void** library);
};

#endif
