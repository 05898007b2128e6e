/* A host written only against the public header: it stages a voice directory
 * with the test Chinese analyzer, drives the exported functions of the shared
 * library and checks the chunk states it receives.
 * Usage: host_program <scratch dir> <test module dir>; exit status 0 = pass. */
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
static int g_chunks;
static int g_failures;

static void on_chunk(short* samples, int count, int state) {
  (void)samples;
  if (g_chunks < MAX_CHUNKS) {
    g_count[g_chunks] = count;
    g_state[g_chunks] = state;
  }
  g_chunks++;
}

#define CHECK(cond)                                                  \
  do {                                                               \
    if (!(cond)) {                                                   \
      fprintf(stderr, "host_program:%d: check failed: %s\n", __LINE__, #cond); \
      g_failures++;                                                  \
    }                                                                \
  } while (0)

static void touch(const char* dir, const char* name) {
  char path[2048];
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
  static const char* const package[] = {".am", ".dt", ".qt", ".pt"};
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
  for (i = 0; i < 4; i++) {
    snprintf(path, sizeof(path), "Model/Ch/vxnf_ch_24_256%s", package[i]);
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
  if (argc != 3) {
    fprintf(stderr, "usage: host_program <scratch dir> <test module dir>\n");
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

  /* A stop from another thread while the driver paces between pieces. */
  {
    pthread_t thread;
    struct stopper s = {h, 120, 0.0};
    double returned;
    pthread_create(&thread, NULL, stop_later, &s);
    CHECK(speak(h, "a|b|c|d|e|f|g|h|i|j|k|l") == 1);
    returned = now_ms();
    pthread_join(thread, NULL);
    CHECK(returned - s.stopped_at < 50.0);
    CHECK(VXNGetControlState(h) == 0);
    VXNRefresh(h);
    /* Stopped before any analysis: only the end notice. */
    CHECK(speak(h, "a") == 1);
    CHECK(g_chunks == 1 && g_count[0] == 0 && g_state[0] == VXN_CHUNK_END);
    VXNSetControlStart(h);
    CHECK(VXNGetControlState(h) == 1);
  }

  CHECK(VXNFree(h) == 1);
  CHECK(VXNGetControlState(h) == -1);
  destroy(h);
  if (g_failures) fprintf(stderr, "host_program: %d check(s) failed\n", g_failures);
  return g_failures ? 1 : 0;
}
