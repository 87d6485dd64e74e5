// Moving the x or y members of a run of device points, as a display-offset change or a scroll
// does, without converting the data again.
#pragma once

#include <cstdint>
#include <span>

#include "gdi/geometry.h"

namespace kvplotax {

enum class Axis : int { X = 0, Y = 1 };

constexpr int gdi::Point::*coordinateOf(Axis axis) {
  return axis == Axis::X ? &gdi::Point::x : &gdi::Point::y;
}

struct Extremes {
  std::int32_t minimum = 0;
  std::int32_t maximum = 0;
};

// Smallest and largest coordinate of the run; {0, 0} for an empty run.
Extremes extremesOf(std::span<const gdi::Point> points, Axis axis);

// Adds delta to every coordinate of the run with saturation and returns the new extremes.
Extremes shiftCoordinates(std::span<gdi::Point> points, Axis axis, std::int32_t delta);

}  // namespace kvplotax
