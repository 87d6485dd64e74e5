// Turning text-space geometry into device pixels for the four right-angle text directions.
//
// Text space: u runs along the text, v runs down across it (the baseline is v = 0, ascenders
// have negative v). Quadrant q turns text space by q * 90 degrees counter-clockwise on a screen
// whose y grows downward. Positions are lattice points (pixel corners); a pixel is the unit
// square at its top-left corner, so turning a pixel square gives another pixel square.
#pragma once

#include "gdi/geometry.h"

namespace gdi::detail {

// 0..3 for escapements of about 0, 90, 180 and 270 degrees.
int quadrantOfEscapement(int escapement);

// A lattice vector (du, dv) in text space, in device space.
constexpr Point turnVector(int quadrant, int du, int dv) {
  switch (quadrant) {
    case 1:
      return {dv, -du};
    case 2:
      return {-du, -dv};
    case 3:
      return {-dv, du};
    default:
      return {du, dv};
  }
}

// The device rectangle covering the text-space rectangle [u0, u1) x [v0, v1) placed at
// `origin`.
constexpr Rect turnRect(int quadrant, Point origin, int u0, int v0, int u1, int v1) {
  const int x = origin.x;
  const int y = origin.y;
  switch (quadrant) {
    case 1:
      return {x + v0, y - u1, x + v1, y - u0};
    case 2:
      return {x - u1, y - v1, x - u0, y - v0};
    case 3:
      return {x - v1, y + u0, x - v0, y + u1};
    default:
      return {x + u0, y + v0, x + u1, y + v1};
  }
}

}  // namespace gdi::detail
