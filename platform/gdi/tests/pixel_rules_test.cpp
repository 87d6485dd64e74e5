// The platform's pixel rules pinned on small cases: ties in each octant, the end pixel, dash
// continuation, rectangle edges, the polygon example, opaque and transparent gaps, wide pens.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "gdi/device_context.h"

namespace {

using gdi::Bitmap;
using gdi::DeviceContext;
using gdi::Point;

constexpr gdi::ColorRef kPaper = 0xFFFFFF;
constexpr gdi::ColorRef kInk = 0x000000;

std::set<std::pair<int, int>> inked(const Bitmap& b, gdi::ColorRef color = kInk) {
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x)
      if (b.pixel(x, y) == color) out.insert({x, y});
  return out;
}

struct TieCase {
  Point to;
  std::vector<std::pair<int, int>> pixels;  // relative to the start (10, 10)
};

// Lines whose error term hits zero: octants 3, 5, 6 and 8 step on the tie, the others do not.
TEST(LinePixels, TiesFollowTheOctantBias) {
  const std::vector<TieCase> cases{
      {{4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},          // octant 1
      {{2, 4}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},          // octant 2
      {{-2, 4}, {{0, 0}, {-1, 1}, {-1, 2}, {-2, 3}}},      // octant 3
      {{-4, 2}, {{0, 0}, {-1, 0}, {-2, 1}, {-3, 1}}},      // octant 4
      {{-4, -2}, {{0, 0}, {-1, -1}, {-2, -1}, {-3, -2}}},  // octant 5
      {{-2, -4}, {{0, 0}, {-1, -1}, {-1, -2}, {-2, -3}}},  // octant 6
      {{2, -4}, {{0, 0}, {0, -1}, {1, -2}, {1, -3}}},      // octant 7
      {{4, -2}, {{0, 0}, {1, -1}, {2, -1}, {3, -2}}},      // octant 8
  };
  for (const TieCase& c : cases) {
    Bitmap b(20, 20, kPaper);
    DeviceContext dc(&b);
    dc.moveTo(10, 10);
    dc.lineTo(10 + c.to.x, 10 + c.to.y);
    std::set<std::pair<int, int>> expected;
    for (auto [x, y] : c.pixels) expected.insert({10 + x, 10 + y});
    EXPECT_EQ(inked(b), expected) << "towards " << c.to.x << "," << c.to.y;
    EXPECT_EQ(dc.currentPosition(), (Point{10 + c.to.x, 10 + c.to.y}));
  }
}

// The end point is never drawn, so a line and its reverse differ only in their end pixels and
// erasing in reverse leaves nothing behind but the two ends.
TEST(LinePixels, EndPixelExcludedAndReverseSharesTheInterior) {
  for (int dx = -9; dx <= 9; ++dx) {
    for (int dy = -9; dy <= 9; ++dy) {
      Bitmap forward(30, 30, kPaper), backward(30, 30, kPaper);
      DeviceContext f(&forward), r(&backward);
      f.line(15, 15, 15 + dx, 15 + dy);
      r.line(15 + dx, 15 + dy, 15, 15);
      auto a = inked(forward);
      auto b = inked(backward);
      if (dx == 0 && dy == 0) {
        EXPECT_TRUE(a.empty());
        continue;
      }
      EXPECT_FALSE(a.count({15 + dx, 15 + dy})) << dx << "," << dy;
      EXPECT_TRUE(a.count({15, 15}));
      a.insert({15 + dx, 15 + dy});
      b.insert({15, 15});
      EXPECT_EQ(a, b) << dx << "," << dy;
    }
  }
}

TEST(LinePixels, ClippingDoesNotMoveAnyPixel) {
  Bitmap whole(40, 30, kPaper), clipped(40, 30, kPaper);
  DeviceContext w(&whole), c(&clipped);
  c.selectClipRect({7, 5, 23, 19});
  const Point path[] = {{-30, 2}, {45, 27}, {3, -20}, {37, 41}};
  w.polyline(path);
  c.polyline(path);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 7 && x < 23 && y >= 5 && y < 19;
      EXPECT_EQ(clipped.pixel(x, y), inside ? whole.pixel(x, y) : kPaper) << x << "," << y;
    }
}

