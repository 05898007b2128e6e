/* A host built against an installed engine: speaks a sentence with the
 * installed voice and reports how many samples came out.
 *   install_host VOICE_DIR   (exit status 0 when speech came out) */
#include <stdio.h>
#include <string.h>

#include <vxn_engine.h>

static long g_samples;

static void on_chunk(short* samples, int count, int state) {
  (void)samples;
  (void)state;
  g_samples += count;
}

int main(int argc, char** argv) {
  char dir[1024];
  unsigned char text[] = "Good evening from an installed engine.";
  void* h;
  if (argc != 2 || strlen(argv[1]) + 2 > sizeof(dir)) {
    fprintf(stderr, "usage: install_host VOICE_DIR\n");
    return 2;
  }
  snprintf(dir, sizeof(dir), "%s", argv[1]);
  h = create();
  VXNSetLanguage(h, VXN_LANG_US_ENGLISH, 0);
  VXNModelSelect(h, 0);
  if (VXNInit(h, dir, dir) != 1 || !VXNIsLanguageReady(h)) {
    fprintf(stderr, "install_host: cannot load the voice from %s\n", dir);
    destroy(h);
    return 1;
  }
  VXNSetSamplingRate(h, 16000);
  VXNSetChannel(h, 1);
  VXNSetMemory(h, 1600, 4);
  VXNSetStreamCallback(h, on_chunk);
  VXNStartStreamingPlayUtf8(h, text, (int)sizeof(text) - 1, 0, 0);
  VXNRefresh(h);
  printf("install_host: engine %s, %ld samples at %d Hz\n", VXNGetVersion(), g_samples,
         VXNGetSamplingRate(h));
  destroy(h);
  return g_samples > 16000 / 2 ? 0 : 1;
}
