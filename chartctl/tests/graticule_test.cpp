#include <gtest/gtest.h>

#include <random>

#include "graticule/tick_lengths.h"
#include "graticule_chart.h"
#include "graticule_golden.h"

namespace kvplotax::testing {
namespace {

constexpr gdi::ColorRef kBack = 0x808000;
constexpr gdi::ColorRef kFrame = 0xFFFF00;
constexpr gdi::ColorRef kGrid = 0x808080;

layout::PlotGeometry plot450x360() {
  layout::PlotGeometry g;
  g.plot = {25, 20, 475, 380};
  g.minorPitchX = 9;
  g.minorPitchY = 9;
  g.majorPitchX = 45;
  g.majorPitchY = 45;
  g.minorCountX = 50;
  g.minorCountY = 40;
  return g;
}

int countInRow(const gdi::Bitmap& b, int y, int from, int to, gdi::ColorRef c) {
  int n = 0;
  for (int x = from; x < to; ++x) n += b.pixel(x, y) == c;
  return n;
}

int countInColumn(const gdi::Bitmap& b, int x, int from, int to, gdi::ColorRef c) {
  int n = 0;
  for (int y = from; y < to; ++y) n += b.pixel(x, y) == c;
  return n;
}

TEST(TickLengths, FollowTheMinorPitchAndThePlotSize) {
  layout::PlotGeometry g = plot450x360();
  EXPECT_EQ(graticule::computeTickLengths(g), (graticule::TickLengths{5, 9, 2, 4}));
  // One axis with a one-pixel pitch still gets the shortest ticks from the other.
  g.minorPitchX = 1;
  g.minorPitchY = 4;
  EXPECT_EQ(graticule::computeTickLengths(g), (graticule::TickLengths{3, 5, 1, 2}));
  g.minorPitchY = 1;
  EXPECT_EQ(graticule::computeTickLengths(g), (graticule::TickLengths{}));
  // A small plot keeps ticks short whatever the pitch: 160 / 40 = 4 -> 3 and 5.
  g = plot450x360();
  g.plot = {0, 0, 200, 160};
  g.minorPitchX = g.minorPitchY = 30;
  EXPECT_EQ(graticule::computeTickLengths(g), (graticule::TickLengths{3, 5, 1, 2}));
}

TEST(Graticule, FrameTicksOfLengthFiveAndNineOnTheDefaultPlot) {
  gdi::Bitmap b(500, 400, kBack);
  gdi::DeviceContext dc(&b);
  graticule::GraticuleSettings s;
  s.gridOn = false;
  s.axesType = graticule::kNoAxes;
  const layout::PlotGeometry g = plot450x360();
  graticule::drawGraticule(dc, s, g, b.bounds());
  const gdi::Rect& p = g.plot;
  // Major tick at the left end of the top edge, minor one a pitch further.
  EXPECT_EQ(countInColumn(b, p.left + 45, p.top, p.top + 20, kFrame), 9);
  EXPECT_EQ(countInColumn(b, p.left + 9, p.top, p.top + 20, kFrame), 5);
  EXPECT_EQ(countInColumn(b, p.left + 9, p.bottom - 20, p.bottom, kFrame), 5);
  EXPECT_EQ(countInRow(b, p.top + 45, p.left, p.left + 20, kFrame), 9);
  EXPECT_EQ(countInRow(b, p.top + 45, p.right - 20, p.right, kFrame), 9);
  EXPECT_EQ(countInRow(b, p.top + 18, p.right - 20, p.right, kFrame), 5);
  EXPECT_EQ(b.pixel(p.left + 9, p.top + 5), kBack);
}

TEST(Graticule, DefaultChartMatchesItsGolden) {
  ChartPicture chart;
  const gdi::Bitmap b = chart.render();
  EXPECT_EQ(compareWithGolden(b, "graticule_default_500x400"), "");
  const layout::PlotGeometry g = chart.geometry();
  const gdi::Rect& p = g.plot;
  // Nine vertical grid lines, the middle one under the vertical axis.
  const int row = p.top + g.majorPitchY / 2 + 2;
  EXPECT_EQ(countInRow(b, row, p.left + 1, p.right - 1, kGrid), 8);
  EXPECT_EQ(b.pixel(p.left + p.width() / 2, row), kFrame);
  // Seven horizontal ones, the middle one under the horizontal axis.
  const int column = p.left + g.majorPitchX / 2 + 3;
  EXPECT_EQ(countInColumn(b, column, p.top + 1, p.bottom - 1, kGrid), 6);
}

TEST(Graticule, TwoViewportsSuppressTheGridLineOnTheirBoundary) {
  ChartPicture chart;
  chart.counts.viewports = 2;
  const gdi::Bitmap b = chart.render();
  EXPECT_EQ(compareWithGolden(b, "graticule_two_viewports"), "");
  const layout::PlotGeometry g = chart.geometry();
  const gdi::Rect& p = g.plot;
  const int boundary = p.top + p.height() / 2;
  const int column = p.left + g.majorPitchX / 2 + 3;  // off every vertical line and tick
  EXPECT_EQ(b.pixel(column, boundary), kBack);
  EXPECT_EQ(b.pixel(column, boundary - 1), kFrame);
  EXPECT_EQ(b.pixel(column, boundary + 1), kFrame);
  // Grid rows 1..3 and 5..7 stay; the two axes run through the strips' middles.
  EXPECT_EQ(countInColumn(b, column, p.top + 1, p.bottom - 1, kGrid), 6 - 2);
  const int half = p.height() / 4;
  EXPECT_EQ(b.pixel(column, p.top + half), kFrame);
  EXPECT_EQ(b.pixel(column, p.top + 3 * half), kFrame);
  // A major tick centred on the boundary at a grid-free column: 9 pixels, 4 either side.
  const int tickColumn = p.left + g.minorPitchX;  // minor: 5 pixels, 2 either side
  EXPECT_EQ(countInColumn(b, tickColumn, boundary - 6, boundary + 7, kFrame), 5);
  EXPECT_EQ(b.pixel(tickColumn, boundary - 2), kFrame);
  EXPECT_EQ(b.pixel(tickColumn, boundary - 3), kBack);
}

TEST(Graticule, ThreeViewportsKeepEveryGridLine) {
  ChartPicture chart;
  chart.counts.viewports = 3;
  const gdi::Bitmap b = chart.render();
  EXPECT_EQ(compareWithGolden(b, "graticule_three_viewports"), "");
  const layout::PlotGeometry g = chart.geometry();
  for (int l = 1; l < 8; ++l) {
    const int y = g.plot.top + l * g.majorPitchY;
    EXPECT_NE(b.pixel(g.plot.left + g.majorPitchX / 2 + 3, y), kBack) << "grid line " << l;
  }
}

TEST(Graticule, MajorAxisTicksOnlyAndTheLastTickInsideTheFrame) {
  gdi::Bitmap b(500, 400, kBack);
  gdi::DeviceContext dc(&b);
  graticule::GraticuleSettings s;
  s.gridOn = false;
  s.frameOn = false;
  s.axesTics = graticule::kMajorTics;
  const layout::PlotGeometry g = plot450x360();
  graticule::drawGraticule(dc, s, g, b.bounds());
  const gdi::Rect& p = g.plot;
  const int axisY = p.top + p.height() / 2;
  EXPECT_EQ(countInColumn(b, p.left + 9, axisY - 6, axisY + 7, kFrame), 1);  // the axis only
  EXPECT_EQ(countInColumn(b, p.left + 45, axisY - 6, axisY + 7, kFrame), 9);
  EXPECT_EQ(countInColumn(b, p.right - 1, axisY - 6, axisY + 7, kFrame), 9);
  EXPECT_EQ(b.pixel(p.right, axisY), kBack);
}

// Wiping any rectangle to the background and ruling it again restores the full picture: no
// grid line, separator or tick is lost to the skip rules.
TEST(Graticule, RedrawWithinAnyErasedRectangleRestoresThePicture) {
  for (int viewports : {1, 2, 4}) {
    ChartPicture chart;
    chart.counts.viewports = viewports;
    const gdi::Bitmap full = chart.render();
    const layout::PlotGeometry g = chart.geometry();
    std::mt19937 random(viewports);
    std::uniform_int_distribution<int> x(g.plot.left - 5, g.plot.right + 5);
    std::uniform_int_distribution<int> y(g.plot.top - 5, g.plot.bottom + 5);
    std::uniform_int_distribution<int> size(1, 40);
    for (int n = 0; n < 300; ++n) {
      gdi::Bitmap b = full;
      gdi::DeviceContext dc(&b);
      const int left = x(random);
      const int top = y(random);
      const gdi::Rect wiped =
          gdi::Rect{left, top, left + size(random), top + size(random)}.intersect(chart.drawable());
      dc.fillRect(wiped, gdi::Brush::solid(kBack));
      graticule::drawGraticule(dc, chart.graticuleSettings(), g, wiped);
      ASSERT_TRUE(b == full) << viewports << " viewports, rectangle " << wiped.left << ","
                             << wiped.top << "," << wiped.right << "," << wiped.bottom;
    }
  }
}

TEST(Graticule, NothingWithoutAMajorPitch) {
  gdi::Bitmap b(100, 100, kBack);
  gdi::DeviceContext dc(&b);
  layout::PlotGeometry g = plot450x360();
  g.majorPitchY = 0;
  graticule::drawGraticule(dc, {}, g, b.bounds());
  EXPECT_TRUE(b == gdi::Bitmap(100, 100, kBack));
}

}  // namespace
}  // namespace kvplotax::testing
