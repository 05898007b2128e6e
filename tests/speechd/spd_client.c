/* Drives a private speech-dispatcher instance (SPEECHD_ADDRESS) that has the
 * vxn module, and watches the audio file the server's ALSA output writes.
 *   spd_client AUDIO_FILE FULL_BYTES
 * FULL_BYTES: the size of the long text's speech when spoken to the end.
 * Checks: a short message is spoken and ends (END) with its audio in the
 * file; a long one stopped soon after it began is cancelled (CANCEL) with
 * less than half of its audio; the next message is spoken as before.
 * Exit status 0 = pass. */
#include <libspeechd.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static pthread_mutex_t g_lock = PTHREAD_MUTEX_INITIALIZER;
static pthread_cond_t g_changed = PTHREAD_COND_INITIALIZER;
static int g_events[6];

static void on_event(size_t msg, size_t client, SPDNotificationType type) {
  (void)msg;
  (void)client;
  pthread_mutex_lock(&g_lock);
  g_events[type]++;
  pthread_cond_broadcast(&g_changed);
  pthread_mutex_unlock(&g_lock);
}

static double now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

/* Waits until event `type` has been seen `count` times; 0 on timeout. */
static int wait_event(int type, int count, double seconds) {
  struct timespec until;
  int seen;
  clock_gettime(CLOCK_REALTIME, &until);
  until.tv_sec += (time_t)seconds;
  pthread_mutex_lock(&g_lock);
  while (g_events[type] < count)
    if (pthread_cond_timedwait(&g_changed, &g_lock, &until) != 0) break;
  seen = g_events[type] >= count;
  pthread_mutex_unlock(&g_lock);
  return seen;
}

static long file_size(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 ? (long)st.st_size : 0;
}

#define CHECK(cond)                                                        \
  do {                                                                     \
    if (!(cond)) {                                                         \
      fprintf(stderr, "spd_client:%d: check failed: %s\n", __LINE__, #cond); \
      failures++;                                                          \
    }                                                                      \
  } while (0)

static const char* kLong =
    "Good evening. Here is the weather for tonight and tomorrow. Clouds will gather over the "
    "hills in the west, with rain spreading east after midnight. Tomorrow starts grey and wet, "
    "but the rain clears by noon, and the afternoon will be bright with a fresh breeze. "
    "Temperatures reach fourteen degrees in the south and eleven in the north. The outlook for "
    "the weekend is dry and mild, with sunny spells on Saturday and a little cloud on Sunday.";

int main(int argc, char** argv) {
  const char* audio;
  long full, before, after;
  char* error = NULL;
  SPDConnectionAddress* address;
  SPDConnection* c;
  int failures = 0;
  double stopped_at;
  if (argc != 3) {
    fprintf(stderr, "usage: spd_client AUDIO_FILE FULL_BYTES\n");
    return 2;
  }
  audio = argv[1];
  full = atol(argv[2]);
  address = spd_get_default_address(&error);
  c = address ? spd_open2("vxn-test", "main", NULL, SPD_MODE_THREADED, address, 0, &error) : NULL;
  if (!c) {
    fprintf(stderr, "spd_client: cannot connect: %s\n", error ? error : "?");
    return 2;
  }
  c->callback_begin = c->callback_end = c->callback_cancel = on_event;
  c->callback_pause = c->callback_resume = on_event;
  spd_set_notification_on(c, SPD_ALL);
  CHECK(spd_set_output_module(c, "vxn") == 0);
  CHECK(spd_set_language(c, "en-US") == 0);

  /* A short message: spoken to its end, at least half a second of audio. */
  before = file_size(audio);
  CHECK(spd_say(c, SPD_TEXT, "Good evening. Here are the news.") > 0);
  CHECK(wait_event(SPD_EVENT_END, 1, 60));
  usleep(300000);
  after = file_size(audio);
  fprintf(stderr, "spd_client: short message: %ld bytes of audio\n", after - before);
  CHECK(after - before >= 24000);

  /* The long text, stopped shortly after it began. (The file output writes
   * a message's audio when the message ends, so its growth cannot tell when
   * the first chunk was played.) */
  before = file_size(audio);
  CHECK(spd_say(c, SPD_TEXT, kLong) > 0);
  CHECK(wait_event(SPD_EVENT_BEGIN, 2, 60));
  usleep(200000);
  stopped_at = now();
  CHECK(spd_stop(c) == 0);
  CHECK(wait_event(SPD_EVENT_CANCEL, 1, 10));
  fprintf(stderr, "spd_client: stop answered after %.0f ms\n", 1000 * (now() - stopped_at));
  usleep(500000);
  after = file_size(audio);
  fprintf(stderr, "spd_client: stopped message: %ld of %ld bytes\n", after - before, full);
  CHECK(after - before < full / 2);
  CHECK(g_events[SPD_EVENT_END] == 1);

  /* After the stop the module speaks the next message as before. */
  before = file_size(audio);
  CHECK(spd_say(c, SPD_TEXT, "Goodbye.") > 0);
  CHECK(wait_event(SPD_EVENT_END, 2, 60));
  usleep(300000);
  after = file_size(audio);
  fprintf(stderr, "spd_client: message after the stop: %ld bytes\n", after - before);
  CHECK(after - before >= 12000);

  spd_close(c);
  SPDConnectionAddress__free(address);
  if (failures) fprintf(stderr, "spd_client: %d check(s) failed\n", failures);
  return failures ? 1 : 0;
}
