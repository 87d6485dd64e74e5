// Once a device context has drawn a kind of primitive, drawing it again allocates nothing: the
// chart redraws its traces on every data block.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "gdi/device_context.h"
#include "gdi/packed_dib.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};
}  // namespace

// The replacements pair malloc with free; the compiler cannot see that through inlining.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

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
  counting = true;
  drawEverything(dc, source, dib, trace);
  counting = false;
  EXPECT_EQ(allocations.load(), 0);
}

}  // namespace
