// One strip-chart block as the recorder delivers it: a 601 x 257 chart, a window 9600 units
// wide, a full 16000-point buffer drawn as lines, 10 new points per block. Each block erases
// the whole trace and draws it again shifted. The comparison draws the same 16000-point
// polyline twice (erase, then draw) with Qt's QPainter, antialiasing off, on an RGB32 image.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <cmath>
#include <vector>

#include "output/draw_surface.h"
#include "output/viewport_object.h"
#include "trace/pen_drawing.h"
#include "trace/trace_item.h"

namespace {

using namespace kvplotax;

constexpr int kWidth = 601;
constexpr int kHeight = 257;
constexpr gdi::Rect kPlot{20, 20, 580, 236};
constexpr int kBuffer = 16000;
constexpr int kBlock = 10;
constexpr float kWindowWidth = 9600.0f;

class NoOwner : public output::SurfaceOwner {
 public:
  void invalidateSurfaceRect(const gdi::Rect&, bool) override {}
};

float level(int i) { return 100.0f + 80.0f * std::sin(static_cast<float>(i) * 0.013f); }

void BM_ScrollRightBlock(benchmark::State& state) {
  NoOwner owner;
  output::DrawSurface surface = output::DrawSurface::createBitmapSurface(kWidth, kHeight, &owner);
  output::ViewportObject viewport;
  viewport.setSurface(surface);
  viewport.setBounds(kPlot);
  viewport.setVisible(true);
  const trace::PenDrawing pen(0, 1, {0x00FFFF, 0x0000FF, 0x000000, 0x808080}, 0);
  trace::TraceSetup setup;
  setup.channel = 1;
  setup.mode = trace::kModeScrollRight;
  setup.style = trace::kStyleLines;
  setup.bufferLength = kBuffer;
  setup.pen = &pen;
  setup.viewport = &viewport;
  setup.viewportRect = kPlot;
  setup.window = trace::WorldRect{0.0f, 0.0f, kWindowWidth, 200.0f};
  setup.y = trace::DataDescription{6, 0, 0, 1, {}};
  setup.x = trace::DataDescription{6, 0, 0, 1, {}};
  auto item = trace::createTraceItem(setup);
  // Points 0.6 units apart, as the recorder's half-second blocks produce them.
  std::vector<float> x(kBuffer), y(kBuffer);
  for (int i = 0; i < kBuffer; ++i) {
    x[i] = 0.6f * static_cast<float>(i);
    y[i] = level(i);
  }
  item->addBlock(kBuffer, std::as_bytes(std::span<const float>(y)),
                 std::as_bytes(std::span<const float>(x)));
  std::vector<float> bx(kBlock), by(kBlock);
  int next = kBuffer;
  for (auto _ : state) {
    for (int i = 0; i < kBlock; ++i, ++next) {
      bx[i] = 0.6f * static_cast<float>(next);
      by[i] = level(next);
    }
    const std::int32_t held = item->addBlock(kBlock, std::as_bytes(std::span<const float>(by)),
                                             std::as_bytes(std::span<const float>(bx)));
    benchmark::DoNotOptimize(held);
  }
  if (item->count() != kBuffer) state.SkipWithError("the buffer did not stay full");
}
BENCHMARK(BM_ScrollRightBlock);

void BM_QPainterPolylineTwice(benchmark::State& state) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setClipRect(kPlot.left, kPlot.top, kPlot.width(), kPlot.height());
  const float scale = static_cast<float>(kPlot.width()) / kWindowWidth;
  std::vector<QPoint> points(kBuffer);
  for (int i = 0; i < kBuffer; ++i)
    points[i] = QPoint(kPlot.left + static_cast<int>(0.6f * static_cast<float>(i) * scale),
                       kPlot.bottom - static_cast<int>(level(i) * 216.0f / 200.0f));
  const QPen erase(QColor(0, 0, 0), 0);
  const QPen draw(QColor(255, 255, 0), 0);
  for (auto _ : state) {
    painter.setPen(erase);
    painter.drawPolyline(points.data(), kBuffer);
    painter.setPen(draw);
    painter.drawPolyline(points.data(), kBuffer);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_QPainterPolylineTwice);

}  // namespace

BENCHMARK_MAIN();
