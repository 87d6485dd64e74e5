// What counting meteor echoes adds to the spectrogram: one column at N = 512 (as
// bench_spectrogram_column draws it, log amplitude), alone and with the echo counter listening
// to its transforms over the listening band 800:1200 Hz and its reference band.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench_noise.h"
#include "spectrograph/echo_detector.h"
#include "xvtools/xv_spectrogram.h"

namespace {

void BM_SpectrogramColumnCounting(benchmark::State& state) {
  xvtools::XVSpectrogramX spectrogram;
  spectrogram.setFFTLength(512);
  spectrogram.setWindow(4);
  spectrogram.setDrawScale(true);
  spectrogram.setLogAmp(true);
  spectrograph::EchoSettings settings;
  settings.listenLow = 800;
  settings.listenHigh = 1200;
  std::uint64_t echoes = 0;
  spectrograph::EchoDetector detector(settings, 8000, 0,
                                      [&](const spectrograph::Echo&) { ++echoes; });
  if (state.range(0) != 0) {
    spectrogram.onTransform([&](const xvtools::TransformView& v) { detector.transform(v); });
  }
  // A minute of varying noise, so that the reference and the bins differ column to column.
  const auto samples = bench::noise(8000 * 60, 16);
  const std::size_t hop = std::size_t(spectrogram.Hop());
  spectrogram.write(std::span(samples.data(), 512));
  std::size_t at = 512;
  for (auto _ : state) {
    if (at + hop > samples.size()) at = 0;
    spectrogram.write(std::span(samples.data() + at, hop));
    at += hop;
    benchmark::DoNotOptimize(spectrogram.lastLevels().data());
  }
  state.counters["echoes"] = static_cast<double>(echoes);
}
BENCHMARK(BM_SpectrogramColumnCounting)->ArgName("counting")->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
