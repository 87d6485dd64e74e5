// Once a device context has drawn a kind of primitive, drawing it again allocates nothing: the
// chart redraws its traces on every data block.
#include <gtest/gtest.h>

#include <vector>

#include "allocation_counter.h"
#include "gdi/device_context.h"
#include "gdi/packed_dib.h"

namespace {

void drawEverything(gdi::DeviceContext& dc, gdi::DeviceContext& source, const gdi::PackedDib& dib,
                    const std::vector<gdi::Point>& trace) {
  for (int width : {1, 3}) {
    dc.selectPen(gdi::Pen(gdi::PS_DASHDOT, width, 0x00FF00));
    dc.selectBrush(gdi::Brush::solid(0x0000FF));
    dc.polyline(trace);
    dc.polygon(trace);
    dc.rectangle(3, 4, 90, 50);
    dc.roundRect(10, 10, 80, 60, 20, 14);
    dc.moveTo(0, 0);
    dc.lineTo(99, 63);
  }
  dc.fillRect({5, 5, 40, 40}, gdi::Brush::solid(0xFFFFFF));
  dc.setPixel(7, 7, 0);
  dc.bitBlt(50, 20, 30, 30, source, 0, 0);
  dc.stretchDIBits(0, 0, 40, 30, 0, 0, dib.width(), dib.height(), dib);
}

TEST(SteadyState, RedrawingAllocatesNothing) {
  gdi::Bitmap surface(100, 64), other(40, 40, 0x123456);
  gdi::DeviceContext dc(&surface), source(&other);
  dc.selectClipRect({2, 2, 95, 60});
  dc.excludeClipRect({30, 20, 50, 30});
  const gdi::PackedDib dib = gdi::PackedDib::fromBitmap(other, 8, &gdi::Palette::halftone256());
  std::vector<gdi::Point> trace;
  for (int i = 0; i < 400; ++i) trace.push_back({i / 4 - 10, 30 + (i * 37) % 31 - 15});
  drawEverything(dc, source, dib, trace);
  zelk::testing::startCountingAllocations();
  drawEverything(dc, source, dib, trace);
  EXPECT_EQ(zelk::testing::stopCountingAllocations(), 0);
}

// A trace selects a clip rectangle around each block and removes it again; chart painters
// exclude and intersect rectangles the same way.
TEST(SteadyState, ClippingAndUnclippingAllocatesNothing) {
  gdi::Bitmap surface(100, 64);
  gdi::DeviceContext dc(&surface);
  dc.selectPen(gdi::Pen(gdi::PS_SOLID, 1, 0x00FF00));
  const gdi::Rect holes[] = {{0, 0, 10, 10}, {20, 20, 40, 30}, {60, 5, 70, 60}};
  const gdi::Region complex = gdi::Region::fromRects(holes);
  gdi::Region scratch;
  const gdi::Point trace[] = {{-10, 70}, {50, -5}, {110, 40}};
  const auto cycle = [&] {
    dc.selectClipRect({2, 2, 95, 60});
    dc.polyline(trace);
    dc.selectClipRegion(nullptr);
    dc.excludeClipRect({30, 20, 50, 30});
    dc.excludeClipRect({35, 0, 45, 64});
    dc.intersectClipRect({5, 5, 90, 60});
    dc.polyline(trace);
    dc.selectClipRegion(&complex);
    dc.polyline(trace);
    dc.selectClipRegion(nullptr);
    scratch.assign({0, 0, 50, 50});
    for (const gdi::Rect& hole : holes) scratch.subtract(hole);
    scratch.unite({45, 45, 80, 60});
    scratch.intersect({5, 5, 70, 55});
  };
  cycle();
  zelk::testing::startCountingAllocations();
  for (int block = 0; block < 10; ++block) cycle();
  EXPECT_EQ(zelk::testing::stopCountingAllocations(), 0);
}

}  // namespace
