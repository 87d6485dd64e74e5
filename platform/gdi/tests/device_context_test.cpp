// Regions, object selection, clipping, pixels, blits and DIB stretching on a device context.
#include <gtest/gtest.h>

#include <vector>

#include "gdi/device_context.h"
#include "gdi/packed_dib.h"

namespace {

using gdi::Bitmap;
using gdi::DeviceContext;
using gdi::Rect;
using gdi::Region;

int area(const Region& r) {
  int total = 0;
  for (const Rect& rect : r.rects()) total += rect.width() * rect.height();
  return total;
}

bool disjoint(const Region& r) {
  for (std::size_t i = 0; i < r.rects().size(); ++i)
    for (std::size_t j = i + 1; j < r.rects().size(); ++j)
      if (!r.rects()[i].intersect(r.rects()[j]).isEmpty()) return false;
  return true;
}

TEST(Regions, SetOperationsKeepDisjointRectangles) {
  Region r(Rect{0, 0, 10, 10});
  r.subtract({3, 3, 6, 6});
  EXPECT_EQ(area(r), 100 - 9);
  EXPECT_TRUE(disjoint(r));
  EXPECT_FALSE(r.contains({4, 4}));
  EXPECT_TRUE(r.contains({2, 4}));
  EXPECT_TRUE(r.contains({6, 4}));
  EXPECT_EQ(r.bounds(), (Rect{0, 0, 10, 10}));

  r.unite({3, 3, 6, 6});
  EXPECT_TRUE(r.sameArea(Region(Rect{0, 0, 10, 10})));
  EXPECT_EQ(r.rects().size(), 1u);

  const Rect overlapping[] = {{0, 0, 5, 5}, {3, 3, 8, 8}, {20, 0, 21, 1}, {4, 4, 4, 9}};
  const Region u = Region::fromRects(overlapping);
  EXPECT_EQ(area(u), 25 + 25 - 4 + 1);
  EXPECT_TRUE(disjoint(u));

  Region i = u;
  i.intersect({2, 2, 4, 4});
  EXPECT_EQ(area(i), 4);
  i.offset(10, 1);
  EXPECT_TRUE(i.contains({12, 3}));
  EXPECT_EQ(i.bounds(), (Rect{12, 3, 14, 5}));

  Region gone(Rect{0, 0, 4, 4});
  gone.subtract({-1, -1, 5, 5});
  EXPECT_TRUE(gone.isEmpty());
  EXPECT_TRUE(Region(Rect{5, 5, 5, 9}).isEmpty());
}

TEST(DeviceContexts, SelectingReturnsWhatWasDisplaced) {
  Bitmap a(4, 4), b(4, 4);
  DeviceContext dc(&a);
  EXPECT_EQ(dc.selectBitmap(&b), &a);
  const gdi::Pen red(gdi::PS_DASH, 1, 0x0000FF);
  EXPECT_EQ(dc.selectPen(red), gdi::Pen());
  EXPECT_EQ(dc.selectPen(gdi::Pen::null()), red);
  EXPECT_EQ(dc.selectBrush(gdi::Brush::null()), gdi::Brush());
  auto font = std::make_shared<int>(7);
  EXPECT_EQ(dc.selectFont(font), nullptr);
  EXPECT_EQ(dc.selectFont(nullptr), font);
  EXPECT_EQ(dc.setBkMode(gdi::TRANSPARENT), gdi::OPAQUE);
  EXPECT_EQ(dc.setBkMode(9), 0);
  EXPECT_EQ(dc.bkMode(), gdi::TRANSPARENT);
  EXPECT_EQ(dc.setBkColor(0x010203), 0xFFFFFFu);
  EXPECT_EQ(dc.moveTo(3, 2), (gdi::Point{0, 0}));
  const gdi::Palette& vga = gdi::Palette::vga16();
  EXPECT_EQ(dc.selectPalette(vga), gdi::Palette());
  EXPECT_EQ(dc.selectPalette(gdi::Palette()), vga);

  EXPECT_EQ(dc.getDeviceCaps(gdi::HORZRES), 4);
  EXPECT_EQ(dc.getDeviceCaps(gdi::LOGPIXELSY), 96);
  dc.setLogPixels(120);
  EXPECT_EQ(dc.getDeviceCaps(gdi::LOGPIXELSX), 120);
  EXPECT_EQ(dc.getDeviceCaps(gdi::SIZEPALETTE), 0);
}

TEST(DeviceContexts, ClipRegionsSelectExcludeAndRemove) {
  Bitmap b(20, 20, 0);
  DeviceContext dc(&b);
  EXPECT_EQ(dc.selectClipRect({2, 2, 12, 12}), gdi::SIMPLEREGION);
  EXPECT_EQ(dc.excludeClipRect({5, 5, 8, 8}), gdi::COMPLEXREGION);
  dc.fillRect({0, 0, 20, 20}, gdi::Brush::solid(0xFFFFFF));
  EXPECT_EQ(b.pixel(1, 1), 0u);
  EXPECT_EQ(b.pixel(2, 2), 0xFFFFFFu);
  EXPECT_EQ(b.pixel(6, 6), 0u);
  EXPECT_EQ(b.pixel(11, 11), 0xFFFFFFu);
  EXPECT_EQ(b.pixel(12, 12), 0u);
  EXPECT_EQ(dc.setPixel(6, 6, 0x00FF00), gdi::kInvalidColor);
  EXPECT_EQ(dc.getPixel(6, 6), gdi::kInvalidColor);
  EXPECT_EQ(dc.setPixel(3, 3, 0x00FF00), 0x00FF00u);
  EXPECT_EQ(dc.getPixel(3, 3), 0x00FF00u);

  const gdi::Point points[] = {{2, 2}, {6, 6}, {1, 1}, {11, 3}, {-5, 40}};
  dc.setPixels(points, 0x0000FF);
  EXPECT_EQ(b.pixel(2, 2), 0x0000FFu);
  EXPECT_EQ(b.pixel(11, 3), 0x0000FFu);
  EXPECT_EQ(b.pixel(6, 6), 0u);
  EXPECT_EQ(b.pixel(1, 1), 0u);

  EXPECT_EQ(dc.excludeClipRect({0, 0, 20, 20}), gdi::NULLREGION);
  dc.fillRect({0, 0, 20, 20}, gdi::Brush::solid(0x0000FF));
  EXPECT_EQ(b.pixel(3, 3), 0x00FF00u);

  dc.selectClipRegion(nullptr);
  EXPECT_EQ(dc.clipRegion(), nullptr);
  dc.fillRect({0, 0, 20, 20}, gdi::Brush::solid(0x0000FF));
  EXPECT_EQ(b.pixel(19, 19), 0x0000FFu);
  EXPECT_EQ(dc.getPixel(20, 0), gdi::kInvalidColor);
  // Excluding with no clip region selected starts from the whole bitmap.
  dc.excludeClipRect({0, 0, 10, 20});
  ASSERT_NE(dc.clipRegion(), nullptr);
  EXPECT_TRUE(dc.clipRegion()->sameArea(Region(Rect{10, 0, 20, 20})));
}

TEST(Regions, AssigningARectangleReplacesEverythingBefore) {
  Region r = Region::fromRects(std::vector<Rect>{{0, 0, 5, 5}, {10, 10, 20, 20}});
  r.assign({3, 4, 8, 9});
  EXPECT_EQ(r, Region(Rect{3, 4, 8, 9}));
  r.assign({7, 7, 7, 12});
  EXPECT_TRUE(r.isEmpty());
  EXPECT_EQ(r.bounds(), Rect{});
  EXPECT_FALSE(r.contains({3, 4}));
}

// A context reuses its region's storage from clip to clip: what it drew under an earlier region
// must not leak into a later one, so a reused context draws exactly as a fresh one.
TEST(DeviceContexts, AReusedClipDrawsExactlyAsAFreshOne) {
  const auto drawClipped = [](DeviceContext& dc) {
    dc.selectClipRect({3, 2, 30, 20});
    dc.excludeClipRect({10, 5, 14, 9});
    dc.intersectClipRect({0, 4, 25, 40});
    dc.selectBrush(gdi::Brush::solid(0x00FF00));
    dc.selectPen(gdi::Pen(gdi::PS_SOLID, 3, 0x0000FF));
    const gdi::Point trace[] = {{-5, 30}, {8, 0}, {16, 25}, {40, 6}};
    dc.polyline(trace);
    dc.rectangle(1, 1, 20, 15);
    dc.selectClipRegion(nullptr);
    dc.excludeClipRect({0, 0, 31, 2});
    dc.fillRect({0, 0, 32, 24}, gdi::Brush::solid(0x112233));
  };
  Bitmap fresh(32, 24, 0), reused(32, 24, 0);
  DeviceContext freshDc(&fresh), reusedDc(&reused);
  const Region complex = Region::fromRects(std::vector<Rect>{{0, 0, 4, 4}, {6, 6, 30, 22}});
  for (int round = 0; round < 3; ++round) {
    reusedDc.selectClipRegion(&complex);
    reusedDc.selectClipRegion(reusedDc.clipRegion());  // its own region, selected again
    reusedDc.selectClipRect({0, 0, 1, 1});
    reusedDc.selectClipRegion(nullptr);
    reused = Bitmap(32, 24, 0);
    drawClipped(reusedDc);
  }
  drawClipped(freshDc);
  EXPECT_EQ(reused, fresh);
  ASSERT_NE(reusedDc.clipRegion(), nullptr);
  EXPECT_EQ(*reusedDc.clipRegion(), *freshDc.clipRegion());
  EXPECT_TRUE(freshDc.clipRegion()->sameArea(
      Region::fromRects(std::vector<Rect>{{31, 0, 32, 2}, {0, 2, 32, 24}})));
}

TEST(DeviceContexts, ABitmapReplacedWhileSelectedIsDrawnWithinItsNewSize) {
  Bitmap b(4, 4);
  DeviceContext dc(&b);
  b = Bitmap(40, 30, 0);
  dc.fillRect({0, 0, 100, 100}, gdi::Brush::solid(0xFFFFFF));
  EXPECT_EQ(b.pixel(39, 29), 0xFFFFFFu);
  b = Bitmap(2, 2, 0);
  dc.selectPen(gdi::Pen(gdi::PS_SOLID, 3, 0xFFFFFF));
  dc.line(0, 0, 50, 50);
  EXPECT_EQ(b.pixel(1, 1), 0xFFFFFFu);
  EXPECT_EQ(dc.drawableRects().size(), 1u);
  EXPECT_EQ(dc.drawableRects()[0], b.bounds());
}

TEST(DeviceContexts, NothingIsDrawnWithoutABitmap) {
  DeviceContext dc;
  dc.rectangle(0, 0, 10, 10);
  dc.lineTo(5, 5);
  dc.fillSpan(0, 0, 5, 0);
  EXPECT_EQ(dc.setPixel(0, 0, 1), gdi::kInvalidColor);
  EXPECT_TRUE(Bitmap(1 << 15, 1 << 14).isEmpty());
  Bitmap empty(0, 5);
  dc.selectBitmap(&empty);
  dc.fillRect({0, 0, 10, 10}, gdi::Brush::solid(1));
  EXPECT_TRUE(empty.isEmpty());
}

TEST(Blits, CopyBetweenAndWithinBitmaps) {
  Bitmap src(6, 4), dst(8, 8, 0x111111);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) src.setPixel(x, y, static_cast<gdi::ColorRef>(10 * y + x));
  DeviceContext s(&src), d(&dst);
  d.excludeClipRect({0, 0, 8, 1});
  ASSERT_TRUE(d.bitBlt(1, 0, 6, 4, s, 0, 0));
  EXPECT_EQ(dst.pixel(1, 0), 0x111111u);  // clipped
  EXPECT_EQ(dst.pixel(1, 1), 10u);
  EXPECT_EQ(dst.pixel(6, 3), 35u);
  EXPECT_EQ(dst.pixel(7, 3), 0x111111u);

