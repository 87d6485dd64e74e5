#include "naive/naive_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace naive {
namespace {

using i64 = long long;

// Dash runs in pixels, on first.
std::vector<int> runsOf(int style) {
  switch (style) {
    case 1:
      return {18, 6};
    case 2:
      return {3, 3};
    case 3:
      return {9, 6, 3, 6};
    case 4:
      return {9, 3, 3, 3, 3, 3};
    default:
      return {};
  }
}

bool patternOn(int style, int position) {
  const std::vector<int> runs = runsOf(style);
  if (runs.empty()) return true;
  int period = 0;
  for (int r : runs) period += r;
  int p = position % period;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (p < runs[i]) return i % 2 == 0;
    p -= runs[i];
  }
  return true;
}

// Inside polygon q by the fill rule of polygon interiors: an odd number of edges cross row y at
// or left of x, each edge holding its upper end's row but not its lower end's.
bool insidePolygon(int x, int y, const std::vector<Point>& q) {
  int crossings = 0;
  for (std::size_t i = 0; i < q.size(); ++i) {
    Point p = q[i], r = q[(i + 1) % q.size()];
    if (p.y == r.y) continue;
    if (p.y > r.y) std::swap(p, r);
    if (y < p.y || y >= r.y) continue;
    if (i64{p.x} * (r.y - p.y) + i64{y - p.y} * (r.x - p.x) <= i64{x} * (r.y - p.y)) ++crossings;
  }
  return crossings % 2 == 1;
}

// The pixels a segment of a w-wide pen covers, tips aside: a band of w rows (columns) for a
// horizontal (vertical) segment, otherwise a quadrilateral whose corners sit at the rounded
// perpendicular half widths, the odd pixel always on the same side of the path.
bool onWideSegment(int x, int y, Point a, Point b, int w) {
  if (a == b) return false;
  if (a.y == b.y)
    return y >= a.y - w / 2 && y < a.y - w / 2 + w && x >= std::min(a.x, b.x) &&
           x < std::max(a.x, b.x);
  if (a.x == b.x)
    return x >= a.x - w / 2 && x < a.x - w / 2 + w && y >= std::min(a.y, b.y) &&
           y < std::max(a.y, b.y);
  if (x < std::min(a.x, b.x) - w || x > std::max(a.x, b.x) + w || y < std::min(a.y, b.y) - w ||
      y > std::max(a.y, b.y) + w)
    return false;  // far outside the segment's box
  const int dx = b.x - a.x, dy = b.y - a.y;
  const double len = std::sqrt(double(dx) * dx + double(dy) * dy);
  const double across = w * std::abs(dy) / len;  // the width's extent along x
  const double along = w * std::abs(dx) / len;   // and along y
  auto half = [](double v) { return static_cast<int>(std::floor(v + 0.5)); };
  int nx = half(across / 2), ny = half(along / 2);
  int fx = half((across + 1) / 2), fy = half((along + 1) / 2);
  if (dx < 0) ny = -ny, fy = -fy;
  if (dy < 0) {
    std::swap(nx, fx);
    std::swap(ny, fy);
    nx = -nx;
    fx = -fx;
  }
  return insidePolygon(
      x, y,
      {{a.x - nx, a.y + ny}, {a.x + fx, a.y - fy}, {b.x + fx, b.y - fy}, {b.x - nx, b.y + ny}});
}

