// One rendered character, already turned to the direction its font's text runs in.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gdi/geometry.h"

namespace gdi::detail {

struct Glyph {
  int advance = 0;  // pixels along the text to the next character
  Rect box;         // where `mask` lies, relative to the pen position, in device pixels
  std::vector<std::uint8_t> mask;  // box.width() x box.height(), row by row; non-zero = ink
};

// An upright two-level bitmap as the rasteriser delivers it.
struct UprightBitmap {
  int left = 0;  // first column, relative to the pen position
  int top = 0;   // rows above the baseline
  int width = 0;
  int rows = 0;
  std::span<const std::uint8_t> ink;  // width x rows, row by row, top row first
};

// Turns the bitmap by `quadrant` right angles counter-clockwise about the pen position.
Glyph turnGlyph(int quadrant, int advance, const UprightBitmap& bitmap);

}  // namespace gdi::detail
