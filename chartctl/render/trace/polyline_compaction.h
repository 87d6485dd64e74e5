// A trace of thousands of points on a few hundred pixel columns has long runs of repeated
// points and of steps in one direction along a row or a column. With a one-pixel pen those
// draw exactly the same pixels as one segment (a segment covers its start and not its end, and
// a dash pattern advances per pixel drawn), so they are merged before drawing.
#pragma once

#include <cstddef>
#include <span>

#include "gdi/geometry.h"

namespace kvplotax::trace {

// Writes the merged polyline of points into out (at least points.size() entries) and returns
// its length. Only valid for one-pixel (cosmetic) pens.
std::size_t compactPolyline(std::span<const gdi::Point> points, gdi::Point* out);

}  // namespace kvplotax::trace