// The round tip of a w-wide pen centred on p: the box from -(w/2) to (w+1)/2 - 1, each row
// narrowed by the midpoint ellipse through the box.
bool onWideTip(int x, int y, Point p, int w) {
  const int row = y - (p.y - w / 2);
  if (row < 0 || row >= w || x < p.x - w / 2 || x >= p.x + (w + 1) / 2) return false;
  // Walk the ellipse from the middle row down, noting the inset of each lower row.
  std::vector<int> inset(static_cast<std::size_t>(w), 0);
  const i64 a = w - 1, b = w - 1;
  i64 stepX = 4 * b * b * (1 - a), stepY = 4 * a * a * (1 + b % 2);
  i64 err = stepX + stepY + a * a * (b % 2);
  int ix = 0, iy = w / 2;
  while (w >= 2 && ix <= w / 2) {
    const i64 e2 = 2 * err;
    if (e2 >= stepX) {
      ++ix;
      stepX += 8 * b * b;
      err += stepX;
    }
    if (e2 <= stepY) {
      ++iy;
      stepY += 8 * a * a;
      err += stepY;
      if (iy < w) inset[static_cast<std::size_t>(iy)] = ix;
    }
  }
  const int mirrored = row < w / 2 ? w - 1 - row : row;
  const int in = inset[static_cast<std::size_t>(mirrored)];
  return x >= p.x - w / 2 + in && x < p.x + (w + 1) / 2 - in;
}

bool inRoundShape(int x, int y, int l, int t, int r, int b, int ew, int eh) {
  if (x < l || x > r || y < t || y > b) return false;
  const i64 w = i64{r} - l + 1, h = i64{b} - t + 1;
  const i64 cw = std::clamp<i64>(ew, 1, w);
  const i64 ch = std::clamp<i64>(eh, 1, h);
  const i64 leftCentre = 2 * i64{l} + cw - 1, rightCentre = 2 * i64{r} - cw + 1;
  const i64 topCentre = 2 * i64{t} + ch - 1, bottomCentre = 2 * i64{b} - ch + 1;
  i64 dx = 0, dy = 0;
  if (2 * x < leftCentre) dx = leftCentre - 2 * x;
  if (2 * x > rightCentre) dx = 2 * x - rightCentre;
  if (2 * y < topCentre) dy = topCentre - 2 * y;
  if (2 * y > bottomCentre) dy = 2 * y - bottomCentre;
  return dx * dx * ch * ch + dy * dy * cw * cw <= cw * cw * ch * ch;
}

}  // namespace

bool Clip::allows(int x, int y) const {
  const Point p{x, y};
  if (restricted &&
      std::none_of(keep.begin(), keep.end(), [&](const Rect& r) { return r.contains(p); }))
    return false;
  return std::none_of(excluded.begin(), excluded.end(),
                      [&](const Rect& r) { return r.contains(p); });
}

NaiveCanvas::NaiveCanvas(int w, int h, ColorRef fill)
    : width(w), height(h), pixels(static_cast<std::size_t>(w * h), fill) {}

void NaiveCanvas::plot(int x, int y, ColorRef color) {
  if (x < 0 || y < 0 || x >= width || y >= height || !clip.allows(x, y)) return;
  pixels[static_cast<std::size_t>(y * width + x)] = color;
}

int NaiveCanvas::cosmeticSegment(Point a, Point b, int patternStart) {
  const int dx = b.x - a.x, dy = b.y - a.y;
  const int adx = std::abs(dx), ady = std::abs(dy);
  int octant;
  if (dy > 0) {
    octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
  } else {
    octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
  }
  const int bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
  const bool xMajor = adx > ady;
  const int dMajor = xMajor ? adx : ady;
  const int dMinor = xMajor ? ady : adx;
  const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
  int x = a.x, y = a.y;
  int err = 2 * dMinor - dMajor;
  for (int i = 0; i < dMajor; ++i) {
    const bool on = patternOn(pen.style, patternStart + i);
    if (on) {
      plot(x, y, pen.color);
    } else if (opaque) {
      plot(x, y, background);
    }
    if (err + bias > 0) {
      if (xMajor) {
        y += sy;
      } else {
        x += sx;
      }
      err += 2 * dMinor - 2 * dMajor;
    } else {
      err += 2 * dMinor;
    }
    if (xMajor) {
      x += sx;
    } else {
      y += sy;
    }
  }
  return dMajor;
}

