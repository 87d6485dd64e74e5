// The stations' measurement: what eight bands cost at 96 kHz (signal-seconds per CPU-second),
// how closely a carrier of known power reads, and how little of a carrier 1 kHz away from a
// band reaches it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "recorder/band_power.h"

namespace {

using recorder::BandPowerAccumulator;
constexpr int kRate = 96000;

std::vector<std::int16_t> sine(double hz, double amplitude, double seconds, double phase = 0.3) {
  std::vector<std::int16_t> out(static_cast<std::size_t>(seconds * kRate));
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<std::int16_t>(std::lround(
        32768.0 * amplitude * std::sin(2.0 * std::numbers::pi * hz * i / kRate + phase)));
  }
  return out;
}

// One band of width 300 Hz around hz; the mean level over the signal.
double bandLevel(const std::vector<std::int16_t>& signal, double hz) {
  BandPowerAccumulator meter(kRate, {{hz - 150.0, hz + 150.0}},
                             static_cast<std::int64_t>(signal.size()));
  double level = 0.0;
  const auto take = [&level](const BandPowerAccumulator::Interval& i) { level = i.levels[0]; };
  meter.add(signal, take);
  meter.flush(take);
  return level;
}

// Eight stations, 300 Hz each, over one second of noise-like signal per iteration.
void BM_EightStationsAt96kHz(benchmark::State& state) {
  std::vector<BandPowerAccumulator::Band> bands;
  const double carriers[] = {16400, 18200, 19580, 19800, 21400, 24000, 24800, 40750};
  for (const double hz : carriers) bands.push_back({hz - 150.0, hz + 150.0});
  BandPowerAccumulator meter(kRate, bands, 5 * kRate);
  std::vector<std::int16_t> second(kRate);
  std::uint32_t seed = 1;
  for (auto& s : second) {
    seed = seed * 1664525u + 1013904223u;
    s = static_cast<std::int16_t>(static_cast<std::int32_t>(seed >> 16) - 32768) / 8;
  }
  std::size_t intervals = 0;
  const auto count = [&intervals](const BandPowerAccumulator::Interval&) { ++intervals; };
  for (auto _ : state) {
    // In blocks of 4096, as the input's converter hands them over.
    for (std::size_t i = 0; i < second.size(); i += 4096) {
      meter.add({second.data() + i, std::min<std::size_t>(4096, second.size() - i)}, count);
    }
  }
  benchmark::DoNotOptimize(intervals);
  state.counters["signal_s_per_cpu_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EightStationsAt96kHz)->Unit(benchmark::kMillisecond);

// The worst error in dB over carriers on and between bins, at three amplitudes.
void BM_CarrierLevelError(benchmark::State& state) {
  double worst = 0.0;
  for (auto _ : state) {
    worst = 0.0;
    for (const double hz : {19800.0, 21411.7, 24005.0, 40750.0}) {
      for (const double amplitude : {0.5, 0.05, 0.005}) {
        const double read = bandLevel(sine(hz, amplitude, 5.0), hz);
        worst = std::max(worst, std::fabs(10.0 * std::log10(read / (amplitude * amplitude / 2))));
      }
    }
  }
  state.counters["max_error_db"] = worst;
}
BENCHMARK(BM_CarrierLevelError)->Iterations(1)->Unit(benchmark::kMillisecond);

// A carrier 1 kHz outside a 300 Hz band, above and below: what the band reads of its power.
void BM_LeakageOneKilohertzOutside(benchmark::State& state) {
  double worst = -300.0;
  for (auto _ : state) {
    for (const double offset : {1150.0, -1150.0}) {
      const double amplitude = 0.5;
      const double read = bandLevel(sine(24000.0 + offset, amplitude, 5.0), 24000.0);
      worst = std::max(worst, 10.0 * std::log10(read / (amplitude * amplitude / 2)));
    }
  }
  state.counters["leakage_db"] = worst;
}
BENCHMARK(BM_LeakageOneKilohertzOutside)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
