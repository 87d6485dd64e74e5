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

// Fills rows [y0, y1) of column x wherever the drawable rectangles allow.
inline void fillColumn(Bitmap& bitmap, std::span<const Rect> clip, int x, int y0, int y1,
                       ColorRef color) {
  for (const Rect& r : clip) {
    if (x < r.left || x >= r.right) continue;
    const int a = std::max(y0, r.top);
    const int b = std::min(y1, r.bottom);
    if (a >= b) continue;
    std::uint32_t* p = bitmap.row(a) + x;
    for (int y = a; y < b; ++y, p += bitmap.width()) *p = color;
  }
}

// The smallest rectangle holding every drawable rectangle.
inline Rect clipBounds(std::span<const Rect> clip) {
  Rect b{};
  for (const Rect& r : clip) b = b.unite(r);
  return b;
}

}  // namespace gdi::raster
