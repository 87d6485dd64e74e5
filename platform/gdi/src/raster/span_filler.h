// Horizontal runs of one colour, cut to the drawable rectangles.
#pragma once

#include <algorithm>
#include <span>

#include "gdi/bitmap.h"

namespace gdi::raster {

// Fills [x0, x1) of row y wherever the drawable rectangles (already inside the bitmap) allow.
inline void fillSpan(Bitmap& bitmap, std::span<const Rect> clip, int y, int x0, int x1,
                     ColorRef color) {
  if (x0 >= x1) return;
  for (const Rect& r : clip) {
    if (y < r.top || y >= r.bottom) continue;
    const int a = std::max(x0, r.left);
    const int b = std::min(x1, r.right);
    if (a < b) std::fill(bitmap.row(y) + a, bitmap.row(y) + b, color);
  }
}

// The smallest rectangle holding every drawable rectangle.
inline Rect clipBounds(std::span<const Rect> clip) {
  Rect b{};
  for (const Rect& r : clip) b = b.unite(r);
  return b;
}

}  // namespace gdi::raster
