// vxn-voice train: builds a voice package from recordings and their labels
// (tools/voicebuild/train/VXN_corpus.h describes the corpus), with a
// progress bar, a per-stage time and likelihood report, tree sizes and the
// distortion on held-out utterances. The four package files appear together
// at the end (written under temporary names, then renamed) or not at all.
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/VXN_code.h"
#include "engine/VXN_engine.h"
#include "tools/voicebuild/VXN_package_writer.h"
#include "tools/voicebuild/train/VXN_corpus.h"
#include "tools/voicebuild/train/VXN_trainer.h"

namespace {

enum { kExitOk = 0, kExitBad = 1, kExitUsage = 2 };

const char* kTrainUsage =
    "usage: vxn-voice train CORPUS OUT_STEM [options]\n"
    "  CORPUS: etc/txt.done.data, wav/ID.wav and labels/ID.lab (full-context labels)\n"
    "          or lab/ID.lab (phone alignments); writes OUT_STEM.{qt,pt,am,dt,info},\n"
    "          OUT_STEM.train.txt (report) and OUT_STEM.COPYRIGHT (with --licence-file)\n"
    "options:\n"
    "  --lang CODE              language code for the description (default en_US)\n"
    "  --index N                voice index (0 female, 1 male; default 0)\n"
    "  --labels full|phones     label source (default: full when CORPUS/labels exists)\n"
    "  --phone-classes FILE     phone classes for the questions (default: identities only)\n"
    "  --jobs N                 threads (default 2)\n"
    "  --held-out-every N       hold out every N-th utterance (default 20, 0: none)\n"
    "  --mono-iterations N      embedded re-estimation of the monophones (default 4)\n"
    "  --tied-iterations N      re-estimation of the clustered models (default 2)\n"
    "  --mdl F                  description-length factor of the tree stop (default 1.0)\n"
    "  --margin N               frames a label may move from its given timing (default 20)\n"
    "  --tilt-limit F           largest |b1| of the vocoder's MLSA filter (default 4.3, 0: none)\n"
    "  --cache DIR              keep the analysis of each recording in DIR\n"
    "  --held-out-labels DIR    write the held-out utterances' labels to DIR/ID.lab\n"
    "                           (for vxn-tts --labels)\n"
    "  --reference              also measure against CORPUS/reference/ID.{mcep,lf0,dur}\n"
    "                           (the source voice's parameters with its state durations)\n"
    "  --source TEXT, --licence TEXT, --licence-file FILE, --notes TEXT\n"
    "                           what goes into the description\n";

int usage(const std::string& what) {
  std::fprintf(stderr, "vxn-voice: %s\n\n%s", what.c_str(), kTrainUsage);
  return kExitUsage;
}

bool is_dir(const std::string& p) {
  struct stat st;
  return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool read_floats(const std::string& path, std::vector<float>* out) {
  FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) return false;
  out->clear();
  float buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, sizeof(float), 4096, fp)) > 0) out->insert(out->end(), buf, buf + n);
  std::fclose(fp);
  return true;
}

// A one-line progress bar per stage on standard error.
std::string g_stage;
void progress(const std::string& stage, std::size_t done, std::size_t total) {
  if (stage != g_stage) {
    if (!g_stage.empty()) std::fprintf(stderr, "\n");
    g_stage = stage;
  }
  const int width = 30, filled = total ? (int)(width * done / total) : width;
  std::fprintf(stderr, "\rtrain: %-24s [%s%s] %zu/%zu", stage.c_str(), std::string(filled, '#').c_str(),
               std::string(width - filled, '-').c_str(), done, total);
}

bool engine_accepts(const std::string& stem) {
  VXN_Engine engine;
  VXN_Engine_initialize(&engine, 3);
  CVxnCode reader;
  std::string qt = stem + ".qt", pt = stem + ".pt", am = stem + ".am", dt = stem + ".dt";
  const bool ok = reader.VXN_Code_load_question_from_fn(&qt[0], &pt[0]) &&
                  reader.VXN_Code_load_parameter_from_fn(&engine, &am[0], &dt[0], 1);
  VXN_Engine_clear(&engine);
  return ok;
}

