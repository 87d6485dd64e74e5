// One-pixel lines: the platform's Bresenham with its octant bias, end pixel excluded, clipped
// by computing where the unclipped line enters and leaves each rectangle, so no pixel moves.
#pragma once

#include <span>

#include "gdi/bitmap.h"
#include "raster/dash_pattern.h"

namespace gdi::raster {

struct LineInk {
  ColorRef color = 0;
  const DashPattern* dash = nullptr;  // null: solid
  bool opaqueGaps = false;            // gaps take gapColor instead of staying untouched
  ColorRef gapColor = 0;
};

// Draws from a to b (b excluded). dashPosition is the pattern position of a's pixel. Returns
// the number of pixels the unclipped line has (to carry the pattern on to the next segment).
int drawCosmeticLine(Bitmap& bitmap, std::span<const Rect> clip, Point a, Point b,
                     const LineInk& ink, int dashPosition);

}  // namespace gdi::raster
