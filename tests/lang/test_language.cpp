#include <gtest/gtest.h>

#include <string>

#include "engine/VXN_engine.h"
#include "lang/VXN_LangAnalEuBase.h"
#include "lang/VXN_language.h"
#include "lang/VXN_module_layout.h"
#include "test_module_probe.h"

namespace {

// Records which operation each table slot reached.
class SlotRecorder : public CLangAnalEuBase {
 public:
  std::string log;
  int InitialLoad(char* libDir, char* dictDir) override {
    log += std::string("InitialLoad:") + libDir + "," + dictDir + ";";
    return 11;
  }
  void CloseModule() override { log += "CloseModule;"; }
  int TextAnalyze(const char* text) override {
    log += std::string("TextAnalyze:") + text + ";";
    return 12;
  }
  void SetLanguage(int id) override { log += "SetLanguage:" + std::to_string(id) + ";"; }
  int RefreshInput() override {
    log += "RefreshInput;";
    return 13;
  }
  int PreprocessFirstSentence(char* text) override {
    log += std::string("Preprocess:") + text + ";";
    return 14;
  }
  int GetPorcessedTextLength() override {
    log += "Length;";
    return 15;
  }
};

class BaseOnly : public SlotRecorder {
 public:
  int GetPorcessedTextLength() override { return CLangAnalEuBase::GetPorcessedTextLength(); }
};

TEST(AnalyzerInterface, FieldOffsetsAreTheModuleContract) {
  SlotRecorder a;
  const char* base = reinterpret_cast<const char*>(&a);
  EXPECT_EQ(reinterpret_cast<const char*>(&a.labels) - base, 8);
  EXPECT_EQ(reinterpret_cast<const char*>(&a.labelCount) - base, 16);
  EXPECT_EQ(reinterpret_cast<const char*>(&a.uttType) - base, 20);
  EXPECT_EQ(reinterpret_cast<const char*>(&a.textDone) - base, 21);
  EXPECT_EQ(reinterpret_cast<const char*>(&a.silenceTime) - base, 24);
  EXPECT_EQ(reinterpret_cast<const char*>(&a.normalCur) - base, 28);
  EXPECT_EQ(reinterpret_cast<const char*>(&a.normalPrev) - base, 29);
}

TEST(AnalyzerInterface, SlotsReachTheOperationsInOrder) {
  using vxn_module::slot_function;
  SlotRecorder a;
  char lib[] = "L/", dict[] = "D/", text[] = "t";
  EXPECT_EQ((slot_function<int (*)(void*, char*, char*)>(&a, 2)(&a, lib, dict)), 11);
  slot_function<void (*)(void*)>(&a, 3)(&a);
  EXPECT_EQ((slot_function<int (*)(void*, const char*)>(&a, 4)(&a, text)), 12);
  slot_function<void (*)(void*, int)>(&a, 5)(&a, 7);
  EXPECT_EQ((slot_function<int (*)(void*)>(&a, 6)(&a)), 13);
  EXPECT_EQ((slot_function<int (*)(void*, char*)>(&a, 7)(&a, text)), 14);
  EXPECT_EQ((slot_function<int (*)(void*)>(&a, 8)(&a)), 15);
  EXPECT_EQ(a.log,
            "InitialLoad:L/,D/;CloseModule;TextAnalyze:t;SetLanguage:7;RefreshInput;"
            "Preprocess:t;Length;");
  BaseOnly b;
  EXPECT_EQ(b.GetPorcessedTextLength(), 0);
}

TEST(AnalyzerInterface, BaseStartsWithDoneBoundaries) {
  SlotRecorder a;
  EXPECT_EQ(a.labels, nullptr);
  EXPECT_EQ(a.labelCount, 0);
  EXPECT_TRUE(a.textDone);
  EXPECT_TRUE(a.normalCur);
  EXPECT_TRUE(a.normalPrev);
  EXPECT_EQ(a.silenceTime, 0);
}

TEST(LanguageHost, CheckDataClamps) {
  EXPECT_EQ(CVxnLanguage::CheckData(-70, 70, 100), 70);
  EXPECT_EQ(CVxnLanguage::CheckData(-5, 5, -9), -5);
  EXPECT_EQ(CVxnLanguage::CheckData(-10, 10, 3), 3);
  EXPECT_EQ(CVxnLanguage::CheckData(-10, 10, 10), 10);
}

class Host : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.languageId = 9;
    VXN_Engine_initialize(&host_.engine, 3);
  }
  void TearDown() override {
    host_.LangCloseModule();
    VXN_Engine_clear(&host_.engine);
    g_nStatePrint = 2;
  }
  // Loads the module of `language` from the library directory `variant`.
  std::string Load(int language, const char* variant) {
    host_.languageId = language;
    std::string lib = module_dir(variant);
    char model[] = "M/", data[] = "Da/", dict[] = "Di/";
    testing::internal::CaptureStderr();
    host_.LangInitialLoad(model, &lib[0], data, dict);
    return testing::internal::GetCapturedStderr();
  }
  std::string label(int i) { return VXN_Label_get_string(&host_.engine.label, i); }

  CVxnLanguage host_;
};

