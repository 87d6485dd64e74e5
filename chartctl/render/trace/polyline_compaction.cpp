#include "polyline_compaction.h"

namespace kvplotax::trace {

namespace {

// The direction of a step: 0 for a slanted one, else one code per axis and sense.
int straightDirection(int dx, int dy) {
  const int vertical = dy < 0 ? 1 : 2;
  const int horizontal = dx < 0 ? 3 : 4;
  return dx == 0 ? vertical : (dy == 0 ? horizontal : 0);
}

}  // namespace

std::size_t compactPolyline(std::span<const gdi::Point> points, gdi::Point* out) {
  if (points.empty()) return 0;
  std::size_t k = 0;
  gdi::Point last = points[0];
  out[k++] = last;
  int lastDirection = 0;  // of the step into out[k - 1]; 0 when slanted or at the start
  for (std::size_t i = 1; i < points.size(); ++i) {
    const gdi::Point q = points[i];
    const int dx = q.x - last.x;
    const int dy = q.y - last.y;
    if ((dx | dy) == 0) continue;  // a segment of no pixels
    const int direction = straightDirection(dx, dy);
    // A straight step on in the same direction lengthens the last segment.
    const bool lengthens = direction != 0 && direction == lastDirection;
    k -= lengthens ? 1 : 0;
    out[k++] = q;
    lastDirection = direction;
    last = q;
  }
  return k;
}

}  // namespace kvplotax::trace
