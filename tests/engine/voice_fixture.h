// Test voices for the synthesis core: packages written with the voice-building
// library into a temporary directory and loaded into an engine record.
// - label_voice: one leaf per label tag ("L<k>/..."), so a test sets the
//   durations and distributions of every label of an utterance directly.
// - plausible_voice: a synthetic voice with speech-like values (durations of
//   a few frames, log F0 around 100-250 Hz, log gain 3-6, band values in dB).
#ifndef VXN_TESTS_VOICE_FIXTURE_H
#define VXN_TESTS_VOICE_FIXTURE_H

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/VXN_code.h"
#include "engine/VXN_engine.h"
#include "tools/voicebuild/VXN_package_writer.h"
#include "tools/voicebuild/VXN_synthetic_voice.h"

namespace vxn_test {

using vxn::voice::Pdf;
using vxn::voice::Tree;
using vxn::voice::Voice;

// Fills the pdf of label tag k (or of the default leaf, k = -1) for a stream
// (-1 for durations) and state (2..6; 2 for durations).
using PdfFiller = std::function<void(int stream, int state, int k, Pdf* pdf)>;

// A chain tree asking "is it label k?" for k = 0..tags-1; leaf k+1 answers
// tag k, leaf tags+1 everything else.
inline Tree chain_tree(int tags, int state) {
  Tree t;
  t.state = state;
  t.pdf_count = tags + 1;
  for (int k = 0; k < tags; k++) {
    vxn::voice::Node n;
    n.id = -k;
    n.question = k;
    n.yes = k + 1;
    n.yes_is_leaf = true;
    if (k + 1 < tags) {
      n.no = -(k + 1);
      n.no_is_leaf = false;
    } else {
      n.no = tags + 1;
      n.no_is_leaf = true;
    }
    t.nodes.push_back(n);
  }
  return t;
}

inline Voice label_voice(int tags, const PdfFiller& fill) {
  Voice v;
  for (int k = 0; k < tags; k++)
    v.questions.push_back({"ID-" + std::to_string(k), {"L" + std::to_string(k) + "/*"}});
  const int static_length[3] = {35, 1, 5};
  v.duration.vector_length = 5;
  v.duration.trees.push_back(chain_tree(tags, 2));
  v.duration.pdfs.resize(1);
  for (int k = 0; k <= tags; k++) {
    Pdf p;
    p.mean.assign(5, 4.0f);
    p.vari.assign(5, 1.0f);
    fill(-1, 2, k < tags ? k : -1, &p);
    v.duration.pdfs[0].push_back(p);
  }
  for (int s = 0; s < 3; s++) {
    vxn::voice::Stream& st = v.streams[s];
    st.vector_length = 3 * static_length[s];
    st.msd = s == 1;
    for (int state = 2; state < 7; state++) {
      st.trees.push_back(chain_tree(tags, state));
      st.pdfs.emplace_back();
      for (int k = 0; k <= tags; k++) {
        Pdf p;
        p.mean.assign((size_t)st.vector_length, 0.0f);
        p.vari.assign((size_t)st.vector_length, 0.5f);
        p.msd = st.msd ? 0.9f : 0.0f;
        fill(s, state, k < tags ? k : -1, &p);
        st.pdfs.back().push_back(p);
      }
    }
  }
  return v;
}

// Reshapes a synthetic voice into speech-like value ranges.
inline Voice plausible_voice(uint32_t seed) {
  vxn::voice::SyntheticOptions o;
  o.seed = seed;
  Voice v = vxn::voice::make_synthetic_voice(o);
  std::mt19937 rng(seed + 7);
  std::uniform_real_distribution<float> u(0.0f, 1.0f);
  for (auto& p : v.duration.pdfs[0])
    for (float& m : p.mean) m = 2.0f + 8.0f * u(rng);
  for (auto& leaves : v.streams[0].pdfs)
    for (auto& p : leaves) {
      p.mean[0] = 3.0f + 3.0f * u(rng);
      for (size_t d = 1; d < 35; d++) p.mean[d] = (u(rng) - 0.5f) * 0.8f / (float)d;
      for (size_t d = 35; d < p.mean.size(); d++) p.mean[d] = (u(rng) - 0.5f) * 0.05f;
    }
  for (auto& leaves : v.streams[1].pdfs)
    for (auto& p : leaves) {
      p.mean[0] = logf(100.0f + 150.0f * u(rng));
      p.mean[1] = (u(rng) - 0.5f) * 0.02f;
      p.mean[2] = (u(rng) - 0.5f) * 0.01f;
      p.vari[0] = 0.01f;
      p.vari[1] = p.vari[2] = 0.001f;
      p.msd = u(rng) < 0.8f ? 0.95f : 0.05f;
    }
  for (auto& leaves : v.streams[2].pdfs)
    for (auto& p : leaves)
      for (size_t d = 0; d < 5; d++) p.mean[d] = -5.0f - 7.0f * (float)d - 5.0f * u(rng);
  return v;
}

// A temporary directory removed with its files at the end of the scope.
class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/vxn_gen_XXXXXX";
    const char* p = mkdtemp(tmpl);
    path_ = p ? p : "/tmp";
  }
  ~TempDir() {
    for (const std::string& f : files_) unlink(f.c_str());
    rmdir(path_.c_str());
  }
  std::string stem(const std::string& name) {
    const std::string s = path_ + "/" + name;
    for (const char* ext : {".qt", ".pt", ".am", ".dt"}) files_.push_back(s + ext);
    return s;
  }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

// Writes the voice and loads it into an initialised engine record; returns an
// empty string on success, the reason otherwise. deq receives the values the
// engine reads back.
inline std::string write_and_load(const Voice& voice, const std::string& stem, VXN_Engine* engine,
                                  Voice* deq = nullptr) {
  std::string error;
  if (!vxn::voice::write_package(voice, stem, nullptr, &error, deq)) return "write: " + error;
  CVxnCode reader;
  std::string qt = stem + ".qt", pt = stem + ".pt", am = stem + ".am", dt = stem + ".dt";
  if (!reader.VXN_Code_load_question_from_fn(&qt[0], &pt[0]) ||
      !reader.VXN_Code_load_parameter_from_fn(engine, &am[0], &dt[0], 1))
    return "the package was not accepted";
  engine->stream_count = 3;
  return "";
}

// Loads label strings into the engine's label sequence.
inline void set_labels(VXN_Engine* engine, const std::vector<std::string>& labels) {
  std::vector<char*> lines;
  for (const std::string& l : labels) lines.push_back(const_cast<char*>(l.c_str()));
  VXN_Engine_load_label_from_string_list(engine, lines.data(), (int)lines.size());
}

}  // namespace vxn_test

#endif
