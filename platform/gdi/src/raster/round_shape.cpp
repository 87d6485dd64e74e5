#include "raster/round_shape.h"

#include <algorithm>
#include <cmath>

namespace gdi::raster {
namespace {

// The largest q >= 0 with q*q <= v.
long long isqrt(long long v) {
  if (v <= 0) return 0;
  long long q = static_cast<long long>(std::sqrt(static_cast<double>(v)));
  while (q > 0 && q * q > v) --q;
  while ((q + 1) * (q + 1) <= v) ++q;
  return q;
}

long long floorHalf(long long v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

}  // namespace

RoundShape::RoundShape(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
    : left_(left), top_(top), right_(right), bottom_(bottom) {
  const long long w = static_cast<long long>(right) - left + 1;
  const long long h = static_cast<long long>(bottom) - top + 1;
  // Corners beyond 32768 pixels would overflow the exact arithmetic; nothing that large is seen.
  ew_ = std::clamp<long long>(cornerWidth, 1, std::clamp<long long>(w, 1, 32768));
  eh_ = std::clamp<long long>(cornerHeight, 1, std::clamp<long long>(h, 1, 32768));
}

std::optional<RowRun> RoundShape::row(int y) const {
  if (isEmpty() || y < top_ || y > bottom_) return std::nullopt;
  // Doubled coordinates: the corner ellipses' centres sit on half pixels.
  const long long cyTop = 2LL * top_ + eh_ - 1;
  const long long cyBottom = 2LL * bottom_ - eh_ + 1;
  const long long y2 = 2LL * y;
  const long long dy = y2 < cyTop ? cyTop - y2 : (y2 > cyBottom ? y2 - cyBottom : 0);
  if (dy > eh_) return std::nullopt;
  // Largest dx with (dx/ew)^2 + (dy/eh)^2 <= 1, i.e. dx^2 eh^2 <= ew^2 (eh^2 - dy^2).
  const long long limit = ew_ * ew_ * (eh_ * eh_ - dy * dy);
  long long q = isqrt(limit / (eh_ * eh_));
  while ((q + 1) * (q + 1) * eh_ * eh_ <= limit) ++q;
  while (q > 0 && q * q * eh_ * eh_ > limit) --q;
  const long long cxLeft = 2LL * left_ + ew_ - 1;
  const long long cxRight = 2LL * right_ - ew_ + 1;
  const long long x0 = -floorHalf(-(cxLeft - q));
  const long long x1 = floorHalf(cxRight + q);
  const int a = static_cast<int>(std::max<long long>(x0, left_));
  const int b = static_cast<int>(std::min<long long>(x1, right_));
  if (a > b) return std::nullopt;
  return RowRun{a, b};
}

int bandRow(const RoundShape& shape, int thickness, int y, RowRun runs[2],
            std::optional<RowRun>& inner) {
  inner.reset();
  const std::optional<RowRun> outer = shape.row(y);
  if (!outer) return 0;
  // The shape is convex along rows and columns, so the plus-shaped neighbourhood is inside
  // exactly when the row holds the horizontal arm and the rows `thickness` away hold x.
  const std::optional<RowRun> up = shape.row(y - thickness);
  const std::optional<RowRun> down = shape.row(y + thickness);
  if (up && down) {
    const int a = std::max({outer->left + thickness, up->left, down->left});
    const int b = std::min({outer->right - thickness, up->right, down->right});
    if (a <= b) inner = RowRun{a, b};
  }
  if (!inner) {
    runs[0] = *outer;
    return 1;
  }
  int n = 0;
  if (outer->left < inner->left) runs[n++] = {outer->left, inner->left - 1};
  if (inner->right < outer->right) runs[n++] = {inner->right + 1, outer->right};
  return n;
}

}  // namespace gdi::raster
