// Synthesis core speed on a synthetic utterance of about ten seconds: state
// streams, parameter generation and waveform generation (vocoder, equaliser,
// resampling and chunk delivery to a callback that drops the samples), each
// alone and all three together. The counter x_realtime is seconds of speech
// produced per second of one core; the target for the whole chain is 200.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "engine/VXN_engine.h"
#include "tests/engine/voice_fixture.h"

namespace {

void drop(short*, int, int) {}

class Core {
 public:
  Core() {
    g_nStatePrint = 2;
    VXN_Engine_initialize(&engine_, 3);
    error_ = vxn_test::write_and_load(vxn_test::plausible_voice(17), dir_.stem("bench"), &engine_);
    engine_.ms.language = 1;
    engine_.language_id = 1;
    engine_.chunk_size = 4800;
    engine_.chunk_count = 4;
    engine_.ring_buffer = (short*)VXN_calloc(4800 * 4, sizeof(short));
    engine_.stream_callback = drop;
    engine_.last_piece = 1;
    // Labels until the utterance lasts ten seconds (2000 frames of 5 ms).
    std::mt19937 rng(29);
    while (error_.empty() && frames_ < 2000) {
      for (int i = 0; i < 10; i++) labels_.push_back(vxn::voice::make_synthetic_label(rng));
      state_streams();
      frames_ = VXN_SStreamSet_get_total_frame(&engine_.sss);
    }
  }
  ~Core() {
    VXN_Engine_refresh(&engine_);
    VXN_Engine_clear(&engine_);
  }
  const std::string& error() const { return error_; }
  double seconds() const { return frames_ * 0.005; }

  void state_streams() {
    VXN_Engine_refresh(&engine_);
    vxn_test::set_labels(&engine_, labels_);
    VXN_Engine_create_sstream(&engine_, 0, 0);
  }
  void parameters() {
    VXN_PStreamSet_clear(&engine_.pss);
    VXN_Engine_create_pstream(&engine_);
  }
  void waveform() {
    VXN_GStreamSet_clear(&engine_.gss);
    VXN_Engine_create_gstream(&engine_);
  }
  VXN_Engine* engine() { return &engine_; }

 private:
  vxn_test::TempDir dir_;
  VXN_Engine engine_;
  std::vector<std::string> labels_;
  std::string error_;
  int frames_ = 0;
};

Core& core() {
  static Core c;
  return c;
}

bool ready(benchmark::State& state) {
  if (!core().error().empty()) {
    state.SkipWithError(core().error().c_str());
    return false;
  }
  return true;
}

void report(benchmark::State& state) {
  state.counters["speech_s"] = core().seconds();
  state.counters["x_realtime"] =
      benchmark::Counter(core().seconds(), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_StateStreams(benchmark::State& state) {
  if (!ready(state)) return;
  for (auto _ : state) core().state_streams();
  report(state);
}
BENCHMARK(BM_StateStreams)->Unit(benchmark::kMillisecond);

void BM_ParameterGeneration(benchmark::State& state) {
  if (!ready(state)) return;
  core().state_streams();
  for (auto _ : state) core().parameters();
  report(state);
}
BENCHMARK(BM_ParameterGeneration)->Unit(benchmark::kMillisecond);

// The frame loop edits the trajectories in place, so every pass regenerates
// them outside the timed region.
void BM_Waveform(benchmark::State& state) {
  if (!ready(state)) return;
  core().state_streams();
  for (auto _ : state) {
    state.PauseTiming();
    core().parameters();
    state.ResumeTiming();
    core().waveform();
  }
  report(state);
}
BENCHMARK(BM_Waveform)->Unit(benchmark::kMillisecond);

void BM_SynthesisCore(benchmark::State& state) {
  if (!ready(state)) return;
  for (auto _ : state) {
    core().state_streams();
    core().parameters();
    core().waveform();
  }
  report(state);
}
BENCHMARK(BM_SynthesisCore)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
