// Fuzz target for the synthesis entries: arbitrary bytes go to the UTF-8 or
// UTF-16 entry of an engine with a synthetic voice and the test analyzer
// module (Korean: emoji names, EUC-KR conversion and pause insertion;
// Chinese: UTF-8 and UTF-16 to UTF-8).
//
// Input layout: byte 0 bit 0 engine (0 Korean, 1 Chinese), bit 2 UTF-16 entry, bit 3 a stop requested inside the callback;
// byte 1 the length argument (0 = the whole text); byte 2 the chunk after
// which the stop is requested; the rest is the text.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "engine/VXN_misc.h"
#include "include/vxn_engine.h"
#include "tools/voicebuild/VXN_package_writer.h"
#include "tools/voicebuild/VXN_synthetic_voice.h"

namespace {

const size_t kMaxText = 160;
CVxnSynth* g_engines[2];
CVxnSynth* g_current;
int g_chunks;
int g_stop_after = -1;
volatile int g_sink;

void on_chunk(short* samples, int count, int state) {
  // Read every sample so that the sanitizers see a bad chunk pointer.
  int sum = 0;
  for (int i = 0; i < count; i++) sum += samples[i];
  g_sink = sum + state;
  if (++g_chunks == g_stop_after) g_current->VXNSetControlStop();
}

void write_voice(const std::string& stem) {
  vxn::voice::SyntheticOptions o;
  o.seed = 11;
  o.leaves = 8;
  o.duration_leaves = 8;
  vxn::voice::Voice voice = vxn::voice::make_synthetic_voice(o);
  // Short states keep each input fast: the driver, not the vocoder, is fuzzed.
  for (auto& pdf : voice.duration.pdfs[0])
    for (float& m : pdf.mean) m = 1.0f + (m > 0.0f ? 1.0f : 0.0f);
  std::string error;
  if (!vxn::voice::write_package(voice, stem, nullptr, &error)) {
    fprintf(stderr, "fuzz_synthesis_entries: %s\n", error.c_str());
    abort();
  }
}

void link_module(const std::string& from, const std::string& to) {
  unlink(to.c_str());
  if (symlink(from.c_str(), to.c_str()) != 0) perror("symlink");
}

CVxnSynth* make_engine(int language, std::string base) {
  CVxnSynth* s = new CVxnSynth();
  s->VXNSetPrintLevel(3);
  s->VXNSetLanguage(language, 0);
  s->VXNModelSelect(0);
  if (s->VXNInit(&base[0], &base[0]) != 1) {
    fprintf(stderr, "fuzz_synthesis_entries: VXNInit failed for language %d\n", language);
    abort();
  }
  s->VXNSetSamplingRate(16000);
  s->VXNSetMemory(800, 3);
  s->VXNSetStreamCallback(on_chunk);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char tmpl[] = "/tmp/vxn_fuzz_entries_XXXXXX";
  const char* dir = mkdtemp(tmpl);
  if (!dir) abort();
  const std::string base = std::string(dir) + "/";
  const char* dirs[] = {"Model", "Model/Ko", "Model/Ch", "Model/Ch/LangCN", "Lib", "Data"};
  for (const char* d : dirs) mkdir((base + d).c_str(), 0755);
  const char* files[] = {"Model/Ko/config.ini", "Model/Ko/main.model", "Model/Ko/vxnkr.pb",
                         "Data/symbol.ini", "Model/Ch/LangCN/CNFamilyNameList.txt",
                         "Model/Ch/LangCN/English_wordList_US.txt", "Model/Ch/LangCN/HMM20POS.model",
                         "Model/Ch/LangCN/longbrkmodel", "Model/Ch/LangCN/NER_model",
                         "Model/Ch/LangCN/posmodel", "Model/Ch/LangCN/shortbrkmodel"};
  for (const char* f : files) fclose(fopen((base + f).c_str(), "wb"));
  write_voice(base + "Model/Ko/vxnf_kr_24_256");
  write_voice(base + "Model/Ch/vxnf_ch_24_256");
  link_module(VXN_FUZZ_MODULE_DIR "libVXN_lang_kr.so", base + "Lib/libVXN_lang_kr.so");
  link_module(VXN_FUZZ_MODULE_DIR "libVXN_lang_ch.so", base + "Lib/libVXN_lang_ch.so");
  g_engines[0] = make_engine(0, base);
  g_engines[1] = make_engine(9, base);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int engine = data[0] & 1;
  const bool utf16 = data[0] & 4;
  g_stop_after = (data[0] & 8) ? 1 + data[2] % 8 : -1;
  const size_t n = size - 3 < kMaxText ? size - 3 : kMaxText;
  g_current = g_engines[engine];
  g_current->VXNSetControlStart();
  g_chunks = 0;
  if (utf16) {
    std::vector<short> units(n / 2 + 1, 0);
    memcpy(units.data(), data + 3, n / 2 * 2);
    const int length = data[1] ? data[1] : (int)(n / 2);
    g_current->VXNStartStreamingPlayUtf16(units.data(), length, data[1] & 1, data[1]);
  } else {
    std::vector<unsigned char> text(data + 3, data + 3 + n);
    text.push_back(0);
    const int length = data[1] ? data[1] : (int)n;
    g_current->VXNStartStreamingPlayUtf8(text.data(), length, data[1] & 1, data[1]);
  }
  g_current->VXNRefresh();
  return 0;
}
