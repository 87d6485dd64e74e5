#include "scale/scale_item.h"

#include "gdi/device_context.h"
#include "output/draw_surface.h"

namespace kvplotax::scale {

void ScaleItem::layout(const ScaleStyle& style, const ScaleFrame& frame, const ScaleFonts& fonts) {
  caption_ = style.caption;
  fonts_ = fonts;
  layoutScale(dimension_, style, frame, fonts_, layout_);
}

bool ScaleItem::paint(output::DrawSurface& surface, const gdi::Rect& clip, bool erasing) {
  if (!surface || !visible_) return false;
  gdi::Bitmap* bitmap = surface.dc().bitmap();
  if (bitmap == nullptr) return false;
  const gdi::Rect area = clip.intersect(bitmap->bounds());
  if (area.isEmpty() || area.intersect(layout_.bounds).isEmpty()) return false;
  const gdi::PixelBufferView buffer{bitmap->pixels().data(), bitmap->width(), bitmap->width(),
                                    bitmap->height()};
  const std::span<const gdi::Rect> clipRects(&area, 1);
  const gdi::ColorRef eraser = storage_ ? colors_.storage : colors_.back;
  const gdi::ColorRef numberColor =
      erasing ? eraser : (intense_ ? colors_.numberIntense : colors_.number);
  const gdi::ColorRef labelColor =
      erasing ? eraser : (intense_ ? colors_.labelIntense : colors_.label);
  bool drawn = false;
  for (std::size_t i = 0; i < layout_.numbers.size(); ++i) {
    const PlacedText& p = layout_.numbers[i];
    if (!p.shown || area.intersect(p.rect).isEmpty()) continue;
    drawPlacedText(buffer, clipRects, p.form, layout_.texts[i].view(), p.anchor, numberColor);
    drawn = true;
  }
  if (layout_.labelShown && !area.intersect(layout_.label.rect).isEmpty()) {
    drawPlacedText(buffer, clipRects, layout_.label.form, caption_, layout_.label.anchor,
                   labelColor);
    drawn = true;
  }
  return drawn;
}

bool ScaleItem::draw(output::DrawSurface& surface, int, int, const gdi::Rect& clip) {
  return paint(surface, clip, false);
}

bool ScaleItem::redraw(output::DrawSurface& surface, const gdi::Rect& clip) {
  return paint(surface, clip, false);
}

void ScaleItem::erase(output::DrawSurface& surface, const gdi::Rect& clip) {
  paint(surface, clip, true);
}

bool ScaleItem::relayout(const gdi::Rect&, const gdi::Rect&, gdi::Rect&) {
  // A scale is laid out again by its control, which knows the fonts and the window's range.
  return false;
}

bool ScaleItem::hitTest(gdi::Point point, output::HitInfo& hit) const {
  if (!layout_.bounds.contains(point)) return false;
  hit.obj = number_;
  hit.position = static_cast<std::int16_t>(dimension_);
  if (layout_.labelShown && layout_.label.rect.contains(point)) {
    hit.objType = kHitLabel;
    return true;
  }
  for (const PlacedText& p : layout_.numbers) {
    if (p.shown && p.rect.contains(point)) {
      hit.objType = kHitScale;
      return true;
    }
  }
  return false;
}

}  // namespace kvplotax::scale
