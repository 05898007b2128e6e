// vxn-voice build-pd: builds a hybrid prosody database from recordings with
// their timed full-context labels. One list line per labelled stretch:
// "WAV LAB" (paths relative to the list's folder); several label files may
// share one recording, and consecutive lines of one recording reuse its F0.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/voicebuild/VXN_prosody_build.h"
#include "tools/voicebuild/VXN_prosody_db.h"
#include "tools/voicebuild/analysis/VXN_f0.h"
#include "tools/voicebuild/analysis/VXN_wav.h"

namespace {

const char* kBuildPdUsage =
    "usage: vxn-voice build-pd --list LIST --out FILE.pd [options]\n"
    "  LIST: one line per labelled stretch, 'WAV LAB' (relative to LIST's folder);\n"
    "        LAB holds 'START END LABEL' lines, times in units of 100 ns\n"
    "  --codebook N     rows of the F0 and slope codebooks, 1..256 (default 256)\n"
    "  --f0-min HZ      lowest F0 searched (default 60)\n"
    "  --f0-max HZ      highest F0 searched (default 400)\n"
    "  --report FILE    also write the report to FILE\n"
    "  --quiet          no progress lines\n";

int build_pd_usage(const std::string& what) {
  std::fprintf(stderr, "vxn-voice build-pd: %s\n\n%s", what.c_str(), kBuildPdUsage);
  return 2;
}

bool read_text(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  *text = s.str();
  return true;
}

std::string resolve(const std::string& base, const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  return base + path;
}

double percentile(std::vector<double> v, double q) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  return v[(size_t)(q * (double)(v.size() - 1))];
}

}  // namespace

int cmd_build_pd(std::vector<std::string>& args) {
  std::string list, out, report_path;
  int codebook = 256;
  bool quiet = false;
  vxn::analysis::F0Options f0opt;
  for (size_t i = 0; i < args.size(); i++) {
    const std::string& a = args[i];
    auto value = [&](std::string* v) {
      if (i + 1 >= args.size()) return false;
      *v = args[++i];
      return true;
    };
    std::string v;
    char* end = nullptr;
    if (a == "--list") {
      if (!value(&list)) return build_pd_usage("--list needs a file");
    } else if (a == "--out") {
      if (!value(&out)) return build_pd_usage("--out needs a file");
    } else if (a == "--report") {
      if (!value(&report_path)) return build_pd_usage("--report needs a file");
    } else if (a == "--codebook") {
      if (!value(&v)) return build_pd_usage("--codebook needs a number");
      codebook = (int)std::strtol(v.c_str(), &end, 10);
      if (*end || codebook < 1 || codebook > vxn::voice::kMaxCodebookRows)
        return build_pd_usage("--codebook takes 1..256, not '" + v + "'");
    } else if (a == "--f0-min" || a == "--f0-max") {
      if (!value(&v)) return build_pd_usage(a + " needs a frequency");
      const double hz = std::strtod(v.c_str(), &end);
      if (*end || !(hz >= 20.0 && hz <= 2000.0))
        return build_pd_usage(a + " takes 20..2000 Hz, not '" + v + "'");
      (a == "--f0-min" ? f0opt.min_hz : f0opt.max_hz) = hz;
    } else if (a == "--quiet") {
      quiet = true;
    } else {
      return build_pd_usage("unknown argument '" + a + "'");
    }
  }
  if (list.empty() || out.empty()) return build_pd_usage("--list and --out are required");
  if (f0opt.min_hz >= f0opt.max_hz) return build_pd_usage("--f0-min must be below --f0-max");

  std::string text;
  if (!read_text(list, &text)) {
    std::fprintf(stderr, "vxn-voice build-pd: cannot read %s\n", list.c_str());
    return 1;
  }
  const size_t slash = list.rfind('/');
  const std::string base = slash == std::string::npos ? "" : list.substr(0, slash + 1);
  std::vector<std::pair<std::string, std::string>> items;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); number++) {
    std::istringstream f(line);
    std::string wav, lab, extra;
    if (!(f >> wav)) continue;
    if (!(f >> lab) || (f >> extra)) {
      std::fprintf(stderr, "vxn-voice build-pd: %s line %d: expected 'WAV LAB', got '%s'\n",
                   list.c_str(), number, line.c_str());
      return 1;
    }
    items.push_back({resolve(base, wav), resolve(base, lab)});
  }
  if (items.empty()) {
    std::fprintf(stderr, "vxn-voice build-pd: %s lists no recordings\n", list.c_str());
    return 1;
  }

  vxn::voice::ProsodyBuilder builder;
  vxn::voice::ProsodyBuildReport report;
  std::string wav_path;
  std::vector<double> lf0;
  std::vector<double> f0_hz;
  int skipped = 0, unused = 0;
  std::string first_problem;
  const size_t step = items.size() >= 20 ? items.size() / 20 : 1;
  for (size_t k = 0; k < items.size(); k++) {
    std::string error;
    if (items[k].first != wav_path) {
      vxn::analysis::Wav wav;
      lf0.clear();
      wav_path = items[k].first;
      if (!vxn::analysis::read_wav(wav_path, &wav, &error)) {
        std::fprintf(stderr, "vxn-voice build-pd: %s\n", error.c_str());
        return 1;
      }
      const std::vector<double> f0 = vxn::analysis::extract_f0(
          wav.samples.data(), wav.samples.size(), (double)wav.rate, f0opt);
      for (double hz : f0) lf0.push_back(hz > 0.0 ? std::log(hz) : 0.0);
    }
    std::string lab;
    std::vector<vxn::voice::TimedLabel> labels;
    if (!read_text(items[k].second, &lab)) {
      std::fprintf(stderr, "vxn-voice build-pd: cannot read %s\n", items[k].second.c_str());
      return 1;
    }
    if (!vxn::voice::parse_timed_labels(lab, items[k].second, &labels, &error)) {
      std::fprintf(stderr, "vxn-voice build-pd: %s\n", error.c_str());
      return 1;
    }
    std::vector<vxn::voice::RawProsodyUnit> units;
    if (!vxn::voice::make_prosody_units(labels, lf0, &units, &error)) {
      if (first_problem.empty()) first_problem = items[k].second + ": " + error;
      skipped++;
      continue;
    }
    if (!builder.add(units)) {
      unused = (int)(items.size() - k);
      break;
    }
    report.utterances++;
    for (const auto& u : units)
      if (u.voiced) f0_hz.push_back(std::exp((double)u.lf0));
    if (!quiet && ((k + 1) % step == 0 || k + 1 == items.size()))
      std::fprintf(stderr, "build-pd: %zu/%zu label files, %d units, %d contours\n", k + 1,
                   items.size(), builder.unit_count(), builder.contour_count());
  }

  vxn::voice::ProsodyDatabase db = builder.finish(codebook, &report);
  std::string error;
  if (!vxn::voice::write_prosody_database(db, out, &error)) {
    std::fprintf(stderr, "vxn-voice build-pd: %s\n", error.c_str());
    return 1;
  }
  std::ostringstream r;
  r << "prosody database " << out << "\n";
  r << "label files     " << report.utterances << " used, " << skipped << " skipped, " << unused
    << " not used (contour table full)\n";
  if (!first_problem.empty()) r << "first skipped   " << first_problem << "\n";
  r << "units           " << report.units << " (" << report.voiced_units << " voiced)\n";
  r << "phones          " << db.phones.size() << ":";
  for (const auto& p : report.phone_counts) r << " " << p.first << "=" << p.second;
  r << "\n";
  r << "diphone types   " << report.diphone_types << "\n";
  r << "contours        " << report.contours << " distinct five-point contours\n";
  char buf[256];
  std::snprintf(buf, sizeof(buf),
                "codebooks       F0 %zu rows (rms error %.4f log), slope %zu rows (rms error "
                "%.4f log per 100 ms)\n",
                db.f0_codebook.size(), report.f0_rms_error, db.slope_codebook.size(),
                report.slope_rms_error);
  r << buf;
  std::snprintf(buf, sizeof(buf), "voiced unit F0  median %.1f Hz, 5%% %.1f Hz, 95%% %.1f Hz\n",
                percentile(f0_hz, 0.5), percentile(f0_hz, 0.05), percentile(f0_hz, 0.95));
  r << buf;
  std::fputs(r.str().c_str(), stdout);
  if (!report_path.empty()) {
    std::ofstream rep(report_path);
    rep << r.str();
    if (!rep) {
      std::fprintf(stderr, "vxn-voice build-pd: cannot write %s\n", report_path.c_str());
      return 1;
    }
  }
  return report.utterances > 0 ? 0 : 1;
}

