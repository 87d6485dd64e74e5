#include "gdi/device_context.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "gdi/packed_dib.h"
#include "raster/dash_pattern.h"
#include "raster/line_rasterizer.h"
#include "raster/polygon_filler.h"
#include "raster/round_shape.h"
#include "raster/span_filler.h"
#include "raster/wide_pen.h"

namespace gdi {

struct DeviceContext::Scratch {
  std::vector<raster::PolygonEdge> edges;
  std::vector<long long> crossings;
  raster::WideStroker wide;
};

namespace {

// Wide strokes use exact integer arithmetic that holds for coordinates and widths far past
// any surface; a segment beyond these limits is not drawn, a wider pen draws this wide.
constexpr int kWideCoordinateLimit = 1 << 20;
constexpr int kWidthLimit = 1 << 12;

// Beyond this (far past the platform's 16-bit device space) the exact line and polygon
// arithmetic could overflow 64 bits; such shapes are not drawn.
constexpr int kCoordinateLimit = 1 << 29;

bool withinLimits(Point p) {
  return p.x > -kCoordinateLimit && p.x < kCoordinateLimit && p.y > -kCoordinateLimit &&
         p.y < kCoordinateLimit;
}

int clampCoordinate(int v) { return std::clamp(v, -kCoordinateLimit, kCoordinateLimit); }

bool withinWideLimits(Point p) {
  return p.x > -kWideCoordinateLimit && p.x < kWideCoordinateLimit && p.y > -kWideCoordinateLimit &&
         p.y < kWideCoordinateLimit;
}

int regionKind(std::span<const Rect> rects) {
  return rects.empty() ? NULLREGION : (rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION);
}

}  // namespace

DeviceContext::DeviceContext(Bitmap* target) : scratch_(std::make_unique<Scratch>()) {
  selectBitmap(target);
}

DeviceContext::~DeviceContext() = default;

Bitmap* DeviceContext::selectBitmap(Bitmap* bitmap) {
  Bitmap* previous = target_;
  target_ = bitmap;
  updateDrawable();
  return previous;
}

Pen DeviceContext::selectPen(const Pen& pen) { return std::exchange(pen_, pen); }
Brush DeviceContext::selectBrush(const Brush& brush) { return std::exchange(brush_, brush); }
FontHandle DeviceContext::selectFont(std::shared_ptr<const Font> font) {
  FontHandle handle = font;
  textFont_ = std::move(font);
  return std::exchange(font_, std::move(handle));
}

FontHandle DeviceContext::selectFont(FontHandle font) {
  // The same realised font handed back untyped (as wrappers that restore a context do) stays
  // the text font.
  if (font.get() != static_cast<const void*>(textFont_.get())) textFont_.reset();
  return std::exchange(font_, std::move(font));
}

void DeviceContext::updateDrawable() const {
  drawable_.clear();
  drawnWidth_ = target_ ? target_->width() : 0;
  drawnHeight_ = target_ ? target_->height() : 0;
  if (!target_ || target_->isEmpty()) return;
  const Rect bounds = target_->bounds();
  if (!clipped_) {
    drawable_.push_back(bounds);
    return;
  }
  for (const Rect& r : clip_.rects()) {
    const Rect i = r.intersect(bounds);
    if (!i.isEmpty()) drawable_.push_back(i);
  }
}

int DeviceContext::selectClipRegion(const Region* region) {
  // Copy-assigning reuses the storage the context already holds.
  if (region && region != &clip_) clip_ = *region;
  clipped_ = region != nullptr;
  updateDrawable();
  return clipped_ ? regionKind(clip_.rects()) : SIMPLEREGION;
}

int DeviceContext::selectClipRect(const Rect& rect) {
  clip_.assign(rect);
  clipped_ = true;
  updateDrawable();
  return regionKind(clip_.rects());
}

// An unclipped context clips to its whole bitmap before the rectangle changes that.
void DeviceContext::clipToBitmapIfUnclipped() {
  if (clipped_) return;
  clip_.assign(target_ ? target_->bounds() : Rect{});
  clipped_ = true;
}

int DeviceContext::excludeClipRect(const Rect& rect) {
  clipToBitmapIfUnclipped();
  clip_.subtract(rect);
  updateDrawable();
  return regionKind(clip_.rects());
}

int DeviceContext::intersectClipRect(const Rect& rect) {
  clipToBitmapIfUnclipped();
  clip_.intersect(rect);
  updateDrawable();
  return regionKind(clip_.rects());
}

Palette DeviceContext::selectPalette(const Palette& palette) {
  return std::exchange(palette_, palette);
}

int DeviceContext::getDeviceCaps(int index) const {
  switch (index) {
    case HORZRES:
      return target_ ? target_->width() : 0;
    case VERTRES:
      return target_ ? target_->height() : 0;
    case BITSPIXEL:
      return 32;
    case PLANES:
      return 1;
    case NUMCOLORS:
      return -1;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return logPixels_;
    case SIZEPALETTE:
      return 0;
    default:
      return 0;
  }
}

int DeviceContext::setBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return std::exchange(bkMode_, mode);
}
ColorRef DeviceContext::setBkColor(ColorRef color) {
  return std::exchange(bkColor_, color & 0xFFFFFFu);
}
ColorRef DeviceContext::setTextColor(ColorRef color) {
  return std::exchange(textColor_, color & 0xFFFFFFu);
}

