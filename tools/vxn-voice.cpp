// vxn-voice: inspects and checks acoustic model packages (the four files
// STEM.qt, STEM.pt, STEM.am, STEM.dt) through the engine's own reader and
// lookups, and writes synthetic test voices. One subcommand per run; each
// entry of the dispatch table below is one subcommand.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/VXN_code.h"
#include "engine/VXN_engine.h"
#include "tools/voicebuild/VXN_package_writer.h"
#include "tools/voicebuild/VXN_synthetic_voice.h"

// In vxn-voice-import-hts.cpp and vxn-voice-coverage.cpp.
int cmd_import_hts(std::vector<std::string>& args);
int cmd_coverage(std::vector<std::string>& args);
// In vxn-voice-build-pd.cpp.
int cmd_build_pd(std::vector<std::string>& args);
int cmd_f0_stats(std::vector<std::string>& args);
// In vxn-voice-train.cpp.
int cmd_train(std::vector<std::string>& args);
// In vxn-voice-speak-corpus.cpp.
int cmd_speak_corpus(std::vector<std::string>& args);
// In vxn-voice-label-corpus.cpp.
int cmd_label_corpus(std::vector<std::string>& args);

namespace {

enum { kExitOk = 0, kExitBad = 1, kExitUsage = 2 };

const char* kUsage =
    "usage: vxn-voice COMMAND [ARGS]\n"
    "\n"
    "STEM is the package path without extension (STEM.qt, STEM.pt, STEM.am, STEM.dt).\n"
    "\n"
    "commands:\n"
    "  info STEM                      streams, states, vector lengths, pdf and tree counts,\n"
    "                                 question and pattern counts, codebook sizes, file sizes\n"
    "  check STEM                     full validation; prints the first problem found\n"
    "  lookup [--lang N] [--voice N] STEM LABEL...\n"
    "                                 state durations and per-state means of every stream\n"
    "                                 (language id 0..17, default 1; voice index, default 0)\n"
    "  tree STEM STREAM STATE         print one tree; STREAM is dur, 0, 1 or 2; STATE 2..6\n"
    "                                 (ignored for dur)\n"
    "  import-hts SOURCE --lang-dir DIR --stem STEM --out VOICEDIR [options]\n"
    "                                 convert an HMM voice (.htsvoice or directory) into\n"
    "                                 VOICEDIR/Model/DIR/STEM.* (import-hts --help: options)\n"
    "  coverage STEM LABELFILE...     share of labels that reach their leaves through\n"
    "                                 translated questions rather than default answers\n"
    "  build-pd --list LIST --out FILE.pd [--codebook N] [--f0-min HZ] [--f0-max HZ]\n"
    "           [--report FILE] [--quiet]\n"
    "                                 build a hybrid prosody database from recordings\n"
    "                                 with timed full-context labels ('WAV LAB' per line)\n"
    "  f0-stats WAV...                per recording: voiced frames, median F0, 5-95 % F0\n"
    "                                 range and log-F0 deviation in semitones\n"
    "  train CORPUS OUT_STEM [options]\n"
    "                                 train a voice from recordings and labels\n"
    "                                 (vxn-voice train --help lists the options)\n"
    "  speak-corpus --voice-dir DIR [--lang ID] [--voice N] SENTENCES OUTDIR\n"
    "                                 speak sentences into a training corpus (speech,\n"
    "                                 timed labels, the voice's own parameters)\n"
    "  make-test [--seed N] [--leaves N] STEM\n"
    "                                 write a small synthetic voice (for tests and fuzz seeds)\n"
    "  help, --help                   this text\n"
    "\n"
    "exit status: 0 success; 1 the package is invalid or cannot be written;\n"
    "             2 wrong usage (unknown command, missing or bad argument)\n";

int usage_error(const char* what) {
  std::fprintf(stderr, "vxn-voice: %s\n\n%s", what, kUsage);
  return kExitUsage;
}

long file_size(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? (long)st.st_size : -1;
}

// Entry count of a string table (its unscrambled header), or -1.
long table_entries(const std::string& path) {
  FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) return -1;
  unsigned char h[2];
  const bool ok = std::fread(h, 1, 2, fp) == 2;
  std::fclose(fp);
  return ok ? (long)(h[0] | (h[1] << 8)) : -1;
}

