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
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Point a = points[i];
    const Point b = points[i + 1 == points.size() ? 0 : i + 1];
    if (a.y == b.y) continue;
    if (a.y < b.y) {
      edges.push_back({a.x, a.y, b.x, b.y});
    } else {
      edges.push_back({b.x, b.y, a.x, a.y});
    }
  }
  if (edges.empty()) return;
  const Rect drawable = clipBounds(clip);
  const long long left = drawable.left;
  const long long right = drawable.right;
  // Edges enter the active set in order of their upper ends and leave past their lower ends.
  std::sort(edges.begin(), edges.end(),
            [](const PolygonEdge& a, const PolygonEdge& b) { return a.y0 < b.y0; });
  long long bottom = edges[0].y1;
  for (const PolygonEdge& e : edges) bottom = std::max(bottom, e.y1);
  const long long y0 = std::max<long long>(edges[0].y0, drawable.top);
  const long long y1 = std::min<long long>(bottom, drawable.bottom);
  std::size_t next = 0;
  std::size_t active = 0;  // edges[0, active) are active; those from `next` on wait their turn
  for (long long y = y0; y < y1; ++y) {
    // Bring in edges that start at or above this row, dropping those already passed.
    while (next < edges.size() && edges[next].y0 <= y) {
      if (edges[next].y1 > y) std::swap(edges[active++], edges[next]);
      ++next;
    }
    crossings.clear();
    // Crossings left of the clip only flip the parity, and those right of it only close the
    // last span at the clip's edge; only the ones in between need their position.
    int before = 0;
    for (std::size_t i = 0; i < active;) {
      const PolygonEdge& e = edges[i];
      if (e.y1 <= y) {
        std::swap(edges[i], edges[--active]);
        continue;
      }
      ++i;
      if (e.x0 < left && e.x1 < left) {
        ++before;
      } else if (e.x0 >= right && e.x1 >= right) {
        continue;
      } else {
        // The first pixel at or right of the crossing.
        const long long dy = e.y1 - e.y0;
        crossings.push_back(
            std::clamp(ceilDiv(e.x0 * dy + (y - e.y0) * (e.x1 - e.x0), dy), left, right));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    // An odd count on the left stands for one crossing at the clip's left edge; a span still
    // open after the last crossing is closed by one right of the clip.
    long long start = left;
    bool inside = before % 2 == 1;
    for (std::size_t i = 0;; ++i) {
      const long long x = i < crossings.size() ? crossings[i] : right;
      if (inside && x > start)
        fillSpan(bitmap, clip, static_cast<int>(y), static_cast<int>(start), static_cast<int>(x),
                 color);
      if (i >= crossings.size()) break;
      inside = !inside;
      start = x;
    }
  }
}

}  // namespace gdi::raster
