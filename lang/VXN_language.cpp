#include "lang/VXN_language.h"

#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

#include <vector>

#include "lang/VXN_LangAnalEuBase.h"
#include "lang/VXN_LangAnalEu_factory.h"
#include "lang/VXN_module_layout.h"

using namespace vxn_module;

// The European analyzer's fields sit where the Chinese module's do; the host
// reads both kinds the same way.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(CLangAnalEuBase, labels) == kChLabels, "labels at 8");
static_assert(offsetof(CLangAnalEuBase, labelCount) == kChLabelCount, "labelCount at 16");
static_assert(offsetof(CLangAnalEuBase, uttType) == kChUttType, "uttType at 20");
static_assert(offsetof(CLangAnalEuBase, textDone) == kChTextDone, "textDone at 21");
static_assert(offsetof(CLangAnalEuBase, silenceTime) == kChSilenceTime, "silenceTime at 24");
static_assert(offsetof(CLangAnalEuBase, normalCur) == kChNormalCur, "normalCur at 28");
static_assert(offsetof(CLangAnalEuBase, normalPrev) == kChNormalPrev, "normalPrev at 29");
static_assert(sizeof(bool) == 1 && sizeof(void*) == 8, "the module layout assumes LP64");
#pragma GCC diagnostic pop

namespace {

// Room for install roots deeper than the device's own paths.
const int kModuleNameSize = 4096;
const int kChineseDirSize = 4096;

// Module calls go through the object's table; UBSan's function-type check
// cannot know that a member function takes the object as its first argument.
#if defined(__clang__)
#define VXN_MODULE_CALL __attribute__((no_sanitize("function")))
#else
#define VXN_MODULE_CALL
#endif

VXN_MODULE_CALL int call_int(void* object, int slot) {
  return slot_function<int (*)(void*)>(object, slot)(object);
}

VXN_MODULE_CALL int call_text(void* object, int slot, const char* text) {
  return slot_function<int (*)(void*, const char*)>(object, slot)(object, text);
}

VXN_MODULE_CALL int call_load2(void* object, int slot, char* a, char* b) {
  return slot_function<int (*)(void*, char*, char*)>(object, slot)(object, a, b);
}

VXN_MODULE_CALL int call_load3(void* object, int slot, char* a, char* b, char* c) {
  return slot_function<int (*)(void*, char*, char*, char*)>(object, slot)(object, a, b, c);
}

VXN_MODULE_CALL void* call_factory(FactoryFn factory) { return factory(); }

VXN_MODULE_CALL void call_destroy(DestroyFn destroy, void* object) { destroy(object); }

char kEmpty[] = "";

}  // namespace

CVxnLanguage::CVxnLanguage()
    : pitch(0.0f),
      speed(0.0f),
      languageId(0),
      modelIndex(0),
      koreanAnalyzer(nullptr),
      koreanLibrary(nullptr),
      chineseAnalyzer(nullptr),
      chineseLibrary(nullptr),
      europeanAnalyzer(nullptr),
      europeanModuleLoaded(false) {
  memset(&engine, 0, sizeof(engine));
}

int CVxnLanguage::CheckData(int min, int max, int value) {
  if (value > max) return max;
  if (value < min) return min;
  return value;
}

CVxnLanguage::Kind CVxnLanguage::Current() const {
  if (languageId == 0) return koreanAnalyzer ? kKorean : kNone;
  if (languageId == 9) return chineseAnalyzer ? kChinese : kNone;
  return europeanAnalyzer ? kEuropean : kNone;
}

bool CVxnLanguage::HasAnalyzer() const { return Current() != kNone; }

bool CVxnLanguage::IsReady() const {
  const Kind kind = Current();
  return kind == kEuropean ? europeanModuleLoaded : kind != kNone;
}

