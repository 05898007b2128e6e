// The real Korean and Chinese modules against the host's binary contract:
// factory entries, the per-piece fields at their byte offsets, and the
// virtual slots called in the host's order with text in each module's
// encoding.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "lang/VXN_module_layout.h"

namespace {

using namespace vxn_module;

const std::string kVoice = std::string(VXN_TEST_BINARY_DIR) + "/voice/";

std::string to_euckr(const std::string& utf8) {
  iconv_t cd = iconv_open("EUC-KR", "UTF-8");
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  char* o = &out[0];
  size_t il = utf8.size(), ol = out.size();
  iconv(cd, &in, &il, &o, &ol);
  iconv_close(cd);
  out.resize(out.size() - ol);
  return out;
}

class Module {
 public:
  Module(const char* file, const char* create, const char* destroy) {
    handle = dlopen((kVoice + "Lib/" + file).c_str(), RTLD_LAZY);
    if (!handle) return;
    auto make = reinterpret_cast<FactoryFn>(dlsym(handle, create));
    release = reinterpret_cast<DestroyFn>(dlsym(handle, destroy));
    if (make) object = make();
  }
  ~Module() {
    if (object && release) release(object);
    if (handle) dlclose(handle);
  }
  void* handle = nullptr;
  void* object = nullptr;
  DestroyFn release = nullptr;
};

typedef int (*Load3)(void*, char*, char*, char*);
typedef int (*Load2)(void*, char*, char*);
typedef int (*TextFn)(void*, const char*);
typedef int (*Text2Fn)(void*, char*);
typedef int (*IntFn)(void*);

TEST(ModuleLayout, KoreanFieldsAndSlots) {
  Module m(kKoreanLibrary, kKoreanCreate, kKoreanDestroy);
  ASSERT_TRUE(m.object) << dlerror();
  ASSERT_TRUE(m.release);
  std::string model = kVoice + "Model/", data = kVoice + "Data/", dict = kVoice;
  ASSERT_EQ(slot_function<Load3>(m.object, kKoInitialLoad)(m.object, &model[0], &data[0], &dict[0]), 1);
  EXPECT_EQ(slot_function<IntFn>(m.object, kKoRefreshInput)(m.object), 1);
  EXPECT_TRUE(read_flag(m.object, kKoTextDone));
  EXPECT_TRUE(read_flag(m.object, kKoNormalCur));
  EXPECT_TRUE(read_flag(m.object, kKoNormalPrev));
  EXPECT_EQ(read_field<int32_t>(m.object, kKoSilenceTime), 0);

  std::string text = to_euckr("오늘 저녁 9시 뉴스입니다. <silence=250> 일?");
  // Pass 1: the sentence.
  slot_function<Text2Fn>(m.object, kKoPreprocessFirst)(m.object, &text[0]);
  int n = slot_function<TextFn>(m.object, kKoTextAnalyze)(m.object, text.c_str());
  ASSERT_GT(n, 10);
  EXPECT_EQ(read_field<int32_t>(m.object, kKoLabelCount), n);
  char** labels = read_field<char**>(m.object, kKoLabels);
  ASSERT_TRUE(labels);
  EXPECT_EQ(std::string(labels[0]).substr(0, 12), "x^x-#+ow=n/A");
  EXPECT_EQ(std::string(labels[n - 1]).substr(0, 14), "d^aa-#e+x=x/A:");
  EXPECT_EQ(read_field<char>(m.object, kKoUttType), 'A');
  EXPECT_FALSE(read_flag(m.object, kKoTextDone));
  EXPECT_TRUE(read_flag(m.object, kKoNormalCur));
  int consumed = slot_function<IntFn>(m.object, kKoProcessedLength)(m.object);
  EXPECT_EQ(consumed, (int)to_euckr("오늘 저녁 9시 뉴스입니다. ").size());
  // Pass 2: the silence tag.
  slot_function<Text2Fn>(m.object, kKoPreprocessFirst)(m.object, &text[0]);
  EXPECT_EQ(slot_function<TextFn>(m.object, kKoTextAnalyze)(m.object, text.c_str()), -1);
  EXPECT_EQ(read_field<int32_t>(m.object, kKoSilenceTime), 250);
  // Pass 3: a question, the last piece.
  slot_function<Text2Fn>(m.object, kKoPreprocessFirst)(m.object, &text[0]);
  n = slot_function<TextFn>(m.object, kKoTextAnalyze)(m.object, text.c_str());
  EXPECT_EQ(n, 4);
  EXPECT_EQ(read_field<char>(m.object, kKoUttType), 'B');
  EXPECT_TRUE(read_flag(m.object, kKoTextDone));
  EXPECT_EQ(read_field<int32_t>(m.object, kKoSilenceTime), 0);
  // A new text after the end; RefreshInput forgets a pending one.
  std::string other = to_euckr("하나. 둘.");
  slot_function<Text2Fn>(m.object, kKoPreprocessFirst)(m.object, &other[0]);
  EXPECT_GT(slot_function<TextFn>(m.object, kKoTextAnalyze)(m.object, other.c_str()), 0);
  EXPECT_FALSE(read_flag(m.object, kKoTextDone));
  slot_function<IntFn>(m.object, kKoRefreshInput)(m.object);
  EXPECT_EQ(slot_function<IntFn>(m.object, kKoProcessedLength)(m.object), 0);
  EXPECT_TRUE(read_flag(m.object, kKoTextDone));
}

TEST(ModuleLayout, ChineseFieldsAndSlots) {
  Module m(kChineseLibrary, kChineseCreate, kChineseDestroy);
  ASSERT_TRUE(m.object) << dlerror();
  std::string dir = kVoice + "Model/Ch/LangCN", dict = kVoice;
  ASSERT_EQ(slot_function<Load2>(m.object, kChInitialLoad)(m.object, &dir[0], &dict[0]), 1);
  EXPECT_EQ(slot_function<IntFn>(m.object, kChRefreshInput)(m.object), 1);
  std::string text = "今天晚上八点新闻。你好吗？";
  int n = slot_function<TextFn>(m.object, kChTextAnalyze)(m.object, text.c_str());
  ASSERT_EQ(n, 16);  // 14 initials and finals (晚 and 闻 have none) between two pauses
  EXPECT_EQ(read_field<int32_t>(m.object, kChLabelCount), n);
  char** labels = read_field<char**>(m.object, kChLabels);
  ASSERT_TRUE(labels);
  EXPECT_EQ(std::string(labels[1]).substr(0, 13), "x^pau-j+in=t/");
  EXPECT_EQ(read_field<char>(m.object, kChUttType), 'A');
  EXPECT_FALSE(read_flag(m.object, kChTextDone));
  EXPECT_TRUE(read_flag(m.object, kChNormalCur));
  EXPECT_TRUE(read_flag(m.object, kChNormalPrev));
  EXPECT_EQ(slot_function<IntFn>(m.object, kChProcessedLength)(m.object), (int)std::string("今天晚上八点新闻。").size());
  n = slot_function<TextFn>(m.object, kChTextAnalyze)(m.object, text.c_str());
  EXPECT_GT(n, 0);
  EXPECT_EQ(read_field<char>(m.object, kChUttType), 'B');
  EXPECT_TRUE(read_flag(m.object, kChTextDone));
  EXPECT_EQ(read_field<int32_t>(m.object, kChSilenceTime), 0);
}

TEST(ModuleLayout, MissingResourcesFailTheLoadAndSayNothing) {
  Module m(kKoreanLibrary, kKoreanCreate, kKoreanDestroy);
  ASSERT_TRUE(m.object);
  std::string none = "/nonexistent/";
  EXPECT_EQ(slot_function<Load3>(m.object, kKoInitialLoad)(m.object, &none[0], &none[0], &none[0]), 0);
  std::string text = to_euckr("안녕.");
  EXPECT_EQ(slot_function<TextFn>(m.object, kKoTextAnalyze)(m.object, text.c_str()), 0);
  EXPECT_TRUE(read_flag(m.object, kKoTextDone));
}

}  // namespace
