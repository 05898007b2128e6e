// vxn-tts: speaks text or a label file with the engine, through its public
// interface only, and writes the streamed speech to a WAV file.
//
//   vxn-tts [options] [TEXT]            text from the argument or standard input
//   vxn-tts [options] --labels FILE     full-context labels, one per line
//
// Exit status: 0 success, 1 bad usage, 2 the engine could not be initialised,
// 3 synthesis or output failed.
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
const int kDefaultRate = 24000;

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
          "       %s [options] --labels FILE\n"
          "Speak TEXT (or standard input, or a label file) with the engine.\n\n"
          "  -d, --voice-dir DIR   voice directory holding Model/, Lib/ and Data/ (default %s)\n"
          "  -l, --lang LANG       language code: en_US, en_GB, de_DE, ... (default %s)\n"
          "  -v, --voice N         voice index: 0 female, 1 male (default 0)\n"
          "  -o, --output FILE     write the speech to FILE as a WAV file (default: none)\n"
          "  -r, --rate HZ         output rate: 16000, 24000 or 48000 (default %d)\n"
          "  -c, --channels N      1 mono or 2 stereo (default 1)\n"
          "  -p, --pitch N         pitch shift -70..70 (default 0)\n"
          "  -s, --speed N         speed step -5..5 (default 0)\n"
          "  -t, --timbre N        timbre -10..10 (default 0)\n"
          "      --sharpen N       spectral sharpening towards the voice's global variance,\n"
          "                        0..100 (default 0: off)\n"
          "      --labels FILE     speak the full-context labels of FILE\n"
          "      --verbose         print the engine's progress messages\n"
          "  -h, --help            show this help\n\n"
          "Exit status: 0 success, 1 bad usage, 2 initialisation failed, 3 synthesis failed.\n",
          kProgram, kProgram, kDefaultVoiceDir, kDefaultLanguage, kDefaultRate);
}

int language_id(const char* code) {
  for (const LanguageCode& c : kCodes)
    if (strcmp(c.code, code) == 0) return c.id;
  return -1;
}

bool parse_int(const char* text, int low, int high, int* value) {
  char* end = nullptr;
  const long v = strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || v < low || v > high) return false;
  *value = (int)v;
  return true;
}

// Streaming WAV output: the header is written first and its sizes patched at
// the end, so every chunk reaches the file as soon as it arrives.
struct WavOutput {
  FILE* fp = nullptr;
  long samples = 0;
  int chunks = 0;
  bool failed = false;
};
WavOutput g_wav;

void put_le(FILE* fp, unsigned value, int bytes) {
  for (int i = 0; i < bytes; i++) fputc((int)((value >> (8 * i)) & 0xFF), fp);
}

void write_wav_header(FILE* fp, int rate, int channels, unsigned dataBytes) {
  fwrite("RIFF", 1, 4, fp);
  put_le(fp, dataBytes + 36u, 4);
  fwrite("WAVEfmt ", 1, 8, fp);
  put_le(fp, 16, 4);
  put_le(fp, 1, 2);
  put_le(fp, (unsigned)channels, 2);
  put_le(fp, (unsigned)rate, 4);
  put_le(fp, (unsigned)(rate * channels * 2), 4);
  put_le(fp, (unsigned)(channels * 2), 2);
  put_le(fp, 16, 2);
  fwrite("data", 1, 4, fp);
  put_le(fp, dataBytes, 4);
}

void on_chunk(short* samples, int count, int state) {
  (void)state;
  g_wav.chunks++;
  if (!g_wav.fp || count <= 0) return;
  for (int i = 0; i < count; i++) put_le(g_wav.fp, (unsigned)(unsigned short)samples[i], 2);
  if (g_wav.chunks == 1) fflush(g_wav.fp);
  g_wav.samples += count;
}