Point DeviceContext::moveTo(int x, int y) { return std::exchange(position_, Point{x, y}); }

void DeviceContext::lineTo(int x, int y) {
  const Point points[2] = {position_, {x, y}};
  drawPolyline(points, false, 0);
  position_ = {x, y};
}

void DeviceContext::line(int x1, int y1, int x2, int y2) {
  const Point points[2] = {{x1, y1}, {x2, y2}};
  drawPolyline(points, false, 0);
}

void DeviceContext::polyline(std::span<const Point> points) { drawPolyline(points, false, 0); }

void DeviceContext::drawPolyline(std::span<const Point> points, bool closed, int dashStart) {
  refresh();
  if (drawable_.empty() || pen_.isNull() || points.size() < 2) return;
  const std::size_t segments = closed ? points.size() : points.size() - 1;
  if (pen_.isCosmetic()) {
    raster::LineInk ink;
    ink.color = pen_.color();
    if (pen_.isDashed()) {
      ink.dash = &raster::dashPattern(pen_.style());
      ink.opaqueGaps = bkMode_ == OPAQUE;
      ink.gapColor = bkColor_;
    }
    const int period = ink.dash ? ink.dash->period : 1;
    int position = dashStart % period;
    const Rect bounds = raster::clipBounds(drawable_);
    if (!ink.dash) {
      drawSolidPolyline(points, segments, bounds, ink);
      return;
    }
    for (std::size_t i = 0; i < segments; ++i) {
      const Point a = points[i];
      const Point b = points[i + 1 == points.size() ? 0 : i + 1];
      // Long traces lie mostly outside the clip: skip those segments before any set-up.
      if ((a.x < bounds.left && b.x < bounds.left) ||
          (a.x >= bounds.right && b.x >= bounds.right) || (a.y < bounds.top && b.y < bounds.top) ||
          (a.y >= bounds.bottom && b.y >= bounds.bottom)) {
        if (ink.dash) {
          const long long length = std::max(std::llabs(static_cast<long long>(b.x) - a.x),
                                            std::llabs(static_cast<long long>(b.y) - a.y));
          position = static_cast<int>((position + length % period) % period);
        }
        continue;
      }
      if (!withinLimits(a) || !withinLimits(b)) continue;
      const int length = raster::drawCosmeticLine(*target_, drawable_, a, b, ink, position);
      position = (position + length % period) % period;
    }
    return;
  }
  if (!std::all_of(points.begin(), points.end(), withinWideLimits)) return;
  scratch_->wide.stroke(*target_, drawable_, points, closed, std::min(pen_.width(), kWidthLimit),
                        pen_.color());
}

// A solid one-pixel path through many points mostly steps up and down within one column (or
// along one row), as a densely sampled trace does. Consecutive segments along one column are
// continuous, so the pixels they draw form one run: from the lowest to the highest pixel any
// of them draws (each includes its start and excludes its end). Such a run is filled once
// instead of segment by segment; every other segment is drawn as a line. The colour is the
// same everywhere, so the order of drawing changes nothing.
void DeviceContext::drawSolidPolyline(std::span<const Point> points, std::size_t segments,
                                      const Rect& bounds, const raster::LineInk& ink) {
  enum class Run { kNone, kColumn, kRow };
  Run run = Run::kNone;
  int fixed = 0;  // the run's column or row
  int low = 0, high = -1;
  auto flush = [&] {
    if (run == Run::kColumn && low <= high && fixed >= bounds.left && fixed < bounds.right)
      raster::fillColumn(*target_, drawable_, fixed, low, high + 1, ink.color);
    if (run == Run::kRow && low <= high && fixed >= bounds.top && fixed < bounds.bottom)
      raster::fillSpan(*target_, drawable_, fixed, low, high + 1, ink.color);
    run = Run::kNone;
  };
  auto extend = [&](Run kind, int at, int from, int to) {
    if (run != kind) {
      flush();
      run = kind;
      fixed = at;
      low = std::numeric_limits<int>::max();
      high = std::numeric_limits<int>::min();
    }
    // The pixels from `from` toward `to`, `to` itself excluded.
    low = std::min(low, std::min(from, to + 1));
    high = std::max(high, std::max(from, to - 1));
  };
  Point a = points[0];
  bool aInside = withinLimits(a);
  for (std::size_t i = 0; i < segments; ++i) {
    const Point b = points[i + 1 == points.size() ? 0 : i + 1];
    const bool bInside = withinLimits(b);
    if (!aInside || !bInside) {
      flush();
    } else if (a.x == b.x) {
      if (a.y != b.y) extend(Run::kColumn, a.x, a.y, b.y);  // no pixels, but a run goes on
    } else if (a.y == b.y) {
      extend(Run::kRow, a.y, a.x, b.x);
    } else {
      flush();
      // Long traces lie mostly outside the clip: skip those segments before any set-up.
      if (!((a.x < bounds.left && b.x < bounds.left) ||
            (a.x >= bounds.right && b.x >= bounds.right) ||
            (a.y < bounds.top && b.y < bounds.top) ||
            (a.y >= bounds.bottom && b.y >= bounds.bottom)))
        raster::drawCosmeticLine(*target_, drawable_, a, b, ink, 0);
    }
    a = b;
    aInside = bInside;
  }
  flush();
}

