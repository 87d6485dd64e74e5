// The drawing pens of one pen record: the trace colour, the intense colour and the two colours
// an erased trace is drawn in (the background, or the storage colour of a viewport that keeps
// erased traces visible). All four share the record's style and width.
#pragma once

#include <array>
#include <cstdint>

#include "gdi/brush.h"
#include "gdi/pen.h"

namespace kvplotax::trace {

enum PenIndex : int { kPenNormal = 0, kPenIntense = 1, kPenBackground = 2, kPenStorage = 3 };

struct PenColors {
  std::uint32_t normal = 0;  // OLE colours: a set top bit names a system colour
  std::uint32_t intense = 0;
  std::uint32_t background = 0;
  std::uint32_t storage = 0;
};

class PenDrawing {
 public:
  PenDrawing() = default;
  // colorCount is the surface's colour depth as a count of colours (16, 256, or 0 for true
  // colour), which decides how colours are matched.
  PenDrawing(int style, int width, const PenColors& colors, int colorCount);

  // Rebuilds every pen when style or width changed, otherwise only the pens whose colour
  // changed. Returns true when any pen changed.
  bool update(int style, int width, const PenColors& colors, int colorCount);
  // The background or storage colour changed: only the two erase pens follow it.
  bool setEraseColors(std::uint32_t background, std::uint32_t storage);

  const gdi::Pen& pen(int index) const { return pens_[clampIndex(index)]; }
  gdi::Brush brush(int index) const { return gdi::Brush::solid(pen(index).color()); }
  gdi::ColorRef color(int index) const { return pen(index).color(); }
  int width() const { return width_; }
  int style() const { return style_; }

 private:
  static int clampIndex(int index) { return index < 0 || index > 3 ? 0 : index; }
  static gdi::Pen build(int style, int width, std::uint32_t oleColor, int colorCount);

  std::array<gdi::Pen, 4> pens_{};
  std::array<std::uint32_t, 4> ole_{};
  int style_ = 0;
  int width_ = 0;
  int colorCount_ = 0;
};

}  // namespace kvplotax::trace