TEST(DashedPens, PatternRunsOnAcrossPolylineSegments) {
  Bitmap b(40, 10, kPaper);
  DeviceContext dc(&b);
  dc.setBkMode(gdi::TRANSPARENT);
  dc.selectPen(gdi::Pen(gdi::PS_DOT, 1, kInk));
  const Point path[] = {{0, 5}, {10, 5}, {30, 5}};
  dc.polyline(path);
  for (int x = 0; x < 30; ++x) EXPECT_EQ(b.pixel(x, 5) == kInk, x % 6 < 3) << x;
  EXPECT_EQ(b.pixel(30, 5), kPaper);

  // Separate lines start their pattern afresh.
  Bitmap fresh(40, 10, kPaper);
  DeviceContext f(&fresh);
  f.setBkMode(gdi::TRANSPARENT);
  f.selectPen(gdi::Pen(gdi::PS_DOT, 1, kInk));
  f.moveTo(0, 5);
  f.lineTo(10, 5);
  f.lineTo(30, 5);
  EXPECT_EQ(fresh.pixel(10, 5), kInk);
  EXPECT_EQ(b.pixel(10, 5), kPaper);
}

TEST(DashedPens, PatternsInPixels) {
  const std::vector<std::pair<int, std::vector<int>>> patterns{
      {gdi::PS_DASH, {18, 6}},
      {gdi::PS_DOT, {3, 3}},
      {gdi::PS_DASHDOT, {9, 6, 3, 6}},
      {gdi::PS_DASHDOTDOT, {9, 3, 3, 3, 3, 3}}};
  for (const auto& [style, runs] : patterns) {
    Bitmap b(60, 3, kPaper);
    DeviceContext dc(&b);
    dc.setBkMode(gdi::TRANSPARENT);
    dc.selectPen(gdi::Pen(style, 0, kInk));
    dc.line(0, 1, 60, 1);
    int x = 0;
    for (int round = 0; round < 2; ++round)
      for (std::size_t i = 0; i < runs.size(); ++i)
        for (int k = 0; k < runs[i]; ++k, ++x)
          ASSERT_EQ(b.pixel(x, 1) == kInk, i % 2 == 0) << "style " << style << " x " << x;
  }
}

TEST(DashedPens, OpaqueGapsTakeTheBackgroundTransparentGapsStay) {
  for (int mode : {gdi::OPAQUE, gdi::TRANSPARENT}) {
    Bitmap b(30, 3, 0x0000FF);
    DeviceContext dc(&b);
    dc.setBkMode(mode);
    dc.setBkColor(0xFF0000);
    dc.selectPen(gdi::Pen(gdi::PS_DASH, 1, kInk));
    dc.line(0, 1, 30, 1);
    EXPECT_EQ(b.pixel(17, 1), kInk);
    EXPECT_EQ(b.pixel(18, 1), mode == gdi::OPAQUE ? 0xFF0000u : 0x0000FFu);
    EXPECT_EQ(b.pixel(23, 1), mode == gdi::OPAQUE ? 0xFF0000u : 0x0000FFu);
    EXPECT_EQ(b.pixel(24, 1), kInk);
  }
}

TEST(DashedPens, WiderStyledPensDrawSolid) {
  Bitmap b(40, 9, kPaper);
  DeviceContext dc(&b);
  dc.selectPen(gdi::Pen(gdi::PS_DASH, 3, kInk));
  dc.line(5, 4, 35, 4);
  for (int x = 5; x <= 35; ++x) EXPECT_EQ(b.pixel(x, 4), kInk) << x;
}

TEST(Rectangles, BorderOnLeftRightMinusOneTopBottomMinusOne) {
  Bitmap b(12, 12, kPaper);
  DeviceContext dc(&b);
  dc.selectBrush(gdi::Brush::solid(0x00FF00));
  dc.rectangle(2, 3, 8, 9);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool inBox = x >= 2 && x <= 7 && y >= 3 && y <= 8;
      const bool border = inBox && (x == 2 || x == 7 || y == 3 || y == 8);
      const gdi::ColorRef want = border ? kInk : (inBox ? 0x00FF00u : kPaper);
      EXPECT_EQ(b.pixel(x, y), want) << x << "," << y;
    }
}

TEST(Rectangles, NullPenFillsOnePixelLessAndFillRectCoversRightMinusOne) {
  Bitmap b(12, 12, kPaper);
  DeviceContext dc(&b);
  dc.selectPen(gdi::Pen::null());
  dc.selectBrush(gdi::Brush::solid(kInk));
  dc.rectangle(2, 3, 8, 9);
  EXPECT_EQ(inked(b).size(), 5u * 5u);
  EXPECT_EQ(b.pixel(6, 7), kInk);
  EXPECT_EQ(b.pixel(7, 7), kPaper);

  Bitmap f(12, 12, kPaper);
  DeviceContext fdc(&f);
  fdc.fillRect({2, 3, 8, 9}, gdi::Brush::solid(kInk));
  EXPECT_EQ(inked(f).size(), 6u * 6u);
  EXPECT_EQ(f.pixel(7, 8), kInk);
}

