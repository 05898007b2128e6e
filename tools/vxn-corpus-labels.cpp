// vxn-corpus-labels: timed full-context labels for speech that another
// synthesiser made from the same sentences. Each sentence goes through the
// engine's own analysis (as in synthesis, piece by piece); the phones of its
// labels are aligned to the segments that synthesiser reported for its audio
// (flite -psdur output), and every piece is written as a timed label file
// against the sentence's recording, with one "WAV LAB" line per piece in the
// list that vxn-voice build-pd reads.
//
//   vxn-corpus-labels --voice-dir DIR --text SENTENCES --segments SEGDIR
//                     --wav WAVDIR --out LABDIR --list LIST
//
// Sentence n (from 1, one per line of SENTENCES) has SEGDIR/NNNNN.seg and
// WAVDIR/NNNNN.wav; its pieces become LABDIR/NNNNN_K.lab.
// Exit status: 0 success (some sentences may be skipped, see the report),
// 1 bad usage or input, 2 the engine could not be initialised.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "include/vxn_engine.h"
#include "lang/VXN_language.h"
#include "tools/voicebuild/VXN_segment_align.h"

namespace {

const char* kUsage =
    "usage: vxn-corpus-labels --voice-dir DIR --text SENTENCES --segments SEGDIR\n"
    "                         --wav WAVDIR --out LABDIR --list LIST [--max-differ N]\n"
    "  --max-differ N   phones per sentence that may differ from the segments (default 3)\n";

bool read_text(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  *text = s.str();
  return true;
}

std::string phone_of(const std::string& label) {
  const size_t dash = label.find('-');
  if (dash == std::string::npos) return "";
  const size_t end = label.find_first_of("+:", dash + 1);
  return label.substr(dash + 1, end == std::string::npos ? std::string::npos : end - dash - 1);
}

// The labels of every piece of one sentence, as the synthesis driver cuts it.
std::vector<std::vector<std::string>> analyse(CVxnLanguage* host, const std::string& sentence) {
  std::vector<std::vector<std::string>> pieces;
  std::vector<char> text(sentence.begin(), sentence.end());
  text.resize(sentence.size() + 256, '\0');
  host->LangRefreshInput();
  for (int pass = 0, idle = 0; pass < 1000 && idle < 8; pass++) {
    VXN_Engine_refresh(&host->engine);
    host->LangTextPreprocessFirst(text.data());
    const int result = host->LangTextAnalyze(text.data());
    if (result > 0) {
      host->SetLabel();
      std::vector<std::string> labels;
      for (int i = 0; i < VXN_Label_get_size(&host->engine.label); i++)
        labels.push_back(VXN_Label_get_string(&host->engine.label, i));
      pieces.push_back(labels);
    }
    if (host->GetProcInTxt()) break;
    idle = result == 0 ? idle + 1 : 0;
  }
  VXN_Engine_refresh(&host->engine);
  return pieces;
}

std::string number(int n) {
  char buf[16];
  std::snprintf(buf, sizeof(buf), "%05d", n);
  return buf;
}

}  // namespace

