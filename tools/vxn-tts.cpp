// vxn-tts: speaks text or a label file with the engine, through its public
// interface only, and streams the speech into a WAV file, a pipe or raw PCM.
//
//   vxn-tts [options] [TEXT...]          text from the arguments, -f FILE or standard input
//   vxn-tts [options] --labels FILE      full-context labels, one per line
//   vxn-tts --list-languages | --list-voices | --print-labels TEXT
//
// Exit status: 0 success, 1 bad usage or unknown language, 2 the voice or the
// language module cannot be loaded, 3 reading the text, synthesis or writing
// the output failed.
#include <getopt.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "include/vxn_engine.h"
#include "tools/common/VXN_voice_list.h"
#include "tools/common/VXN_wav_writer.h"

namespace {

enum { kExitOk = 0, kExitUsage = 1, kExitInit = 2, kExitFailed = 3 };

const char* const kProgram = "vxn-tts";
const char* const kDefaultLanguage = "en_US";
const int kDefaultRate = 24000;

void usage(FILE* out) {
  fprintf(out,
          "Usage: %s [options] [TEXT...]\n"
          "       %s [options] --labels FILE\n"
          "Speak TEXT (or the text of -f FILE, or standard input) with the engine.\n"
          "\n"
          "Input:\n"
          "  -f, --file FILE       read the text from FILE (\"-\": standard input)\n"
          "      --labels FILE     speak the full-context labels of FILE, one per line\n"
          "      --hybrid          take the intonation from the voice's prosody database\n"
          "                        (US English; basic mode when there is none)\n"
          "Voice:\n"
          "  -d, --voice-dir DIR   voice directory holding Model/, Lib/ and Data/ (default:\n"
          "                        $VXN_VOICE_DIR, else the installed voice directory)\n"
          "  -l, --lang LANG       language: en_US, en_GB, de_DE, ... or en, de (default %s)\n"
          "  -v, --voice N         voice index: 0 female, 1 male (default 0)\n"
          "  -p, --pitch N         pitch shift -70..70 (default 0)\n"
          "  -s, --speed N         speed step -5..5 (default 0)\n"
          "  -t, --timbre N        timbre -10..10 (default 0)\n"
          "Output:\n"
          "  -o, --output FILE     write the speech to FILE as WAV; \"-\" streams it to\n"
          "                        standard output, header first, chunks as they arrive\n"
          "      --raw             headerless 16-bit little-endian PCM instead of WAV (to\n"
          "                        standard output when no -o is given)\n"
          "  -r, --rate HZ         output rate: 16000, 24000 or 48000 (default %d)\n"
          "  -c, --channels N      1 mono or 2 stereo (default 1)\n"
          "Information:\n"
          "      --print-labels    print each piece's full-context labels on standard\n"
          "                        output, a blank line after each piece; without -o or\n"
          "                        --raw the text is analysed only\n"
          "      --list-languages  list the languages of the engine and exit\n"
          "      --list-voices     list the voices the voice directory holds and exit\n"
          "  -q, --quiet           print no messages but errors\n"
          "      --verbose         print the engine's progress messages\n"
          "      --version         print the engine version and exit\n"
          "  -h, --help            show this help and exit\n"
          "\n"
          "Exit status: 0 success, 1 bad usage or unknown language, 2 the voice or the\n"
          "language module cannot be loaded, 3 reading, synthesis or output failed.\n",
          kProgram, kProgram, kDefaultLanguage, kDefaultRate);
}

bool parse_int(const char* text, int low, int high, int* value) {
  char* end = nullptr;
  const long v = strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || v < low || v > high) return false;
  *value = (int)v;
  return true;
}

bool is_dir(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string with_slash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

// The program's own directory, from /proc.
std::string program_dir() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0) return "";
  path[n] = '\0';
  std::string s(path);
  return s.substr(0, s.rfind('/') + 1);
}

// $VXN_VOICE_DIR, else the installed voice directory next to this program
// (bin/../<libdir>/vxn/voice/), else the build tree's (bin/../voice/), else
// the directory chosen when the project was configured.
std::string default_voice_dir() {
  const char* env = getenv("VXN_VOICE_DIR");
  if (env && *env) return with_slash(env);
  const std::string here = program_dir();
  const std::string candidates[] = {here + "../" VXN_INSTALL_LIBDIR "/vxn/voice/",
                                    here + "../voice/", VXN_INSTALL_VOICE_DIR "/"};
  for (const std::string& dir : candidates)
    if (is_dir(dir + "Model")) return dir;
  return VXN_INSTALL_VOICE_DIR "/";
}

bool read_text(const char* path, std::string* text) {
  FILE* f = strcmp(path, "-") == 0 ? stdin : fopen(path, "rb");
  if (!f) return false;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), f)) > 0) text->append(buf, n);
  const bool ok = !ferror(f);
  if (f != stdin) fclose(f);
  return ok;
}

