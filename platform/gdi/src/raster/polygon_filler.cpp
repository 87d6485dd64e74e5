#include "raster/polygon_filler.h"

#include <algorithm>

#include "raster/span_filler.h"

namespace gdi::raster {
namespace {

long long ceilDiv(long long a, long long b) {  // b > 0
  long long q = a / b;
  if (a % b != 0 && a > 0) ++q;
  return q;
}

}  // namespace

void fillPolygon(Bitmap& bitmap, std::span<const Rect> clip, std::span<const Point> points,
                 ColorRef color, std::vector<PolygonEdge>& edges,
                 std::vector<long long>& crossings) {
  if (points.size() < 3 || clip.empty()) return;
  edges.clear();
  long long top = points[0].y, bottom = points[0].y;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Point a = points[i];
    const Point b = points[(i + 1) % points.size()];
    top = std::min<long long>(top, a.y);
    bottom = std::max<long long>(bottom, a.y);
    if (a.y == b.y) continue;
    if (a.y < b.y) {
      edges.push_back({a.x, a.y, b.x, b.y});
    } else {
      edges.push_back({b.x, b.y, a.x, a.y});
    }
  }
  const Rect drawable = clipBounds(clip);
  const long long y0 = std::max<long long>(top, drawable.top);
  const long long y1 = std::min<long long>(bottom, drawable.bottom);
  for (long long y = y0; y < y1; ++y) {
    crossings.clear();
    for (const PolygonEdge& e : edges) {
      if (y < e.y0 || y >= e.y1) continue;
      // The first pixel at or right of the crossing.
      const long long dy = e.y1 - e.y0;
      crossings.push_back(ceilDiv(e.x0 * dy + (y - e.y0) * (e.x1 - e.x0), dy));
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const long long x0 = std::max<long long>(crossings[i], drawable.left);
      const long long x1 = std::min<long long>(crossings[i + 1], drawable.right);
      if (x0 < x1)
        fillSpan(bitmap, clip, static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1),
                 color);
    }
  }
}

}  // namespace gdi::raster