bool CVxnLanguage::LoadModule(const char* libDir, const char* fileName, const char* createName,
                              const char* languageName, void** object, void** library) {
  std::vector<char> path(kModuleNameSize);
  const int n = snprintf(path.data(), path.size(), "%s%s", libDir, fileName);
  void* handle = n < (int)path.size() ? dlopen(path.data(), RTLD_LAZY) : nullptr;
  if (!handle) {
    VXN_print(VXN_LEVEL_ERROR, "Cannot load %s language library.\n", languageName);
    return false;
  }
  FactoryFn factory = reinterpret_cast<FactoryFn>(dlsym(handle, createName));
  if (!factory) {
    VXN_print(VXN_LEVEL_ERROR, "Cannot find %s in %s language library.\n", createName,
              languageName);
    dlclose(handle);
    return false;
  }
  void* made = call_factory(factory);
  if (!made) {
    VXN_print(VXN_LEVEL_ERROR, "%s made no analyzer.\n", createName);
    dlclose(handle);
    return false;
  }
  *object = made;
  *library = handle;
  return true;
}

void CVxnLanguage::LangInitialLoad(char* modelDir, char* libDir, char* dataDir, char* dictDir) {
  if (!modelDir || !libDir || !dataDir || !dictDir)
    VXN_print(VXN_LEVEL_ERROR, "Null input parameter in the LangInitialLoad\n");
  // A missing directory is taken as the working directory.
  if (!modelDir) modelDir = kEmpty;
  if (!libDir) libDir = kEmpty;
  if (!dataDir) dataDir = kEmpty;
  if (!dictDir) dictDir = kEmpty;
  LangCloseModule();

  if (languageId == 9) {
    if (!LoadModule(libDir, kChineseLibrary, kChineseCreate, "Chinese", &chineseAnalyzer,
                    &chineseLibrary))
      return;
    std::vector<char> chineseDir(kChineseDirSize);
    snprintf(chineseDir.data(), chineseDir.size(), "%sCh/LangCN", modelDir);
    call_load2(chineseAnalyzer, kChInitialLoad, chineseDir.data(), dictDir);
  } else if (languageId == 0) {
    if (!LoadModule(libDir, kKoreanLibrary, kKoreanCreate, "Korean", &koreanAnalyzer,
                    &koreanLibrary))
      return;
    call_load3(koreanAnalyzer, kKoInitialLoad, modelDir, dataDir, dictDir);
  } else {
    europeanAnalyzer = VXN_create_european_analyzer();
    if (!europeanAnalyzer) {
      VXN_print(VXN_LEVEL_ERROR, "No European language analyzer in this build.\n");
      return;
    }
    europeanAnalyzer->SetLanguage(languageId);
    europeanModuleLoaded = europeanAnalyzer->InitialLoad(libDir, dictDir) == 1;
  }
}

void CVxnLanguage::CloseModuleObject(const char* destroyName, const char* languageName,
                                     void** object, void** library) {
  if (!*object) return;
  DestroyFn destroy = *library ? reinterpret_cast<DestroyFn>(dlsym(*library, destroyName)) : nullptr;
  if (!destroy) {
    // Without its own release entry the object cannot be freed safely, and
    // closing the library would unmap the code it still points to.
    VXN_print(VXN_LEVEL_ERROR, "Cannot find %s in %s language library.\n", destroyName,
              languageName);
    return;
  }
  call_destroy(destroy, *object);
  *object = nullptr;
  dlclose(*library);
  *library = nullptr;
}

void CVxnLanguage::LangCloseModule() {
  CloseModuleObject(kChineseDestroy, "Chinese", &chineseAnalyzer, &chineseLibrary);
  CloseModuleObject(kKoreanDestroy, "Korean", &koreanAnalyzer, &koreanLibrary);
  delete europeanAnalyzer;
  europeanAnalyzer = nullptr;
  europeanModuleLoaded = false;
}

int CVxnLanguage::LangRefreshInput() {
  switch (Current()) {
    case kKorean: return call_int(koreanAnalyzer, kKoRefreshInput);
    case kChinese: return call_int(chineseAnalyzer, kChRefreshInput);
    case kEuropean: return europeanAnalyzer->RefreshInput();
    default: return 0;
  }
}