void NaiveCanvas::path(const std::vector<Point>& points, bool closed) {
  if (pen.style == 5 || points.size() < 2) return;
  const std::size_t n = closed ? points.size() : points.size() - 1;
  if (pen.width <= 1) {
    int position = 0;
    for (std::size_t i = 0; i < n; ++i)
      position += cosmeticSegment(points[i], points[(i + 1) % points.size()], position);
    return;
  }
  // Wider pens: any segment's band or any vertex's round tip (the caps and joins).
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      bool on = false;
      for (std::size_t i = 0; i < n && !on; ++i)
        on = onWideSegment(x, y, points[i], points[(i + 1) % points.size()], pen.width);
      for (std::size_t i = 0; i < points.size() && !on; ++i)
        on = onWideTip(x, y, points[i], pen.width);
      if (on) plot(x, y, pen.color);
    }
}

void NaiveCanvas::line(Point a, Point b) { path({a, b}, false); }
void NaiveCanvas::polyline(const std::vector<Point>& points) { path(points, false); }

void NaiveCanvas::polygon(const std::vector<Point>& points) {
  if (points.size() < 2) return;
  if (!brushNull && points.size() >= 3) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (insidePolygon(x, y, points)) plot(x, y, brushColor);
      }
    }
  }
  path(points, true);
}

void NaiveCanvas::rectangle(int l, int t, int r, int b) {
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  if (pen.style == 5) {
    if (!brushNull)
      for (int y = t; y <= b - 2; ++y)
        for (int x = l; x <= r - 2; ++x) plot(x, y, brushColor);
    return;
  }
  if (pen.width <= 1) {
    // The brush covers the polygon interior of the border path (so it shows through the gaps
    // of a dashed border on the left and top sides), then the pen draws the path.
    if (!brushNull)
      for (int y = t; y <= b - 2; ++y)
        for (int x = l; x <= r - 2; ++x) plot(x, y, brushColor);
    if (r - l < 1 || b - t < 1) return;
    if (r - l == 1 && b - t == 1) {
      plot(l, t, pen.color);
      return;
    }
    path({{l, t}, {r - 1, t}, {r - 1, b - 1}, {l, b - 1}}, true);
    return;
  }
  // Wider pens stroke the path through the corner pixels over the brushed box.
  if (l == r || t == b) return;
  if (!brushNull)
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) plot(x, y, brushColor);
  path({{r - 1, b - 1}, {l, b - 1}, {l, t}, {r - 1, t}}, true);
}

void NaiveCanvas::roundRect(int l, int t, int r, int b, int ew, int eh) {
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  if (ew <= 2 && eh <= 2) {
    rectangle(l, t, r, b);
    return;
  }
  if (pen.style == 5) {
    if (brushNull) return;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (inRoundShape(x, y, l, t, r - 2, b - 2, ew, eh)) plot(x, y, brushColor);
    return;
  }
  shapeWithBand(l, t, r, b, ew, eh);
}

// A border band w pixels thick, centred on the outline: a pixel of the grown shape is border
// when any pixel up to w away in the four directions is outside it.
void NaiveCanvas::shapeWithBand(int l, int t, int r, int b, int ew, int eh) {
  const int w = std::max(pen.width, 1);
  const int gl = l - (w - 1) / 2, gt = t - (w - 1) / 2;
  const int gr = r - 1 + w / 2, gb = b - 1 + w / 2;
  const int cw = ew + w - 1, ch = eh + w - 1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!inRoundShape(x, y, gl, gt, gr, gb, cw, ch)) continue;
      bool interior = true;
      for (int j = 1; j <= w && interior; ++j)
        interior = inRoundShape(x - j, y, gl, gt, gr, gb, cw, ch) &&
                   inRoundShape(x + j, y, gl, gt, gr, gb, cw, ch) &&
                   inRoundShape(x, y - j, gl, gt, gr, gb, cw, ch) &&
                   inRoundShape(x, y + j, gl, gt, gr, gb, cw, ch);
      if (!interior) {
        plot(x, y, pen.color);
      } else if (!brushNull) {
        plot(x, y, brushColor);
      }
    }
  }
}

void NaiveCanvas::fillRect(Rect rect, ColorRef color) {
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x) plot(x, y, color);
}

}  // namespace naive
