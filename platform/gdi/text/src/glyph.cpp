#include "glyph.h"

#include <cstddef>

#include "quadrant.h"

namespace gdi::detail {

Glyph turnGlyph(int quadrant, int advance, const UprightBitmap& bitmap) {
  Glyph glyph;
  glyph.advance = advance;
  if (bitmap.width <= 0 || bitmap.rows <= 0) return glyph;
  const int u0 = bitmap.left;
  const int v0 = -bitmap.top;
  glyph.box = turnRect(quadrant, {0, 0}, u0, v0, u0 + bitmap.width, v0 + bitmap.rows);
  const int boxWidth = glyph.box.width();
  glyph.mask.assign(static_cast<std::size_t>(boxWidth) * glyph.box.height(), 0);
  for (int j = 0; j < bitmap.rows; ++j) {
    for (int i = 0; i < bitmap.width; ++i) {
      const std::uint8_t ink = bitmap.ink[static_cast<std::size_t>(j) * bitmap.width + i];
      if (!ink) continue;
      // The turned pixel is the unit square the text-space pixel square turns into.
      const Rect cell = turnRect(quadrant, {0, 0}, u0 + i, v0 + j, u0 + i + 1, v0 + j + 1);
      const int x = cell.left - glyph.box.left;
      const int y = cell.top - glyph.box.top;
      glyph.mask[static_cast<std::size_t>(y) * boxWidth + x] = 1;
    }
  }
  return glyph;
}

}  // namespace gdi::detail
