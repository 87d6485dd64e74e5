// Pens: a style, a width in device pixels and a colour. Values, not handles: selecting a pen
// into a device context copies it.
#pragma once

#include <cstdint>

#include "gdi/geometry.h"

namespace gdi {

enum PenStyle : int {
  PS_SOLID = 0,
  PS_DASH = 1,
  PS_DOT = 2,
  PS_DASHDOT = 3,
  PS_DASHDOTDOT = 4,
  PS_NULL = 5,
};

class Pen {
 public:
  Pen() = default;  // the stock black pen: solid, one pixel
  // Styles outside 0..5 are taken as solid; negative widths as 0.
  Pen(int style, int width, ColorRef color);

  // A pen for a surface of colourCount colours: 16 maps the colour to the nearest entry of the
  // VGA palette, 256 to the nearest of the halftone palette; any other count keeps the colour.
  static Pen forColorDepth(int style, int width, ColorRef color, int colorCount);
  static Pen null() { return Pen(PS_NULL, 0, 0); }

  PenStyle style() const { return style_; }
  int width() const { return width_; }
  ColorRef color() const { return color_; }
  bool isNull() const { return style_ == PS_NULL; }
  // Widths 0 and 1 draw one-pixel lines with the style's dash pattern.
  bool isCosmetic() const { return width_ <= 1; }
  // Wider pens draw solid whatever their style (dash patterns exist for one-pixel pens only).
  bool isDashed() const { return isCosmetic() && style_ >= PS_DASH && style_ <= PS_DASHDOTDOT; }

  friend bool operator==(const Pen&, const Pen&) = default;

 private:
  PenStyle style_ = PS_SOLID;
  int width_ = 1;
  ColorRef color_ = 0;
};

}  // namespace gdi
