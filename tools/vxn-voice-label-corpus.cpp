// vxn-voice label-corpus: gives a recorded corpus the labels our front end
// writes. For every prompt of SOURCE/etc/txt.done.data (stress marks '+'
// dropped) the language module writes its full-context labels, as it does
// when it speaks; they are timed from the corpus's own phone alignment
// SOURCE/lab/ID.lab through a phone map between the two phone sets
// (VXN_label_align.h). OUTDIR gets labels/ID.lab ("START END LABEL", 100 ns
// units), etc/txt.done.data with the utterances kept, wav/ pointing at the
// recordings, and label-report.txt: per utterance how many phones matched.
// Utterances whose phones match too poorly are left out (and counted).
#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "api/VXN_driver_text.h"
#include "api/VXN_encodingConverter.h"
#include "engine/VXN_engine.h"
#include "engine/VXN_label.h"
#include "lang/VXN_language.h"
#include "tools/voicebuild/train/VXN_corpus.h"
#include "tools/voicebuild/train/VXN_label_align.h"

namespace {

enum { kExitOk = 0, kExitBad = 1, kExitUsage = 2 };

const char* kLabelUsage =
    "usage: vxn-voice label-corpus --voice-dir DIR --phone-map FILE [options] SOURCE OUTDIR\n"
    "  SOURCE: etc/txt.done.data, wav/ID.wav, lab/ID.lab (a phone alignment in the\n"
    "          corpus's own phone set)\n"
    "  OUTDIR: labels/ID.lab (our front end's labels, timed), etc/txt.done.data (the\n"
    "          utterances kept), wav -> SOURCE/wav, label-report.txt\n"
    "  --voice-dir DIR        voice directory with the language module (Lib/)\n"
    "  --phone-map FILE       corpus phones against ours\n"
    "                         (tools/voicebuild/train/phones/ru_RU.festvox-map.txt)\n"
    "  --lang ID              language id (default 12, Russian)\n"
    "  --min-match SHARE      leave out utterances with fewer phones matched (default 0.6)\n"
    "  --min-duration MS      the least time a label gets (default 25)\n";

// Creates a directory and its missing parents.
bool make_dir(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
    mkdir(path.substr(0, slash).c_str(), 0777);
  return mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

std::string absolute(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char buf[4096];
  if (!getcwd(buf, sizeof(buf))) return path;
  return std::string(buf) + "/" + path;
}

// The prompt as the front end should read it: stress marks dropped.
std::string plain_prompt(const std::string& prompt) {
  std::string out;
  for (char c : prompt)
    if (c != '+') out += c;
  return out;
}

// The labels the module writes for a text (every piece it cuts, in order).
class FrontEnd {
 public:
  FrontEnd(const std::string& voice_dir, int lang) : lang_(lang) {
    const std::string base = voice_dir + "/";
    std::string model = base + "Model/", lib = base + "Lib/", data = base + "Data/", dict = base;
    host_.languageId = lang;
    VXN_Engine_initialize(&host_.engine, 3);
    host_.LangInitialLoad(&model[0], &lib[0], &data[0], &dict[0]);
    ok_ = host_.HasAnalyzer();
  }
  ~FrontEnd() {
    host_.LangCloseModule();
    VXN_Engine_clear(&host_.engine);
  }
  bool ok() const { return ok_; }

  std::vector<vxn::train::TimedLabel> labels(const std::string& utf8) {
    std::vector<char> text(utf8.size() * 2 + 16, 0);
    CVxnEncodeConvert encoder;
    VXN_driver_convert_utf8(&encoder, lang_, utf8.c_str(), text.data(), (int)text.size() - 1);
    std::vector<vxn::train::TimedLabel> out;
    host_.LangRefreshInput();
    for (int pass = 0; pass < 1000; ++pass) {
      VXN_Engine_refresh(&host_.engine);
      host_.LangTextPreprocessFirst(text.data());
      if (host_.LangTextAnalyze(text.data()) > 0) {
        host_.SetLabel();
        for (int i = 0; i < VXN_Label_get_size(&host_.engine.label); ++i) {
          vxn::train::TimedLabel l;
          l.label = VXN_Label_get_string(&host_.engine.label, i);
          out.push_back(l);
        }
      }
      if (host_.GetProcInTxt()) break;
    }
    return out;
  }

 private:
  CVxnLanguage host_;
  int lang_;
  bool ok_ = false;
};

long long units(double seconds) { return std::llround(seconds * 1e7); }

}  // namespace

int cmd_label_corpus(std::vector<std::string>& args) {
  std::string voice_dir, map_path, source, out;
  int lang = 12;
  double min_match = 0.6, min_duration_ms = 25.0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if ((a == "--voice-dir" || a == "--phone-map" || a == "--lang" || a == "--min-match" ||
         a == "--min-duration") && i + 1 < args.size()) {
      const std::string& v = args[++i];
      char* end = nullptr;
      if (a == "--voice-dir") voice_dir = v;
      else if (a == "--phone-map") map_path = v;
      else if (a == "--lang") lang = (int)std::strtol(v.c_str(), &end, 10);
      else if (a == "--min-match") min_match = std::strtod(v.c_str(), &end);
      else min_duration_ms = std::strtod(v.c_str(), &end);
      if (end && (*end != '\0' || v.empty())) {
        std::fprintf(stderr, "vxn-voice: label-corpus: bad value for %s: %s\n\n%s", a.c_str(), v.c_str(), kLabelUsage);
        return kExitUsage;
      }
    } else if (a == "--help" || a == "-h") {
      std::fputs(kLabelUsage, stdout);
      return kExitOk;
    } else if (a.rfind("--", 0) == 0) {
      std::fprintf(stderr, "vxn-voice: label-corpus: unknown option %s\n\n%s", a.c_str(), kLabelUsage);
      return kExitUsage;
    } else if (source.empty()) {
      source = a;
    } else if (out.empty()) {
      out = a;
    } else {
      std::fprintf(stderr, "vxn-voice: label-corpus: unexpected argument %s\n\n%s", a.c_str(), kLabelUsage);
      return kExitUsage;
    }
  }
  if (voice_dir.empty() || map_path.empty() || source.empty() || out.empty()) {
    std::fprintf(stderr, "vxn-voice: label-corpus needs --voice-dir, --phone-map, SOURCE and OUTDIR\n\n%s",
                 kLabelUsage);
    return kExitUsage;
  }
  if (lang < 0 || lang > 17 || !(min_match >= 0.0 && min_match <= 1.0) || !(min_duration_ms >= 0.0)) {
    std::fprintf(stderr, "vxn-voice: label-corpus: --lang is 0..17, --min-match 0..1, --min-duration >= 0\n");
    return kExitUsage;
  }
  std::string error;
  vxn::train::CorpusPhoneMap map;
  if (!vxn::train::read_corpus_phone_map(map_path, &map, &error)) {
    std::fprintf(stderr, "vxn-voice: label-corpus: %s\n", error.c_str());
    return kExitBad;
  }
  std::vector<std::pair<std::string, std::string>> prompts;
  if (!vxn::train::read_prompts(source + "/etc/txt.done.data", &prompts, &error)) {
    std::fprintf(stderr, "vxn-voice: label-corpus: %s\n", error.c_str());
    return kExitBad;
  }
  FrontEnd front(voice_dir, lang);
  if (!front.ok()) {
    std::fprintf(stderr, "vxn-voice: label-corpus: no front end for language %d in %s/Lib\n", lang,
                 voice_dir.c_str());
    return kExitBad;
  }
  for (const char* d : {"", "/etc", "/labels"}) {
    if (!make_dir(out + d)) {
      std::fprintf(stderr, "vxn-voice: label-corpus: cannot create %s%s\n", out.c_str(), d);
      return kExitBad;
    }
  }
  const std::string wav_link = out + "/wav";
  unlink(wav_link.c_str());
  if (symlink(absolute(source + "/wav").c_str(), wav_link.c_str()) != 0) {
    std::fprintf(stderr, "vxn-voice: label-corpus: cannot link %s\n", wav_link.c_str());
    return kExitBad;
  }
  FILE* report = std::fopen((out + "/label-report.txt").c_str(), "w");
  FILE* kept_prompts = std::fopen((out + "/etc/txt.done.data").c_str(), "w");
  if (!report || !kept_prompts) {
    std::fprintf(stderr, "vxn-voice: label-corpus: cannot write into %s\n", out.c_str());
    if (report) std::fclose(report);
    if (kept_prompts) std::fclose(kept_prompts);
    return kExitBad;
  }
  std::fprintf(report,
               "# labels of our front end (language %d) timed from %s/lab; phone map %s\n"
               "# speech phones only: matched = the map calls them the same; substituted = another\n"
               "# phone of the same kind (timed as matched); inserted = a label without a corpus\n"
               "# phone; deleted = a corpus phone without a label; share = matched / the larger count\n"
               "# ID status share matched/labels/corpus substituted inserted deleted pauses(matched,inserted,deleted)\n",
               lang, source.c_str(), map_path.c_str());
  vxn::train::LabelAlignment total;
  int kept = 0, skipped = 0, failed = 0;
  for (const auto& p : prompts) {
    const std::string& id = p.first;
    std::vector<vxn::train::TimedPhone> phones;
    std::vector<vxn::train::TimedLabel> labels = front.labels(plain_prompt(p.second));
    vxn::train::LabelAlignment a;
    if (labels.empty()) {
      error = "the front end wrote no labels";
    } else if (vxn::train::read_phone_alignment(source + "/lab/" + id + ".lab", &phones, &error) &&
               vxn::train::align_labels(phones, map, min_duration_ms * 1e-3, &labels, &a, &error)) {
      error.clear();
    }
    if (!error.empty()) {
      std::fprintf(report, "%s failed %s\n", id.c_str(), error.c_str());
      std::fprintf(stderr, "vxn-voice: label-corpus: %s: %s\n", id.c_str(), error.c_str());
      ++failed;
      continue;
    }
    const bool keep = a.share() >= min_match;
    std::fprintf(report, "%s %s %.3f %d/%d/%d %d %d %d %d,%d,%d\n", id.c_str(), keep ? "kept" : "skipped",
                 a.share(), a.matched, a.our_phones, a.corpus_phones, a.substituted, a.inserted,
                 a.deleted, a.pauses_matched, a.pauses_inserted, a.pauses_deleted);
    total.our_phones += a.our_phones;
    total.corpus_phones += a.corpus_phones;
    total.matched += a.matched;
    total.substituted += a.substituted;
    total.inserted += a.inserted;
    total.deleted += a.deleted;
    total.pauses_matched += a.pauses_matched;
    total.pauses_inserted += a.pauses_inserted;
    total.pauses_deleted += a.pauses_deleted;
    if (!keep) {
      ++skipped;
      continue;
    }
    FILE* fp = std::fopen((out + "/labels/" + id + ".lab").c_str(), "w");
    if (!fp) {
      std::fprintf(stderr, "vxn-voice: label-corpus: cannot write %s/labels/%s.lab\n", out.c_str(), id.c_str());
      std::fclose(report);
      std::fclose(kept_prompts);
      return kExitBad;
    }
    for (const vxn::train::TimedLabel& l : labels)
      std::fprintf(fp, "%lld %lld %s\n", units(l.start_s), units(l.end_s), l.label.c_str());
    std::fclose(fp);
    std::fprintf(kept_prompts, "( %s \"%s\" )\n", id.c_str(), p.second.c_str());
    ++kept;
  }
  char summary[512];
  std::snprintf(summary, sizeof(summary),
                "%d utterances: %d kept, %d left out (under %.0f %% matched), %d failed; speech phones: "
                "%d labels, %d corpus, %d matched (%.1f %%), %d substituted, %d inserted, %d deleted; "
                "pauses: %d matched, %d inserted, %d deleted",
                (int)prompts.size(), kept, skipped, 100.0 * min_match, failed, total.our_phones,
                total.corpus_phones, total.matched, 100.0 * total.share(), total.substituted,
                total.inserted, total.deleted, total.pauses_matched, total.pauses_inserted,
                total.pauses_deleted);
  std::fprintf(report, "# total: %s\n", summary);
  std::fclose(report);
  std::fclose(kept_prompts);
  std::printf("label-corpus: %s\n", summary);
  return kept > 0 ? kExitOk : kExitBad;
}
