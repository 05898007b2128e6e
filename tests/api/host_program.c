/* A host written only against the public header: it stages a voice directory
 * with the test Chinese analyzer (the voice package itself is written by
 * vxn-voice beforehand), drives the exported functions of the shared library
 * and checks the chunk states it receives.
 * Usage: host_program <voice dir> <test module dir> [stop lag ms, default 50];
 * exit status 0 = pass. */
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "vxn_engine.h"

#define MAX_CHUNKS 4096

static int g_count[MAX_CHUNKS];
static int g_state[MAX_CHUNKS];
static int g_ones[MAX_CHUNKS]; /* 1 when every sample of the chunk is 1 */
static int g_chunks;
static int g_failures;
static void* g_handle;
static int g_stop_after = -1;

static void on_chunk(short* samples, int count, int state) {
  int i, ones = 1;
  for (i = 0; i < count; i++) ones &= samples[i] == 1;
  if (g_chunks < MAX_CHUNKS) {
    g_count[g_chunks] = count;
    g_state[g_chunks] = state;
    g_ones[g_chunks] = ones;
  }
  g_chunks++;
  if (g_chunks == g_stop_after) VXNSetControlStop(g_handle);
}

static int count_ends(void) {
  int i, ends = 0;
  for (i = 0; i < g_chunks && i < MAX_CHUNKS; i++) ends += g_state[i] == VXN_CHUNK_END;
  return ends;
}