void list_languages() {
  printf("%-7s %-3s %s\n", "Code", "Id", "Language");
  for (int id = 0; VXNLanguageCode(id); id++)
    printf("%-7s %-3d %s\n", VXNLanguageCode(id), id, VXNLanguageName(id));
}

int list_voices(const std::string& voiceDir, bool quiet) {
  const std::vector<VXN_VoiceEntry> voices = VXN_list_voices(voiceDir);
  if (voices.empty()) {
    if (!quiet) fprintf(stderr, "%s: no voice in %sModel/\n", kProgram, voiceDir.c_str());
    return kExitOk;
  }
  printf("%-7s %-5s %-6s %-9s %-25s %s\n", "Lang", "Voice", "Gender", "Kind", "Stem",
         "Source (licence)");
  for (const VXN_VoiceEntry& v : voices) {
    const VXN_VoiceInfo& i = v.info;
    std::string source = v.described ? i.source : "(no description)";
    if (v.described && !i.licence.empty()) source += " (" + i.licence + ")";
    if (v.described && !i.donor.empty()) source += ", from " + i.donor;
    printf("%-7s %-5d %-6s %-9s %-25s %s\n", VXNLanguageCode(v.language), v.index,
           VXN_voice_gender(v.index), v.described ? i.kind.c_str() : "-", v.stem.c_str(),
           source.c_str());
    if (!v.info_error.empty()) fprintf(stderr, "%s: %s\n", kProgram, v.info_error.c_str());
  }
  return kExitOk;
}

// Output of the stream callback, which carries no context of its own.
VXN_WavWriter g_out;
bool g_have_out = false;

void on_chunk(short* samples, int count, int state) {
  (void)state;
  if (g_have_out && count > 0) VXN_WavWriter_write(&g_out, samples, count);
}

int print_labels(const char* const* labels, int count, void* user) {
  for (int i = 0; i < count; i++) printf("%s\n", labels[i]);
  printf("\n");
  fflush(stdout);
  return *static_cast<bool*>(user) ? 0 : 1;  // analysis only without audio output
}

}  // namespace

