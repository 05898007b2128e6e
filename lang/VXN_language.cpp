#include "lang/VXN_language.h"

#include <string.h>

#include "lang/VXN_LangAnalEuBase.h"

CVxnLanguage::CVxnLanguage()
    : pitch(0.0f),
      speed(0.0f),
      languageId(0),
      modelIndex(0),
      koreanAnalyzer(nullptr),
      koreanLibrary(nullptr),
      chineseAnalyzer(nullptr),
      chineseLibrary(nullptr),
      europeanAnalyzer(nullptr) {
  memset(&engine, 0, sizeof(engine));
}

int CVxnLanguage::CheckData(int min, int max, int value) {
  if (value > max) return max;
  if (value < min) return min;
  return value;
}

void CVxnLanguage::LangInitialLoad(char* modelDir, char* libDir, char* dataDir, char* dictDir) {
  if (!modelDir || !libDir || !dataDir || !dictDir)
    VXN_print(VXN_LEVEL_ERROR, "Null input parameter in the LangInitialLoad\n");
  LangCloseModule();
  // Analyzer loading (built-in European analyzer, Korean and Chinese modules)
  // arrives with the language host; until then no analyzer is installed and
  // synthesis has nothing to call.
  VXN_print(VXN_LEVEL_INFO, "No language analyzer available for language %d\n", languageId);
}

void CVxnLanguage::LangCloseModule() {
  delete europeanAnalyzer;
  europeanAnalyzer = nullptr;
}