TEST_F(Host, KoreanModuleIsDrivenThroughItsSlots) {
  ModuleProbe probe(module_dir("Lib") + "libVXN_lang_kr.so");
  ASSERT_TRUE(probe.ok());
  Load(0, "Lib");
  ASSERT_NE(host_.koreanAnalyzer, nullptr);
  ASSERT_NE(host_.koreanLibrary, nullptr);
  EXPECT_EQ(probe.live(), 1);
  EXPECT_EQ(probe.calls(), "load(M/,Da/,Di/);");

  char text[] = "one two?|<silence=300>~three";
  EXPECT_EQ(host_.LangRefreshInput(), 1);
  EXPECT_EQ(host_.LangTextPreprocessFirst(text), 2);
  EXPECT_EQ(host_.LangTextAnalyze(text), 4);
  EXPECT_EQ(host_.engine.sss.sentence_type, 'B');
  EXPECT_EQ(host_.engine.pss.sentence_type, 'B');
  EXPECT_FALSE(host_.GetProcInTxt());
  EXPECT_TRUE(host_.GetNormalCur());
  EXPECT_EQ(host_.GetPorcessedTextLength(), 9);
  host_.SetLabel();
  ASSERT_EQ(VXN_Label_get_size(&host_.engine.label), 4);
  EXPECT_EQ(label(1), "x^x-one+x=x");
  EXPECT_EQ(label(2), "x^x-two?+x=x");

  EXPECT_EQ(host_.LangTextAnalyze(text), -1);
  EXPECT_EQ(host_.GetSilenceTime(), 300);
  EXPECT_FALSE(host_.GetNormalCur());  // cut by '~'
  EXPECT_TRUE(host_.GetNormalPrev());

  EXPECT_EQ(host_.LangTextAnalyze(text), 3);
  EXPECT_EQ(host_.engine.sss.sentence_type, 'A');
  EXPECT_TRUE(host_.GetProcInTxt());
  EXPECT_FALSE(host_.GetNormalPrev());
  EXPECT_EQ(host_.GetSilenceTime(), 0);
  EXPECT_EQ(probe.calls(),
            "load(M/,Da/,Di/);refresh;preprocess(one two?|<silence=300>~three);analyze;"
            "analyze;analyze;");

  host_.LangCloseModule();
  EXPECT_EQ(host_.koreanAnalyzer, nullptr);
  EXPECT_EQ(host_.koreanLibrary, nullptr);
  EXPECT_EQ(probe.live(), 0);
}

TEST_F(Host, ChineseModuleGetsItsDirectoryAndNoPreprocessing) {
  ModuleProbe probe(module_dir("Lib") + "libVXN_lang_ch.so");
  ASSERT_TRUE(probe.ok());
  Load(9, "Lib");
  ASSERT_NE(host_.chineseAnalyzer, nullptr);
  EXPECT_EQ(probe.calls(), "load(M/Ch/LangCN,Di/);");
  char text[] = "a b~c?";
  EXPECT_EQ(host_.LangTextPreprocessFirst(text), 0);
  EXPECT_EQ(probe.calls(), "load(M/Ch/LangCN,Di/);");
  EXPECT_EQ(host_.LangTextAnalyze(text), 4);
  // normalCur sits at 28 in this layout; a host reading 22 would see padding.
  EXPECT_FALSE(host_.GetNormalCur());
  EXPECT_TRUE(host_.GetNormalPrev());
  EXPECT_EQ(host_.GetPorcessedTextLength(), 4);
  EXPECT_EQ(host_.LangTextAnalyze(text), 3);
  EXPECT_EQ(host_.engine.pss.sentence_type, 'B');
  EXPECT_TRUE(host_.GetNormalCur());
  EXPECT_FALSE(host_.GetNormalPrev());
  EXPECT_TRUE(host_.GetProcInTxt());
  host_.LangCloseModule();
  EXPECT_EQ(host_.chineseAnalyzer, nullptr);
  EXPECT_EQ(host_.chineseLibrary, nullptr);
  EXPECT_EQ(probe.live(), 0);
  EXPECT_NE(probe.calls().find("destroy;"), std::string::npos);
}

TEST_F(Host, ModuleLabelsReplaceFramesOfEarlierLabels) {
  Load(9, "Lib");
  char earlier[] = "0 500000 x^x-a+x=x";
  char* lines[] = {earlier};
  VXN_Engine_load_label_from_string_list(&host_.engine, lines, 1);
  ASSERT_EQ(VXN_Label_get_frame_specified_flag(&host_.engine.label, 0), 1);
  char text[] = "w";
  ASSERT_EQ(host_.LangTextAnalyze(text), 3);
  testing::internal::CaptureStderr();
  host_.SetLabel();
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(VXN_Label_get_frame_specified_flag(&host_.engine.label, 0), 0);
  EXPECT_EQ(VXN_Label_get_size(&host_.engine.label), 4);
}

