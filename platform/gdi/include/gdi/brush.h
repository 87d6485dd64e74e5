// Brushes: solid or null (hollow). Values, not handles.
#pragma once

#include "gdi/geometry.h"

namespace gdi {

class Brush {
 public:
  Brush() = default;  // the stock white brush
  static Brush solid(ColorRef color) { return Brush(false, color); }
  static Brush null() { return Brush(true, 0); }

  bool isNull() const { return null_; }
  ColorRef color() const { return color_; }

  friend bool operator==(const Brush&, const Brush&) = default;

 private:
  Brush(bool isNull, ColorRef color) : null_(isNull), color_(color) {}
  bool null_ = false;
  ColorRef color_ = 0xFFFFFF;
};

}  // namespace gdi