// An engine record with the package loaded, or the reason it was rejected.
class Loaded {
 public:
  explicit Loaded(const std::string& stem) {
    VXN_Engine_initialize(&engine_, 3);
    CVxnCode reader;
    std::string qt = stem + ".qt", pt = stem + ".pt", am = stem + ".am", dt = stem + ".dt";
    ok_ = reader.VXN_Code_load_question_from_fn(&qt[0], &pt[0]) &&
          reader.VXN_Code_load_parameter_from_fn(&engine_, &am[0], &dt[0], 1);
  }
  ~Loaded() { VXN_Engine_clear(&engine_); }
  bool ok() const { return ok_; }
  VXN_Engine* engine() { return &engine_; }
  VXN_ModelSet* ms() { return &engine_.ms; }

 private:
  VXN_Engine engine_;
  bool ok_ = false;
};

int load_or_fail(Loaded& l, const std::string& stem) {
  if (l.ok()) return kExitOk;
  std::fprintf(stderr, "vxn-voice: %s: the package is invalid (reason above)\n", stem.c_str());
  return kExitBad;
}

void print_model(const char* name, const VXN_Stream& st, int with_trees) {
  std::printf("%-9s vector length %d", name, st.vector_length);
  if (st.msd_flag) std::printf(", multi-space");
  if (st.nmodel < 1) {
    std::printf("\n");
    return;
  }
  const VXN_Model& m = st.model[0];
  if (with_trees) {
    long pdfs = 0;
    for (int k = 2; k < m.ntree + 2; k++) pdfs += m.npdf[k];
    int questions = 0;
    for (const VXN_Question* q = m.question; q; q = q->next) questions++;
    std::printf(", %d trees, %ld pdfs, %d questions, codebook %d entries x %d dims\n", m.ntree,
                pdfs, questions, m.codebook_size, 2 * m.vector_length);
    int k = 2;
    for (const VXN_Tree* t = m.tree; t; t = t->next, k++) {
      int nodes = 0;
      std::vector<const VXN_Node*> todo = {t->root};
      while (!todo.empty()) {
        const VXN_Node* n = todo.back();
        todo.pop_back();
        if (!n || n->pdf > 0) continue;
        nodes++;
        todo.push_back(n->yes);
        todo.push_back(n->no);
      }
      std::printf("          tree %d: state %d, %d internal nodes, %d pdfs\n", k - 1, t->state,
                  nodes, m.npdf[k]);
    }
  } else {
    std::printf(", linear quantiser, %d pdf\n", m.ntree > 0 ? m.npdf[2] : 0);
  }
}

int cmd_info(std::vector<std::string>& args) {
  if (args.size() != 1) return usage_error("info takes one STEM");
  const std::string& stem = args[0];
  Loaded l(stem);
  if (int rc = load_or_fail(l, stem)) return rc;
  VXN_ModelSet* ms = l.ms();
  std::printf("package   %s\n", stem.c_str());
  std::printf("files     .qt %ld  .pt %ld  .am %ld  .dt %ld bytes\n", file_size(stem + ".qt"),
              file_size(stem + ".pt"), file_size(stem + ".am"), file_size(stem + ".dt"));
  std::printf("tables    %ld question names, %ld patterns\n", table_entries(stem + ".qt"),
              table_entries(stem + ".pt"));
  std::printf("states    %d emitting (2..%d)\n", ms->nstate, ms->nstate + 1);
  print_model("duration", ms->duration, 1);
  for (int s = 0; s < ms->nstream; s++) {
    char name[32];
    std::snprintf(name, sizeof(name), "stream %d", s);
    print_model(name, ms->stream[s], 1);
  }
  for (int s = 0; s < ms->nstream; s++) {
    char name[32];
    std::snprintf(name, sizeof(name), "gv %d", s);
    if (VXN_ModelSet_use_gv(ms, s)) print_model(name, ms->gv[s], 0);
  }
  return kExitOk;
}