int main(int argc, char** argv) {
  std::string voice, text_path, seg_dir, wav_dir, out_dir, list_path;
  int max_differ = 3;
  for (int i = 1; i < argc; i++) {
    const std::string a = argv[i];
    if (i + 1 >= argc) {
      std::fprintf(stderr, "vxn-corpus-labels: %s needs a value\n\n%s", a.c_str(), kUsage);
      return 1;
    }
    const std::string v = argv[++i];
    if (a == "--voice-dir") voice = v;
    else if (a == "--text") text_path = v;
    else if (a == "--segments") seg_dir = v;
    else if (a == "--wav") wav_dir = v;
    else if (a == "--out") out_dir = v;
    else if (a == "--list") list_path = v;
    else if (a == "--max-differ") {
      char* end = nullptr;
      max_differ = (int)std::strtol(v.c_str(), &end, 10);
      if (*end || max_differ < 0) {
        std::fprintf(stderr, "vxn-corpus-labels: --max-differ takes a count, not '%s'\n",
                     v.c_str());
        return 1;
      }
    } else {
      std::fprintf(stderr, "vxn-corpus-labels: unknown option %s\n\n%s", a.c_str(), kUsage);
      return 1;
    }
  }
  if (voice.empty() || text_path.empty() || seg_dir.empty() || wav_dir.empty() ||
      out_dir.empty() || list_path.empty()) {
    std::fprintf(stderr, "vxn-corpus-labels: missing option\n\n%s", kUsage);
    return 1;
  }
  if (voice.back() != '/') voice += '/';
  std::string sentences;
  if (!read_text(text_path, &sentences)) {
    std::fprintf(stderr, "vxn-corpus-labels: cannot read %s\n", text_path.c_str());
    return 1;
  }

  CVxnSynth synth;
  synth.VXNSetLanguage(1, 0);
  synth.VXNModelSelect(0);
  if (synth.VXNInit(&voice[0], &voice[0]) != 1 || !synth.Language()->HasAnalyzer()) {
    std::fprintf(stderr, "vxn-corpus-labels: cannot initialise US English from %s\n",
                 voice.c_str());
    synth.VXNFree();
    return 2;
  }
  std::ofstream list(list_path);
  std::istringstream lines(sentences);
  std::string sentence;
  int n = 0, used = 0, pieces_written = 0, substitutions = 0;
  std::vector<std::string> problems;
  while (std::getline(lines, sentence)) {
    if (sentence.find_first_not_of(" \t\r") == std::string::npos) continue;
    const std::string id = number(++n);
    std::string seg_text, error;
    std::vector<vxn::voice::TimedSegment> segments;
    if (!read_text(seg_dir + "/" + id + ".seg", &seg_text) ||
        !vxn::voice::parse_segments(seg_text, id + ".seg", &segments, &error)) {
      problems.push_back(id + ": " + (error.empty() ? "no segment file" : error));
      continue;
    }
    const std::vector<std::vector<std::string>> pieces = analyse(synth.Language(), sentence);
    std::vector<std::string> phones;
    for (const auto& p : pieces)
      for (const std::string& l : p) phones.push_back(phone_of(l));
    vxn::voice::SegmentAlignment a;
    if (phones.empty() ||
        !vxn::voice::align_segments(phones, segments, max_differ, &a, &error)) {
      problems.push_back(id + ": " + (phones.empty() ? "no labels" : error));
      continue;
    }
    used++;
    substitutions += a.substitutions;
    size_t k = 0;
    for (size_t p = 0; p < pieces.size(); p++) {
      const std::string lab = id + "_" + std::to_string(p + 1) + ".lab";
      std::ofstream out(out_dir + "/" + lab);
      for (const std::string& l : pieces[p]) {
        out << std::llround(a.start[k] * 1e7) << " " << std::llround(a.end[k] * 1e7) << " " << l
            << "\n";
        k++;
      }
      if (!out) {
        std::fprintf(stderr, "vxn-corpus-labels: cannot write %s/%s\n", out_dir.c_str(),
                     lab.c_str());
        synth.VXNFree();
        return 1;
      }
      list << wav_dir << "/" << id << ".wav " << out_dir << "/" << lab << "\n";
      pieces_written++;
    }
    if (n % 100 == 0)
      std::fprintf(stderr, "corpus-labels: %d sentences, %d aligned\n", n, used);
  }
  synth.VXNFree();
  std::printf("sentences       %d read, %d aligned, %zu skipped\n", n, used, problems.size());
  std::printf("label files     %d (one per piece)\n", pieces_written);
  std::printf("phones differing from the segments: %d\n", substitutions);
  for (size_t i = 0; i < problems.size() && i < 20; i++)
    std::printf("skipped         %s\n", problems[i].c_str());
  return list ? 0 : 1;
}
