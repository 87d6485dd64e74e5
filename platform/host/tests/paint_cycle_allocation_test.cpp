// A window that is invalidated and painted for every data block paints without allocating once
// it has painted such a region before, and each paint is clipped to what was invalid.
#include <gtest/gtest.h>

#include "allocation_counter.h"
#include "host/internal/paint_cycle.h"

namespace host {
namespace {

TEST(PaintCycles, WarmPaintsAllocateNothingAndClipToTheInvalidArea) {
  PaintCycle window(120, 80, 0x000000);
  int paints = 0;
  gdi::Rect lastInvalid;
  // Captures fit the function's own storage, as a control's paint entry does.
  const PaintCycle::PaintEntry entry = [&paints, &lastInvalid](gdi::DeviceContext& dc,
                                                               const gdi::Rect& bounds,
                                                               const gdi::Rect& invalid) {
    ++paints;
    lastInvalid = invalid;
    dc.fillRect(bounds, gdi::Brush::solid(0x00FF00 + static_cast<gdi::ColorRef>(paints % 2)));
  };
  const auto block = [&](int k) {
    window.invalidate({10 + k % 7, 5, 60, 40});
    window.invalidate({50, 30 + k % 5, 110, 70});
    window.invalidate({-20, -20, 5, 5});
    window.paint(entry);
    window.paint(entry);  // a posted paint with nothing invalid
  };
  for (int k = 0; k < 8; ++k) block(k);

  zelk::testing::startCountingAllocations();
  for (int k = 0; k < 40; ++k) block(k);
  EXPECT_EQ(zelk::testing::stopCountingAllocations(), 0);

  // The last posted paint covered the whole window; the one before only the invalid parts.
  EXPECT_EQ(lastInvalid, gdi::Rect{});
  window.invalidate({10, 5, 60, 40});
  window.invalidate({50, 30, 110, 70});
  window.paint(entry);
  EXPECT_EQ(lastInvalid, (gdi::Rect{10, 5, 110, 70}));
  const gdi::ColorRef painted = window.screen().pixel(10, 5);
  EXPECT_NE(painted, window.screen().pixel(9, 5));
  EXPECT_EQ(window.screen().pixel(109, 69), painted);
  EXPECT_NE(window.screen().pixel(109, 29), painted);  // between the two rectangles
  EXPECT_NE(window.screen().pixel(110, 69), painted);
  EXPECT_FALSE(window.needsPaint());
}

}  // namespace
}  // namespace host
