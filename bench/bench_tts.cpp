// Text-to-speech through the public interface with the default voice:
// time from the synthesis call to the first callback, and the real-time
// factor of the whole path, for sentences of 3, 10 and 30 words.
// The voice directory is VXN_VOICE_DIR, or the build tree's voice/.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <cstdlib>
#include <string>

#include "include/vxn_engine.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* const kSentences[] = {
    "Turn it off.",
    "The evening news starts at nine on channel four tonight.",
    "Tonight on the main channel we have a documentary about the history of the railway, "
    "followed by the late news, the weather for the weekend and a film about two friends "
    "who travel across the country.",
};

struct Run {
  Clock::time_point start;
  double first_ms = -1.0;
  long samples = 0;
};
Run g_run;

void on_chunk(short*, int count, int) {
  if (g_run.first_ms < 0.0)
    g_run.first_ms =
        std::chrono::duration<double, std::milli>(Clock::now() - g_run.start).count();
  g_run.samples += count;
}

void BM_TextToSpeech(benchmark::State& state) {
  const char* dir = std::getenv("VXN_VOICE_DIR");
  std::string voice = dir ? dir : VXN_BENCH_VOICE_DIR;
  if (voice.back() != '/') voice += '/';
  void* engine = create();
  VXNSetPrintLevel(engine, 3);
  VXNSetLanguage(engine, 1, 0);
  VXNModelSelect(engine, 0);
  if (VXNInit(engine, &voice[0], &voice[0]) != 1) {
    state.SkipWithError("no voice: run scripts/build-voices.sh");
    destroy(engine);
    return;
  }
  VXNSetSamplingRate(engine, 24000);
  VXNSetChannel(engine, 1);
  VXNSetMemory(engine, 2400, 4);
  VXNSetStreamCallback(engine, on_chunk);
  std::string text = kSentences[state.range(0)];
  double first_total = 0.0, audio_seconds = 0.0, wall_seconds = 0.0;
  const std::clock_t cpu_start = std::clock();
  for (auto _ : state) {
    g_run = Run();
    g_run.start = Clock::now();
    VXNStartStreamingPlayUtf8(engine, (unsigned char*)&text[0], (int)text.size(), 0, 0);
    wall_seconds += std::chrono::duration<double>(Clock::now() - g_run.start).count();
    VXNRefresh(engine);
    first_total += g_run.first_ms;
    audio_seconds += g_run.samples / 24000.0;
  }
  state.counters["first_chunk_ms"] = first_total / state.iterations();
  state.counters["audio_s"] = audio_seconds / state.iterations();
  // Wall-clock factor includes the driver's pacing sleeps between pieces; the
  // CPU factor is the work of the text-to-speech path itself.
  state.counters["real_time_factor"] = audio_seconds / wall_seconds;
  const double cpu_seconds = double(std::clock() - cpu_start) / CLOCKS_PER_SEC;
  state.counters["real_time_factor_cpu"] = audio_seconds / cpu_seconds;
  VXNFree(engine);
  destroy(engine);
}
BENCHMARK(BM_TextToSpeech)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
