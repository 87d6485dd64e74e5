#include "polyline_compaction.h"

namespace kvplotax::trace {

namespace {

int sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

std::size_t compactPolyline(std::span<const gdi::Point> points, gdi::Point* out) {
  if (points.empty()) return 0;
  std::size_t k = 0;
  out[k++] = points[0];
  for (std::size_t i = 1; i < points.size(); ++i) {
    const gdi::Point q = points[i];
    const gdi::Point b = out[k - 1];
    if (q == b) continue;  // a segment of no pixels
    if (k >= 2) {
      const gdi::Point a = out[k - 2];
      const bool column = a.x == b.x && b.x == q.x && sign(b.y - a.y) == sign(q.y - b.y);
      const bool row = a.y == b.y && b.y == q.y && sign(b.x - a.x) == sign(q.x - b.x);
      if (column || row) {
        out[k - 1] = q;
        continue;
      }
    }
    out[k++] = q;
  }
  return k;
}

}  // namespace kvplotax::trace