TEST(Rectangles, RoundRectWithTwoByTwoCornersIsTheRectangle) {
  for (int width = 1; width <= 4; ++width)
    for (int style : {gdi::PS_SOLID, gdi::PS_DASHDOT, gdi::PS_NULL}) {
      Bitmap a(30, 30, kPaper), r(30, 30, kPaper);
      DeviceContext da(&a), dr(&r);
      for (DeviceContext* dc : {&da, &dr}) {
        dc->selectPen(gdi::Pen(style, width, kInk));
        dc->selectBrush(gdi::Brush::solid(0x00FF00));
      }
      da.rectangle(4, 5, 21, 26);
      dr.roundRect(4, 5, 21, 26, 2, 2);
      EXPECT_EQ(a, r) << "width " << width << " style " << style;
    }
}

TEST(Rectangles, RoundRectCutsItsCorners) {
  Bitmap b(30, 30, kPaper);
  DeviceContext dc(&b);
  dc.selectBrush(gdi::Brush::null());
  dc.roundRect(0, 0, 20, 20, 10, 10);
  EXPECT_EQ(b.pixel(0, 0), kPaper);
  EXPECT_EQ(b.pixel(0, 10), kInk);
  EXPECT_EQ(b.pixel(10, 0), kInk);
  EXPECT_EQ(b.pixel(19, 10), kInk);
  EXPECT_EQ(b.pixel(10, 19), kInk);
  EXPECT_EQ(b.pixel(19, 19), kPaper);
}

TEST(Polygons, PenAndBrushSquareCoversRightAndBottomEdges) {
  const Point square[] = {{12, 14}, {20, 14}, {20, 20}, {12, 20}};
  Bitmap b(30, 30, kPaper);
  DeviceContext dc(&b);
  dc.selectBrush(gdi::Brush::solid(kInk));
  dc.polygon(square);
  std::set<std::pair<int, int>> expected;
  for (int y = 14; y <= 20; ++y)
    for (int x = 12; x <= 20; ++x) expected.insert({x, y});
  EXPECT_EQ(inked(b), expected);

  Bitmap fill(30, 30, kPaper);
  DeviceContext f(&fill);
  f.selectPen(gdi::Pen::null());
  f.selectBrush(gdi::Brush::solid(kInk));
  f.polygon(square);
  expected.clear();
  for (int y = 14; y < 20; ++y)
    for (int x = 12; x < 20; ++x) expected.insert({x, y});
  EXPECT_EQ(inked(fill), expected);
}

TEST(Polygons, AlternateModeLeavesTheOverlapEmpty) {
  // A pentagram: its centre is crossed twice.
  const Point star[] = {{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}};
  Bitmap b(40, 40, kPaper);
  DeviceContext dc(&b);
  dc.selectPen(gdi::Pen::null());
  dc.selectBrush(gdi::Brush::solid(kInk));
  dc.polygon(star);
  EXPECT_EQ(b.pixel(20, 20), kPaper);
  EXPECT_EQ(b.pixel(20, 8), kInk);
}

// A wide horizontal segment is a band of w rows from y - w/2; the round tips at its ends reach
// one pixel past it on the middle row only (a plus for width 3).
TEST(WidePens, BandFromHalfTheWidthAboveWithRoundTips) {
  Bitmap b(30, 20, kPaper);
  DeviceContext dc(&b);
  dc.selectPen(gdi::Pen(gdi::PS_SOLID, 3, kInk));
  dc.line(5, 10, 20, 10);
  std::set<std::pair<int, int>> want;
  for (int x = 4; x <= 21; ++x) want.insert({x, 10});
  for (int x = 5; x <= 20; ++x) want.insert({x, 9}), want.insert({x, 11});
  EXPECT_EQ(inked(b), want);

  Bitmap even(30, 20, kPaper);
  DeviceContext de(&even);
  de.selectPen(gdi::Pen(gdi::PS_SOLID, 2, kInk));
  de.line(5, 10, 20, 10);
  want.clear();
  for (int x = 4; x <= 20; ++x) want.insert({x, 9}), want.insert({x, 10});
  EXPECT_EQ(inked(even), want);
}

// Drawing the same primitive again in the background colour erases it exactly.
TEST(Erasing, RedrawInBackgroundLeavesNoTrace) {
  for (int width = 1; width <= 3; ++width) {
    Bitmap b(50, 50, kPaper);
    DeviceContext dc(&b);
    dc.selectClipRect({5, 5, 45, 40});
    dc.excludeClipRect({20, 20, 25, 30});
    const Point path[] = {{-3, 7}, {48, 19}, {30, 45}, {8, 2}, {44, 44}};
    dc.selectPen(gdi::Pen(gdi::PS_SOLID, width, kInk));
    dc.polyline(path);
    EXPECT_FALSE(inked(b).empty());
    dc.selectPen(gdi::Pen(gdi::PS_SOLID, width, kPaper));
    dc.polyline(path);
    EXPECT_TRUE(inked(b).empty()) << width;
  }
}

}  // namespace
