// vxn-voice import-hts: turns an .htsvoice file or a voice directory of
// separate files into a model package in a voice directory
// (Model/<LangDir>/<stem>.{qt,pt,am,dt}), printing the stream shapes before
// and after, the question translation, the spectral map's envelope error,
// the writer's quantisation errors and the pdf and tree counts, and checking
// the written package with the engine's own reader. Optionally translates
// the questions from another label form and phone set, and derives a second
// speaker.
#include <errno.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/VXN_code.h"
#include "engine/VXN_engine.h"
#include "tools/common/progress.h"
#include "tools/voicebuild/VXN_htsdir.h"
#include "tools/voicebuild/VXN_htsvoice.h"
#include "tools/voicebuild/VXN_package_writer.h"
#include "tools/voicebuild/VXN_question_translate.h"
#include "tools/voicebuild/VXN_voice_derive.h"
#include "tools/voicebuild/VXN_voice_import.h"
#include "tools/voicebuild/VXN_voice_level.h"

namespace {

enum { kExitOk = 0, kExitBad = 1, kExitUsage = 2 };

const char* kImportUsage =
    "usage: vxn-voice import-hts SOURCE --lang-dir DIR --stem STEM --out VOICEDIR [options]\n"
    "  SOURCE is an .htsvoice file or a voice directory (dur.pdf, tree-dur.inf, ...);\n"
    "  writes VOICEDIR/Model/DIR/STEM.{qt,pt,am,dt}\n"
    "  --rate HZ --alpha A      sampling rate and all-pass constant of a voice directory\n"
    "  --labels FORM            label form the source's questions expect: hts (default),\n"
    "                           rhv-en, rhv-pl; translated onto the engine's form\n"
    "  --phone-map PAGE --donor SET\n"
    "                           target phones onto the source's phones: the table under\n"
    "                           \"## donor: SET\" of the Markdown page\n"
    "  --derive male|female     derive a second speaker (vocal tract and pitch register)\n"
    "  --level-db L             bring the voice's level (upper-quartile spectral power\n"
    "                           gain, printed as \"level\") to L dB\n";

double now_seconds() {
  struct timeval tv;
  gettimeofday(&tv, nullptr);
  return tv.tv_sec + tv.tv_usec * 1e-6;
}

// mkdir -p; true when the directory exists afterwards.
bool make_dirs(const std::string& path) {
  std::string partial;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      if (!partial.empty() && mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    if (i < path.size()) partial += path[i];
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool plain_name(const std::string& s) {
  if (s.empty() || s == "." || s == "..") return false;
  for (char c : s)
    if (c == '/' || c == '\0') return false;
  return true;
}

std::string fmt_level(double before, double after) {
  char line[96];
  std::snprintf(line, sizeof line, "level %.1f dB brought to %.1f dB (gain %+.1f dB)", before,
                after, after - before);
  return line;
}

void print_stream_report(const char* name, const vxn::voice::StreamReport& r) {
  std::printf("  %-18s %4d trees %5d pdfs %6d nodes  mean error %.4f%% (max %.3f%%)"
              "  variance error %.4f%% (max %.3f%%)\n",
              name, r.trees, r.pdfs, r.nodes, 100.0 * r.mean_error.mean_rel,
              100.0 * r.mean_error.max_rel, 100.0 * r.vari_error.mean_rel,
              100.0 * r.vari_error.max_rel);
}

}  // namespace

int cmd_import_hts(std::vector<std::string>& args) {
  using namespace vxn::voice;
  std::string source, lang_dir, stem, out_dir, rate, alpha, labels = "hts", phone_map, donor,
      derive, level;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string* target = a == "--lang-dir"    ? &lang_dir
                          : a == "--stem"      ? &stem
                          : a == "--out"       ? &out_dir
                          : a == "--rate"      ? &rate
                          : a == "--alpha"     ? &alpha
                          : a == "--labels"    ? &labels
                          : a == "--phone-map" ? &phone_map
                          : a == "--donor"     ? &donor
                          : a == "--derive"    ? &derive
                          : a == "--level-db"  ? &level
                                               : nullptr;
    if (a == "--help" || a == "-h") {
      std::fputs(kImportUsage, stdout);
      return kExitOk;
    }
    if (target) {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "vxn-voice: %s needs a value\n\n%s", a.c_str(), kImportUsage);
        return kExitUsage;
      }
      *target = args[++i];
    } else if (a.rfind("--", 0) == 0 || !source.empty()) {
      std::fprintf(stderr, "vxn-voice: unexpected argument %s\n\n%s", a.c_str(), kImportUsage);
      return kExitUsage;
    } else {
      source = a;
    }
  }
  if (source.empty() || lang_dir.empty() || stem.empty() || out_dir.empty()) {
    std::fprintf(stderr, "vxn-voice: import-hts needs VOICE, --lang-dir, --stem and --out\n\n%s",
                 kImportUsage);
    return kExitUsage;
  }
  if (!plain_name(lang_dir) || !plain_name(stem)) {
    std::fprintf(stderr, "vxn-voice: --lang-dir and --stem are plain names without '/'\n");
    return kExitUsage;
  }

  if (phone_map.empty() != donor.empty()) {
    std::fprintf(stderr, "vxn-voice: --phone-map and --donor go together\n");
    return kExitUsage;
  }
  if (!derive.empty() && derive != "male" && derive != "female") {
    std::fprintf(stderr, "vxn-voice: --derive takes male or female\n");
    return kExitUsage;
  }
  LabelFormat format;
  std::string error;
  if (!LabelFormat::by_name(labels, &format, &error)) {
    std::fprintf(stderr, "vxn-voice: --labels: %s\n", error.c_str());
    return kExitUsage;
  }
  PhoneMap phones;
  if (!phone_map.empty() && !PhoneMap::read(phone_map, donor, &phones, &error)) {
    std::fprintf(stderr, "vxn-voice: %s\n", error.c_str());
    return kExitBad;
  }

  double t0 = now_seconds();
  std::fprintf(stderr, "import-hts: reading %s\n", source.c_str());
  HtsVoice hts;
  struct stat st;
  if (stat(source.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    HtsDirInfo info;
    char* end = nullptr;
    info.sampling_frequency = static_cast<int>(std::strtol(rate.c_str(), &end, 10));
    const bool rate_ok = !rate.empty() && *end == '\0';
    info.alpha = std::strtod(alpha.c_str(), &end);
    if (!rate_ok || alpha.empty() || *end != '\0') {
      std::fprintf(stderr, "vxn-voice: a voice directory needs --rate HZ and --alpha A\n");
      return kExitUsage;
    }
    if (!read_hts_dir(source, info, &hts, &error)) {
      std::fprintf(stderr, "vxn-voice: %s\n", error.c_str());
      return kExitBad;
    }
  } else if (!read_htsvoice(source, &hts, &error)) {
    std::fprintf(stderr, "vxn-voice: %s\n", error.c_str());
    return kExitBad;
  }
  std::printf("source    %s\n", source.c_str());
  std::printf("          %d Hz, frame %d samples, %d states, labels %s\n",
              hts.sampling_frequency, hts.frame_period, hts.num_states,
              hts.fullcontext_format.c_str());
  if (labels != "hts" || !phone_map.empty()) {
    TranslateReport tr;
    if (!translate_voice_questions(&hts, format, phones, &tr, &error)) {
      std::fprintf(stderr, "vxn-voice: %s: %s\n", source.c_str(), error.c_str());
      return kExitBad;
    }
    std::printf("questions translated from the %s form%s%s: %d questions, %d exact, %d derived, "
                "%d fixed, %d hold for no target phone\n",
                labels.c_str(), phone_map.empty() ? "" : " through ",
                phone_map.empty() ? "" : phone_map.c_str(), tr.questions, tr.exact, tr.derived,
                tr.fixed, tr.emptied);
    for (const auto& f : tr.derived_fields)
      std::printf("          field %s derived (%d patterns)\n", f.first.c_str(), f.second);
    for (const auto& f : tr.fixed_fields)
      std::printf("          field %s has no counterpart: fixed (%d patterns)\n",
                  f.first.c_str(), f.second);
    if (!tr.unmapped_donor_phones.empty()) {
      std::printf("          donor phones no target phone maps onto:");
      for (const std::string& p : tr.unmapped_donor_phones) std::printf(" %s", p.c_str());
      std::printf("\n");
    }
  }

  std::fprintf(stderr, "import-hts: converting (%.1f s)\n", now_seconds() - t0);
  ImportOptions opt;
  // One bar per conversion step, counted in pdfs.
  VXN_Progress bar{};
  std::string bar_label;
  opt.progress = [&](const std::string& step, std::size_t done, std::size_t total) {
    if ("import-hts: " + step != bar_label) {
      if (!bar_label.empty()) VXN_Progress_end(&bar);
      bar_label = "import-hts: " + step;
      VXN_Progress_begin(&bar, bar_label.c_str(), (long)total);
    }
    VXN_Progress_step(&bar, (long)done - bar.done);
  };
  Voice voice;
  ImportReport rep;
  const bool imported = import_htsvoice(hts, opt, &voice, &rep, &error);
  if (!bar_label.empty()) VXN_Progress_end(&bar);
  if (!imported) {
    std::fprintf(stderr, "vxn-voice: %s: %s\n", source.c_str(), error.c_str());
    return kExitBad;
  }
  if (!derive.empty()) {
    DeriveReport dr;
    const DeriveOptions d = derive == "male" ? derive_towards_male() : derive_towards_female();
    if (!derive_voice(&voice, d, &dr, &error)) {
      std::fprintf(stderr, "vxn-voice: %s\n", error.c_str());
      return kExitBad;
    }
    for (const std::string& n : dr.notes) rep.notes.push_back(n);
  }
  const double level_before = voice_level_db(voice);
  if (!level.empty()) {
    char* end = nullptr;
    const double target = std::strtod(level.c_str(), &end);
    if (*end != '\0' || !(target > -100.0 && target < 100.0)) {
      std::fprintf(stderr, "vxn-voice: --level-db takes a level in dB\n");
      return kExitUsage;
    }
    apply_gain_db(&voice, target - level_before);
    rep.notes.push_back(fmt_level(level_before, target));
  }
  std::printf("level     %.1f dB (upper quartile of the spectral pdfs' power gain)\n",
              voice_level_db(voice));
  std::printf("before\n");
  for (const std::string& s : rep.shapes_before) std::printf("  %s\n", s.c_str());
  std::printf("  duration: %d states, %zu pdfs\n", hts.num_states,
              hts.duration_pdf.pdfs[0].size());
  std::printf("after\n");
  for (const std::string& s : rep.shapes_after) std::printf("  %s\n", s.c_str());
  std::printf("  duration: %d states, %d pdfs\n", voice.duration.vector_length, rep.pdfs[0]);
  std::printf("questions %d (%d renamed)\n", rep.questions, rep.renamed_questions);
  std::printf("spectral map to order %d, all-pass %.2f, %.0f Hz: envelope error over 0-%.0f Hz "
              "on %d pdfs: worst %.3f dB, mean of per-pdf worst %.3f dB, RMS %.3f dB\n",
              opt.dst_order, opt.dst_alpha, opt.dst_rate,
              std::min<double>(opt.dst_rate, hts.sampling_frequency) / 2.0, rep.envelope_pdfs,
              rep.worst_envelope_db, rep.mean_envelope_db, rep.rms_envelope_db);
  std::printf("aperiodicity profile (dB, voiced weight 1):");
  for (int k = 0; k < kBands; ++k) std::printf(" %.0f", kVoicedProfileDb[k]);
  std::printf("\n");
  for (const std::string& n : rep.notes) std::printf("note      %s\n", n.c_str());

  const std::string model_dir = out_dir + "/Model/" + lang_dir;
  if (!make_dirs(model_dir)) {
    std::fprintf(stderr, "vxn-voice: cannot create %s\n", model_dir.c_str());
    return kExitBad;
  }
  const std::string stem_path = model_dir + "/" + stem;
  std::fprintf(stderr, "import-hts: quantising and writing %s (%.1f s)\n", stem_path.c_str(),
               now_seconds() - t0);
  PackageReport pkg;
  if (!write_package(voice, stem_path, &pkg, &error)) {
    std::fprintf(stderr, "vxn-voice: %s\n", error.c_str());
    return kExitBad;
  }
  std::printf("package   %s.{qt,pt,am,dt}: %zu + %zu + %zu + %zu bytes, %d questions, "
              "%d patterns, %d GV streams\n",
              stem_path.c_str(), pkg.bytes_qt, pkg.bytes_pt, pkg.bytes_am, pkg.bytes_dt,
              pkg.questions, pkg.patterns, pkg.gv_streams);
  std::printf("quantisation (error relative to each dimension's spread)\n");
  print_stream_report("duration", pkg.duration);
  print_stream_report("0 mel-cepstrum", pkg.streams[0]);
  print_stream_report("1 log F0", pkg.streams[1]);
  print_stream_report("2 aperiodicity", pkg.streams[2]);

  // The engine's own reader must accept what was written.
  std::fprintf(stderr, "import-hts: checking with the engine reader (%.1f s)\n",
               now_seconds() - t0);
  VXN_Engine engine;
  VXN_Engine_initialize(&engine, 3);
  CVxnCode reader;
  std::string qt = stem_path + ".qt", pt = stem_path + ".pt", am = stem_path + ".am",
              dt = stem_path + ".dt";
  const bool ok = reader.VXN_Code_load_question_from_fn(&qt[0], &pt[0]) &&
                  reader.VXN_Code_load_parameter_from_fn(&engine, &am[0], &dt[0], 1);
  VXN_Engine_clear(&engine);
  if (!ok) {
    std::fprintf(stderr, "vxn-voice: the engine rejects the written package (reason above)\n");
    return kExitBad;
  }
  std::printf("check     the engine reader accepts the package (%.1f s in all)\n",
              now_seconds() - t0);
  return kExitOk;
}