  // Source pixels beyond the source bitmap leave the destination alone.
  Bitmap d2(8, 8, 0x222222);
  DeviceContext dc2(&d2);
  dc2.bitBlt(0, 0, 8, 8, s, 3, 2);
  EXPECT_EQ(d2.pixel(0, 0), 23u);
  EXPECT_EQ(d2.pixel(2, 1), 35u);
  EXPECT_EQ(d2.pixel(3, 0), 0x222222u);
  EXPECT_EQ(d2.pixel(0, 2), 0x222222u);

  // Scrolling a bitmap onto itself, both ways.
  Bitmap strip(5, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) strip.setPixel(x, y, static_cast<gdi::ColorRef>(10 * y + x));
  DeviceContext self(&strip);
  self.bitBlt(1, 1, 4, 4, self, 0, 0);
  EXPECT_EQ(strip.pixel(4, 4), 33u);
  EXPECT_EQ(strip.pixel(1, 1), 0u);
  self.bitBlt(0, 0, 4, 4, self, 1, 1);
  EXPECT_EQ(strip.pixel(0, 0), 0u);
  EXPECT_EQ(strip.pixel(3, 3), 33u);
  EXPECT_FALSE(self.bitBlt(0, 0, -1, 2, self, 0, 0));
}

TEST(Blits, StretchDIBitsCountsSourceRowsFromTheBottom) {
  Bitmap picture(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) picture.setPixel(x, y, static_cast<gdi::ColorRef>(0x10 * y + x));
  const gdi::PackedDib dib = gdi::PackedDib::fromBitmap(picture, 24);
  Bitmap out(8, 8, 0xFFFFFF);
  DeviceContext dc(&out);
  // The lower-right 2 x 2 quarter (source y 0 is the bottom row), doubled.
  EXPECT_EQ(dc.stretchDIBits(0, 0, 4, 4, 2, 0, 2, 2, dib), 4);
  EXPECT_EQ(out.pixel(0, 0), 0x22u);
  EXPECT_EQ(out.pixel(1, 1), 0x22u);
  EXPECT_EQ(out.pixel(2, 0), 0x23u);
  EXPECT_EQ(out.pixel(3, 3), 0x33u);
  EXPECT_EQ(out.pixel(4, 0), 0xFFFFFFu);
  // Identity copy of the whole image.
  dc.stretchDIBits(4, 4, 4, 4, 0, 0, 4, 4, dib);
  EXPECT_EQ(out.pixel(4, 4), 0x00u);
  EXPECT_EQ(out.pixel(7, 7), 0x33u);
  // Halving drops rows and columns.
  Bitmap half(2, 2);
  DeviceContext h(&half);
  h.stretchDIBits(0, 0, 2, 2, 0, 0, 4, 4, dib);
  EXPECT_EQ(half.pixel(1, 1), 0x22u);
  EXPECT_EQ(h.stretchDIBits(0, 0, 0, 2, 0, 0, 4, 4, dib), 0);
}

}  // namespace
