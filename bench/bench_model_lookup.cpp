// Model lookup cost per label: one duration lookup and one parameter lookup
// per state and stream (5 x 3), on a synthetic voice with several hundred
// full-context questions and trees of a few hundred leaves.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "engine/VXN_code.h"
#include "engine/VXN_engine.h"
#include "tools/voicebuild/VXN_package_writer.h"
#include "tools/voicebuild/VXN_synthetic_voice.h"

namespace {

struct LoadedBenchVoice {
  VXN_Engine engine;
  std::vector<std::string> labels;
  bool ok = false;

  LoadedBenchVoice() {
    VXN_Engine_initialize(&engine, 3);
    vxn::voice::SyntheticOptions o;
    o.leaves = 300;
    o.duration_leaves = 300;
    char dir[] = "/tmp/vxn_benchXXXXXX";
    const std::string stem = std::string(mkdtemp(dir)) + "/voice";
    std::string error;
    if (!vxn::voice::write_package(vxn::voice::make_synthetic_voice(o), stem, nullptr, &error))
      return;
    CVxnCode reader;
    std::string qt = stem + ".qt", pt = stem + ".pt", am = stem + ".am", dt = stem + ".dt";
    ok = reader.VXN_Code_load_question_from_fn(&qt[0], &pt[0]) &&
         reader.VXN_Code_load_parameter_from_fn(&engine, &am[0], &dt[0], 1);
    for (const std::string& f : {qt, pt, am, dt}) unlink(f.c_str());
    rmdir(dir);
    engine.ms.language = 1;
    std::mt19937 rng(9);
    for (int i = 0; i < 256; i++) labels.push_back(vxn::voice::make_synthetic_label(rng));
  }
  ~LoadedBenchVoice() { VXN_Engine_clear(&engine); }
};

void BM_LookupOneLabel(benchmark::State& state) {
  static LoadedBenchVoice voice;
  if (!voice.ok) {
    state.SkipWithError("the benchmark voice did not load");
    return;
  }
  VXN_ModelSet* ms = &voice.engine.ms;
  std::vector<float> mean(128), vari(128);
  float dm[8], dv[8], w;
  size_t i = 0;
  for (auto _ : state) {
    const char* label = voice.labels[i++ % voice.labels.size()].c_str();
    VXN_ModelSet_get_duration(ms, label, dm, dv);
    for (int s = 0; s < 3; s++)
      for (int st = 2; st <= 6; st++)
        VXN_ModelSet_get_parameter(ms, label, mean.data(), vari.data(), &w, s, st);
    benchmark::DoNotOptimize(mean.data());
    benchmark::DoNotOptimize(dm);
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("time per label = duration + 3 streams x 5 states");
}
BENCHMARK(BM_LookupOneLabel)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
