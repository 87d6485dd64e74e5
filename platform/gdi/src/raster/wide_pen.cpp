#include "raster/wide_pen.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "raster/span_filler.h"

namespace gdi::raster {
namespace {

int roundHalfUp(double v) { return static_cast<int>(std::floor(v + 0.5)); }

}  // namespace

void roundTip(int width, std::vector<TipRow>& rows) {
  const int left = -(width / 2);
  const int right = (width + 1) / 2;  // exclusive
  rows.assign(static_cast<std::size_t>(width), TipRow{left, right});
  if (width < 2) return;
  // Integer midpoint ellipse over a width x width box: x steps outwards from the middle row
  // and each step down narrows the rows below; the upper half mirrors the lower.
  using i64 = std::int64_t;
  const i64 a = width - 1;
  const i64 b = width - 1;
  const i64 asq = 8 * a * a;
  const i64 bsq = 8 * b * b;
  i64 dx = 4 * b * b * (1 - a);
  i64 dy = 4 * a * a * (1 + (b % 2));
  i64 err = dx + dy + a * a * (b % 2);
  int x = 0;
  int y = width / 2;
  while (x <= width / 2) {
    const i64 e2 = 2 * err;
    if (e2 >= dx) {
      ++x;
      err += dx += bsq;
    }
    if (e2 <= dy) {
      ++y;
      err += dy += asq;
      if (y < width) rows[static_cast<std::size_t>(y)] = {left + x, right - x};
    }
  }
  for (int i = 0; i < width / 2; ++i)
    rows[static_cast<std::size_t>(i)] = rows[static_cast<std::size_t>(b - i)];
}

void segmentQuad(Point a, Point b, int width, Point quad[4]) {
  const int dx = b.x - a.x;
  const int dy = b.y - a.y;
  const double len = std::hypot(dx, dy);
  const double wx = width * std::abs(dy) / len;
  const double wy = width * std::abs(dx) / len;
  Point narrow{roundHalfUp(wx / 2), roundHalfUp(wy / 2)};
  Point wide{roundHalfUp((wx + 1) / 2), roundHalfUp((wy + 1) / 2)};
  if (dx < 0) {
    wide.y = -wide.y;
    narrow.y = -narrow.y;
  }
  if (dy < 0) {
    std::swap(narrow, wide);
    wide.x = -wide.x;
    narrow.x = -narrow.x;
  }
  quad[0] = {a.x - narrow.x, a.y + narrow.y};
  quad[1] = {a.x + wide.x, a.y - wide.y};
  quad[2] = {b.x + wide.x, b.y - wide.y};
  quad[3] = {b.x - narrow.x, b.y + narrow.y};
}

void WideStroker::stroke(Bitmap& bitmap, std::span<const Rect> clip, std::span<const Point> points,
                         bool closed, int width, ColorRef color) {
  if (points.empty() || clip.empty()) return;
  bitmap_ = &bitmap;
  clip_ = clip;
  bounds_ = clipBounds(clip);
  width_ = width;
  color_ = color;
  if (tipWidth_ != width) {
    roundTip(width, tip_);
    tipWidth_ = width;
  }
  const std::size_t n = points.size();
  const std::size_t segments = closed ? n : n - 1;
  for (std::size_t i = 0; i < segments; ++i) segment(points[i], points[i + 1 == n ? 0 : i + 1]);
  for (const Point p : points) tip(p);
}

void WideStroker::segment(Point a, Point b) {
  if (a == b) return;
  const int reach = width_;  // every piece lies within the width of the segment's box
  if (std::max(a.x, b.x) + reach < bounds_.left || std::min(a.x, b.x) - reach >= bounds_.right ||
      std::max(a.y, b.y) + reach < bounds_.top || std::min(a.y, b.y) - reach >= bounds_.bottom)
    return;
  if (a.y == b.y) {
    const int top = a.y - width_ / 2;
    const int y0 = std::max(top, bounds_.top);
    const int y1 = std::min(top + width_, bounds_.bottom);
    for (int y = y0; y < y1; ++y)
      fillSpan(*bitmap_, clip_, y, std::min(a.x, b.x), std::max(a.x, b.x), color_);
    return;
  }
  if (a.x == b.x) {
    const int left = a.x - width_ / 2;
    const int y0 = std::max(std::min(a.y, b.y), bounds_.top);
    const int y1 = std::min(std::max(a.y, b.y), bounds_.bottom);
    for (int y = y0; y < y1; ++y) fillSpan(*bitmap_, clip_, y, left, left + width_, color_);
    return;
  }
  Point quad[4];
  segmentQuad(a, b, width_, quad);
  fillPolygon(*bitmap_, clip_, quad, color_, edges_, crossings_);
}

void WideStroker::tip(Point p) {
  const int top = p.y - width_ / 2;
  if (p.x + width_ < bounds_.left || p.x - width_ >= bounds_.right || top + width_ <= bounds_.top ||
      top >= bounds_.bottom)
    return;
  for (int i = 0; i < width_; ++i) {
    const int y = top + i;
    if (y < bounds_.top || y >= bounds_.bottom) continue;
    const TipRow& row = tip_[static_cast<std::size_t>(i)];
    fillSpan(*bitmap_, clip_, y, p.x + row.left, p.x + row.right, color_);
  }
}

}  // namespace gdi::raster
