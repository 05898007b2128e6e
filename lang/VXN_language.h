// Language host: owns the engine record and exactly one analyzer (built-in
// European, or a Korean or Chinese module object loaded with dlopen), forwards
// the driver's requests to it and reads its per-piece results.
// The analyzer and module handles are released by LangCloseModule, the engine
// record by VXN_Engine_clear (both from the facade's VXNFree).
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

  // Loads the analyzer of languageId (closing any previous one first).
  void LangInitialLoad(char* modelDir, char* libDir, char* dataDir, char* dictDir);
  void LangCloseModule();

  // Returns value clamped to min..max.
  static int CheckData(int min, int max, int value);

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
};

#endif