void DeviceContext::polygon(std::span<const Point> points) {
  refresh();
  if (drawable_.empty() || points.size() < 2) return;
  if (!std::all_of(points.begin(), points.end(), withinLimits)) return;
  if (!brush_.isNull())
    raster::fillPolygon(*target_, drawable_, points, brush_.color(), scratch_->edges,
                        scratch_->crossings);
  drawPolyline(points, true, 0);
}

void DeviceContext::rectangle(int left, int top, int right, int bottom) {
  refresh();
  // Far outside any surface a clamped edge draws the same pixels and keeps the arithmetic safe.
  left = clampCoordinate(left);
  top = clampCoordinate(top);
  right = clampCoordinate(right);
  bottom = clampCoordinate(bottom);
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (drawable_.empty()) return;
  if (pen_.isNull() || pen_.isCosmetic()) {
    // The interior is the polygon interior of the border path, which the pen then covers.
    if (!brush_.isNull()) {
      const Rect b = raster::clipBounds(drawable_);
      for (int y = std::max(top, b.top); y < std::min(bottom - 1, b.bottom); ++y)
        raster::fillSpan(*target_, drawable_, y, left, right - 1, brush_.color());
    }
    if (pen_.isNull() || right - left < 1 || bottom - top < 1) return;
    if (right - left == 1 && bottom - top == 1) {
      setPixel(left, top, pen_.color());  // the path has no length but the border is a pixel
      return;
    }
    const Point path[4] = {
        {left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}};
    drawPolyline(path, true, 0);
    return;
  }
  // A wide pen strokes the closed path through the corner pixels over the brushed box.
  if (right == left || bottom == top) return;
  if (!brush_.isNull()) {
    const Rect inside = raster::clipBounds(drawable_).intersect({left, top, right, bottom});
    for (int y = inside.top; y < inside.bottom; ++y)
      raster::fillSpan(*target_, drawable_, y, inside.left, inside.right, brush_.color());
  }
  const Point path[4] = {
      {right - 1, bottom - 1}, {left, bottom - 1}, {left, top}, {right - 1, top}};
  drawPolyline(path, true, 0);
}

void DeviceContext::roundRect(int left, int top, int right, int bottom, int width, int height) {
  refresh();
  left = clampCoordinate(left);
  top = clampCoordinate(top);
  right = clampCoordinate(right);
  bottom = clampCoordinate(bottom);
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (width <= 2 && height <= 2) {
    rectangle(left, top, right, bottom);
    return;
  }
  if (drawable_.empty()) return;
  if (pen_.isNull()) {
    if (brush_.isNull()) return;
    const raster::RoundShape shape(left, top, right - 2, bottom - 2, width, height);
    const Rect b = raster::clipBounds(drawable_);
    for (int y = std::max(shape.top(), b.top); y <= std::min(shape.bottom(), b.bottom - 1); ++y)
      if (auto run = shape.row(y))
        raster::fillSpan(*target_, drawable_, y, run->left, run->right + 1, brush_.color());
    return;
  }
  strokeRoundShape(left, top, right, bottom, width, height);
}