std::string read_stdin() {
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), stdin)) > 0) text.append(buf, n);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  std::string voiceDir = kDefaultVoiceDir;
  std::string lang = kDefaultLanguage;
  int voice = 0, rate = kDefaultRate, channels = 1, pitch = 0, speed = 0, timbre = 0,
      sharpen = 0;
  bool verbose = false;
  const char* output = nullptr;
  const char* labels = nullptr;
  enum { kLabels = 1000, kVerbose, kSharpen };
  static const option kOptions[] = {
      {"voice-dir", required_argument, nullptr, 'd'}, {"lang", required_argument, nullptr, 'l'},
      {"voice", required_argument, nullptr, 'v'},     {"output", required_argument, nullptr, 'o'},
      {"rate", required_argument, nullptr, 'r'},      {"channels", required_argument, nullptr, 'c'},
      {"pitch", required_argument, nullptr, 'p'},     {"speed", required_argument, nullptr, 's'},
      {"timbre", required_argument, nullptr, 't'},    {"labels", required_argument, nullptr, kLabels},
      {"verbose", no_argument, nullptr, kVerbose},    {"help", no_argument, nullptr, 'h'},
      {"sharpen", required_argument, nullptr, kSharpen},
      {nullptr, 0, nullptr, 0}};
  int c;
  while ((c = getopt_long(argc, argv, "d:l:v:o:r:c:p:s:t:h", kOptions, nullptr)) != -1) {
    bool ok = true;
    const char* option = nullptr;
    switch (c) {
      case 'd': voiceDir = optarg; break;
      case 'l': lang = optarg; break;
      case 'v': ok = parse_int(optarg, 0, 3, &voice); option = "--voice"; break;
      case 'o': output = optarg; break;
      case 'r':
        ok = parse_int(optarg, 16000, 48000, &rate) &&
             (rate == 16000 || rate == 24000 || rate == 48000);
        option = "--rate";
        break;
      case 'c': ok = parse_int(optarg, 1, 2, &channels); option = "--channels"; break;
      case 'p': ok = parse_int(optarg, -70, 70, &pitch); option = "--pitch"; break;
      case 's': ok = parse_int(optarg, -5, 5, &speed); option = "--speed"; break;
      case 't': ok = parse_int(optarg, -10, 10, &timbre); option = "--timbre"; break;
      case kSharpen: ok = parse_int(optarg, 0, 100, &sharpen); option = "--sharpen"; break;
      case kLabels: labels = optarg; break;
      case kVerbose: verbose = true; break;
      case 'h': usage(stdout); return 0;
      default: usage(stderr); return 1;
    }
    if (!ok) {
      fprintf(stderr, "%s: invalid value '%s' for %s (see --help)\n", kProgram, optarg, option);
      return 1;
    }
  }
  if (!voiceDir.empty() && voiceDir.back() != '/') voiceDir += '/';
  const int id = language_id(lang.c_str());
  if (id < 0) {
    fprintf(stderr, "%s: unknown language '%s'\n", kProgram, lang.c_str());
    return 1;
  }
  std::string text;
  if (!labels) {
    if (optind < argc) {
      for (int i = optind; i < argc; i++) {
        if (i > optind) text += ' ';
        text += argv[i];
      }
    } else {
      text = read_stdin();
    }
  } else if (optind < argc) {
    fprintf(stderr, "%s: give either TEXT or --labels, not both\n", kProgram);
    return 1;
  }

  void* engine = create();
  VXNSetPrintLevel(engine, verbose ? 1 : 2);
  VXNSetLanguage(engine, id, 0);
  VXNModelSelect(engine, voice);
  const int init = VXNInit(engine, &voiceDir[0], &voiceDir[0]);
  if (init != 1) {
    fprintf(stderr, "%s: cannot initialise the engine for %s with the voice directory %s (%d)\n",
            kProgram, lang.c_str(), voiceDir.c_str(), init);
    VXNFree(engine);
    destroy(engine);
    return 2;
  }
  VXNSetSamplingRate(engine, rate);
  VXNSetChannel(engine, channels);
  VXNSetMemory(engine, (rate / 200) * 20 * channels, 4);
  VXNSetStreamCallback(engine, on_chunk);
  VXNVoiceControl(engine, pitch, timbre, speed);
  if (sharpen > 0) VXNSetSpectralVariance(engine, sharpen);

  if (output) {
    g_wav.fp = fopen(output, "wb");
    if (!g_wav.fp) {
      fprintf(stderr, "%s: cannot write %s\n", kProgram, output);
      VXNFree(engine);
      destroy(engine);
      return 3;
    }
    write_wav_header(g_wav.fp, rate, channels, 0);
  }
  int result;
  if (labels) {
    result = VXNStartStreamingPlayLabels(engine, labels);
  } else {
    result = VXNStartStreamingPlayUtf8(engine, (unsigned char*)&text[0], (int)text.size(), 0, 0);
  }
  VXNRefresh(engine);
  VXNFree(engine);
  destroy(engine);

  int status = result == 1 ? 0 : 3;
  if (result != 1)
    fprintf(stderr, "%s: synthesis failed%s%s\n", kProgram, labels ? " for " : "",
            labels ? labels : "");
  if (g_wav.fp) {
    fseek(g_wav.fp, 0, SEEK_SET);
    write_wav_header(g_wav.fp, rate, channels, (unsigned)(2 * g_wav.samples));
    if (fclose(g_wav.fp) != 0) {
      fprintf(stderr, "%s: error writing %s\n", kProgram, output);
      status = 3;
    }
  }
  if (status == 0 && output)
    fprintf(stderr, "%s: wrote %s (%.2f s at %d Hz)\n", kProgram, output,
            (double)g_wav.samples / channels / rate, rate);
  return status;
}
