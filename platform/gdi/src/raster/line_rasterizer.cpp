#include "raster/line_rasterizer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace gdi::raster {
namespace {

using i64 = std::int64_t;

i64 floorDiv(i64 a, i64 b) {  // b > 0
  i64 q = a / b;
  if ((a % b != 0) && (a < 0)) --q;
  return q;
}
i64 ceilDiv(i64 a, i64 b) { return -floorDiv(-a, b); }

int biasOf(int dx, int dy) {
  int octant;
  if (dy > 0) {
    octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
  } else {
    octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
  }
  return (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
}

}  // namespace

int drawCosmeticLine(Bitmap& bitmap, std::span<const Rect> clip, Point a, Point b,
                     const LineInk& ink, int dashPosition) {
  const int dx = b.x - a.x;
  const int dy = b.y - a.y;
  const i64 adx = std::llabs(dx);
  const i64 ady = std::llabs(dy);
  const bool xMajor = adx > ady;
  const i64 dMajor = xMajor ? adx : ady;
  const i64 dMinor = xMajor ? ady : adx;
  if (dMajor == 0) return 0;
  const int bias = biasOf(dx, dy);
  const int sMajor = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int sMinor = (xMajor ? dy : dx) > 0 ? 1 : -1;
  const int major0 = xMajor ? a.x : a.y;
  const int minor0 = xMajor ? a.y : a.x;
  const int stride = bitmap.width();
  const int xStep = xMajor ? sMajor : sMinor;
  const int yStep = xMajor ? sMinor : sMajor;
  const std::ptrdiff_t majorStep = xMajor ? xStep : static_cast<std::ptrdiff_t>(yStep) * stride;
  const std::ptrdiff_t minorStep = xMajor ? static_cast<std::ptrdiff_t>(yStep) * stride : xStep;
  const i64 e1 = 2 * dMinor;               // err change without a minor step
  const i64 e2 = 2 * dMinor - 2 * dMajor;  // with one
  const i64 threshold = -bias;             // step when err > threshold
  // Every pixel lies within the box of the two end points; most rectangles miss it entirely,
  // and one that holds it needs no clipping arithmetic.
  const int bx0 = std::min(a.x, b.x), bx1 = std::max(a.x, b.x);
  const int by0 = std::min(a.y, b.y), by1 = std::max(a.y, b.y);

  for (const Rect& r : clip) {
    if (bx1 < r.left || bx0 >= r.right || by1 < r.top || by0 >= r.bottom) continue;
    i64 k0 = 0;
    i64 k1 = dMajor - 1;
    i64 m0 = 0;
    if (bx0 < r.left || bx1 >= r.right || by0 < r.top || by1 >= r.bottom) {
      const int majorLo = xMajor ? r.left : r.top;
      const int majorHi = (xMajor ? r.right : r.bottom) - 1;
      const int minorLo = xMajor ? r.top : r.left;
      const int minorHi = (xMajor ? r.bottom : r.right) - 1;
      // Steps k in [0, dMajor) whose major coordinate is inside.
      if (sMajor > 0) {
        k0 = std::max<i64>(k0, i64{majorLo} - major0);
        k1 = std::min<i64>(k1, i64{majorHi} - major0);
      } else {
        k0 = std::max<i64>(k0, i64{major0} - majorHi);
        k1 = std::min<i64>(k1, i64{major0} - majorLo);
      }
      // The minor offset after k steps is floor((2 dMinor k + dMajor + bias - 1) / (2 dMajor));
      // invert it for the offsets that land inside.
      const i64 mLo = sMinor > 0 ? i64{minorLo} - minor0 : i64{minor0} - minorHi;
      const i64 mHi = sMinor > 0 ? i64{minorHi} - minor0 : i64{minor0} - minorLo;
      if (mHi < 0) continue;
      if (dMinor == 0) {
        if (mLo > 0) continue;
      } else {
        if (mLo > 0) k0 = std::max(k0, ceilDiv(2 * dMajor * mLo - dMajor - bias + 1, 2 * dMinor));
        k1 = std::min(k1, floorDiv(2 * dMajor * (mHi + 1) - dMajor - bias, 2 * dMinor));
      }
      if (k0 > k1) continue;
      m0 = (2 * dMinor * k0 + dMajor + bias - 1) / (2 * dMajor);
    }
    i64 err = 2 * dMinor * (k0 + 1) - dMajor - 2 * dMajor * m0;
    const int x =
        xMajor ? major0 + sMajor * static_cast<int>(k0) : minor0 + sMinor * static_cast<int>(m0);
    const int y =
        xMajor ? minor0 + sMinor * static_cast<int>(m0) : major0 + sMajor * static_cast<int>(k0);
    std::uint32_t* p = bitmap.row(y) + x;
    i64 count = k1 - k0 + 1;
    if (!ink.dash) {
      const std::uint32_t c = ink.color;
      while (count--) {
        *p = c;
        if (err > threshold) {
          p += minorStep;
          err += e2;
        } else {
          err += e1;
        }
        p += majorStep;
      }
    } else {
      const DashPattern& dash = *ink.dash;
      int phase = static_cast<int>((dashPosition + k0) % dash.period);
      while (count--) {
        if (dash.on[static_cast<std::size_t>(phase)]) {
          *p = ink.color;
        } else if (ink.opaqueGaps) {
          *p = ink.gapColor;
        }
        if (++phase == dash.period) phase = 0;
        if (err > threshold) {
          p += minorStep;
          err += e2;
        } else {
          err += e1;
        }
        p += majorStep;
      }
    }
  }
  return static_cast<int>(dMajor);
}

}  // namespace gdi::raster