int cmd_check(std::vector<std::string>& args) {
  if (args.size() != 1) return usage_error("check takes one STEM");
  for (const char* ext : {".qt", ".pt", ".am", ".dt"}) {
    if (file_size(args[0] + ext) < 0) {
      std::fprintf(stderr, "vxn-voice: %s%s: no such file\n", args[0].c_str(), ext);
      return kExitBad;
    }
  }
  Loaded l(args[0]);
  if (int rc = load_or_fail(l, args[0])) return rc;
  std::printf("%s: valid package\n", args[0].c_str());
  return kExitOk;
}

bool parse_int(const std::string& s, int lo, int hi, int* out) {
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end != '\0' || v < lo || v > hi) return false;
  *out = (int)v;
  return true;
}

int cmd_lookup(std::vector<std::string>& args) {
  int lang = 1, voice = 0;
  size_t i = 0;
  for (; i < args.size() && args[i].rfind("--", 0) == 0; i += 2) {
    if (i + 1 >= args.size()) return usage_error("option without value");
    if (args[i] == "--lang") {
      if (!parse_int(args[i + 1], 0, 17, &lang)) return usage_error("--lang takes 0..17");
    } else if (args[i] == "--voice") {
      if (!parse_int(args[i + 1], 0, 1, &voice)) return usage_error("--voice takes 0 or 1");
    } else {
      return usage_error(("unknown option " + args[i]).c_str());
    }
  }
  if (args.size() < i + 2) return usage_error("lookup takes STEM and at least one LABEL");
  Loaded l(args[i]);
  if (int rc = load_or_fail(l, args[i])) return rc;
  VXN_ModelSet* ms = l.ms();
  ms->language = lang;
  ms->model_select = voice;
  const int n = ms->nstate;
  for (size_t a = i + 1; a < args.size(); a++) {
    const char* label = args[a].c_str();
    std::printf("label %s\n", label);
    float dm[8] = {0}, dv[8] = {0};
    VXN_ModelSet_get_duration(ms, label, dm, dv);
    std::printf("  duration");
    for (int st = 2; st < n + 2; st++) std::printf(" %.3f", dm[st]);
    std::printf(" frames\n");
    for (int s = 0; s < ms->nstream; s++) {
      const int v = VXN_ModelSet_get_vector_length(ms, s);
      std::vector<float> mean(v), vari(v);
      for (int st = 2; st < n + 2; st++) {
        float w = 0.0f;
        const int r = VXN_ModelSet_get_parameter(ms, label, mean.data(), vari.data(), &w, s, st);
        std::printf("  stream %d state %d", s, st);
        if (VXN_ModelSet_is_msd(ms, s)) std::printf(" voiced %.3f%s", w, r ? "" : " (forced)");
        std::printf(" mean");
        for (int d = 0; d < v; d++) std::printf(" %.4g", mean[d]);
        std::printf("\n");
      }
    }
  }
  return kExitOk;
}

void print_node(const VXN_Node* n, int depth, const char* branch) {
  std::printf("%*s%s", 2 * depth, "", branch);
  if (!n) {
    std::printf("(missing)\n");
  } else if (n->pdf > 0) {
    std::printf("leaf %d\n", n->pdf);
  } else {
    std::printf("node %d: %s\n", n->index, n->quest && n->quest->string ? n->quest->string : "?");
    if (depth > 16000) return;
    print_node(n->yes, depth + 1, "yes: ");
    print_node(n->no, depth + 1, "no:  ");
  }
}

