// Geometric pens wider than one pixel, built the way the platform builds them: the pen's area
// is the union of one quadrilateral (or axis-aligned rectangle) per segment and a round pen tip
// at every vertex, which makes the round end caps and round joins. Every piece is an integer
// region, so the union paints each pixel once in the pen colour whatever the overlap.
//
// - A horizontal segment covers [min x, max x) by the w rows from y - w/2; a vertical one the
//   w columns from x - w/2 by [min y, max y).
// - Any other segment a->b covers the polygon a-n, a+f, b+f, b-n, filled as polygon regions
//   are (left and top edges in). With len = hypot(dx, dy), wx = w|dy|/len and wy = w|dx|/len,
//   n rounds (wx/2, wy/2) and f rounds ((wx+1)/2, (wy+1)/2) to the nearest integer (halves
//   up); their signs turn with the direction so that f lies on the (dy, -dx) side, and an
//   upward segment swaps the two roundings.
// - The tip is the elliptic region over the box from -(w/2) to (w+1)/2 - 1 on both axes,
//   rasterised row by row with the platform's integer midpoint ellipse.
#pragma once

#include <span>
#include <vector>

#include "gdi/bitmap.h"
#include "raster/polygon_filler.h"

namespace gdi::raster {

// One row of the pen tip: columns [left, right) relative to the vertex.
struct TipRow {
  int left;
  int right;
};

// The rows of the round tip of a w-wide pen, top row first, for rows -(w/2) .. (w+1)/2 - 1.
void roundTip(int width, std::vector<TipRow>& rows);

// The quadrilateral a segment covers (not used for horizontal or vertical segments).
void segmentQuad(Point a, Point b, int width, Point quad[4]);

class WideStroker {
 public:
  // Strokes the path (closed: back to its first point) with width >= 2.
  void stroke(Bitmap& bitmap, std::span<const Rect> clip, std::span<const Point> points,
              bool closed, int width, ColorRef color);

 private:
  void segment(Point a, Point b);
  void tip(Point p);

  Bitmap* bitmap_ = nullptr;
  std::span<const Rect> clip_;
  Rect bounds_{};
  int width_ = 0;
  ColorRef color_ = 0;
  int tipWidth_ = 0;  // the width tip_ was built for
  std::vector<TipRow> tip_;
  std::vector<PolygonEdge> edges_;
  std::vector<long long> crossings_;
};

}  // namespace gdi::raster
