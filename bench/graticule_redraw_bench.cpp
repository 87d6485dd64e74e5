// The static part of a full redraw of the recorder's chart (601 x 257, 12 x 7 divisions, white,
// vertical axis, scale 1.0 to 8.0 on the right): bezel and background, graticule, scale texts.
#include <benchmark/benchmark.h>

#include "bezel/bezel_painter.h"
#include "gdi/bitmap.h"
#include "gdi/device_context.h"
#include "gdi/log_font.h"
#include "graticule/graticule_painter.h"
#include "graticule/tick_lengths.h"
#include "plot_layout.h"
#include "scale/scale_layout.h"

namespace {

struct RecorderChart {
  RecorderChart() : bitmap(601, 257), dc(&bitmap) {
    outline.color = 0x000000;
    bevel = {0x808080, 0x000000, 0xC0C0C0, 0, 0, 1, 1, 3};
    counts = {12, 7, 5, 1, 20, 5, 25, 32, false};
    const int thickness = kvplotax::layout::bezelThickness({0, 0, 1, 1, 3});
    drawable = kvplotax::layout::drawableArea(bitmap.bounds(), thickness);
    kvplotax::layout::computePlotArea(drawable, counts, geometry);
    settings.frameColor = settings.axesColor = 0x000000;
    settings.gridColor = 0xC0C0C0;
    settings.axesType = kvplotax::graticule::kVertAxis;
    settings.majorDivHorz = 12;
    settings.majorDivVert = 7;
    style.places = 1;
    style.gap = 1;
    style.orientation = 1;
    style.location = kvplotax::scale::kFrameRightBottom;
    style.visibility = kvplotax::scale::kScaleOnly;
    frame.viewport = geometry.plot;
    frame.intervals = 7;
    frame.majorTick = kvplotax::graticule::computeTickLengths(geometry).major;
    frame.axesType = settings.axesType;
    kvplotax::scale::scaleRange(4000.0f, 28000.0f, 0.00025f, frame.start, frame.end);
    fonts = kvplotax::scale::ScaleFonts::fromLogFont(gdi::logFontFromPoints("Arial", 8, 96));
    kvplotax::scale::layoutScale(kvplotax::scale::kVert, style, frame, fonts, layout);
  }

  void redraw() {
    gdi::Rect work = bitmap.bounds();
    kvplotax::bezel::drawBezel(dc, outline, bevel, work);
    kvplotax::bezel::fillBackground(dc, 0xFFFFFF, work);
    kvplotax::graticule::drawGraticule(dc, settings, geometry, work);
    const gdi::PixelBufferView buffer{bitmap.pixels().data(), 601, 601, 257};
    for (std::size_t i = 0; i < layout.numbers.size(); ++i) {
      const kvplotax::scale::PlacedText& p = layout.numbers[i];
      if (p.shown) {
        kvplotax::scale::drawPlacedText(buffer, std::span<const gdi::Rect>(&work, 1), p.form,
                                        layout.texts[i].view(), p.anchor, 0);
      }
    }
  }

  gdi::Bitmap bitmap;
  gdi::DeviceContext dc;
  kvplotax::bezel::OutlineSettings outline;
  kvplotax::bezel::BevelSettings bevel;
  kvplotax::layout::GraticuleCounts counts;
  gdi::Rect drawable;
  kvplotax::layout::PlotGeometry geometry;
  kvplotax::graticule::GraticuleSettings settings;
  kvplotax::scale::ScaleStyle style;
  kvplotax::scale::ScaleFrame frame;
  kvplotax::scale::ScaleFonts fonts;
  kvplotax::scale::ScaleLayout layout;
};

void BM_RecorderChartFullRedraw(benchmark::State& state) {
  RecorderChart chart;
  for (auto _ : state) {
    chart.redraw();
    benchmark::DoNotOptimize(chart.bitmap.pixels().data());
  }
}
BENCHMARK(BM_RecorderChartFullRedraw)->Unit(benchmark::kMicrosecond);

// The graticule again over one erased data block's rectangle inside the plot area.
void BM_GraticuleOverErasedBlock(benchmark::State& state) {
  RecorderChart chart;
  const gdi::Rect p = chart.geometry.plot;
  const gdi::Rect block{p.left + 100, p.top + 2, p.left + 108, p.bottom - 2};
  for (auto _ : state) {
    kvplotax::graticule::drawGraticule(chart.dc, chart.settings, chart.geometry, block);
    benchmark::DoNotOptimize(chart.bitmap.pixels().data());
  }
}
BENCHMARK(BM_GraticuleOverErasedBlock)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
