#include "render/coordinate_shift.h"

#include <algorithm>

#include "render/pixel_saturation.h"

namespace kvplotax {

Extremes extremesOf(std::span<const gdi::Point> points, Axis axis) {
  if (points.empty()) return {};
  const auto member = coordinateOf(axis);
  Extremes e{points.front().*member, points.front().*member};
  for (const gdi::Point& p : points) {
    e.minimum = std::min(e.minimum, p.*member);
    e.maximum = std::max(e.maximum, p.*member);
  }
  return e;
}

Extremes shiftCoordinates(std::span<gdi::Point> points, Axis axis, std::int32_t delta) {
  const auto member = coordinateOf(axis);
  for (gdi::Point& p : points) p.*member = addSaturated(p.*member, delta);
  return extremesOf(points, axis);
}

}  // namespace kvplotax
