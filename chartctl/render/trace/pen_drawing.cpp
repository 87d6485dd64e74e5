#include "trace/pen_drawing.h"

#include "gdi/system_colors.h"

namespace kvplotax::trace {

PenDrawing::PenDrawing(int style, int width, const PenColors& colors, int colorCount) {
  style_ = style;
  width_ = width;
  colorCount_ = colorCount;
  ole_ = {colors.normal, colors.intense, colors.background, colors.storage};
  for (int i = 0; i < 4; ++i) pens_[i] = build(style, width, ole_[i], colorCount);
}

bool PenDrawing::update(int style, int width, const PenColors& colors, int colorCount) {
  const std::array<std::uint32_t, 4> ole{colors.normal, colors.intense, colors.background,
                                         colors.storage};
  const bool all = style != style_ || width != width_ || colorCount != colorCount_;
  bool changed = false;
  for (int i = 0; i < 4; ++i) {
    if (!all && ole[i] == ole_[i]) continue;
    pens_[i] = build(style, width, ole[i], colorCount);
    changed = true;
  }
  style_ = style;
  width_ = width;
  colorCount_ = colorCount;
  ole_ = ole;
  return changed;
}

bool PenDrawing::setEraseColors(std::uint32_t background, std::uint32_t storage) {
  return update(style_, width_, {ole_[kPenNormal], ole_[kPenIntense], background, storage},
                colorCount_);
}

gdi::Pen PenDrawing::build(int style, int width, std::uint32_t oleColor, int colorCount) {
  // A system colour index that names no colour draws black rather than garbage.
  const gdi::ColorRef color = gdi::translateOleColor(oleColor).value_or(0);
  return gdi::Pen::forColorDepth(style, width, color, colorCount);
}

}  // namespace kvplotax::trace