int cmd_tree(std::vector<std::string>& args) {
  if (args.size() != 3) return usage_error("tree takes STEM STREAM STATE");
  int stream = -1, state = 0;
  if (args[1] != "dur" && !parse_int(args[1], 0, 2, &stream))
    return usage_error("STREAM is dur, 0, 1 or 2");
  if (!parse_int(args[2], 2, 6, &state)) return usage_error("STATE is 2..6");
  Loaded l(args[0]);
  if (int rc = load_or_fail(l, args[0])) return rc;
  VXN_ModelSet* ms = l.ms();
  const VXN_Stream& st = stream < 0 ? ms->duration : ms->stream[stream];
  int k = 2;
  for (const VXN_Tree* t = st.model[0].tree; t; t = t->next, k++) {
    if (stream >= 0 && t->state != state) continue;
    std::printf("tree %d (%s, state %d, %d pdfs)\n", k - 1,
                stream < 0 ? "duration" : args[1].c_str(), t->state, st.model[0].npdf[k]);
    print_node(t->root, 1, "");
    return kExitOk;
  }
  std::fprintf(stderr, "vxn-voice: no tree serves state %d\n", state);
  return kExitBad;
}

int cmd_make_test(std::vector<std::string>& args) {
  vxn::voice::SyntheticOptions o;
  o.leaves = 8;
  o.duration_leaves = 8;
  int seed = 1;
  size_t i = 0;
  for (; i < args.size() && args[i].rfind("--", 0) == 0; i += 2) {
    if (i + 1 >= args.size()) return usage_error("option without value");
    if (args[i] == "--seed") {
      if (!parse_int(args[i + 1], 0, 1 << 30, &seed)) return usage_error("bad --seed");
    } else if (args[i] == "--leaves") {
      if (!parse_int(args[i + 1], 1, 32767, &o.leaves)) return usage_error("bad --leaves");
      o.duration_leaves = o.leaves;
    } else {
      return usage_error(("unknown option " + args[i]).c_str());
    }
  }
  if (args.size() != i + 1) return usage_error("make-test takes one STEM");
  o.seed = (uint32_t)seed;
  std::string error;
  vxn::voice::PackageReport rep;
  if (!vxn::voice::write_package(vxn::voice::make_synthetic_voice(o), args[i], &rep, &error)) {
    std::fprintf(stderr, "vxn-voice: %s\n", error.c_str());
    return kExitBad;
  }
  std::printf("wrote %s: %d questions, %d patterns, %zu bytes\n", args[i].c_str(), rep.questions,
              rep.patterns, rep.bytes_qt + rep.bytes_pt + rep.bytes_am + rep.bytes_dt);
  return kExitOk;
}

int cmd_help(std::vector<std::string>&) {
  std::fputs(kUsage, stdout);
  return kExitOk;
}

struct Command {
  const char* name;
  int (*run)(std::vector<std::string>& args);
};

// One entry per subcommand (import-hts and other converters slot in here).
const Command kCommands[] = {
    {"info", cmd_info},   {"check", cmd_check},         {"lookup", cmd_lookup},
    {"tree", cmd_tree},   {"make-test", cmd_make_test}, {"import-hts", cmd_import_hts},
    {"coverage", cmd_coverage}, {"build-pd", cmd_build_pd},   {"f0-stats", cmd_f0_stats},
    {"train", cmd_train},   {"speak-corpus", cmd_speak_corpus},
    {"label-corpus", cmd_label_corpus},
    {"help", cmd_help},
    {"--help", cmd_help}, {"-h", cmd_help},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage_error("no command");
  std::vector<std::string> args(argv + 2, argv + argc);
  for (const Command& c : kCommands)
    if (std::strcmp(argv[1], c.name) == 0) return c.run(args);
  return usage_error((std::string("unknown command ") + argv[1]).c_str());
}