int main(int argc, char** argv) {
  std::string voiceDir, lang = kDefaultLanguage, text;
  int voice = 0, rate = kDefaultRate, channels = 1, pitch = 0, speed = 0, timbre = 0;
  bool verbose = false, quiet = false, raw = false, printLabels = false, hybrid = false;
  bool listLanguages = false, listVoices = false, haveText = false;
  const char* output = nullptr;
  const char* labels = nullptr;
  enum {
    kLabels = 1000, kVerbose, kRaw, kPrintLabels, kListLanguages, kListVoices, kVersion, kHybrid
  };
  static const option kOptions[] = {
      {"voice-dir", required_argument, nullptr, 'd'},
      {"lang", required_argument, nullptr, 'l'},
      {"voice", required_argument, nullptr, 'v'},
      {"output", required_argument, nullptr, 'o'},
      {"file", required_argument, nullptr, 'f'},
      {"rate", required_argument, nullptr, 'r'},
      {"channels", required_argument, nullptr, 'c'},
      {"pitch", required_argument, nullptr, 'p'},
      {"speed", required_argument, nullptr, 's'},
      {"timbre", required_argument, nullptr, 't'},
      {"labels", required_argument, nullptr, kLabels},
      {"raw", no_argument, nullptr, kRaw},
      {"print-labels", no_argument, nullptr, kPrintLabels},
      {"list-languages", no_argument, nullptr, kListLanguages},
      {"list-voices", no_argument, nullptr, kListVoices},
      {"quiet", no_argument, nullptr, 'q'},
      {"verbose", no_argument, nullptr, kVerbose},
      {"version", no_argument, nullptr, kVersion},
      {"help", no_argument, nullptr, 'h'},
      {"hybrid", no_argument, nullptr, kHybrid},
      {nullptr, 0, nullptr, 0}};
  int c;
  while ((c = getopt_long(argc, argv, "d:l:v:o:f:r:c:p:s:t:qh", kOptions, nullptr)) != -1) {
    bool ok = true;
    const char* option = nullptr;
    switch (c) {
      case 'd': voiceDir = with_slash(optarg); break;
      case 'l': lang = optarg; break;
      case 'v': ok = parse_int(optarg, 0, 3, &voice); option = "--voice"; break;
      case 'o': output = optarg; break;
      case 'f':
        if (!read_text(optarg, &text)) {
          fprintf(stderr, "%s: cannot read %s\n", kProgram, optarg);
          return kExitFailed;
        }
        haveText = true;
        break;
      case 'r':
        ok = parse_int(optarg, 16000, 48000, &rate) &&
             (rate == 16000 || rate == 24000 || rate == 48000);
        option = "--rate";
        break;
      case 'c': ok = parse_int(optarg, 1, 2, &channels); option = "--channels"; break;
      case 'p': ok = parse_int(optarg, -70, 70, &pitch); option = "--pitch"; break;
      case 's': ok = parse_int(optarg, -5, 5, &speed); option = "--speed"; break;
      case 't': ok = parse_int(optarg, -10, 10, &timbre); option = "--timbre"; break;
      case kLabels: labels = optarg; break;
      case kRaw: raw = true; break;
      case kPrintLabels: printLabels = true; break;
      case kListLanguages: listLanguages = true; break;
      case kListVoices: listVoices = true; break;
      case 'q': quiet = true; break;
      case kVerbose: verbose = true; break;
      case kHybrid: hybrid = true; break;
      case kVersion: printf("%s %s\n", kProgram, VXNGetVersion()); return kExitOk;
      case 'h': usage(stdout); return kExitOk;
      default:
        fprintf(stderr, "Try '%s --help' for more information.\n", kProgram);
        return kExitUsage;
    }
    if (!ok) {
      fprintf(stderr, "%s: invalid value '%s' for %s (see --help)\n", kProgram, optarg, option);
      return kExitUsage;
    }
  }
  if (voiceDir.empty()) voiceDir = default_voice_dir();
  if (listLanguages) {
    list_languages();
    return kExitOk;
  }
  if (listVoices) return list_voices(voiceDir, quiet);

  const int id = VXNLanguageId(lang.c_str());
  if (id < 0) {
    fprintf(stderr, "%s: unknown language '%s' (see --list-languages)\n", kProgram, lang.c_str());
    return kExitUsage;
  }
  const bool toStdout = (output && strcmp(output, "-") == 0) || (raw && !output);
  const bool audio = output || raw;
  if (printLabels && toStdout) {
    fprintf(stderr, "%s: --print-labels and audio cannot both go to standard output\n",
            kProgram);
    return kExitUsage;
  }
  if (labels && (optind < argc || haveText)) {
    fprintf(stderr, "%s: give either text or --labels, not both\n", kProgram);
    return kExitUsage;
  }
  if (!labels) {
    for (int i = optind; i < argc; i++) {
      if (haveText || i > optind) text += ' ';
      text += argv[i];
    }
    if (optind == argc && !haveText && !read_text("-", &text)) {
      fprintf(stderr, "%s: cannot read standard input\n", kProgram);
      return kExitFailed;
    }
  }

  void* engine = create();
  VXNSetPrintLevel(engine, verbose ? 1 : quiet ? 3 : 2);
  VXNSetLanguage(engine, id, 0);
  VXNSetHybrid(engine, hybrid ? 1 : 0);
  VXNModelSelect(engine, voice);
  const int init = VXNInit(engine, &voiceDir[0], &voiceDir[0]);
  if (init != 1) {
    char stem[256] = "";
    VXNVoiceStem(id, voice, stem, sizeof(stem));
    fprintf(stderr, "%s: cannot load the voice Model/%s of %s from %s (see --list-voices)\n",
            kProgram, stem, VXNLanguageCode(id), voiceDir.c_str());
    destroy(engine);
    return kExitInit;
  }
  if (!labels && !VXNIsLanguageReady(engine)) {
    fprintf(stderr, "%s: the language module of %s is missing from %sLib/\n", kProgram,
            VXNLanguageCode(id), voiceDir.c_str());
    destroy(engine);
    return kExitInit;
  }
  VXNSetSamplingRate(engine, rate);
  VXNSetChannel(engine, channels);
  VXNSetMemory(engine, (rate / 200) * 20 * channels, 4);
  VXNSetStreamCallback(engine, on_chunk);
  VXNVoiceControl(engine, pitch, timbre, speed);
  bool synthesise = audio;
  if (printLabels) VXNSetLabelCallback(engine, print_labels, &synthesise);

  FILE* fp = nullptr;
  if (audio) {
    fp = toStdout ? stdout : fopen(output, "wb");
    if (!fp) {
      fprintf(stderr, "%s: cannot write %s\n", kProgram, output);
      destroy(engine);
      return kExitFailed;
    }
    VXN_WavWriter_open(&g_out, fp, rate, channels, raw ? 1 : 0);
    g_have_out = true;
  }
  int result;
  if (labels) {
    result = VXNStartStreamingPlayLabels(engine, labels);
  } else {
    result = VXNStartStreamingPlayUtf8(engine, (unsigned char*)&text[0], (int)text.size(), 0, 0);
  }
  VXNRefresh(engine);
  destroy(engine);

  int status = result == 1 ? kExitOk : kExitFailed;
  if (result != 1)
    fprintf(stderr, "%s: synthesis failed%s%s\n", kProgram, labels ? " for " : "",
            labels ? labels : "");
  if (fp) {
    const bool written = VXN_WavWriter_close(&g_out) && (fp == stdout || fclose(fp) == 0);
    if (!written) {
      fprintf(stderr, "%s: error writing %s\n", kProgram, toStdout ? "standard output" : output);
      status = kExitFailed;
    } else if (status == kExitOk && !quiet && !toStdout) {
      fprintf(stderr, "%s: wrote %s (%.2f s at %d Hz)\n", kProgram, output,
              (double)g_out.bytes / 2.0 / channels / rate, rate);
    }
  }
  return status;
}
