// vxn-analyze: prints how the Korean or Chinese analyzer reads text: per
// piece the normalised words, the phones (Korean) or pinyin with tones
// (Chinese), and with -labels the full-context labels.
//
//   vxn-analyze -l ko --voice-dir build/voice "오늘 저녁 9시 뉴스입니다."
//   words: 오늘 저녁 아홉시 뉴스입니다
//   phones: # ow n ww lx ...
//
// Text comes from the arguments after the options, or from standard input
// one line at a time (UTF-8). Options: -l ko|zh (required), --voice-dir DIR
// (default: build/voice), -labels, -h.
// Exit status: 0 success, 1 the resources do not load, 2 bad option.
#include <stdio.h>
#include <string.h>

#include <iostream>
#include <string>
#include <vector>

#include "modules/ch/ch_analyzer.h"
#include "modules/cjk/cjk_piece.h"
#include "modules/kr/kr_analyzer.h"

namespace {

void usage(FILE* out) {
  fprintf(out,
          "usage: vxn-analyze -l ko|zh [--voice-dir DIR] [-labels] [TEXT...]\n"
          "  -l LANG        ko (Korean) or zh (Chinese)\n"
          "  --voice-dir D  voice directory with Model/ and Data/ (default: build/voice)\n"
          "  -labels        print the full-context labels as well\n"
          "Without TEXT, reads standard input line by line (UTF-8).\n");
}

std::string join(const std::vector<std::string>& v) {
  std::string out;
  for (const std::string& s : v) out += (out.empty() ? "" : " ") + s;
  return out;
}

template <typename Analysis>
void run(const Analysis& analysis, const std::string& line, bool labels, const char* readingName) {
  cjk::PieceCutter cutter(120);
  cutter.Start(cjk::DecodeUtf8(line));
  while (cutter.pending()) {
    cjk::Piece piece = cutter.Next();
    if (piece.kind == cjk::Piece::kSilence) {
      printf("silence: %d\n", piece.silenceMs);
      continue;
    }
    auto result = analysis.Analyze(piece.chars, true);
    printf("words: %s\n%s: %s\n", join(result.words).c_str(), readingName,
           join(result.reading).c_str());
    if (labels)
      for (const std::string& l : result.labels) printf("%s\n", l.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string lang, voiceDir = "build/voice";
  bool labels = false;
  int i = 1;
  for (; i < argc; i++) {
    std::string a = argv[i];
    if (a == "-l" && i + 1 < argc) {
      lang = argv[++i];
    } else if (a == "--voice-dir" && i + 1 < argc) {
      voiceDir = argv[++i];
    } else if (a == "-labels") {
      labels = true;
    } else if (a == "-h" || a == "--help") {
      usage(stdout);
      return 0;
    } else if (!a.empty() && a[0] == '-') {
      fprintf(stderr, "vxn-analyze: unknown option '%s'\n", a.c_str());
      usage(stderr);
      return 2;
    } else {
      break;
    }
  }
  if (lang != "ko" && lang != "zh") {
    fprintf(stderr, "vxn-analyze: -l must be ko or zh, not '%s'\n", lang.c_str());
    return 2;
  }
  if (voiceDir.back() != '/') voiceDir += '/';
  std::vector<std::string> texts(argv + i, argv + argc);
  if (texts.empty())
    for (std::string line; std::getline(std::cin, line);) texts.push_back(line);

  if (lang == "ko") {
    kr::KoreanAnalysis analysis;
    if (!analysis.Load(voiceDir + "Model/", voiceDir + "Data/")) {
      fprintf(stderr, "vxn-analyze: %s\n", analysis.error().c_str());
      return 1;
    }
    for (const std::string& t : texts) run(analysis, t, labels, "phones");
  } else {
    ch::ChineseAnalysis analysis;
    if (!analysis.Load(voiceDir + "Model/Ch/LangCN/")) {
      fprintf(stderr, "vxn-analyze: %s\n", analysis.error().c_str());
      return 1;
    }
    for (const std::string& t : texts) run(analysis, t, labels, "pinyin");
  }
  return 0;
}
