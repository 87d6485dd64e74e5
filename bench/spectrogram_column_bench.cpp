// One spectrogram column at N = 512: each iteration hands over one hop of samples, which makes
// exactly one column (window, transform, magnitudes, amplitude mapping, palette, the column
// written). Arguments: log amplitude, relief.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench_noise.h"
#include "xvtools/xv_spectrogram.h"

namespace {

void BM_SpectrogramColumn512(benchmark::State& state) {
  xvtools::XVSpectrogramX spectrogram;
  spectrogram.setFFTLength(512);
  spectrogram.setWindow(4);
  spectrogram.setDrawScale(true);
  spectrogram.setLogAmp(state.range(0) != 0);
  spectrogram.setEmboss(state.range(1) != 0);
  const auto samples = bench::noise(512);
  spectrogram.write(samples);  // the first frame
  const std::span<const std::int16_t> hop(samples.data(), std::size_t(spectrogram.Hop()));
  for (auto _ : state) {
    spectrogram.write(hop);
    benchmark::DoNotOptimize(spectrogram.lastLevels().data());
  }
  state.counters["columns"] = static_cast<double>(spectrogram.columns());
}
BENCHMARK(BM_SpectrogramColumn512)
    ->ArgNames({"log", "relief"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1});

}  // namespace

BENCHMARK_MAIN();