TEST_F(Host, LoadingAgainReplacesTheAnalyzer) {
  ModuleProbe probe(module_dir("Lib") + "libVXN_lang_ch.so");
  Load(9, "Lib");
  void* first = host_.chineseAnalyzer;
  Load(9, "Lib");
  EXPECT_NE(host_.chineseAnalyzer, nullptr);
  EXPECT_EQ(probe.live(), 1);
  EXPECT_NE(probe.calls().find("destroy;"), std::string::npos);
  (void)first;
}

TEST_F(Host, MissingLibrariesLeaveNoAnalyzer) {
  EXPECT_NE(Load(9, "NoSuchDir").find("Cannot load Chinese language library.\n"),
            std::string::npos);
  EXPECT_NE(Load(0, "NoSuchDir").find("Cannot load Korean language library.\n"),
            std::string::npos);
  EXPECT_FALSE(host_.HasAnalyzer());
  EXPECT_EQ(host_.koreanLibrary, nullptr);
  char text[] = "abc";
  EXPECT_EQ(host_.LangRefreshInput(), 0);
  EXPECT_EQ(host_.LangTextPreprocessFirst(text), 0);
  EXPECT_EQ(host_.LangTextAnalyze(text), 0);
  host_.SetLabel();
  EXPECT_EQ(VXN_Label_get_size(&host_.engine.label), 0);
  EXPECT_TRUE(host_.GetProcInTxt());
  EXPECT_TRUE(host_.GetNormalCur());
  EXPECT_EQ(host_.GetSilenceTime(), 0);
  EXPECT_EQ(host_.GetPorcessedTextLength(), 0);
}

TEST_F(Host, NullFactoryAndMissingEntryAreNeverCalledThrough) {
  for (int language : {0, 9}) {
    const std::string create = language == 0 ? "CreateLangKorean" : "CreateLangChinese";
    EXPECT_NE(Load(language, "LibNullFactory").find(create + " made no analyzer.\n"),
              std::string::npos);
    EXPECT_FALSE(host_.HasAnalyzer());
    EXPECT_EQ(host_.koreanLibrary, nullptr);
    EXPECT_EQ(host_.chineseLibrary, nullptr);
    EXPECT_NE(Load(language, "LibNoCreate").find("Cannot find " + create),
              std::string::npos);
    EXPECT_FALSE(host_.HasAnalyzer());
    EXPECT_EQ(host_.koreanLibrary, nullptr);
    EXPECT_EQ(host_.chineseLibrary, nullptr);
  }
}

TEST_F(Host, MissingReleaseEntryKeepsTheModuleLoaded) {
  ModuleProbe probe(module_dir("LibNoDestroy") + "libVXN_lang_ch.so");
  Load(9, "LibNoDestroy");
  ASSERT_NE(host_.chineseAnalyzer, nullptr);
  testing::internal::CaptureStderr();
  host_.LangCloseModule();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Cannot find DestroyLangChinese"),
            std::string::npos);
  EXPECT_NE(host_.chineseAnalyzer, nullptr);
  EXPECT_NE(host_.chineseLibrary, nullptr);
  EXPECT_EQ(probe.live(), 1);
  // The test module's object is a C++ object: its deleting destructor (slot 1)
  // releases it here, so that the test leaves nothing behind.
  vxn_module::slot_function<void (*)(void*)>(host_.chineseAnalyzer, 1)(host_.chineseAnalyzer);
  dlclose(host_.chineseLibrary);
  EXPECT_EQ(probe.live(), 0);
  host_.chineseAnalyzer = nullptr;
  host_.chineseLibrary = nullptr;
}

TEST_F(Host, NullArgumentsAreReportedAndTolerated) {
  ModuleProbe probe(module_dir("Lib") + "libVXN_lang_ch.so");
  host_.languageId = 9;
  std::string lib = module_dir("Lib");
  testing::internal::CaptureStderr();
  host_.LangInitialLoad(nullptr, &lib[0], nullptr, nullptr);
  EXPECT_EQ(host_.LangTextAnalyze(nullptr), 0);
  EXPECT_EQ(host_.LangTextPreprocessFirst(nullptr), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Null input parameter in the LangInitialLoad\n"), std::string::npos);
  EXPECT_NE(err.find("Null input parameter in the LangTextAnalyze\n"), std::string::npos);
  EXPECT_NE(err.find("Null input parameter in the LangTextPreprocessFirst\n"), std::string::npos);
  EXPECT_EQ(probe.calls(), "load(Ch/LangCN,);");
}

TEST_F(Host, EuropeanAnalyzerIsMadeByTheFactoryAndDeleted) {
  Load(1, "Lib");  // no grapheme-to-phoneme module there: the analyzer stays empty
  ASSERT_NE(host_.europeanAnalyzer, nullptr);
  EXPECT_TRUE(host_.HasAnalyzer());
  char text[] = "";
  EXPECT_EQ(host_.LangTextAnalyze(text), 0);
  EXPECT_TRUE(host_.GetProcInTxt());
  host_.LangCloseModule();
  EXPECT_EQ(host_.europeanAnalyzer, nullptr);
  EXPECT_FALSE(host_.HasAnalyzer());
}

}  // namespace