void print_measures(FILE* fp, const char* name, const vxn::train::Measures& m) {
  std::fprintf(fp,
               "%s: %d utterances, %ld speech frames: mel-cepstral distortion %.2f dB, "
               "log-F0 RMSE %.4f (%.1f cents), voicing error %.2f%%\n",
               name, m.utterances, m.frames, m.mcd_db, m.lf0_rmse, m.lf0_rmse_cents,
               100.0 * m.vuv_error);
}

}  // namespace

int cmd_train(std::vector<std::string>& args) {
  using namespace vxn;
  std::string corpus_dir, stem, lang = "en_US", labels, classes_path, cache, source, licence,
                              licence_file, notes, held_out_labels;
  int index = 0;
  bool reference = false;
  train::TrainOptions opt;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kTrainUsage, stdout);
      return kExitOk;
    }
    if (a == "--reference") {
      reference = true;
      continue;
    }
    if (a.rfind("--", 0) == 0) {
      if (i + 1 >= args.size()) return usage(a + " needs a value");
      const std::string v = args[++i];
      char* end = nullptr;
      const long n = std::strtol(v.c_str(), &end, 10);
      const bool integer = !v.empty() && *end == '\0';
      if (a == "--lang") lang = v;
      else if (a == "--labels") labels = v;
      else if (a == "--phone-classes") classes_path = v;
      else if (a == "--cache") cache = v;
      else if (a == "--source") source = v;
      else if (a == "--licence") licence = v;
      else if (a == "--licence-file") licence_file = v;
      else if (a == "--notes") notes = v;
      else if (a == "--held-out-labels") held_out_labels = v;
      else if (a == "--index" && integer && n >= 0 && n <= 1) index = (int)n;
      else if (a == "--jobs" && integer && n >= 1 && n <= 64) opt.jobs = (int)n;
      else if (a == "--held-out-every" && integer && n >= 0) opt.held_out_every = (int)n;
      else if (a == "--mono-iterations" && integer && n >= 0 && n <= 50) opt.mono_iterations = (int)n;
      else if (a == "--tied-iterations" && integer && n >= 1 && n <= 50) opt.tied_iterations = (int)n;
      else if (a == "--margin" && integer && n >= 0) opt.margin_frames = (int)n;
      else if (a == "--tilt-limit") {
        opt.tilt_limit = std::strtod(v.c_str(), &end);
        if (v.empty() || *end != '\0' || !(opt.tilt_limit >= 0.0)) return usage("--tilt-limit takes a number >= 0, got " + v);
      } else if (a == "--mdl") {
        opt.mdl_factor = std::strtod(v.c_str(), &end);
        if (v.empty() || *end != '\0' || !(opt.mdl_factor > 0.0)) return usage("--mdl takes a positive number, got " + v);
      } else {
        return usage("unknown option or bad value: " + a + " " + v);
      }
      continue;
    }
    if (corpus_dir.empty()) corpus_dir = a;
    else if (stem.empty()) stem = a;
    else return usage("unexpected argument " + a);
  }
  if (corpus_dir.empty() || stem.empty()) return usage("train needs CORPUS and OUT_STEM");
  if (labels.empty()) labels = is_dir(corpus_dir + "/labels") ? "full" : "phones";
  if (labels != "full" && labels != "phones") return usage("--labels is full or phones, got " + labels);
  if (!classes_path.empty()) {
    std::string error;
    if (!train::read_phone_classes(classes_path, &opt.classes, &error)) {
      std::fprintf(stderr, "vxn-voice: %s\n", error.c_str());
      return kExitBad;
    }
  }
  if (!cache.empty() && !is_dir(cache) && mkdir(cache.c_str(), 0777) != 0) {
    std::fprintf(stderr, "vxn-voice: train: cannot create the cache directory %s\n", cache.c_str());
    return kExitBad;
  }
  opt.cache_dir = cache;
  opt.progress = progress;

  std::unique_ptr<train::LabelSource> label_source =
      labels == "full" ? train::full_context_labels()
                       : train::phone_alignment_labels(train::russian_phone_set());
  std::fprintf(stderr, "train: reading %s\n", corpus_dir.c_str());
  std::vector<train::CorpusUtterance> corpus;
  std::string error;
  if (!train::load_corpus(corpus_dir, *label_source, &corpus, &error)) {
    std::fprintf(stderr, "vxn-voice: train: %s\n", error.c_str());
    return kExitBad;
  }
  voice::Voice v;
  train::TrainReport rep;
  std::vector<train::MeasureUtterance> held_out;
  if (!train::train_voice(corpus, opt, &v, &rep, &held_out, &error)) {
    std::fprintf(stderr, "\nvxn-voice: train: %s\n", error.c_str());
    return kExitBad;
  }
  std::fprintf(stderr, "\n");

  // Write under temporary names, check with the engine's reader, rename.
  const std::string temp = stem + ".partial" + std::to_string(getpid());
  const char* exts[] = {".qt", ".pt", ".am", ".dt"};
  auto remove_temp = [&]() {
    for (const char* e : exts) std::remove((temp + e).c_str());
  };
  voice::PackageReport pkg;
  voice::Voice dequantised;
  if (!voice::write_package(v, temp, &pkg, &error, &dequantised)) {
    remove_temp();
    std::fprintf(stderr, "vxn-voice: train: %s\n", error.c_str());
    return kExitBad;
  }
  if (!engine_accepts(temp)) {
    remove_temp();
    std::fprintf(stderr, "vxn-voice: train: the engine rejects the written package (reason above)\n");
    return kExitBad;
  }
  train::Measures held, ref;
  bool have_ref = false;
  if (!held_out.empty() &&
      !train::measure_voice(dequantised, held_out, opt.margin_frames, false, &held, &error)) {
    remove_temp();
    std::fprintf(stderr, "vxn-voice: train: %s\n", error.c_str());
    return kExitBad;
  }
  if (reference && !held_out.empty()) {
    // The held-out utterances in the same order as the corpus.
    std::vector<train::MeasureUtterance> with_ref;
    std::size_t k = 0;
    for (std::size_t i = 0; i < corpus.size() && k < held_out.size(); ++i) {
      if (opt.held_out_every <= 0 || (int)(i % opt.held_out_every) != opt.held_out_every - 1) continue;
      train::MeasureUtterance m = held_out[k++];
      const std::string base = corpus_dir + "/reference/" + corpus[i].id;
      std::vector<float> raw;
      if (!read_floats(base + ".mcep", &m.reference_mcep) || !read_floats(base + ".lf0", &m.reference_lf0) ||
          !read_floats(base + ".dur", &raw) || raw.size() != m.labels.size() * 5 ||
          (int)m.reference_lf0.size() != m.features.frames ||
          m.reference_mcep.size() != (std::size_t)m.features.frames * 35) {
        remove_temp();
        std::fprintf(stderr, "vxn-voice: train: %s.{mcep,lf0,dur}: missing or not %d frames\n",
                     base.c_str(), m.features.frames);
        return kExitBad;
      }
      // The durations are int32 values read as raw 4-byte words.
      m.state_durations.resize(raw.size());
      std::memcpy(m.state_durations.data(), raw.data(), raw.size() * 4);
      with_ref.push_back(std::move(m));
    }
    if (!train::measure_voice(dequantised, with_ref, 0, true, &ref, &error)) {
      remove_temp();
      std::fprintf(stderr, "vxn-voice: train: %s\n", error.c_str());
      return kExitBad;
    }
    have_ref = true;
  }
  for (const char* e : exts) {
    if (std::rename((temp + e).c_str(), (stem + e).c_str()) != 0) {
      remove_temp();
      for (const char* f : exts) std::remove((stem + f).c_str());
      std::fprintf(stderr, "vxn-voice: train: cannot rename %s%s\n", temp.c_str(), e);
      return kExitBad;
    }
  }
  if (!licence_file.empty()) {
    FILE* in = std::fopen(licence_file.c_str(), "rb");
    FILE* out = std::fopen((stem + ".COPYRIGHT").c_str(), "wb");
    if (in && out) {
      char buf[8192];
      std::size_t n;
      while ((n = std::fread(buf, 1, sizeof(buf), in)) > 0) std::fwrite(buf, 1, n, out);
    }
    if (in) std::fclose(in);
    if (out) std::fclose(out);
  }
  if (!held_out_labels.empty()) {
    mkdir(held_out_labels.c_str(), 0777);
    for (const train::MeasureUtterance& m : held_out) {
      FILE* fp = std::fopen((held_out_labels + "/" + m.id + ".lab").c_str(), "w");
      if (!fp) {
        std::fprintf(stderr, "vxn-voice: train: cannot write %s/%s.lab\n", held_out_labels.c_str(), m.id.c_str());
        return kExitBad;
      }
      for (const train::TimedLabel& l : m.labels) {
        if (l.start_s >= 0.0)
          std::fprintf(fp, "%lld %lld %s\n", std::llround(l.start_s * 1e7), std::llround(l.end_s * 1e7), l.label.c_str());
        else
          std::fprintf(fp, "%s\n", l.label.c_str());
      }
      std::fclose(fp);
    }
  }
  const std::size_t slash = stem.rfind('/');
  const std::string stem_name = slash == std::string::npos ? stem : stem.substr(slash + 1);
  if (FILE* info = std::fopen((stem + ".info").c_str(), "w")) {
    std::fprintf(info, "language: %s\nindex: %d\nstem: %s\nkind: trained\nsource: %s\nlicence: %s\n",
                 lang.c_str(), index, stem_name.c_str(),
                 source.empty() ? corpus_dir.c_str() : source.c_str(),
                 licence.empty() ? "see the corpus" : licence.c_str());
    if (!notes.empty()) std::fprintf(info, "notes: %s\n", notes.c_str());
    std::fclose(info);
  }

  FILE* report = std::fopen((stem + ".train.txt").c_str(), "w");
  for (FILE* fp : {stdout, report}) {
    if (!fp) continue;
    std::fprintf(fp, "corpus    %s: %d training utterances (%ld frames, %.2f h), %d held out, labels: %s\n",
                 corpus_dir.c_str(), rep.train_utterances, rep.train_frames,
                 rep.train_frames * 0.005 / 3600.0, rep.held_out_utterances,
                 label_source->describe().c_str());
    std::fprintf(fp, "contexts  %d, phones %d, questions %d\n", rep.contexts, rep.monophones, rep.questions);
    std::fprintf(fp, "stages (time on %d threads, log-likelihood per frame)\n", opt.jobs);
    double total = 0.0;
    for (const train::StageReport& s : rep.stages) {
      total += s.seconds;
      std::fprintf(fp, "  %-28s %8.1f s", s.name.c_str(), s.seconds);
      if (s.log_likelihood != 0.0) std::fprintf(fp, "  %9.3f", s.log_likelihood);
      else std::fprintf(fp, "  %9s", "");
      if (!s.notes.empty()) std::fprintf(fp, "  %s", s.notes.c_str());
      std::fprintf(fp, "\n");
    }
    std::fprintf(fp, "  %-28s %8.1f s\n", "total", total);
    std::fprintf(fp, "trees (leaves, log-likelihood gain per frame or per phone for durations)\n");
    for (const train::TreeReport& t : rep.trees)
      std::fprintf(fp, "  %-26s %6d  %.3f\n", t.name.c_str(), t.leaves, t.gain_per_frame);
    std::fprintf(fp, "package   %s.{qt,pt,am,dt}: %zu bytes, %d questions, %d patterns\n", stem.c_str(),
                 pkg.bytes_qt + pkg.bytes_pt + pkg.bytes_am + pkg.bytes_dt, pkg.questions, pkg.patterns);
    if (!held_out.empty()) print_measures(fp, "held-out", held);
    if (have_ref) print_measures(fp, "against the source voice", ref);
  }
  if (report) std::fclose(report);
  return kExitOk;
}