// The border band of a pen of width w is centred on the outline: the shape grows by (w-1)/2
// pixels to the left and top and w/2 to the right and bottom, and the band is w pixels thick.
void DeviceContext::strokeRoundShape(int left, int top, int right, int bottom, int ew, int eh) {
  const int w = std::clamp(pen_.width(), 1, kWidthLimit);
  const int grow = (w - 1) / 2;
  const int growFar = w / 2;
  const raster::RoundShape shape(left - grow, top - grow, right - 1 + growFar, bottom - 1 + growFar,
                                 ew + w - 1, eh + w - 1);
  if (shape.isEmpty()) return;
  const Rect b = raster::clipBounds(drawable_);
  raster::RowRun runs[2];
  std::optional<raster::RowRun> inner;
  for (int y = std::max(shape.top(), b.top); y <= std::min(shape.bottom(), b.bottom - 1); ++y) {
    const int n = raster::bandRow(shape, w, y, runs, inner);
    for (int i = 0; i < n; ++i)
      raster::fillSpan(*target_, drawable_, y, runs[i].left, runs[i].right + 1, pen_.color());
    if (inner && !brush_.isNull())
      raster::fillSpan(*target_, drawable_, y, inner->left, inner->right + 1, brush_.color());
  }
}

void DeviceContext::fillRect(const Rect& rect, const Brush& brush) {
  refresh();
  if (brush.isNull()) return;
  const Rect b = raster::clipBounds(drawable_).intersect(rect);
  for (int y = b.top; y < b.bottom; ++y)
    raster::fillSpan(*target_, drawable_, y, b.left, b.right, brush.color());
}

void DeviceContext::fillSpan(int y, int x0, int x1, ColorRef color) {
  refresh();
  if (target_) raster::fillSpan(*target_, drawable_, y, x0, x1, color & 0xFFFFFFu);
}

ColorRef DeviceContext::setPixel(int x, int y, ColorRef color) {
  refresh();
  for (const Rect& r : drawable_) {
    if (r.contains({x, y})) {
      target_->row(y)[x] = color & 0xFFFFFFu;
      return color & 0xFFFFFFu;
    }
  }
  return kInvalidColor;
}

void DeviceContext::setPixels(std::span<const Point> points, ColorRef color) {
  refresh();
  color &= 0xFFFFFFu;
  const Rect bounds = raster::clipBounds(drawable_);
  for (const Point p : points) {
    if (!bounds.contains(p)) continue;
    for (const Rect& r : drawable_) {
      if (r.contains(p)) {
        target_->row(p.y)[p.x] = color;
        break;
      }
    }
  }
}

ColorRef DeviceContext::getPixel(int x, int y) const {
  refresh();
  for (const Rect& r : drawable_)
    if (r.contains({x, y})) return target_->row(y)[x];
  return kInvalidColor;
}

bool DeviceContext::bitBlt(int x, int y, int width, int height, const DeviceContext& source,
                           int srcX, int srcY) {
  if (!target_ || !source.target_ || width < 0 || height < 0) return false;
  refresh();
  const Bitmap& src = *source.target_;
  // Destination pixels whose source exists.
  const Rect fromSource = src.bounds().intersect({srcX, srcY, srcX + width, srcY + height});
  const Rect wanted = fromSource.offset(x - srcX, y - srcY);
  const bool sameBitmap = source.target_ == target_;
  for (const Rect& r : drawable_) {
    const Rect d = r.intersect(wanted);
    if (d.isEmpty()) continue;
    const int rows = d.height();
    // Copying within one bitmap downwards must start at the bottom row.
    const bool upward = sameBitmap && y > srcY;
    for (int i = 0; i < rows; ++i) {
      const int row = upward ? d.bottom - 1 - i : d.top + i;
      std::memmove(target_->row(row) + d.left, src.row(row - y + srcY) + (d.left - x + srcX),
                   static_cast<std::size_t>(d.width()) * sizeof(std::uint32_t));
    }
  }
  return true;
}

int DeviceContext::stretchDIBits(int x, int y, int width, int height, int srcX, int srcY,
                                 int srcWidth, int srcHeight, const PackedDib& dib) {
  if (!target_ || width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0 || dib.width() <= 0)
    return 0;
  refresh();
  // The source rectangle counts rows from the DIB's bottom; pixel() counts from its top.
  const long long srcTop = static_cast<long long>(dib.height()) - srcY - srcHeight;
  const Rect dest{x, y, x + width, y + height};
  for (const Rect& r : drawable_) {
    const Rect d = r.intersect(dest);
    for (int py = d.top; py < d.bottom; ++py) {
      const long long sy = srcTop + (static_cast<long long>(py - y) * srcHeight) / height;
      if (sy < 0 || sy >= dib.height()) continue;
      std::uint32_t* out = target_->row(py);
      for (int px = d.left; px < d.right; ++px) {
        const long long sx = srcX + (static_cast<long long>(px - x) * srcWidth) / width;
        if (sx < 0 || sx >= dib.width()) continue;
        out[px] = dib.pixel(static_cast<int>(sx), static_cast<int>(sy));
      }
    }
  }
  return height;
}

}  // namespace gdi
