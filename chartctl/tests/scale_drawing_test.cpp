#include <gtest/gtest.h>

#include "gdi/log_font.h"
#include "graticule/tick_lengths.h"
#include "graticule_chart.h"
#include "graticule_golden.h"
#include "output/draw_surface.h"
#include "scale/scale_item.h"

namespace kvplotax::testing {
namespace {

constexpr gdi::ColorRef kWhite = 0xFFFFFF;
constexpr gdi::ColorRef kBlack = 0x000000;
constexpr gdi::ColorRef kGreen = 0x00FF00;

const scale::ScaleFonts& arial8() {
  static const scale::ScaleFonts fonts =
      scale::ScaleFonts::fromLogFont(gdi::logFontFromPoints("Arial", 8, 96));
  return fonts;
}

// The recorder's chart: 12 x 7 divisions on white, vertical axis only, no bevels, and its
// vertical scale from 1.0 to 8.0 on the right of the frame.
struct RecorderChart {
  RecorderChart() {
    chart.width = 601;
    chart.height = 257;
    chart.outline.color = 0x000000;
    chart.bevel = {0x808080, 0x000000, 0xC0C0C0, 0, 0, 1, 1, 3};
    chart.backColor = kWhite;
    chart.counts = {12, 7, 5, 1, 20, 5, 25, 32, false};
    chart.graticule.frameColor = kBlack;
    chart.graticule.axesColor = kBlack;
    chart.graticule.axesType = graticule::kVertAxis;
    chart.graticule.gridColor = 0xC0C0C0;
    style.places = 1;
    style.gap = 1;
    style.position = scale::kBelowRight;
    style.orientation = 1;
    style.location = scale::kFrameRightBottom;
    style.visibility = scale::kScaleAndLabel;
    style.labelLocation = scale::kCenter;
    style.labelOrientation = 1;
    const layout::PlotGeometry g = chart.geometry();
    frame.viewport = layout::viewportRect(chart.drawable(), g.plot, 1, 1);
    frame.intervals = scale::scaleIntervals(scale::kVert, 12, 7, 1);
    frame.majorTick = graticule::computeTickLengths(g).major;
    frame.axesType = graticule::kVertAxis;
    scale::scaleRange(4000.0f, 28000.0f, 0.00025f, frame.start, frame.end);
    item.setColors({kBlack, 0x00FFFF, kBlack, 0x00FFFF, kWhite, kGreen});
  }
  ChartPicture chart;
  scale::ScaleStyle style;
  scale::ScaleFrame frame;
  scale::ScaleItem item{1, scale::kVert};
};

gdi::Bitmap& pixels(output::DrawSurface& surface) { return *surface.dc().bitmap(); }

TEST(ScaleDrawing, RecorderChartWithItsVerticalScale) {
  RecorderChart r;
  r.item.layout(r.style, r.frame, arial8());
  output::DrawSurface surface = output::DrawSurface::createBitmapSurface(601, 257, nullptr);
  r.chart.paint(surface.dc());
  EXPECT_TRUE(r.item.redraw(surface, surface.bounds()));
  EXPECT_EQ(compareWithGolden(pixels(surface), "scale_recorder_601x257"), "");

  const scale::ScaleLayout& l = r.item.placement();
  ASSERT_EQ(l.numbers.size(), 8u);
  EXPECT_EQ(l.texts[0].view(), "1.0");
  EXPECT_EQ(l.texts[7].view(), "8.0");
  const gdi::Rect plot = r.chart.geometry().plot;
  for (const scale::PlacedText& p : l.numbers) {
    EXPECT_TRUE(p.shown);
    EXPECT_EQ(p.rect.left, plot.right + 1);  // left-aligned one gap right of the frame
  }
  // Outside the frame the end numbers move a pixel in; the middle ones are centred on their
  // division.
  EXPECT_EQ(l.numbers[0].base.y, plot.bottom + 1);
  EXPECT_EQ(l.numbers[7].base.y, plot.top - 1);
  const int middle = l.numbers[3].rect.top + l.numbers[3].rect.height() / 2;
  EXPECT_LE(std::abs(middle - (plot.bottom - 3 * (plot.height() / 7))), 1);
  // Ink right of the frame lies inside the numbers' rectangles and each number has some.
  const gdi::Bitmap& b = pixels(surface);
  for (int y = 1; y < b.height() - 1; ++y) {  // within the outline
    for (int x = plot.right + 1; x < b.width() - 1; ++x) {
      if (b.pixel(x, y) != kBlack) continue;
      bool inside = false;
      for (const scale::PlacedText& p : l.numbers) inside |= p.rect.contains({x, y});
      ASSERT_TRUE(inside) << x << "," << y;
    }
  }
  for (const scale::PlacedText& p : l.numbers) {
    int ink = 0;
    for (int y = p.rect.top; y < p.rect.bottom; ++y)
      for (int x = p.rect.left; x < p.rect.right; ++x) ink += b.pixel(x, y) == kBlack;
    EXPECT_GT(ink, 5);
  }
}

TEST(ScaleDrawing, PulledEndNumbersOnTheAxis) {
  RecorderChart r;
  r.style.location = scale::kAxis;
  r.style.orientation = 0;
  r.chart.graticule.axesType = graticule::kHorzVertAxes;
  r.frame.axesType = graticule::kHorzVertAxes;
  scale::ScaleItem item(2, scale::kHorz);
  item.setColors({kBlack, 0x00FFFF, kBlack, 0x00FFFF, kWhite, kGreen});
  r.frame.intervals = 12;
  r.frame.start = 0.0f;
  r.frame.end = 12.0f;
  item.layout(r.style, r.frame, arial8());
  output::DrawSurface surface = output::DrawSurface::createBitmapSurface(601, 257, nullptr);
  r.chart.paint(surface.dc());
  item.redraw(surface, surface.bounds());
  EXPECT_EQ(compareWithGolden(pixels(surface), "scale_pulled_ends"), "");
  const gdi::Rect plot = r.chart.geometry().plot;
  const scale::ScaleLayout& l = item.placement();
  const int pull = r.style.gap + r.frame.majorTick;
  EXPECT_EQ(l.numbers.front().rect.left, plot.left + pull);
  EXPECT_EQ(l.numbers.back().rect.right, plot.right - pull);
}

// Erasing writes the same texts in the background, or in the storage colour once storage is
// on: nothing of the scale is left.
TEST(ScaleDrawing, ErasingLeavesNoPixelBehind) {
  for (bool storage : {false, true}) {
    RecorderChart r;
    r.style.caption = "Amplitude";
    r.item.layout(r.style, r.frame, arial8());
    r.item.setStorage(storage);
    const gdi::ColorRef ground = storage ? kGreen : kWhite;
    output::DrawSurface surface = output::DrawSurface::createBitmapSurface(601, 257, nullptr);
    surface.fillRect(surface.bounds(), gdi::Brush::solid(ground));
    const gdi::Bitmap before = pixels(surface);
    ASSERT_TRUE(r.item.redraw(surface, surface.bounds()));
    ASSERT_FALSE(pixels(surface) == before);
    r.item.setIntense(true);
    r.item.redraw(surface, surface.bounds());
    r.item.erase(surface, surface.bounds());
    EXPECT_TRUE(pixels(surface) == before) << "storage " << storage;
  }
}

TEST(ScaleDrawing, HitsTellTheCaptionFromTheNumbers) {
  RecorderChart r;
  r.style.caption = "Volts";
  r.item.layout(r.style, r.frame, arial8());
  const scale::ScaleLayout& l = r.item.placement();
  ASSERT_TRUE(l.labelShown);
  output::HitInfo hit;
  const gdi::Rect c = l.label.rect;
  ASSERT_TRUE(r.item.hitTest({c.left + 1, c.top + 1}, hit));
  EXPECT_EQ(hit.objType, scale::ScaleItem::kHitLabel);
  EXPECT_EQ(hit.obj, 1);
  EXPECT_EQ(hit.position, scale::kVert);
  const scale::PlacedText* shown = nullptr;
  for (const scale::PlacedText& p : l.numbers)
    if (p.shown) shown = &p;
  ASSERT_NE(shown, nullptr);
  ASSERT_TRUE(r.item.hitTest({shown->rect.left, shown->rect.top}, hit));
  EXPECT_EQ(hit.objType, scale::ScaleItem::kHitScale);
  EXPECT_FALSE(r.item.hitTest({0, 0}, hit));
}

}  // namespace
}  // namespace kvplotax::testing