#define CHECK(cond)                                                  \
  do {                                                               \
    if (!(cond)) {                                                   \
      fprintf(stderr, "host_program:%d: check failed: %s\n", __LINE__, #cond); \
      g_failures++;                                                  \
    }                                                                \
  } while (0)

static void touch(const char* dir, const char* name) {
  char path[4200];
  snprintf(path, sizeof(path), "%s%s", dir, name);
  FILE* f = fopen(path, "wb");
  if (f) fclose(f);
}

static void make_dir(const char* base, const char* sub) {
  char path[2048];
  snprintf(path, sizeof(path), "%s%s", base, sub);
  mkdir(path, 0755);
}

static void stage_voice(const char* base, const char* modules) {
  static const char* const chinese[] = {"CNFamilyNameList.txt", "English_wordList_US.txt",
                                        "HMM20POS.model", "longbrkmodel", "NER_model",
                                        "posmodel", "shortbrkmodel"};
  char path[2048], target[2048];
  int i;
  mkdir(base, 0755);
  make_dir(base, "Model");
  make_dir(base, "Model/Ch");
  make_dir(base, "Model/Ch/LangCN");
  make_dir(base, "Lib");
  make_dir(base, "Data");
  for (i = 0; i < 7; i++) {
    snprintf(path, sizeof(path), "Model/Ch/LangCN/%s", chinese[i]);
    touch(base, path);
  }
  snprintf(path, sizeof(path), "%sLib/libVXN_lang_ch.so", base);
  snprintf(target, sizeof(target), "%slibVXN_lang_ch.so", modules);
  unlink(path);
  if (symlink(target, path) != 0) perror("symlink");
}

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

struct stopper {
  void* handle;
  int delay_ms;
  double stopped_at;
};

static void* stop_later(void* arg) {
  struct stopper* s = (struct stopper*)arg;
  usleep((useconds_t)s->delay_ms * 1000);
  s->stopped_at = now_ms();
  VXNSetControlStop(s->handle);
  return NULL;
}

static int speak(void* h, const char* text) {
  unsigned char buffer[4096];
  size_t n = strlen(text);
  memcpy(buffer, text, n + 1);
  g_chunks = 0;
  return VXNStartStreamingPlayUtf8(h, buffer, (int)n, 0, 0);
}

int main(int argc, char** argv) {
  char base[512];
  void* h;
  double max_lag = 50.0;
  if (argc != 3 && argc != 4) {
    fprintf(stderr, "usage: host_program <voice dir> <test module dir> [stop lag ms]\n");
    return 2;
  }
  if (argc == 4) max_lag = atof(argv[3]);
  if (strlen(argv[1]) + 2 > sizeof(base)) {
    fprintf(stderr, "host_program: voice directory path too long\n");
    return 2;
  }
  snprintf(base, sizeof(base), "%s/", argv[1]);
  stage_voice(base, argv[2]);

  /* Calls on a null handle do nothing and report failure. */
  CHECK(VXNSetLanguage(NULL, 9, 0) == 0);
  CHECK(VXNGetControlState(NULL) == -1);
  destroy(NULL);

  h = create();
  CHECK(h != NULL);
  VXNSetPrintLevel(h, 3);
  CHECK(VXNSetLanguage(h, 9, 0) == 1);
  VXNSetHybrid(h, 0);
  CHECK(VXNModelSelect(h, 0) == 1);
  CHECK(VXNInit(h, base, base) == 1);
  VXNSetSamplingRate(h, 48000);
  VXNSetChannel(h, 1);
  VXNSetMemory(h, 2400, 4);
  VXNSetStreamCallback(h, on_chunk);
  CHECK(VXNVoiceControl(h, 0, 0, 0) == 1);
  CHECK(VXNGetControlState(h) == 1);

  /* Empty text, and a text that is only a byte-order mark: one end notice. */
  CHECK(speak(h, "") == 1);
  CHECK(g_chunks == 1 && g_count[0] == 0 && g_state[0] == VXN_CHUNK_END);
  VXNRefresh(h);
  CHECK(speak(h, "\xEF\xBB\xBF") == 1);
  CHECK(g_chunks == 1 && g_count[0] == 0 && g_state[0] == VXN_CHUNK_END);
  VXNRefresh(h);
  CHECK(VXNStartStreamingPlayUtf8(h, NULL, 0, 0, 0) == 0);

  /* Speech: full chunks start with state 2, the text ends with state 1. */
  {
    int i, ends = 0;
    CHECK(speak(h, "a b c d|e f g h") == 1);
    CHECK(g_chunks >= 2 && g_chunks < MAX_CHUNKS);
    CHECK(g_state[0] == VXN_CHUNK_FIRST);
    CHECK(g_state[g_chunks - 1] == VXN_CHUNK_END && g_count[g_chunks - 1] > 0);
    for (i = 0; i < g_chunks && i < MAX_CHUNKS; i++) {
      ends += g_state[i] == VXN_CHUNK_PIECE_END || g_state[i] == VXN_CHUNK_END;
      CHECK(g_count[i] > 0 && g_count[i] <= 2400);
    }
    CHECK(ends == 2);
    VXNRefresh(h);
  }

  /* Silence only: 110 ms at 48 kHz is 5280 samples of value 1, no end notice. */
  CHECK(speak(h, "<silence=110>") == 1);
  CHECK(g_chunks == 3);
  CHECK(g_count[0] == 2400 && g_state[0] == VXN_CHUNK_FIRST && g_ones[0]);
  CHECK(g_count[1] == 2400 && g_state[1] == VXN_CHUNK_MIDDLE && g_ones[1]);
  CHECK(g_count[2] == 480 && g_state[2] == VXN_CHUNK_END && g_ones[2]);
  VXNRefresh(h);

  /* A stop asked for inside the callback ends the piece within one frame: the
   * faded rest (at most one 5 ms frame) with state 0, then 10 frames of 1s. */
  g_handle = h;
  g_stop_after = 1;
  CHECK(speak(h, "a b c d e f g h i j k l m n o p q r s t") == 1);
  g_stop_after = -1;
  CHECK(g_chunks == 3);
  CHECK(g_state[1] == VXN_CHUNK_MIDDLE && g_count[1] <= 240 + 10);
  CHECK(g_state[2] == VXN_CHUNK_END && g_count[2] == 2400 && g_ones[2]);
  CHECK(VXNGetControlState(h) == 0);
  VXNRefresh(h);
  VXNSetControlStart(h);

  /* A stop from another thread while the driver paces between pieces. */
  {
    pthread_t thread;
    struct stopper s = {h, 120, 0.0};
    double returned;
    pthread_create(&thread, NULL, stop_later, &s);
    CHECK(speak(h, "a|b|c|d|e|f|g|h|i|j|k|l") == 1);
    returned = now_ms();
    pthread_join(thread, NULL);
    CHECK(returned - s.stopped_at < max_lag);
    CHECK(VXNGetControlState(h) == 0);
    /* Stopped between pieces after speech: the last piece ended with state 3
     * and no end notice follows. Stopped inside a piece (a slow run): its
     * closing chunk, the last of the call, is the one end. */
    CHECK(g_chunks >= 1 && g_chunks < MAX_CHUNKS);
    CHECK(count_ends() == 0 ? g_state[g_chunks - 1] == VXN_CHUNK_PIECE_END
                            : count_ends() == 1 && g_state[g_chunks - 1] == VXN_CHUNK_END);
    VXNRefresh(h);
    /* Stopped before any analysis: only the end notice. */
    CHECK(speak(h, "a") == 1);
    CHECK(g_chunks == 1 && g_count[0] == 0 && g_state[0] == VXN_CHUNK_END);
    VXNSetControlStart(h);
    CHECK(VXNGetControlState(h) == 1);
  }

  /* The C-linkage entries: rate, channels, language report, UTF-16 and
   * pre-encoded text. */
  {
    char report[80];
    short units[] = {'a', ' ', 'b', 0};
    char encoded[] = "a b";
    CHECK(VXNGetSamplingRate(h) == 48000);
    CHECK(VXNGetChannel(h) == 1);
    CHECK(VXNShowLanguage(h, report) == 1);
    CHECK(strncmp(report, "language:CHINESE  ", 18) == 0);
    CHECK(strstr(report, "speaker:female\n") != NULL);
    g_chunks = 0;
    CHECK(VXNStartStreamingPlayUtf16(h, units, 3, 0, 0) == 1);
    CHECK(g_chunks >= 1 && g_chunks < MAX_CHUNKS && g_state[g_chunks - 1] == VXN_CHUNK_END &&
          g_count[g_chunks - 1] > 0);
    VXNRefresh(h);
    g_chunks = 0;
    CHECK(VXNStartStreamingPlay(h, encoded, 0, 0) == 1);
    CHECK(g_chunks >= 1 && g_chunks < MAX_CHUNKS && g_state[g_chunks - 1] == VXN_CHUNK_END &&
          g_count[g_chunks - 1] > 0);
    VXNRefresh(h);
    CHECK(VXNGetSamplingRate(NULL) == 0);
  }

  CHECK(VXNFree(h) == 1);
  CHECK(VXNGetControlState(h) == -1);
  destroy(h);

  /* An engine destroyed without VXNFree releases its language, voice and
   * module (the memory checker runs this program). */
  h = create();
  CHECK(VXNSetLanguage(h, 9, 0) == 1);
  CHECK(VXNModelSelect(h, 0) == 1);
  CHECK(VXNInit(h, base, base) == 1);
  destroy(h);
  if (g_failures) fprintf(stderr, "host_program: %d check(s) failed\n", g_failures);
  return g_failures ? 1 : 0;
}
