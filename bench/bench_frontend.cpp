// Front end per sentence: the whole US English chain (tokens to segments) and
// the analyzer's label writing on top of it.
#include <benchmark/benchmark.h>

#include "frontend/synth_util.h"
#include "modules/usen/usen_voice.h"

namespace {

const char kSentence[] = "Good evening. Here is the weather for tonight, with light rain in the north.";

void BM_FrontendSentence(benchmark::State& state) {
  cst_voice* voice = usen_voice_new(0, nullptr, "iso-8859-15");
  for (auto _ : state) {
    cst_utterance* u = flite_synth_text(kSentence, voice, nullptr);
    benchmark::DoNotOptimize(u);
    delete_utterance(u);
  }
  usen_voice_delete(voice);
}
BENCHMARK(BM_FrontendSentence)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
