// Nanoseconds per ingested sample for each data type and display mode, next to a plain scalar
// loop that only multiplies, adds, saturates and stores. The converters should stay within
// 1.2x of that loop.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "gdi/geometry.h"
#include "render/converter_factory.h"

namespace {

using kvplotax::Axis;
using kvplotax::ConverterParams;

constexpr std::int32_t kBlock = 4000;  // half a second of the recorder's audio

template <typename T>
std::vector<T> samples(bool ascending) {
  std::vector<T> data(kBlock);
  std::mt19937 random(7);
  for (std::int32_t i = 0; i < kBlock; ++i) {
    data[static_cast<std::size_t>(i)] =
        ascending ? static_cast<T>(i % 100) : static_cast<T>(random() % 100);
  }
  if (ascending) data.back() = static_cast<T>(99);
  return data;
}

template <typename T>
void plainLoop(benchmark::State& state) {
  const std::vector<T> data = samples<T>(false);
  std::vector<gdi::Point> points(kBlock + 2);
  const double gain = -2.0;
  const double offset = 300.0;
  for (auto _ : state) {
    for (std::int32_t i = 0; i < kBlock; ++i) {
      double v = static_cast<double>(data[static_cast<std::size_t>(i)]) * gain + offset;
      v = v > -32768.0 ? v : -32768.0;
      v = v < 32767.0 ? v : 32767.0;
      points[static_cast<std::size_t>(i)].y = static_cast<std::int32_t>(v);
    }
    benchmark::DoNotOptimize(points.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
}

// held: points already in a ScrollRight buffer that each block moves on (0 for CRT).
template <typename T>
void converter(benchmark::State& state, std::int32_t type, bool scrollRight, std::int32_t held) {
  ConverterParams p;
  p.axis = scrollRight ? Axis::X : Axis::Y;
  p.dataType = type;
  p.worldMin = 0.0f;
  p.worldMax = 100.0f;
  p.pixelStart = scrollRight ? 0 : 300;
  p.pixelEnd = scrollRight ? 500 : 100;
  p.scrollRight = scrollRight;
  const std::vector<T> data = samples<T>(scrollRight);
  std::vector<gdi::Point> points(static_cast<std::size_t>(kBlock + held) + 2);
  auto c = kvplotax::createSampleConverter(p, points, kBlock + held);
  const auto source = std::as_bytes(std::span(data));
  for (auto _ : state) {
    if (c->append(source, kBlock, 0) != 0) state.SkipWithError("append refused");
    benchmark::DoNotOptimize(points.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
}

template <typename T>
void registerType(const char* name, std::int32_t type) {
  const std::string n(name);
  benchmark::RegisterBenchmark(("plain/" + n).c_str(), plainLoop<T>);
  benchmark::RegisterBenchmark(("crt/" + n).c_str(),
                               [type](benchmark::State& s) { converter<T>(s, type, false, 0); });
  benchmark::RegisterBenchmark(("scroll/" + n).c_str(),
                               [type](benchmark::State& s) { converter<T>(s, type, true, 0); });
  benchmark::RegisterBenchmark(("scroll_held/" + n).c_str(), [type](benchmark::State& s) {
    converter<T>(s, type, true, kBlock);
  });
}

}  // namespace

int main(int argc, char** argv) {
  registerType<std::uint8_t>("U8", 0);
  registerType<std::int8_t>("I8", 1);
  registerType<std::uint16_t>("U16", 2);
  registerType<std::int16_t>("I16", 3);
  registerType<std::uint32_t>("U32", 4);
  registerType<std::int32_t>("I32", 5);
  registerType<float>("F32", 6);
  registerType<double>("F64", 7);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
