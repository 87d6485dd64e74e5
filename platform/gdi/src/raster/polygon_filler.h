// Alternate-mode polygon interiors: a pixel is inside when an odd number of edges cross its row
// at or left of it. Each edge covers the rows from its upper end (in) to its lower end (out), so
// left and top edges are in, right and bottom edges out.
#pragma once

#include <span>
#include <vector>

#include "gdi/bitmap.h"

namespace gdi::raster {

struct PolygonEdge {
  long long x0, y0, x1, y1;  // y0 < y1
};

// Scratch vectors are the caller's, reused from polygon to polygon.
void fillPolygon(Bitmap& bitmap, std::span<const Rect> clip, std::span<const Point> points,
                 ColorRef color, std::vector<PolygonEdge>& edges,
                 std::vector<long long>& crossings);

}  // namespace gdi::raster
