#include "frontend/app.h"

#include <getopt.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "frontend/kvap_g2p.h"
#include "frontend/kvap_iconv.h"

namespace {

struct FlagOption {
  const char* name;
  unsigned flag;
};

const FlagOption kFlags[] = {
    {"wb", G2P_WORD_BOUNDARY}, {"sb", G2P_SYL_BOUNDARY},     {"pb", G2P_PHONE_BOUNDARY},
    {"sm", G2P_STRESS_MARK},   {"norm", G2P_NORM},           {"debug", G2P_DEBUG},
    {"tts", G2P_TTS},          {"u", G2P_UTF8},              {"tb", G2P_TOKEN_BOUNDARY},
    {"b", G2P_BLANK_LINE},     {"td", G2P_TOKEN_DETAIL},     {"pd", G2P_WORD_DETAIL},
    {"annontext", G2P_ANNOTATED}, {"ph", G2P_PHRASING},      {"gb", G2P_BREAK_MARK},
};
const int kFlagCount = (int)(sizeof(kFlags) / sizeof(kFlags[0]));
enum { kOptMp = 1000, kOptVersion, kOptEncoding, kOptO };

char* strip_braces(const char* s, size_t n) {
  if (n >= 1 && s[0] == '{') ++s, --n;
  if (n >= 1 && s[n - 1] == '}') --n;
  char* out = (char*)malloc(n + 1);
  if (!out) return nullptr;
  memcpy(out, s, n);
  out[n] = '\0';
  return out;
}

void usage(const char* prog) {
  fprintf(stderr,
          "usage: %s [-wb] [-sb] [-pb] [-sm] [-tb] [-gb] [-td] [-pd] [-norm] [-tts] [-annontext] [-ph] [-debug]\n"
          "          [-u] [-b] [-mp] [-O name:value] [-version] [-encoding] < text\n",
          prog);
}

}  // namespace

int get_name_val(const char* arg, char** name, char** value) {
  *name = *value = nullptr;
  if (!arg) return 0;
  const char* colon = strchr(arg, ':');
  if (!colon || colon == arg) return 0;
  *name = strip_braces(arg, (size_t)(colon - arg));
  *value = strip_braces(colon + 1, strlen(colon + 1));
  if (!*name || !*value) {
    free(*name);
    free(*value);
    *name = *value = nullptr;
    return 0;
  }
  return 1;
}

int add_option(kvap_option** options, const char* name, const char* value) {
  int n = 0;
  while (*options && (*options)[n]) ++n;
  kvap_option* grown = (kvap_option*)realloc(*options, (size_t)(n + 2) * sizeof(kvap_option));
  if (!grown) return 0;
  *options = grown;
  char** pair = (char**)calloc(2, sizeof(char*));
  if (!pair) return 0;
  pair[0] = strdup(name);
  pair[1] = strdup(value);
  grown[n] = pair;
  grown[n + 1] = nullptr;
  return pair[0] && pair[1];
}

void free_options(kvap_option* options) {
  for (int i = 0; options && options[i]; ++i) {
    free(options[i][0]);
    free(options[i][1]);
    free(options[i]);
  }
  free(options);
}

int parse_options(int argc, char** argv, unsigned* flags, int* mp, kvap_option** options) {
  struct option longOptions[kFlagCount + 5];
  for (int k = 0; k < kFlagCount; ++k) longOptions[k] = {kFlags[k].name, no_argument, nullptr, k};
  longOptions[kFlagCount] = {"mp", no_argument, nullptr, kOptMp};
  longOptions[kFlagCount + 1] = {"version", no_argument, nullptr, kOptVersion};
  longOptions[kFlagCount + 2] = {"encoding", no_argument, nullptr, kOptEncoding};
  longOptions[kFlagCount + 3] = {"O", required_argument, nullptr, kOptO};
  longOptions[kFlagCount + 4] = {nullptr, 0, nullptr, 0};
  optind = 1;
  opterr = 0;
  int c;
  while ((c = getopt_long_only(argc, argv, "", longOptions, nullptr)) != -1) {
    if (c >= 0 && c < kFlagCount) {
      *flags |= kFlags[c].flag;
      if (kFlags[c].flag == G2P_UTF8 && !add_option(options, "kvap.input_encoding", "utf-8")) return -1;
      continue;
    }
    switch (c) {
      case kOptMp: *mp = 1; break;
      case kOptVersion: return -10;
      case kOptEncoding: return -11;
      case kOptO: {
        char *name, *value;
        if (!get_name_val(optarg, &name, &value)) return -1;
        int ok = add_option(options, name, value);
        free(name);
        free(value);
        if (!ok) return -1;
        break;
      }
      default: return -2;
    }
  }
  return 1;
}

int run(cst_voice* voice, unsigned flags) {
  char* line = (char*)malloc(KVAP_LINE_SIZE);
  if (!line) return -1;
  kvap_iconv_t toUtf8 = (kvap_iconv_t)-1;
  if (flags & G2P_UTF8) toUtf8 = open_iconv_handler("utf-8", g2p_encoding(voice));
  const char* sep = (flags & (G2P_TOKEN_DETAIL | G2P_WORD_DETAIL)) ? "\n" : "\t";
  int status = 0;
  while (fgets(line, KVAP_LINE_SIZE, stdin)) {
    size_t n = strlen(line);
    while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) line[--n] = '\0';
    char** results = nullptr;
    int count = 0;
    g2p(voice, line, &results, &count, flags);
    size_t longest = 0;
    for (int k = 0; k < count; ++k) longest = strlen(results[k]) > longest ? strlen(results[k]) : longest;
    char* converted = nullptr;
    if (toUtf8 != (kvap_iconv_t)-1) {
      converted = (char*)malloc(2 * longest + 1);
      if (!converted) {
        fprintf(stderr, "Failed to allocate converted output buffer.\n");
        free_g2p_results(results);
        status = -1;
        break;
      }
    }
    for (int k = 0; k < count; ++k) {
      if (k) fputs(sep, stdout);
      if (converted) {
        simple_iconv(toUtf8, results[k], converted, 2 * longest + 1);
        fputs(converted, stdout);
      } else {
        fputs(results[k], stdout);
      }
    }
    fputs("\n", stdout);
    if (flags & G2P_BLANK_LINE) fputs("\n", stdout);
    free(converted);
    free_g2p_results(results);
  }
  close_iconv_handler(toUtf8);
  free(line);
  return status;
}

int app(int argc, char** argv, kvap_init_func init, kvap_deinit_func deinit) {
  unsigned flags = 0;
  int mp = 0;
  kvap_option* options = nullptr;
  int parsed = parse_options(argc, argv, &flags, &mp, &options);
  if (parsed != 1 && parsed != -10 && parsed != -11) {
    if (parsed == -2) fprintf(stderr, "%s: unknown option\n", argv[0]);
    else fprintf(stderr, "%s: cannot store option\n", argv[0]);
    usage(argv[0]);
    free_options(options);
    return 2;
  }
  cst_voice* voice = init ? init(mp, options) : nullptr;
  int status = 0;
  if (!voice) {
    status = 1;
  } else if (parsed == -10) {
    const char* v = g2p_version(voice);
    fprintf(stderr, "Module version: %s\n", v ? v : "");
  } else if (parsed == -11) {
    fprintf(stderr, "%s\n", g2p_encoding(voice));
  } else {
    status = run(voice, flags) == 0 ? 0 : 1;
  }
  if (voice && deinit) deinit(voice);
  free_options(options);
  return status;
}
