// Lowering 44.1 kHz stereo 16-bit frames to 8 kHz mono, the samples already in memory: the
// filters' own cost, without the reading that comes before them in a file's run. Each iteration
// is one second of frames in the pieces a file is read in. Argument: how many of the chain's
// stages run (the first halving with the mixing, both halvings, the whole chain).
// realtime_x: seconds of recording lowered per second of one core.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>

#include "bench_noise.h"
#include "fir_decimator.h"

namespace {

constexpr int kInputRate = 44100;
constexpr std::size_t kPiece = 4096;  // frames

void BM_LowerStereo44100To8000(benchmark::State& state) {
  const auto frames = bench::noise(2 * std::size_t(kInputRate), 4);
  auto decimator = xvtools::FirDecimator::make(kInputRate, 8000, kPiece);
  const auto stages = std::min(std::size_t(state.range(0)), decimator->stages());
  for (auto _ : state) {
    for (std::size_t f = 0; f < frames.size() / 2; f += kPiece) {
      const std::size_t n = std::min(kPiece, frames.size() / 2 - f);
      benchmark::DoNotOptimize(
          decimator->processStereo16({frames.data() + 2 * f, 2 * n}, stages).data());
    }
  }
  state.SetItemsProcessed(state.iterations() * std::int64_t(kInputRate));
  state.counters["realtime_x"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LowerStereo44100To8000)->ArgName("stages")->Arg(1)->Arg(2)->Arg(3);

}  // namespace

BENCHMARK_MAIN();
