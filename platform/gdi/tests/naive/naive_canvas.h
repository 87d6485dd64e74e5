// A deliberately slow rasteriser that decides every pixel on its own, straight from the written
// pixel rules. It shares no code with the library's raster path (only the plain geometry types),
// so the two can be compared pixel for pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "gdi/geometry.h"

namespace naive {

using gdi::ColorRef;
using gdi::Point;
using gdi::Rect;

// Clipping as a predicate: inside one of the kept rectangles (or anywhere when none is set) and
// inside none of the excluded ones.
struct Clip {
  bool restricted = false;
  std::vector<Rect> keep;
  std::vector<Rect> excluded;
  bool allows(int x, int y) const;
};

struct PenState {
  int style = 0;  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 null
  int width = 1;
  ColorRef color = 0;
};

class NaiveCanvas {
 public:
  NaiveCanvas(int width, int height, ColorRef fill);

  ColorRef at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }

  void line(Point a, Point b);
  void polyline(const std::vector<Point>& points);
  void polygon(const std::vector<Point>& points);
  void rectangle(int l, int t, int r, int b);
  void roundRect(int l, int t, int r, int b, int ew, int eh);
  void fillRect(Rect rect, ColorRef color);

  int width;
  int height;
  std::vector<ColorRef> pixels;
  Clip clip;
  PenState pen;
  bool brushNull = false;
  ColorRef brushColor = 0xFFFFFF;
  bool opaque = true;
  ColorRef background = 0xFFFFFF;

 private:
  void plot(int x, int y, ColorRef color);
  // Returns the number of pixels the segment has, drawn or not.
  int cosmeticSegment(Point a, Point b, int patternStart);
  void path(const std::vector<Point>& points, bool closed);
  void shapeWithBand(int l, int t, int r, int b, int ew, int eh);
};

}  // namespace naive
