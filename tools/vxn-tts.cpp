// vxn-tts: speaks text with the engine through its public interface.
//
//   vxn-tts [--voice-dir DIR] [-l LANG] [--voice N] [-o FILE.wav] [TEXT]
//
// Exit status: 0 success, 1 bad usage, 2 the engine could not be initialised.
#include <getopt.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "include/vxn_engine.h"

namespace {

const char* const kProgram = "vxn-tts";
const char* const kDefaultVoiceDir = "voice/";
const char* const kDefaultLanguage = "en_US";

struct LanguageCode {
  const char* code;
  int id;
};

const LanguageCode kCodes[] = {
    {"ko_KR", 0},  {"en_US", 1},  {"en_GB", 2},  {"en_AU", 3},  {"de_DE", 4},  {"fr_FR", 5},
    {"es_ES", 6},  {"it_IT", 7},  {"nl_NL", 8},  {"zh_CN", 9},  {"pt_BR", 10}, {"pl_PL", 11},
    {"ru_RU", 12}, {"da_DK", 13}, {"sv_SE", 14}, {"fi_FI", 15}, {"nb_NO", 16}, {"nn_NO", 16},
    {"pt_PT", 17},
};

void usage(FILE* out) {
  fprintf(out,
          "Usage: %s [options] [TEXT]\n"
          "Speak TEXT (or standard input) with the engine.\n\n"
          "  -d, --voice-dir DIR   voice directory holding Model/, Lib/ and Data/ (default %s)\n"
          "  -l, --lang LANG       language code such as en_US, en_GB, de_DE (default %s)\n"
          "  -v, --voice N         voice index: 0 female, 1 male (default 0)\n"
          "  -o, --output FILE     write the speech to FILE as a WAV file\n"
          "  -q, --quiet           print errors only\n"
          "  -h, --help            show this help\n",
          kProgram, kDefaultVoiceDir, kDefaultLanguage);
}

int language_id(const char* code) {
  for (const LanguageCode& c : kCodes)
    if (strcmp(c.code, code) == 0) return c.id;
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string voiceDir = kDefaultVoiceDir;
  std::string lang = kDefaultLanguage;
  int voice = 0;
  bool quiet = false;
  const char* output = nullptr;
  static const option kOptions[] = {
      {"voice-dir", required_argument, nullptr, 'd'}, {"lang", required_argument, nullptr, 'l'},
      {"voice", required_argument, nullptr, 'v'},     {"output", required_argument, nullptr, 'o'},
      {"quiet", no_argument, nullptr, 'q'},           {"help", no_argument, nullptr, 'h'},
      {nullptr, 0, nullptr, 0}};
  int c;
  while ((c = getopt_long(argc, argv, "d:l:v:o:qh", kOptions, nullptr)) != -1) {
    switch (c) {
      case 'd': voiceDir = optarg; break;
      case 'l': lang = optarg; break;
      case 'v': {
        char* end = nullptr;
        voice = (int)strtol(optarg, &end, 10);
        if (*optarg == '\0' || *end != '\0' || voice < 0) {
          fprintf(stderr, "%s: the argument of --voice must be a voice index, not '%s'\n", kProgram,
                  optarg);
          return 1;
        }
        break;
      }
      case 'o': output = optarg; break;
      case 'q': quiet = true; break;
      case 'h': usage(stdout); return 0;
      default: usage(stderr); return 1;
    }
  }
  (void)output;
  if (!voiceDir.empty() && voiceDir.back() != '/') voiceDir += '/';
  const int id = language_id(lang.c_str());
  if (id < 0) {
    fprintf(stderr, "%s: unknown language '%s'\n", kProgram, lang.c_str());
    return 1;
  }

  void* engine = create();
  VXNSetPrintLevel(engine, quiet ? 2 : 2);
  VXNSetLanguage(engine, id, 0);
  VXNModelSelect(engine, voice);
  char report[64] = {0};
  static_cast<CVxnSynth*>(engine)->VXNShowLanguage(report);
  printf("%s", report);
  const int init = VXNInit(engine, &voiceDir[0], &voiceDir[0]);
  printf("VXNInit(%s) = %d\n", voiceDir.c_str(), init);
  VXNFree(engine);
  destroy(engine);
  if (init != 1) {
    fprintf(stderr, "%s: cannot initialise the engine with the voice directory %s\n", kProgram,
            voiceDir.c_str());
    return 2;
  }
  return 0;
}
