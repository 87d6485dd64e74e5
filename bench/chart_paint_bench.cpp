// Full redraw of a 601 x 257 chart surface and the paint that copies it to the screen, with a
// 500-point trace in one viewport; the paint alone, as each frame-timer tick costs; and, when the
// module is built, the whole control's full redraw (bezel, background, graticule, scales) and
// paint in the headless container.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "output/chart_painter.h"

#ifdef ZELK_BENCH_CONTROL
#include "automation/automation.h"
#include "host/headless.h"
#endif

namespace {

using kvplotax::output::ChartItem;
using kvplotax::output::ChartPainter;
using kvplotax::output::DrawSurface;
using kvplotax::output::HitInfo;
using kvplotax::output::PaintHost;
using kvplotax::output::ViewportObject;
using kvplotax::output::ViewportVisitor;

constexpr int kWidth = 601;
constexpr int kHeight = 257;

class Trace : public ChartItem {
 public:
  Trace() {
    for (int i = 0; i < 500; ++i)
      points_.push_back({20 + i, 128 + static_cast<int>(100 * std::sin(i * 0.05))});
  }
  gdi::Rect drawnRect() const override { return {20, 28, 520, 229}; }
  bool draw(DrawSurface& s, int, int, const gdi::Rect& clip) override { return redraw(s, clip); }
  bool redraw(DrawSurface& s, const gdi::Rect&) override {
    s.trackingDc().selectPen(gdi::Pen(gdi::PS_SOLID, 1, 0x00FFFF));
    s.polyline(points_);
    return true;
  }
  void erase(DrawSurface&, const gdi::Rect&) override {}
  bool relayout(const gdi::Rect&, const gdi::Rect&, gdi::Rect&) override { return false; }
  bool hitTest(gdi::Point, HitInfo&) const override { return false; }
  void setVisible(bool) override {}
  void setStorage(bool) override {}

 private:
  std::vector<gdi::Point> points_;
};

class Host : public PaintHost {
 public:
  Host() { viewport_.addItem(&trace_); }
  void invalidateSurfaceRect(const gdi::Rect&, bool) override {}
  void forEachViewport(ViewportVisitor& visitor) override { visitor.visit(viewport_); }
  gdi::ColorRef backColor() const override { return 0x808000; }
  void layoutViewports(const gdi::Rect& work) override { viewport_.setBounds(work); }

 private:
  Trace trace_;
  ViewportObject viewport_;
};

void BM_FullRedrawAndPaint(benchmark::State& state) {
  Host host;
  ChartPainter painter(host);
  gdi::Bitmap screen(kWidth, kHeight);
  gdi::DeviceContext dc(&screen);
  const gdi::Rect bounds{0, 0, kWidth, kHeight};
  painter.paint(dc, bounds, {}, 1);
  for (auto _ : state) {
    painter.fullRedraw();
    painter.paint(dc, bounds, {}, 1);
    benchmark::DoNotOptimize(screen.pixel(300, 128));
  }
}
BENCHMARK(BM_FullRedrawAndPaint);

void BM_PaintOnly(benchmark::State& state) {
  Host host;
  ChartPainter painter(host);
  gdi::Bitmap screen(kWidth, kHeight);
  gdi::DeviceContext dc(&screen);
  const gdi::Rect bounds{0, 0, kWidth, kHeight};
  painter.paint(dc, bounds, {}, 1);
  for (auto _ : state) {
    painter.paint(dc, bounds, {}, 1);
    benchmark::DoNotOptimize(screen.pixel(300, 128));
  }
}
BENCHMARK(BM_PaintOnly);

#ifdef ZELK_BENCH_CONTROL
void BM_ControlFullRedrawAndPaint(benchmark::State& state) {
  host::HeadlessContainer form(kWidth, kHeight);
  automation::Dispatch& chart =
      form.create(*automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}"));
  form.pump();
  std::int32_t colour = 0x808000;
  for (auto _ : state) {
    // A new background colour redraws everything; the pump paints it.
    colour ^= 0x000001;
    chart.put("BackColor", automation::Variant(colour));
    form.pump();
    benchmark::DoNotOptimize(form.pixel(300, 128));
  }
}
BENCHMARK(BM_ControlFullRedrawAndPaint);
#endif

}  // namespace

BENCHMARK_MAIN();
