// The US English female voice built from festvox-us-slt-hts by
// scripts/build-voices.sh (the CTest fixture runs it before these tests): the
// package in build/voice must select, for every label, the leaf that the
// .htsvoice trees select, and hold the imported distributions within the
// writer's quantisation error.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/VXN_code.h"
#include "engine/VXN_engine.h"
#include "engine/VXN_vsearch.h"
#include "tools/voicebuild/VXN_htsvoice.h"
#include "tools/voicebuild/VXN_package_writer.h"
#include "tools/voicebuild/VXN_voice_enhance.h"
#include "tools/voicebuild/VXN_voice_import.h"

using namespace vxn::voice;

namespace {

const std::string kBuild = VXN_TEST_BINARY_DIR;
const std::string kHtsVoice = kBuild +
                              "/voice-src/slt/usr/share/festival/voices/us/cmu_us_slt_arctic_hts/"
                              "hts/cmu_us_slt_arctic_hts.htsvoice";
const std::string kStem = kBuild + "/voice/Model/EnUS/vxnf_usen_24_256";

bool exists(const std::string& p) {
  struct stat st;
  return stat(p.c_str(), &st) == 0;
}

std::string slurp(const std::string& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Everything the tests share, built once.
struct Shared {
  HtsVoice hts;
  Voice imported;
  Voice dequantised;
  PackageReport report;
  std::string fresh_stem;
  VXN_Engine engine;
  bool engine_ok = false;
  bool absent = false;  // the build has no voice
  std::string problem;  // why the voice is not usable
  ~Shared() {
    if (engine_ok) VXN_Engine_clear(&engine);
  }
};

Shared* shared() {
  static std::unique_ptr<Shared> s;
  if (s) return s.get();
  s.reset(new Shared);
  if (!exists(kHtsVoice) || !exists(kStem + ".am")) {
    s->absent = true;
    s->problem = "the voice is not built (" + kStem +
                 ".am or the cached .htsvoice is missing); scripts/build-voices.sh builds it";
    return s.get();
  }
  std::string err;
  if (!read_htsvoice(kHtsVoice, &s->hts, &err)) {
    s->problem = "reader: " + err;
    return s.get();
  }
  ImportReport rep;
  if (!import_htsvoice(s->hts, ImportOptions(), &s->imported, &rep, &err)) {
    s->problem = "import: " + err;
    return s.get();
  }
  // scripts/build-voices.sh builds the default voice with its formants
  // enhanced by 0.4.
  FormantEnhancement fe;
  fe.beta = 0.4;
  fe.alpha = ImportOptions().dst_alpha;
  enhance_formants(&s->imported, fe);
  s->fresh_stem = ::testing::TempDir() + "slt_fresh";
  if (!write_package(s->imported, s->fresh_stem, &s->report, &err, &s->dequantised)) {
    s->problem = "writer: " + err;
    return s.get();
  }
  VXN_Engine_initialize(&s->engine, 3);
  CVxnCode reader;
  std::string qt = kStem + ".qt", pt = kStem + ".pt", am = kStem + ".am", dt = kStem + ".dt";
  s->engine_ok = reader.VXN_Code_load_question_from_fn(&qt[0], &pt[0]) &&
                 reader.VXN_Code_load_parameter_from_fn(&s->engine, &am[0], &dt[0], 1);
  if (!s->engine_ok) {
    VXN_Engine_clear(&s->engine);
    s->problem = "the engine reader rejects " + kStem;
  }
  return s.get();
}

#define REQUIRE_VOICE()                    \
  Shared* sh = shared();                   \
  if (sh->absent) GTEST_SKIP() << sh->problem; \
  ASSERT_TRUE(sh->problem.empty()) << sh->problem

std::vector<std::string> read_labels(const std::string& name) {
  std::vector<std::string> out;
  std::ifstream in(std::string(VXN_TEST_SOURCE_DIR) + "/tests/data/" + name);
  std::string line;
  while (std::getline(in, line))
    if (!line.empty()) out.push_back(line);
  return out;
}

// The CMU US English phones (with the boundary name x).
const char* const kPhones[] = {"aa", "ae", "ah", "ao", "aw", "ax", "axr", "ay", "b",  "ch", "d",
                               "dh", "dx", "eh", "el", "em", "en", "er",  "ey", "f",  "g",  "hh",
                               "hv", "ih", "ix", "iy", "jh", "k",  "l",   "m",  "n",  "nx", "ng",
                               "ow", "oy", "p",  "r",  "s",  "sh", "t",   "th", "uh", "uw", "v",
                               "w",  "y",  "z",  "zh", "pau", "h#", "brth", "x"};
const char* const kGpos[] = {"content", "det", "in", "aux", "wp", "cc", "to", "md", "pps", "0"};
const char* const kTones[] = {"NONE", "L-L%", "H-H%", "L-H%", "H-L%", "0"};

// Variants of a label in the full form: every phone in each of the five
// positions, each number field over a range of values, and the string fields
// (syllable vowel, parts of speech, end tone) over their values.
std::vector<std::string> variants(const std::string& label, bool phones, bool numbers) {
  std::vector<std::string> out;
  const std::size_t at = label.find('@');
  const std::string head = label.substr(0, at), tail = label.substr(at);
  // head: p1^p2-p3+p4=p5
  std::vector<std::string> p(5);
  {
    std::size_t a = head.find('^'), b = head.find('-', a), c = head.find('+', b),
                d = head.find('=', c);
    p = {head.substr(0, a), head.substr(a + 1, b - a - 1), head.substr(b + 1, c - b - 1),
         head.substr(c + 1, d - c - 1), head.substr(d + 1)};
  }
  if (phones) {
    for (int slot = 0; slot < 5; ++slot)
      for (const char* ph : kPhones) {
        if (slot == 2 && std::string(ph) == "x") continue;
        std::vector<std::string> q = p;
        q[slot] = ph;
        out.push_back(q[0] + "^" + q[1] + "-" + q[2] + "+" + q[3] + "=" + q[4] + tail);
      }
  }
  if (numbers) {
    // Every run of digits after the phone names.
    for (std::size_t i = at; i < label.size();) {
      if (!isdigit(static_cast<unsigned char>(label[i]))) {
        ++i;
        continue;
      }
      std::size_t j = i;
      while (j < label.size() && isdigit(static_cast<unsigned char>(label[j]))) ++j;
      for (int v : {0, 1, 2, 3, 4, 6, 9, 13, 19, 20})
        out.push_back(label.substr(0, i) + std::to_string(v) + label.substr(j));
      i = j;
    }
    auto replace_field = [&](const std::string& open, const std::string& close,
                             const std::vector<std::string>& values) {
      std::size_t a = label.find(open);
      if (a == std::string::npos) return;
      a += open.size();
      std::size_t b = label.find(close, a);
      if (b == std::string::npos) return;
      for (const std::string& v : values) out.push_back(label.substr(0, a) + v + label.substr(b));
    };
    std::vector<std::string> vowels;
    for (const char* ph : kPhones) vowels.push_back(ph);
    replace_field("|", "/C:", vowels);
    std::vector<std::string> gpos(std::begin(kGpos), std::end(kGpos));
    replace_field("/D:", "_", gpos);
    replace_field("/E:", "+", gpos);
    replace_field("/F:", "_", gpos);
    replace_field("@", "/A:", {"x_x", "1_1", "3_2"});
    std::size_t h = label.find("/H:");
    if (h != std::string::npos) {
      std::size_t bar = label.find('|', h), i = label.find("/I:", h);
      for (const char* t : kTones)
        out.push_back(label.substr(0, bar + 1) + t + label.substr(i));
    }
  }
  return out;
}

std::size_t pdf_count(const HtsPdfBlock& b) {
  std::size_t n = 0;
  for (const auto& t : b.pdfs) n += t.size();
  return n;
}

// A label with several fields changed at once: each phone, number and string
// field of the base is replaced by a random value of its kind with some
// probability. Reaches combinations that single changes do not.
std::string random_label(const std::string& base, std::mt19937* rng) {
  auto chance = [&](double p) { return std::uniform_real_distribution<double>(0, 1)(*rng) < p; };
  auto pick = [&](const char* const* list, std::size_t n) {
    return std::string(list[std::uniform_int_distribution<std::size_t>(0, n - 1)(*rng)]);
  };
  const std::size_t nphones = sizeof kPhones / sizeof kPhones[0];
  std::string out;
  // Phone names: the text before '@', separated by ^ - + =.
  const std::size_t at = base.find('@');
  std::string field;
  for (std::size_t i = 0; i <= at; ++i) {
    const char c = base[i];
    if (c == '^' || c == '-' || c == '+' || c == '=' || c == '@') {
      out += chance(0.5) ? pick(kPhones, nphones - (c == '+' ? 1 : 0)) : field;
      out += c;
      field.clear();
    } else {
      field += c;
    }
  }
  static const char* const kNumbers[] = {"0", "1", "2", "3", "4", "5", "7", "10", "14", "19"};
  for (std::size_t i = at + 1; i < base.size();) {
    if (isdigit(static_cast<unsigned char>(base[i]))) {
      std::size_t j = i;
      while (j < base.size() && isdigit(static_cast<unsigned char>(base[j]))) ++j;
      out += chance(0.2) ? pick(kNumbers, 10) : base.substr(i, j - i);
      i = j;
    } else {
      out += base[i++];
    }
  }
  // String fields: part of speech of the current word, syllable vowel.
  const std::size_t e = out.find("/E:");
  if (e != std::string::npos && chance(0.3)) {
    const std::size_t plus = out.find('+', e);
    out = out.substr(0, e + 3) + pick(kGpos, 10) + out.substr(plus);
  }
  const std::size_t bar = out.find('|'), c = out.find("/C:");
  if (bar != std::string::npos && c != std::string::npos && bar < c && chance(0.3))
    out = out.substr(0, bar + 1) + pick(kPhones, nphones) + out.substr(c);
  return out;
}

// Leaf of the engine's tree for the label: stream -1 is the duration stream.
int engine_leaf(Shared* sh, int stream, int state, const std::string& label, int* pdf_set) {
  const VXN_Model* m = stream < 0 ? &sh->engine.ms.duration.model[0]
                                  : &sh->engine.ms.stream[stream].model[0];
  const VXN_Tree* t = VXN_Model_select_tree(m, label.c_str(), stream < 0 ? -1 : state, pdf_set);
  if (!t) return -2;
  return VXN_Tree_search_node(t, label.c_str());
}

// The labels of the three test sentences, and for each some variants of it
// (which variants: by the label's index).
std::vector<std::string> labels_with_variants(std::vector<std::string>* base,
                                              bool (*firstKind)(std::size_t),
                                              bool (*secondKind)(std::size_t)) {
  for (const char* f : {"hello_world.lab", "the_cat_sat.lab", "good_morning.lab"})
    for (const std::string& l : read_labels(f)) base->push_back(l);
  std::vector<std::string> labels = *base;
  for (std::size_t i = 0; i < base->size(); ++i) {
    std::vector<std::string> v = variants((*base)[i], firstKind(i), secondKind(i));
    labels.insert(labels.end(), v.begin(), v.end());
  }
  return labels;
}

TEST(SltVoice, PackageTreesSelectTheSourceLeaves) {
  REQUIRE_VOICE();
  std::vector<std::string> base;
  std::vector<std::string> labels = labels_with_variants(
      &base, [](std::size_t i) { return i % 3 == 0; }, [](std::size_t i) { return i % 4 == 1; });
  ASSERT_GE(base.size(), 40u) << "tests/data labels missing";
  std::mt19937 rng(2024);
  for (int k = 0; k < 6000; ++k)
    labels.push_back(random_label(base[rng() % base.size()], &rng));
  ASSERT_GT(labels.size(), 9000u);

  const HtsStreamData& mcp = sh->hts.streams[0];
  const HtsStreamData& lf0 = sh->hts.streams[1];
  std::size_t compared = 0;
  std::vector<std::vector<bool>> seen_lf0(5);
  for (int t = 0; t < 5; ++t) seen_lf0[t].assign(lf0.pdf.pdfs[t].size() + 1, false);
  for (const std::string& label : labels) {
    int set = 0;
    ASSERT_EQ(engine_leaf(sh, -1, 0, label, &set), hts_tree_leaf(sh->hts.duration_tree, 0, label))
        << "duration: " << label;
    ASSERT_EQ(set, 2);
    for (int st = 2; st <= 6; ++st) {
      const int t = st - 2;
      ASSERT_EQ(engine_leaf(sh, 0, st, label, &set), hts_tree_leaf(mcp.tree, t, label))
          << "stream 0 state " << st << ": " << label;
      ASSERT_EQ(set, st);
      const int want = hts_tree_leaf(lf0.tree, t, label);
      ASSERT_EQ(engine_leaf(sh, 1, st, label, &set), want) << "stream 1 state " << st << ": " << label;
      ASSERT_EQ(engine_leaf(sh, 2, st, label, &set), want) << "stream 2 state " << st << ": " << label;
      if (want > 0) seen_lf0[t][want] = true;
      compared += 4;
    }
  }
  std::size_t leaves = 0;
  for (const auto& s : seen_lf0) leaves += std::count(s.begin(), s.end(), true);
  // The variants must reach a good share of the leaves to mean anything.
  EXPECT_GT(leaves, 1500u) << "distinct log-F0 leaves reached";
  std::printf("%zu labels, %zu tree lookups compared, %zu of %zu log-F0 leaves reached\n",
              labels.size(), compared, leaves, pdf_count(lf0.pdf));
  RecordProperty("labels", static_cast<int>(labels.size()));
  RecordProperty("lookups", static_cast<int>(compared));
}

// Labels no front end writes: cut real labels, random bytes, delimiter runs,
// wildcard characters, very long ones.
std::vector<std::string> odd_labels(const std::vector<std::string>& base, std::mt19937* rng) {
  std::vector<std::string> out = {"", "x", "*", "?", "-", "^-+=@", "x^x-pau+x=x@",
                                  std::string(5000, '-'), std::string(2000, 'a') + base[0]};
  const std::string& l = base[base.size() / 2];
  for (std::size_t n = 0; n <= l.size(); ++n) out.push_back(l.substr(0, n));
  for (std::size_t n = 0; n <= l.size(); n += 3) out.push_back(l.substr(n));
  const std::string delims = "^-+=@_/:&#$!;|ABCDEFGHIJ0123456789x";
  for (int k = 0; k < 2000; ++k) {
    std::string s = base[(*rng)() % base.size()];
    const int edits = 1 + (int)((*rng)() % 6);
    for (int e = 0; e < edits && !s.empty(); ++e) {
      const std::size_t at = (*rng)() % s.size();
      switch ((*rng)() % 4) {
        case 0: s[at] = delims[(*rng)() % delims.size()]; break;
        case 1: s[at] = (char)(1 + (*rng)() % 255); break;
        case 2: s.erase(at, 1 + (*rng)() % 8); break;
        default: s.insert(at, s.substr(0, (*rng)() % 12)); break;
      }
    }
    out.push_back(s);
  }
  for (int k = 0; k < 500; ++k) {
    std::string s;
    const int n = (int)((*rng)() % 200);
    for (int i = 0; i < n; ++i) s += delims[(*rng)() % delims.size()];
    out.push_back(s);
  }
  return out;
}

// The question memo (answers kept per label, compiled patterns, slots shared
// by the streams' questions) selects the plain matcher's leaf in every tree of
// every stream, for real labels, their variants and odd labels, whatever the
// order of the lookups.
TEST(SltVoice, MemoisedTreeSearchSelectsThePlainLeaves) {
  REQUIRE_VOICE();
  std::vector<std::string> base;
  std::vector<std::string> labels = labels_with_variants(
      &base, [](std::size_t i) { return i % 2 == 0; }, [](std::size_t i) { return i % 2 == 1; });
  ASSERT_GE(base.size(), 40u) << "tests/data labels missing";
  std::mt19937 rng(77);
  for (int k = 0; k < 3000; ++k) labels.push_back(random_label(base[rng() % base.size()], &rng));
  for (const std::string& l : odd_labels(base, &rng)) labels.push_back(l);

  VXN_ModelSet* ms = &sh->engine.ms;
  std::vector<const VXN_Model*> models;
  std::vector<int> states;  // -1: any (duration)
  for (int i = 0; i < ms->duration.nmodel; ++i) {
    models.push_back(&ms->duration.model[i]);
    states.push_back(-1);
  }
  for (int s = 0; s < ms->nstream; ++s)
    for (int i = 0; i < ms->stream[s].nmodel; ++i)
      for (int st = 2; st < 2 + ms->nstate; ++st) {
        models.push_back(&ms->stream[s].model[i]);
        states.push_back(st);
      }
  ASSERT_GE(models.size(), 16u);
  testing::internal::CaptureStderr();  // odd labels may fall off a tree (reported)
  std::size_t compared = 0, failed = 0;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const char* label = labels[i].c_str();
    VXN_QuestionMemo* memo = VXN_ModelSet_memo_for(ms, label);
    ASSERT_NE(memo, nullptr);
    const std::size_t n = models.size();
    for (std::size_t j = 0; j < n; ++j) {
      const std::size_t m = (j * 5 + i) % n;  // a different order for each label
      int set = 0;
      const VXN_Tree* t = VXN_Model_select_tree(models[m], label, states[m], &set);
      ASSERT_NE(t, nullptr);
      const int want = VXN_Tree_search_node(t, label);
      ASSERT_EQ(VXN_Tree_search_node_memo(t, label, memo), want)
          << "model " << m << " state " << states[m] << ": '" << labels[i] << "'";
      // The whole lookup: tree selection through the compiled patterns too.
      ASSERT_EQ(VXN_Model_find_pdf_memo(models[m], label, states[m], memo),
                VXN_Model_find_pdf(models[m], label, states[m]));
      if (want < 1) failed++;
      compared++;
    }
  }
  testing::internal::GetCapturedStderr();
  EXPECT_GT(ms->memo.nslot, 100);
  std::printf("%zu labels, %zu tree lookups compared (%zu fell off a tree), %d question slots\n",
              labels.size(), compared, failed, ms->memo.nslot - 1);
}

// Dequantised values of every pdf of the built package against the imported
// (spectrum already mapped) source values.
TEST(SltVoice, DequantisedMeansStayWithinTheReportedError) {
  REQUIRE_VOICE();
  const Stream* src[4] = {&sh->imported.duration, &sh->imported.streams[0],
                          &sh->imported.streams[1], &sh->imported.streams[2]};
  const VXN_Stream* eng[4] = {&sh->engine.ms.duration, &sh->engine.ms.stream[0],
                              &sh->engine.ms.stream[1], &sh->engine.ms.stream[2]};
  const Stream* deq[4] = {&sh->dequantised.duration, &sh->dequantised.streams[0],
                          &sh->dequantised.streams[1], &sh->dequantised.streams[2]};
  const StreamReport* rep[4] = {&sh->report.duration, &sh->report.streams[0],
                                &sh->report.streams[1], &sh->report.streams[2]};
  for (int s = 0; s < 4; ++s) {
    SCOPED_TRACE("stream index " + std::to_string(s - 1));
    const int v = src[s]->vector_length;
    ASSERT_EQ(eng[s]->vector_length, v);
    const VXN_Model& m = eng[s]->model[0];
    ASSERT_EQ(m.ntree, static_cast<int>(src[s]->pdfs.size()));
    std::vector<float> lo(v, 1e30f), hi(v, -1e30f);
    for (const auto& t : src[s]->pdfs)
      for (const Pdf& p : t)
        for (int d = 0; d < v; ++d) {
          lo[d] = std::min(lo[d], p.mean[d]);
          hi[d] = std::max(hi[d], p.mean[d]);
        }
    double worst = 0.0;
    for (std::size_t t = 0; t < src[s]->pdfs.size(); ++t) {
      ASSERT_EQ(m.npdf[t + 2], static_cast<int>(src[s]->pdfs[t].size()));
      for (std::size_t j = 0; j < src[s]->pdfs[t].size(); ++j) {
        const unsigned char* codes = m.pdf[t + 2][j + 1];
        const Pdf& p = src[s]->pdfs[t][j];
        for (int d = 0; d < v; ++d) {
          const float value = m.codebook[d][codes[d]];
          const double spread = hi[d] - lo[d];
          const double err = std::fabs(value - p.mean[d]);
          ASSERT_LE(err, rep[s]->mean_error.max_rel * spread + 1e-5 * (1.0 + std::fabs(p.mean[d])))
              << "tree " << t << " pdf " << j + 1 << " dim " << d;
          if (spread > 0) worst = std::max(worst, err / spread);
          // The writer's own dequantised copy agrees with the engine's reading.
          ASSERT_FLOAT_EQ(value, deq[s]->pdfs[t][j].mean[d]);
        }
        if (s == 2) {
          const float w = static_cast<float>(m.msd_pair[0] + m.msd_pair[1] * codes[2 * v]);
          EXPECT_NEAR(w, p.msd, std::fabs(m.msd_pair[1]) / 2 + 1e-6);
        }
      }
    }
    // The writer reports exactly this worst case.
    EXPECT_NEAR(worst, rep[s]->mean_error.max_rel, 1e-4 * rep[s]->mean_error.max_rel + 1e-9);
  }
}

TEST(SltVoice, BuiltPackageIsWhatTheImporterWritesNow) {
  REQUIRE_VOICE();
  for (const char* ext : {".qt", ".pt", ".am", ".dt"}) {
    const std::string built = slurp(kStem + ext), fresh = slurp(sh->fresh_stem + ext);
    EXPECT_FALSE(built.empty()) << ext;
    EXPECT_TRUE(built == fresh) << ext << " differs: the build's voice is stale or the import "
                                          "is not deterministic";
  }
  // The source's mel-cepstrum map holds on the real voice's envelopes: RMS
  // well under a dB over 0..12 kHz (the order drops from 44 to 34).
  ImportReport rep;
  Voice v;
  std::string err;
  ASSERT_TRUE(import_htsvoice(sh->hts, ImportOptions(), &v, &rep, &err)) << err;
  EXPECT_LT(rep.rms_envelope_db, 1.0);
  EXPECT_LT(rep.worst_envelope_db, 6.0);
}

// Words that pocketsphinx hears in a 24 kHz WAV file, or null when sox or
// pocketsphinx is not installed.
std::unique_ptr<std::string> recognise(const std::string& wav) {
  if (std::system("command -v sox >/dev/null 2>&1 && "
                  "command -v pocketsphinx_continuous >/dev/null 2>&1") != 0)
    return nullptr;
  const std::string wav16 = wav + ".16k.wav";
  const std::string cmd = "sox '" + wav + "' -r 16000 '" + wav16 +
                          "' && pocketsphinx_continuous -infile '" + wav16 + "' 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return nullptr;
  std::unique_ptr<std::string> out(new std::string);
  char buf[256];
  while (std::fgets(buf, sizeof buf, p)) *out += buf;
  pclose(p);
  std::replace(out->begin(), out->end(), '\n', ' ');
  std::remove(wav16.c_str());
  return out;
}

std::vector<short> g_pcm;
void collect(short* samples, int count, int) { g_pcm.insert(g_pcm.end(), samples, samples + count); }

// A hand-written phrase through the whole synthesis core with this voice: it
// must come out as speech of a plausible length and level, voiced where the
// phrase is voiced. The samples go to build/voice-check/NAME.wav for listening
// and for sox; when pocketsphinx is installed, it must recognise most words.
TEST(SltVoice, SpeaksHandWrittenPhrases) {
  REQUIRE_VOICE();
  const char* const phrases[][2] = {{"hello_world", "hello world"},
                                    {"the_cat_sat", "the cat sat on the mat"},
                                    {"good_morning", "good morning how are you"}};
  for (const auto& phrase : phrases) {
    const char* name = phrase[0];
    SCOPED_TRACE(name);
    std::vector<std::string> labels = read_labels(std::string(name) + ".lab");
    ASSERT_FALSE(labels.empty());
    VXN_Engine engine;
    VXN_Engine_initialize(&engine, 3);
    CVxnCode reader;
    std::string qt = kStem + ".qt", pt = kStem + ".pt", am = kStem + ".am", dt = kStem + ".dt";
    ASSERT_TRUE(reader.VXN_Code_load_question_from_fn(&qt[0], &pt[0]) &&
                reader.VXN_Code_load_parameter_from_fn(&engine, &am[0], &dt[0], 1));
    engine.stream_count = 3;
    engine.ms.language = 1;
    engine.ms.model_select = 0;
    engine.language_id = 1;
    engine.chunk_size = 4800;
    engine.chunk_count = 4;
    engine.ring_buffer = (short*)VXN_calloc(4800 * 4, sizeof(short));
    engine.stream_callback = collect;
    engine.last_piece = 1;
    g_pcm.clear();
    std::vector<char*> lines;
    for (std::string& l : labels) lines.push_back(&l[0]);
    VXN_Engine_load_label_from_string_list(&engine, lines.data(), (int)lines.size());
    VXN_Engine_create_sstream(&engine, 0, 0);
    ASSERT_EQ(VXN_Engine_create_pstream(&engine), 1);
    ASSERT_EQ(VXN_Engine_create_gstream(&engine), 0);
    const int frames = VXN_SStreamSet_get_total_frame(&engine.sss);
    // Voiced frames: the phrases are mostly voiced sounds.
    int voiced = 0;
    for (int f = 0; f < VXN_PStreamSet_get_total_frame(&engine.pss); ++f)
      voiced += VXN_PStreamSet_get_msd_flag(&engine.pss, 1, f) ? 1 : 0;
    VXN_Engine_refresh(&engine);
    VXN_Engine_clear(&engine);

    const double seconds = frames * 0.005;
    EXPECT_GT(seconds, 0.04 * (labels.size() - 2)) << "phones last at least 40 ms on average";
    EXPECT_LT(seconds, 0.25 * labels.size() + 1.0);
    EXPECT_GT(voiced, frames / 4);
    EXPECT_LT(voiced, frames);
    ASSERT_GT(g_pcm.size(), 1000u);
    double energy = 0.0;
    int clipped = 0;
    const std::size_t a = g_pcm.size() / 4, b = 3 * g_pcm.size() / 4;
    for (std::size_t i = a; i < b; ++i) {
      energy += double(g_pcm[i]) * g_pcm[i];
      clipped += std::abs(g_pcm[i]) >= 32000;
    }
    const double rms = std::sqrt(energy / double(b - a));
    EXPECT_GT(rms, 300.0);
    EXPECT_LT(rms, 12000.0);
    EXPECT_LT(clipped, int(b - a) / 200);

    const std::string dir = kBuild + "/voice-check";
    mkdir(dir.c_str(), 0777);
    FILE* fp = std::fopen((dir + "/" + name + ".wav").c_str(), "wb");
    ASSERT_NE(fp, nullptr);
    auto u32 = [&](uint32_t v) { std::fwrite(&v, 4, 1, fp); };
    auto u16 = [&](uint16_t v) { std::fwrite(&v, 2, 1, fp); };
    const uint32_t bytes = static_cast<uint32_t>(g_pcm.size() * 2);
    std::fwrite("RIFF", 1, 4, fp);
    u32(36 + bytes);
    std::fwrite("WAVEfmt ", 1, 8, fp);
    u32(16);
    u16(1);
    u16(1);
    u32(24000);
    u32(48000);
    u16(2);
    u16(16);
    std::fwrite("data", 1, 4, fp);
    u32(bytes);
    std::fwrite(g_pcm.data(), 2, g_pcm.size(), fp);
    std::fclose(fp);

    std::unique_ptr<std::string> heard = recognise(dir + "/" + name + ".wav");
    if (!heard) {
      std::printf("sox or pocketsphinx missing: %s not checked by recognition\n", name);
      continue;
    }
    std::istringstream want(phrase[1]);
    std::string word;
    int words = 0, found = 0;
    while (want >> word) {
      ++words;
      found += (" " + *heard + " ").find(" " + word + " ") != std::string::npos;
    }
    EXPECT_GE(2 * found, words) << "heard: " << *heard << " for: " << phrase[1];
    std::printf("%s: heard \"%s\", %d of %d words\n", name, heard->c_str(), found, words);
    RecordProperty(name, *heard);
  }
}

}  // namespace
