#include "render/axis_mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "render/coordinate_shift.h"
#include "render/pixel_saturation.h"
#include "render/single_precision.h"

namespace kvplotax {
namespace {

TEST(AxisMapping, VerticalWindowRunsFromViewportBottomToTop) {
  const AxisMapping y(0.0f, 10.0f, 300, 100, 0.0f);
  EXPECT_EQ(y.scale(), -20.0f);
  EXPECT_EQ(y.inverseScale(), 0.05f);
  EXPECT_EQ(y.base(), 300.0f);
  EXPECT_EQ(y.pixel(10.0), 100);
  EXPECT_EQ(y.pixel(0.0), 300);
  EXPECT_EQ(y.pixel(5.0), 200);
  // 0.01 world units is 0.2 pixels up from 300: truncation toward zero keeps 299.8 at 299.
  EXPECT_EQ(y.pixel(0.01), 299);
}

TEST(AxisMapping, HorizontalWindowWithOffsetOrigin) {
  const AxisMapping x(-5.0f, 5.0f, 25, 475, 0.0f);
  EXPECT_EQ(x.scale(), 45.0f);
  EXPECT_EQ(x.base(), 250.0f);
  EXPECT_EQ(x.pixel(-5.0), 25);
  EXPECT_EQ(x.pixel(5.0), 475);
  // -5.56 * 45 + 250 = -0.2: truncated toward zero, not floored.
  EXPECT_EQ(x.pixel(-5.56), 0);
}

TEST(AxisMapping, SaturatesBeforeAndAfterTheDisplayOffset) {
  const AxisMapping plain(0.0f, 1.0f, 0, 1000, 0.0f);
  EXPECT_EQ(plain.pixel(40.0), 32767);
  EXPECT_EQ(plain.pixel(-40.0), -32768);
  EXPECT_EQ(plain.pixel(std::numeric_limits<double>::infinity()), 32767);
  EXPECT_EQ(plain.pixel(-std::numeric_limits<double>::infinity()), -32768);
  EXPECT_EQ(plain.pixel(std::nan("")), -32768);

  // Offset of 2 world units = 2000 pixels, added after the first saturation.
  const AxisMapping shifted(0.0f, 1.0f, 0, 1000, 2.0f);
  EXPECT_EQ(shifted.displayOffset(), 2000);
  EXPECT_EQ(shifted.pixel(40.0), 32767);
  EXPECT_EQ(shifted.pixel(-40.0), -32768 + 2000);
  EXPECT_EQ(shifted.pixel(32.0), 32767);

  const AxisMapping huge(0.0f, 1.0f, 0, 1000, -1.0e9f);
  EXPECT_EQ(huge.displayOffset(), -32768);
  EXPECT_EQ(huge.pixel(0.5), -32768 + 500);
  EXPECT_EQ(huge.pixel(-0.5), -32768);
}

TEST(AxisMapping, WindowWithoutExtentCollapsesInsteadOfFailing) {
  const AxisMapping flat(3.0f, 3.0f, 100, 400, 0.0f);
  EXPECT_TRUE(std::isinf(flat.scale()));
  for (double v : {-1.0, 3.0, 4.0}) {
    const std::int32_t p = flat.pixel(v);
    EXPECT_TRUE(p == kPixelMin || p == kPixelMax) << v;
  }
  EXPECT_EQ(flat.displayOffset(), 0);
  const AxisMapping point(0.0f, 1.0f, 50, 50, 0.0f);
  EXPECT_EQ(point.scale(), 0.0f);
  EXPECT_EQ(point.inverseScale(), 0.0f);
  EXPECT_EQ(point.pixel(123.0), 50);
}

TEST(AxisMapping, DisplayOffsetChangeReportsThePixelDifference) {
  AxisMapping y(0.0f, 10.0f, 300, 100, 1.0f);
  EXPECT_EQ(y.displayOffset(), -20);
  EXPECT_EQ(y.setDisplayOffset(2.5f), -30);
  EXPECT_EQ(y.displayOffset(), -50);
  EXPECT_EQ(y.setDisplayOffset(2.51f), 0);  // 0.2 pixel: no visible move
  EXPECT_EQ(y.displayOffsetWorld(), 2.51f);
}

TEST(CoordinateShift, AddsWithSaturationAndReportsExtremes) {
  std::vector<gdi::Point> points{{1, 10}, {2, 32760}, {3, -32760}, {4, 0}};
  Extremes e = shiftCoordinates(points, Axis::Y, 20);
  EXPECT_EQ(points[0].y, 30);
  EXPECT_EQ(points[1].y, 32767);
  EXPECT_EQ(points[2].y, -32740);
  EXPECT_EQ(points[0].x, 1);  // the other member is left alone
  EXPECT_EQ(e.minimum, -32740);
  EXPECT_EQ(e.maximum, 32767);
  e = shiftCoordinates(std::span(points).subspan(2, 1), Axis::X, -40000);
  EXPECT_EQ(points[2].x, -32768);
  EXPECT_EQ(e.minimum, -32768);
  EXPECT_EQ(e.maximum, -32768);
  EXPECT_EQ(points[3].x, 4);
  e = shiftCoordinates({}, Axis::X, 5);
  EXPECT_EQ(e.minimum, 0);
}

TEST(SinglePrecision, EqualWithinOneUnitOfTheLargerMantissa) {
  EXPECT_TRUE(sameInSinglePrecision(1.0f, 1.0f));
  EXPECT_TRUE(sameInSinglePrecision(1.0f, std::nextafter(1.0f, 2.0f)));
  EXPECT_TRUE(sameInSinglePrecision(0.0f, -0.0f));
  EXPECT_FALSE(sameInSinglePrecision(1.0f, 1.0001f));
  EXPECT_FALSE(sameInSinglePrecision(0.0f, 1.0f));
  EXPECT_FALSE(sameInSinglePrecision(1.0f, std::nanf("")));
  EXPECT_TRUE(sameInSinglePrecision(1.0e20f, std::nextafter(1.0e20f, 0.0f)));
}

}  // namespace
}  // namespace kvplotax
