#include "raster/wide_pen.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "raster/span_filler.h"

namespace gdi::raster {
namespace {

using i64 = std::int64_t;
using u128 = unsigned __int128;

// Doubled coordinates keep the half-pixel sample points integral. The device context keeps
// coordinates within 2^20 and widths within 2^12, so every product but the squared cross
// product fits 64 bits; that one is compared unsigned in 128.
struct Capsule {
  i64 ax, ay, bx, by;
  i64 dx, dy, len2;
  i64 w2;  // width squared (the doubled radius squared)
  int offset;

  bool covers(i64 px, i64 py) const {
    const i64 sx = 2 * px + offset;
    const i64 sy = 2 * py + offset;
    const i64 vx = sx - ax;
    const i64 vy = sy - ay;
    const i64 t = vx * dx + vy * dy;
    if (t <= 0) return vx * vx + vy * vy <= w2;
    if (t >= len2) {
      const i64 ux = sx - bx;
      const i64 uy = sy - by;
      return ux * ux + uy * uy <= w2;
    }
    const i64 cross = vx * dy - vy * dx;
    const u128 magnitude = static_cast<u128>(cross < 0 ? -cross : cross);
    return magnitude * magnitude <= static_cast<u128>(w2) * static_cast<u128>(len2);
  }
};

i64 floorHalf(i64 v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

}  // namespace

void strokeWideSegment(Bitmap& bitmap, std::span<const Rect> clip, Point a, Point b, int width,
                       ColorRef color) {
  const int offset = (width % 2 == 0) ? 1 : 0;
  Capsule c{2 * i64{a.x},       2 * i64{a.y}, 2 * i64{b.x}, 2 * i64{b.y}, 0, 0, 0,
            i64{width} * width, offset};
  c.dx = c.bx - c.ax;
  c.dy = c.by - c.ay;
  c.len2 = c.dx * c.dx + c.dy * c.dy;
  // Pixels whose sample lies within the box grown by the width.
  const i64 left = -floorHalf(-(std::min(c.ax, c.bx) - width - offset));
  const i64 right = floorHalf(std::max(c.ax, c.bx) + width - offset);
  const i64 top = -floorHalf(-(std::min(c.ay, c.by) - width - offset));
  const i64 bottom = floorHalf(std::max(c.ay, c.by) + width - offset);
  const Rect drawable = clipBounds(clip);
  const i64 y0 = std::max<i64>(top, drawable.top);
  const i64 y1 = std::min<i64>(bottom, i64{drawable.bottom} - 1);
  if (right < drawable.left || left >= drawable.right) return;
  for (i64 y = y0; y <= y1; ++y) {
    // A pixel of the row nearest the path: on the path where it crosses the row's sample line,
    // else below the nearer end point.
    const i64 sy = 2 * y + offset;
    double guess;
    if (c.dy != 0 && sy >= std::min(c.ay, c.by) && sy <= std::max(c.ay, c.by)) {
      guess = static_cast<double>(c.ax) + static_cast<double>(sy - c.ay) *
                                              static_cast<double>(c.dx) / static_cast<double>(c.dy);
    } else if (c.dy == 0 && sy == c.ay) {
      guess = static_cast<double>(c.ax);
    } else {
      guess = static_cast<double>(std::abs(sy - c.ay) <= std::abs(sy - c.by) ? c.ax : c.bx);
    }
    const i64 centre = static_cast<i64>(std::llround((guess - offset) / 2.0));
    i64 inside = centre;
    if (!c.covers(inside, y)) {
      if (c.covers(centre - 1, y)) {
        inside = centre - 1;
      } else if (c.covers(centre + 1, y)) {
        inside = centre + 1;
      } else {
        continue;
      }
    }
    // The covered pixels of a row are one run; find its ends by bisection.
    i64 lo = left - 1, hi = inside;  // lo outside, hi inside
    while (hi - lo > 1) {
      const i64 mid = lo + (hi - lo) / 2;
      (c.covers(mid, y) ? hi : lo) = mid;
    }
    const i64 runStart = hi;
    lo = inside;
    hi = right + 1;  // lo inside, hi outside
    while (hi - lo > 1) {
      const i64 mid = lo + (hi - lo) / 2;
      (c.covers(mid, y) ? lo : hi) = mid;
    }
    const i64 runEnd = lo + 1;
    const int x0 = static_cast<int>(std::max<i64>(runStart, drawable.left));
    const int x1 = static_cast<int>(std::min<i64>(runEnd, drawable.right));
    fillSpan(bitmap, clip, static_cast<int>(y), x0, x1, color);
  }
}

}  // namespace gdi::raster
