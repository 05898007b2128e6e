// Vocoder and output equaliser: one second of audio (200 frames of 120
// samples at 24 kHz) from speech-like parameters. The reported real-time
// factor is audio seconds synthesised per second of CPU time.
#include <benchmark/benchmark.h>

#include <math.h>
#include <string.h>

#include <vector>

#include "engine/VXN_engine.h"
#include "engine/VXN_melp.h"
#include "engine/VXN_vocoder.h"
#include "engine/qfix_basicop.h"

namespace {

const int kOrder = 34;
const int kFrame = 120;
const int kFrames = 200;

struct Params {
  std::vector<int32_t> lf0_Q20;
  std::vector<std::vector<int32_t>> mcep_Q17;
  std::vector<std::vector<int32_t>> band_Q15;
};

// Smooth envelopes (c0 4..6.5, coefficients decaying like 1/k with slowly
// moving signs), F0 gliding 100 -> 250 Hz with unvoiced stretches, band
// aperiodicity rising from -30 dB in the low band to -2 dB in the high band.
Params make_params() {
  Params p;
  for (int t = 0; t < kFrames; t++) {
    bool voiced = (t % 50) >= 8;
    p.lf0_Q20.push_back(voiced ? (int32_t)(1048576.0 * log(100.0 + 0.75 * t)) : VXN_LF0_UNVOICED);
    std::vector<int32_t> mc(kOrder + 1);
    mc[0] = (int32_t)(131072.0 * (4.0 + 2.5 * sin(t * 0.03)));
    mc[1] = (int32_t)(131072.0 * (voiced ? 1.8 : -0.5));
    for (int k = 2; k <= kOrder; k++) mc[k] = (int32_t)(131072.0 * 0.9 * sin(0.7 * k + 0.05 * t) / k);
    p.mcep_Q17.push_back(mc);
    std::vector<int32_t> b(5);
    for (int i = 0; i < 5; i++) b[i] = (int32_t)(32768.0 * (voiced ? -30.0 + 7.0 * i : -1.0));
    p.band_Q15.push_back(b);
  }
  return p;
}

void synthesize_second(const Params& p, VXN_Engine* engine, bool equalise, int16_t* out) {
  VXN_Vocoder v;
  VXN_Vocoder_initialize(&v, kOrder, 0, 1, 24000, kFrame);
  STME_Vocoder_initialize_fixed(&v);
  const int32_t alpha_Q13 = (int32_t)(8192 * 0.45f);
  for (int t = 0; t < kFrames; t++) {
    ME_Vocoder_synthesize(&v, kOrder, p.lf0_Q20[t], p.mcep_Q17[t].data(), p.band_Q15[t].data(),
                          alpha_Q13, out + t * kFrame);
    if (equalise)
      EQ_Filter(out + t * kFrame, kFrame, t, engine, p.lf0_Q20[t] != VXN_LF0_UNVOICED);
  }
  VXN_Vocoder_clear(&v);
}

void run(benchmark::State& state, bool equalise) {
  Params p = make_params();
  static VXN_Engine engine;
  memset(&engine, 0, sizeof(engine));
  engine.language_id = 1;
  engine.sss.output_gain = 1.0f;
  std::vector<int16_t> out(kFrames * kFrame);
  qfix_debug_reset();
  for (auto _ : state) {
    synthesize_second(p, &engine, equalise, out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  // One iteration is one second of audio.
  state.counters["realtime_factor"] =
      benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);
  state.SetItemsProcessed(state.iterations() * kFrames);
  // Checked fixed-point operations per second of audio (VXN_FIXED_DEBUG builds only).
  if (qfix_debug_operation_count() > 0)
    state.counters["fixed_ops"] = (double)qfix_debug_operation_count() / state.iterations();
}

void BM_VocoderAndEqualiserSecond(benchmark::State& state) { run(state, true); }
void BM_VocoderSecond(benchmark::State& state) { run(state, false); }

// The excitation alone (band decisions, filters per pitch period).
void BM_ExcitationSecond(benchmark::State& state) {
  Params p = make_params();
  VXN_Excitation x{};
  for (auto _ : state) {
    mixed_excitation_init(&x);
    mixed_excitation_reset_phase(&x);
    for (int t = 0; t < kFrames; t++) {
      VXN_MelpFrame f;
      f.pitch_Q15 = VXN_Vocoder_pitch(p.lf0_Q20[t], 24000);
      f.jitter = 0;
      memcpy(f.band_Q15, p.band_Q15[t].data(), sizeof(f.band_Q15));
      mixed_excitation_get_frame(&x, &f);
      benchmark::DoNotOptimize(f.output_Q15);
    }
  }
  state.counters["realtime_factor"] =
      benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);
}

// The equaliser alone on one second of vocoder output (US English, voice 0).
void BM_EqualiserSecond(benchmark::State& state) {
  Params p = make_params();
  static VXN_Engine engine;
  memset(&engine, 0, sizeof(engine));
  engine.language_id = 1;
  engine.sss.output_gain = 1.0f;
  std::vector<int16_t> speech(kFrames * kFrame), work;
  synthesize_second(p, &engine, false, speech.data());
  for (auto _ : state) {
    work = speech;
    for (int t = 0; t < kFrames; t++) EQ_Filter(&work[t * kFrame], kFrame, t, &engine, 1);
    benchmark::DoNotOptimize(work.data());
  }
  state.counters["realtime_factor"] =
      benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_VocoderAndEqualiserSecond)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VocoderSecond)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExcitationSecond)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EqualiserSecond)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
