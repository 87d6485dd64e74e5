// Scale numbers and captions as a chart redraws them: short strings, level and upward, into a
// chart-sized surface, after the glyphs are warm.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "gdi/font.h"
#include "gdi/text_output.h"

namespace {

std::shared_ptr<const gdi::Font> scaleFont(int escapement) {
  gdi::LogFont f;
  f.faceName = "Arial";
  f.height = -11;
  f.escapement = f.orientation = escapement;
  return gdi::Font::create(f);
}

void drawScaleNumbers(benchmark::State& state) {
  const auto font = scaleFont(static_cast<int>(state.range(0)));
  std::vector<std::uint32_t> pixels(601 * 257, 0xFFFFFF);
  const gdi::PixelBufferView view{pixels.data(), 601, 601, 257};
  const gdi::Rect clip{0, 0, 601, 257};
  const gdi::TextStyle style{.textPixel = 0,
                             .backgroundPixel = 0xFFFFFF,
                             .opaque = false,
                             .align = gdi::TA_CENTER | gdi::TA_BASELINE};
  const char* numbers[] = {"0", "0.25", "0.50", "0.75", "1.00", "-12.5", "1234.5", "10:59:58"};
  for (auto _ : state) {
    for (const char* n : numbers) {
      benchmark::DoNotOptimize(gdi::drawText(view, clip, *font, {300, 128}, n, style));
    }
  }
  state.SetItemsProcessed(state.iterations() * std::size(numbers));
}
BENCHMARK(drawScaleNumbers)->Arg(0)->Arg(900);

void measureScaleNumbers(benchmark::State& state) {
  const auto font = scaleFont(0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(font->extent("1234.5"));
  }
}
BENCHMARK(measureScaleNumbers);

void createSharedFont(benchmark::State& state) {
  const auto held = scaleFont(0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(scaleFont(0));
  }
}
BENCHMARK(createSharedFont);

}  // namespace

BENCHMARK_MAIN();