// vxn-voice f0-stats WAV...: per recording the voiced frames, the median F0
// and, in semitones, the range between the 5th and 95th percentiles and the
// standard deviation of the voiced log F0 (F0 by the same extractor as
// build-pd).
int cmd_f0_stats(std::vector<std::string>& args) {
  if (args.empty()) {
    std::fprintf(stderr, "vxn-voice f0-stats: no WAV given\nusage: vxn-voice f0-stats WAV...\n");
    return 2;
  }
  const double st = 12.0 / std::log(2.0);
  for (const std::string& path : args) {
    vxn::analysis::Wav wav;
    std::string error;
    if (!vxn::analysis::read_wav(path, &wav, &error)) {
      std::fprintf(stderr, "vxn-voice f0-stats: %s\n", error.c_str());
      return 1;
    }
    std::vector<double> lf0;
    for (double hz : vxn::analysis::extract_f0(wav.samples.data(), wav.samples.size(),
                                               (double)wav.rate, vxn::analysis::F0Options()))
      if (hz > 0.0) lf0.push_back(std::log(hz));
    double mean = 0.0, var = 0.0;
    for (double v : lf0) mean += v;
    mean /= lf0.empty() ? 1.0 : (double)lf0.size();
    for (double v : lf0) var += (v - mean) * (v - mean);
    var /= lf0.size() > 1 ? (double)(lf0.size() - 1) : 1.0;
    std::printf("%s voiced %zu median %.1f range %.2f std %.2f\n", path.c_str(), lf0.size(),
                lf0.empty() ? 0.0 : std::exp(percentile(lf0, 0.5)),
                (percentile(lf0, 0.95) - percentile(lf0, 0.05)) * st, std::sqrt(var) * st);
  }
  return 0;
}
