#include "bezel/bezel_painter.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "gdi/brush.h"
#include "gdi/pen.h"
#include "gdi/system_colors.h"

namespace kvplotax::bezel {
namespace {

gdi::Rect shrink(const gdi::Rect& r, int by) {
  return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

}  // namespace

void drawOutline(gdi::DeviceContext& dc, const OutlineSettings& outline, gdi::Rect& work) {
  if (!outline.on) return;
  // A colour that cannot be had leaves the line undrawn; the space stays the outline's.
  if (const std::optional<gdi::ColorRef> color = gdi::translateOleColor(outline.color)) {
    const gdi::Pen previousPen = dc.selectPen(gdi::Pen(gdi::PS_SOLID, 1, *color));
    const gdi::Brush previousBrush = dc.selectBrush(gdi::Brush::null());
    if (outline.rounded) {
      dc.roundRect(work.left, work.top, work.right, work.bottom, 2, 2);
    } else {
      dc.rectangle(work.left, work.top, work.right, work.bottom);
    }
    dc.selectBrush(previousBrush);
    dc.selectPen(previousPen);
  }
  work = shrink(work, 1);
}

void drawBevelBand(gdi::DeviceContext& dc, gdi::Rect& r, std::int32_t style, int width,
                   gdi::ColorRef light, gdi::ColorRef shadow) {
  if (style != kBevelInset && style != kBevelRaised) return;
  const gdi::ColorRef first = style == kBevelInset ? shadow : light;
  const gdi::ColorRef second = style == kBevelInset ? light : shadow;
  // A band wider than the bitmap stops where its lines leave it: the top and left lines move
  // down and right, the bottom and right ones up and left, and none comes back.
  int firstLines = width;
  int secondLines = width;
  if (const gdi::Bitmap* target = dc.bitmap()) {
    const auto bounded = [width](long long reach) {
      return static_cast<int>(std::clamp<long long>(reach, 0, width));
    };
    firstLines = bounded(
        std::max(std::int64_t{target->height()} - r.top, std::int64_t{target->width()} - r.left));
    secondLines = bounded(std::max(r.bottom, r.right));
  }
  const gdi::Pen previous = dc.selectPen(gdi::Pen(gdi::PS_SOLID, 1, first));
  for (int i = 0; i < firstLines; ++i) {
    dc.line(r.left, r.top + i, r.right, r.top + i);
    dc.line(r.left + i, r.top, r.left + i, r.bottom);
  }
  dc.selectPen(gdi::Pen(gdi::PS_SOLID, 1, second));
  for (int i = 0; i < secondLines; ++i) {
    dc.line(r.right - 1, r.bottom - i - 1, r.left + i - 1, r.bottom - i - 1);
    dc.line(r.right - i - 1, r.bottom - 1, r.right - i - 1, r.top + i - 1);
  }
  dc.selectPen(previous);
  r = shrink(r, width);
}

void drawBevels(gdi::DeviceContext& dc, const BevelSettings& bevel, gdi::Rect& r) {
  if (bevel.widthInner == 0 && bevel.widthOuter == 0) return;
  if (bevel.inner == kBevelNone && bevel.outer == kBevelNone) return;
  const gdi::ColorRef light = gdi::translateOleColor(bevel.lightColor).value_or(0);
  const gdi::ColorRef shadow = gdi::translateOleColor(bevel.shadowColor).value_or(0);
  if (bevel.outer != kBevelNone && bevel.widthOuter > 0) {
    drawBevelBand(dc, r, bevel.outer, bevel.widthOuter, light, shadow);
  }
  if (bevel.inner == kBevelNone) return;
  if (bevel.borderWidth > 0) {
    if (const std::optional<gdi::ColorRef> border = gdi::translateOleColor(bevel.borderColor)) {
      // Only the band is painted: the rectangle inside it is kept out of the clip.
      dc.selectClipRect(r);
      dc.excludeClipRect(shrink(r, bevel.borderWidth));
      dc.fillRect(r, gdi::Brush::solid(*border));
      dc.selectClipRegion(nullptr);
    }
  }
  if (bevel.widthInner > 0) {
    if (bevel.borderWidth > 0) r = shrink(r, bevel.borderWidth);
    drawBevelBand(dc, r, bevel.inner, bevel.widthInner, light, shadow);
  }
}

void drawBezel(gdi::DeviceContext& dc, const OutlineSettings& outline, const BevelSettings& bevel,
               gdi::Rect& work) {
  drawOutline(dc, outline, work);
  drawBevels(dc, bevel, work);
}

void fillBackground(gdi::DeviceContext& dc, std::uint32_t backColor, const gdi::Rect& work) {
  if (work.isEmpty()) return;
  if (const std::optional<gdi::ColorRef> color = gdi::translateOleColor(backColor)) {
    dc.fillRect(work, gdi::Brush::solid(*color));
  }
}

}  // namespace kvplotax::bezel
