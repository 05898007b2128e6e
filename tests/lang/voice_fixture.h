// Builds a scratch voice directory for tests: a synthetic voice package for a
// model stem, the Korean or Chinese resource files the facade checks, and a
// Lib/ directory that links the test analyzer modules.
#ifndef VXN_TEST_VOICE_FIXTURE_H
#define VXN_TEST_VOICE_FIXTURE_H

#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/engine/voice_fixture.h"

inline void vxn_touch(const std::string& path) {
  FILE* f = fopen(path.c_str(), "wb");
  if (f) fclose(f);
}

inline void vxn_mkdirs(const std::string& path) {
  for (size_t p = 1; p <= path.size(); p++)
    if (p == path.size() || path[p] == '/') mkdir(path.substr(0, p).c_str(), 0755);
}

// base ends with '/'; stem as VXNModelSelect forms it, e.g. "Ch/vxnf_ch_24_256".
inline void vxn_make_voice(const std::string& base, const std::string& stem,
                           const std::string& moduleDir) {
  const std::string model = base + "Model/";
  vxn_mkdirs(model + stem.substr(0, stem.rfind('/')));
  std::string error;
  if (!vxn::voice::write_package(vxn_test::plausible_voice(5), model + stem, nullptr, &error))
    fprintf(stderr, "vxn_make_voice: %s\n", error.c_str());
  vxn_mkdirs(model + "Ch/LangCN");
  for (const char* f : {"CNFamilyNameList.txt", "English_wordList_US.txt", "HMM20POS.model",
                        "longbrkmodel", "NER_model", "posmodel", "shortbrkmodel"})
    vxn_touch(model + "Ch/LangCN/" + f);
  vxn_mkdirs(model + "Ko");
  for (const char* f : {"config.ini", "main.model", "vxnkr.pb"}) vxn_touch(model + "Ko/" + f);
  vxn_mkdirs(base + "Data");
  vxn_touch(base + "Data/symbol.ini");
  vxn_mkdirs(base + "Lib");
  for (const char* m : {"libVXN_lang_kr.so", "libVXN_lang_ch.so"}) {
    unlink((base + "Lib/" + m).c_str());
    if (symlink((moduleDir + m).c_str(), (base + "Lib/" + m).c_str()) != 0) perror("symlink");
  }
}

// A fresh scratch directory under the build tree, ending with '/'.
inline std::string vxn_scratch(const std::string& name) {
  const std::string dir = std::string(VXN_TEST_BINARY_DIR) + "/scratch/" + name + "/";
  const std::string cmd = "rm -rf '" + dir + "'";
  if (system(cmd.c_str()) != 0) perror("rm");
  vxn_mkdirs(dir);
  return dir;
}

#endif
