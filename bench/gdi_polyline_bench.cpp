// Erase-and-draw of a 16000-point one-pixel trace, as the chart's scrolling trace does on every
// data block: the old polyline again in the background colour, then the new one. The trace is
// 0.075 pixel per point wide, so most of it lies left of the plot clip; the rest wanders about
// 15 pixels up and down. The same work with Qt's QPainter (no antialiasing) for comparison.
#include <benchmark/benchmark.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <cmath>
#include <random>
#include <vector>

#include "gdi/device_context.h"

namespace {

constexpr int kWidth = 601;
constexpr int kHeight = 257;
constexpr gdi::Rect kClip{40, 20, 580, 230};  // 540 x 210
constexpr int kPoints = 16000;
constexpr gdi::ColorRef kBack = 0x000000;
constexpr gdi::ColorRef kTrace = 0x00FF00;

std::vector<gdi::Point> makeTrace(unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> noise(-15.0, 15.0);
  std::vector<gdi::Point> points(kPoints);
  const double start = kClip.right - kPoints * 0.075;
  for (int i = 0; i < kPoints; ++i) {
    points[i] = {static_cast<int>(std::lround(start + i * 0.075)),
                 static_cast<int>(std::lround(125.0 + noise(rng)))};
  }
  return points;
}

void BM_ZelkEraseAndDraw(benchmark::State& state) {
  const std::vector<gdi::Point> traces[2] = {makeTrace(1), makeTrace(2)};
  gdi::Bitmap surface(kWidth, kHeight, kBack);
  gdi::DeviceContext dc(&surface);
  dc.selectClipRect(kClip);
  const gdi::Pen erase(gdi::PS_SOLID, 1, kBack);
  const gdi::Pen draw(gdi::PS_SOLID, 1, kTrace);
  int current = 0;
  for (auto _ : state) {
    dc.selectPen(erase);
    dc.polyline(traces[current]);
    current ^= 1;
    dc.selectPen(draw);
    dc.polyline(traces[current]);
    benchmark::DoNotOptimize(surface.pixels().data());
  }
  state.SetItemsProcessed(state.iterations() * 2 * kPoints);
}

void BM_QtEraseAndDraw(benchmark::State& state) {
  std::vector<QPoint> traces[2];
  for (int t = 0; t < 2; ++t)
    for (const gdi::Point& p : makeTrace(static_cast<unsigned>(t + 1)))
      traces[t].emplace_back(p.x, p.y);
  QImage surface(kWidth, kHeight, QImage::Format_RGB32);
  surface.fill(QColor(0, 0, 0));
  QPainter painter(&surface);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setClipRect(QRect(kClip.left, kClip.top, kClip.width(), kClip.height()));
  const QPen erase(QColor(0, 0, 0), 1);
  const QPen draw(QColor(0, 255, 0), 1);
  int current = 0;
  for (auto _ : state) {
    painter.setPen(erase);
    painter.drawPolyline(traces[current].data(), static_cast<int>(traces[current].size()));
    current ^= 1;
    painter.setPen(draw);
    painter.drawPolyline(traces[current].data(), static_cast<int>(traces[current].size()));
    benchmark::DoNotOptimize(surface.constBits());
  }
  state.SetItemsProcessed(state.iterations() * 2 * kPoints);
}

// The same trace as a filled area down to a baseline, as the chart's area mode draws it.
std::vector<gdi::Point> makeArea(unsigned seed) {
  std::vector<gdi::Point> points = makeTrace(seed);
  points.push_back({points.back().x, 200});
  points.push_back({points.front().x, 200});
  return points;
}

void BM_ZelkAreaEraseAndDraw(benchmark::State& state) {
  const std::vector<gdi::Point> areas[2] = {makeArea(1), makeArea(2)};
  gdi::Bitmap surface(kWidth, kHeight, kBack);
  gdi::DeviceContext dc(&surface);
  dc.selectClipRect(kClip);
  int current = 0;
  for (auto _ : state) {
    dc.selectPen(gdi::Pen(gdi::PS_SOLID, 1, kBack));
    dc.selectBrush(gdi::Brush::solid(kBack));
    dc.polygon(areas[current]);
    current ^= 1;
    dc.selectPen(gdi::Pen(gdi::PS_SOLID, 1, kTrace));
    dc.selectBrush(gdi::Brush::solid(kTrace));
    dc.polygon(areas[current]);
    benchmark::DoNotOptimize(surface.pixels().data());
  }
}

void BM_QtAreaEraseAndDraw(benchmark::State& state) {
  std::vector<QPoint> areas[2];
  for (int t = 0; t < 2; ++t)
    for (const gdi::Point& p : makeArea(static_cast<unsigned>(t + 1)))
      areas[t].emplace_back(p.x, p.y);
  QImage surface(kWidth, kHeight, QImage::Format_RGB32);
  surface.fill(QColor(0, 0, 0));
  QPainter painter(&surface);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setClipRect(QRect(kClip.left, kClip.top, kClip.width(), kClip.height()));
  int current = 0;
  for (auto _ : state) {
    painter.setPen(QPen(QColor(0, 0, 0), 1));
    painter.setBrush(QColor(0, 0, 0));
    painter.drawPolygon(areas[current].data(), static_cast<int>(areas[current].size()),
                        Qt::OddEvenFill);
    current ^= 1;
    painter.setPen(QPen(QColor(0, 255, 0), 1));
    painter.setBrush(QColor(0, 255, 0));
    painter.drawPolygon(areas[current].data(), static_cast<int>(areas[current].size()),
                        Qt::OddEvenFill);
    benchmark::DoNotOptimize(surface.constBits());
  }
}

BENCHMARK(BM_ZelkEraseAndDraw);
BENCHMARK(BM_QtEraseAndDraw);
BENCHMARK(BM_ZelkAreaEraseAndDraw);
BENCHMARK(BM_QtAreaEraseAndDraw);

}  // namespace

BENCHMARK_MAIN();
