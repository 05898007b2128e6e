// Test support: writes a voice with the package writer into a temporary
// directory and loads it with the package reader into an engine record.
#ifndef VXN_TEST_PACKAGE_FIXTURE_H
#define VXN_TEST_PACKAGE_FIXTURE_H

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/VXN_code.h"
#include "engine/VXN_engine.h"
#include "tools/voicebuild/VXN_package_writer.h"

namespace vxn_test {

class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/vxn_pkgXXXXXX";
    path_ = mkdtemp(tmpl);
  }
  ~TempDir() { (void)!system(("rm -rf '" + path_ + "'").c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

inline std::vector<unsigned char> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

inline void write_bytes(const std::string& path, const std::vector<unsigned char>& b) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), (std::streamsize)b.size());
}

// Loads STEM.* into an initialised engine record; returns the reader's result.
inline int load_package(VXN_Engine* engine, const std::string& stem, int n = 1) {
  CVxnCode reader;
  std::string qt = stem + ".qt", pt = stem + ".pt", am = stem + ".am", dt = stem + ".dt";
  if (!reader.VXN_Code_load_question_from_fn(&qt[0], &pt[0])) return 0;
  return reader.VXN_Code_load_parameter_from_fn(engine, &am[0], &dt[0], n);
}

// An engine record holding a written voice.
class LoadedVoice {
 public:
  explicit LoadedVoice(const vxn::voice::Voice& voice) {
    VXN_Engine_initialize(&engine, 3);
    stem = dir.path() + "/voice";
    std::string error;
    written = vxn::voice::write_package(voice, stem, &report, &error, &dequantised);
    this->error = error;
    loaded = written && load_package(&engine, stem) == 1;
  }
  ~LoadedVoice() { VXN_Engine_clear(&engine); }
  VXN_ModelSet* ms() { return &engine.ms; }

  TempDir dir;
  std::string stem;
  VXN_Engine engine;
  vxn::voice::PackageReport report;
  vxn::voice::Voice dequantised;
  std::string error;
  bool written = false;
  bool loaded = false;
};

// A voice whose every tree is a single leaf with the given values.
inline vxn::voice::Voice single_leaf_voice(const std::vector<float>& dur_means,
                                           const std::vector<float>& mcep_means, float voiced) {
  using namespace vxn::voice;
  Voice v;
  v.questions.push_back({"C-pau", {"*-pau+*"}});
  const int nstate = (int)dur_means.size();
  v.duration.vector_length = nstate;
  v.duration.trees.push_back(Tree{2, {}, 1});
  v.duration.pdfs.push_back({Pdf{dur_means, std::vector<float>(nstate, 1.0f), 0.0f}});
  const int lengths[3] = {(int)mcep_means.size(), 3, 3};
  for (int s = 0; s < 3; s++) {
    Stream& st = v.streams[s];
    st.vector_length = lengths[s];
    st.msd = s == 1;
    for (int state = 2; state < nstate + 2; state++) {
      st.trees.push_back(Tree{state, {}, 1});
      Pdf p;
      p.mean = s == 0 ? mcep_means : std::vector<float>(lengths[s], 0.25f * state);
      p.vari.assign(lengths[s], 0.5f);
      p.msd = voiced;
      st.pdfs.push_back({p});
    }
  }
  return v;
}

}  // namespace vxn_test

#endif