int CVxnLanguage::LangTextPreprocessFirst(char* text) {
  if (!text) {
    VXN_print(VXN_LEVEL_ERROR, "Null input parameter in the LangTextPreprocessFirst\n");
    return 0;
  }
  switch (Current()) {
    case kKorean: return call_text(koreanAnalyzer, kKoPreprocessFirst, text);
    case kEuropean: return europeanAnalyzer->PreprocessFirstSentence(text);
    default: return 0;  // the Chinese module prepares its text itself
  }
}

int CVxnLanguage::LangTextAnalyze(char* text) {
  if (!text) {
    VXN_print(VXN_LEVEL_ERROR, "Null input parameter in the LangTextAnalyze\n");
    return 0;
  }
  int result = 0;
  char uttType = 0;
  switch (Current()) {
    case kKorean:
      result = call_text(koreanAnalyzer, kKoTextAnalyze, text);
      uttType = read_field<char>(koreanAnalyzer, kKoUttType);
      break;
    case kChinese:
      result = call_text(chineseAnalyzer, kChTextAnalyze, text);
      uttType = read_field<char>(chineseAnalyzer, kChUttType);
      break;
    case kEuropean:
      result = europeanAnalyzer->TextAnalyze(text);
      uttType = europeanAnalyzer->uttType;
      break;
    default:
      return 0;
  }
  engine.sss.sentence_type = uttType;
  engine.pss.sentence_type = uttType;
  return result;
}

void CVxnLanguage::SetLabel() {
  char** labels = nullptr;
  int count = 0;
  switch (Current()) {
    case kKorean:
      labels = read_field<char**>(koreanAnalyzer, kKoLabels);
      count = read_field<int32_t>(koreanAnalyzer, kKoLabelCount);
      break;
    case kChinese:
      labels = read_field<char**>(chineseAnalyzer, kChLabels);
      count = read_field<int32_t>(chineseAnalyzer, kChLabelCount);
      break;
    case kEuropean:
      labels = europeanAnalyzer->labels;
      count = europeanAnalyzer->labelCount;
      break;
    default:
      return;
  }
  if (Current() != kEuropean) {
    const int size = VXN_Label_get_size(&engine.label);
    for (int i = 0; i < size; i++) VXN_Label_set_frame(&engine.label, i, -1.0f);
  }
  if (!labels || count <= 0) return;
  VXN_Engine_load_label_from_string_list(&engine, labels, count);
}

bool CVxnLanguage::GetNormalCur() {
  switch (Current()) {
    case kKorean: return read_flag(koreanAnalyzer, kKoNormalCur);
    case kChinese: return read_flag(chineseAnalyzer, kChNormalCur);
    case kEuropean: return europeanAnalyzer->normalCur;
    default: return true;
  }
}

bool CVxnLanguage::GetNormalPrev() {
  switch (Current()) {
    case kKorean: return read_flag(koreanAnalyzer, kKoNormalPrev);
    case kChinese: return read_flag(chineseAnalyzer, kChNormalPrev);
    case kEuropean: return europeanAnalyzer->normalPrev;
    default: return true;
  }
}

bool CVxnLanguage::GetProcInTxt() {
  switch (Current()) {
    case kKorean: return read_flag(koreanAnalyzer, kKoTextDone);
    case kChinese: return read_flag(chineseAnalyzer, kChTextDone);
    case kEuropean: return europeanAnalyzer->textDone;
    default: return true;
  }
}

int CVxnLanguage::GetSilenceTime() {
  switch (Current()) {
    case kKorean: return read_field<int32_t>(koreanAnalyzer, kKoSilenceTime);
    case kChinese: return read_field<int32_t>(chineseAnalyzer, kChSilenceTime);
    case kEuropean: return europeanAnalyzer->silenceTime;
    default: return 0;
  }
}

int CVxnLanguage::GetPorcessedTextLength() {
  switch (Current()) {
    case kKorean: return call_int(koreanAnalyzer, kKoProcessedLength);
    case kChinese: return call_int(chineseAnalyzer, kChProcessedLength);
    case kEuropean: return europeanAnalyzer->GetPorcessedTextLength();
    default: return 0;
  }
}
