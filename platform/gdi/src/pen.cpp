#include "gdi/pen.h"

#include <algorithm>

#include "gdi/palette.h"

namespace gdi {

Pen::Pen(int style, int width, ColorRef color)
    : style_(style >= PS_SOLID && style <= PS_NULL ? static_cast<PenStyle>(style) : PS_SOLID),
      width_(std::max(width, 0)),
      color_(color & 0xFFFFFFu) {}

Pen Pen::forColorDepth(int style, int width, ColorRef color, int colorCount) {
  if (colorCount == 16) color = Palette::vga16().nearestColor(color);
  if (colorCount == 256) color = Palette::halftone256().nearestColor(color);
  return Pen(style, width, color);
}

}  // namespace gdi
