// Text transducer throughput: the US English transducer over a television
// listing (whole-text preprocessing with the input/output projection), over
// plain prose (no rewrites: the first path ends the search), and over a long
// listing that the input length control cuts into pieces.
#include <benchmark/benchmark.h>

#include <string>

#include "frontend/wfst_common.h"
#include "modules/usen/usen_norm_wfst.h"

namespace {

const char kListing[] =
    "Mon-Fri 10:30-11:00: News at Ten, S01E05 in 1080p with 5.1 surround. Then 4K HDR at 24fps, 16:9.";
const char kProse[] =
    "The evening news brings the latest stories from around the country and the world, with weather and sport.";

void run(benchmark::State& state, const std::string& text) {
  const VXN_Wfst* fst = en_norm_wfst();
  for (auto _ : state) {
    char* out = wfst_transduce_with_input_length_control(fst, wfst_project_io, text.c_str());
    benchmark::DoNotOptimize(out);
    VXN_free(out);
  }
  state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)text.size());
}

void BM_WfstListing(benchmark::State& state) { run(state, kListing); }
void BM_WfstProse(benchmark::State& state) { run(state, kProse); }
void BM_WfstLongListing(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 10; ++i) text += std::string(kListing) + " ";
  run(state, text);
}

}  // namespace

BENCHMARK(BM_WfstListing);
BENCHMARK(BM_WfstProse);
BENCHMARK(BM_WfstLongListing);
BENCHMARK_MAIN();
