#include "graticule/graticule_painter.h"

#include <algorithm>
#include <array>

#include "gdi/pen.h"
#include "graticule/tick_lengths.h"

namespace kvplotax::graticule {
namespace {

// Outcode of a point against the update rectangle.
unsigned outcode(const gdi::Rect& r, int x, int y) {
  unsigned code = 0;
  if (x < r.left) code |= 1;
  if (x >= r.right) code |= 2;
  if (y < r.top) code |= 4;
  if (y >= r.bottom) code |= 8;
  return code;
}

class Ruler {
 public:
  Ruler(gdi::DeviceContext& dc, const gdi::Rect& update) : dc_(dc), update_(update) {}

  void pen(gdi::ColorRef color) { dc_.selectPen(gdi::Pen(gdi::PS_SOLID, 1, color)); }

  // A line both of whose ends lie beyond the same side of the update rectangle cannot touch it.
  void line(int x1, int y1, int x2, int y2) {
    if ((outcode(update_, x1, y1) & outcode(update_, x2, y2)) != 0) return;
    const std::array<gdi::Point, 2> points{gdi::Point{x1, y1}, gdi::Point{x2, y2}};
    dc_.polyline(points);
  }

 private:
  gdi::DeviceContext& dc_;
  const gdi::Rect& update_;
};

bool isMajor(int i, int minorDiv) { return minorDiv > 0 && i % minorDiv == 0; }

// True when r lies within s (edges may coincide).
bool within(const gdi::Rect& r, const gdi::Rect& s) {
  return r.left >= s.left && r.right <= s.right && r.top >= s.top && r.bottom <= s.bottom;
}

// True when the rows [top, bottom) meet the update rectangle's rows.
bool meetsRows(const gdi::Rect& r, int top, int bottom) { return top < r.bottom && r.top < bottom; }

void drawGrid(Ruler& ruler, const GraticuleSettings& s, const layout::PlotGeometry& g) {
  const int mX = g.majorPitchX;
  const int mY = g.majorPitchY;
  if (!s.gridOn || s.gridType == kNoGrid || (mX < 2 && mY < 2)) return;
  const gdi::Rect& p = g.plot;
  const bool vertical = s.gridType == kHorzVertGrid || s.gridType == kVertGrid;
  const bool horizontal = s.gridType == kHorzVertGrid || s.gridType == kHorzGrid;
  const int n = std::max(s.viewports, 1);
  // A line on a viewport boundary is the frame's to draw (as its double separator).
  const bool boundaryLines = s.frameOn && s.majorDivVert % n == 0;
  const int perViewport = s.majorDivVert / n;
  ruler.pen(s.gridColor);
  const int count = std::max(s.majorDivHorz, s.majorDivVert);
  for (int l = 1; l < count; ++l) {
    if (vertical && mX > 1 && l < s.majorDivHorz) {
      const int x = p.left + l * mX;
      ruler.line(x, p.top, x, p.bottom);
    }
    if (horizontal && mY > 1 && l < s.majorDivVert) {
      if (boundaryLines && perViewport > 0 && l % perViewport == 0) continue;
      const int y = p.top + l * mY;
      ruler.line(p.left, y, p.right, y);
    }
  }
}

void drawAxes(Ruler& ruler, const GraticuleSettings& s, const layout::PlotGeometry& g,
              const TickLengths& t) {
  if (s.axesType == kNoAxes || (g.majorPitchX <= 0 && g.majorPitchY <= 0)) return;
  const gdi::Rect& p = g.plot;
  const int n = std::max(s.viewports, 1);
  const bool vertical = s.axesType == kHorzVertAxes || s.axesType == kVertAxis;
  const bool horizontal = s.axesType == kHorzVertAxes || s.axesType == kHorzAxis;
  const int xc = p.left + p.width() / 2;
  const int half = p.height() / (2 * n);
  ruler.pen(s.axesColor);
  if (vertical && g.majorPitchX > 1) ruler.line(xc, p.top, xc, p.bottom);
  if (horizontal && g.majorPitchY > 1) {
    for (int k = 0; k < n; ++k) {
      const int y = p.top + half + 2 * half * k;
      ruler.line(p.left, y, p.right, y);
    }
  }
  if (s.axesTics == kNoTics) return;
  const int last = std::max(g.minorCountX, g.minorCountY);
  for (int i = 0; i <= last; ++i) {
    const bool major = isMajor(i, s.minorDiv);
    const int len = major ? t.major : t.minor;
    const int h = major ? t.majorHalf : t.minorHalf;
    if (vertical && i <= g.minorCountY &&
        ((s.axesTics == kMajorMinorTics && g.minorPitchY > 1) ||
         (s.axesTics == kMajorTics && major && g.majorPitchY > 1))) {
      const int y = i == g.minorCountY ? p.bottom - 1 : p.top + i * g.minorPitchY;
      ruler.line(xc - h, y, xc - h + len, y);
    }
    if (horizontal && i <= g.minorCountX &&
        ((s.axesTics == kMajorMinorTics && g.minorPitchX > 1) ||
         (s.axesTics == kMajorTics && major && g.majorPitchX > 1))) {
      const int x = i == g.minorCountX ? p.right - 1 : p.left + i * g.minorPitchX;
      for (int k = 0; k < n; ++k) {
        const int y = p.top + half + 2 * half * k;
        ruler.line(x, y - h, x, y - h + len);
      }
    }
  }
}

// True when the update rectangle touches none of the rows the viewport separators (or the
// ticks centred on them, reaching from y - reach to y - reach + span) occupy.
bool missesBoundaries(const gdi::Rect& r, const gdi::Rect& p, int n, int reach, int span) {
  const int strip = p.height() / n;
  for (int j = 1; j < n; ++j) {
    const int y = p.top + j * strip;
    if (meetsRows(r, y - reach, y - reach + span)) return false;
  }
  return true;
}

void drawFrame(gdi::DeviceContext& dc, Ruler& ruler, const GraticuleSettings& s, const gdi::Rect& p,
               const gdi::Rect& update) {
  const int n = std::max(s.viewports, 1);
  // The frame's own pixels are its outermost rows and columns and the separators at a boundary
  // +- 1: an update that reaches none of them leaves the frame as it is.
  const gdi::Rect interior{p.left + 1, p.top + 1, p.right - 1, p.bottom - 1};
  if (within(update, interior) && missesBoundaries(update, p, n, 1, 3)) return;
  ruler.pen(s.frameColor);
  const gdi::Brush previous = dc.selectBrush(gdi::Brush::null());
  dc.rectangle(p.left, p.top, p.right, p.bottom);
  dc.selectBrush(previous);
  if (n <= 1) return;
  const int strip = p.height() / n;
  for (int j = 1; j < n; ++j) {
    const int y = p.top + j * strip;
    ruler.line(p.left, y - 1, p.right, y - 1);
    ruler.line(p.left, y + 1, p.right, y + 1);
  }
}

void drawFrameTicks(Ruler& ruler, const GraticuleSettings& s, const layout::PlotGeometry& g,
                    const TickLengths& t, const gdi::Rect& update) {
  const int mx = g.minorPitchX;
  const int my = g.minorPitchY;
  if (s.frameTics == kNoTics || (mx <= 1 && my < 2)) return;
  const gdi::Rect& p = g.plot;
  const int n = std::max(s.viewports, 1);
  const int reach = t.major + t.majorHalf;
  const gdi::Rect inner{p.left + reach, p.top + reach, p.right - reach, p.bottom - reach};
  if (within(update, inner) && missesBoundaries(update, p, n, t.majorHalf, t.major)) return;
  ruler.pen(s.frameColor);
  const int strip = p.height() / n;
  const int last = std::max(g.minorCountX, g.minorCountY);
  for (int i = 0; i < last; ++i) {
    const bool major = isMajor(i, s.minorDiv);
    const int len = major ? t.major : t.minor;
    const int h = major ? t.majorHalf : t.minorHalf;
    if (i < g.minorCountX && ((s.frameTics == kMajorMinorTics && mx > 1) ||
                              (s.frameTics == kMajorTics && major && g.majorPitchX > 1))) {
      const int x = p.left + i * mx;
      ruler.line(x, p.top, x, p.top + len);
      ruler.line(x, p.bottom - len, x, p.bottom);
      for (int j = 1; j < n; ++j) {
        const int y = p.top + j * strip;
        ruler.line(x, y - h, x, y - h + len);
      }
    }
    if (i < g.minorCountY && ((s.frameTics == kMajorMinorTics && my > 1) ||
                              (s.frameTics == kMajorTics && major && g.majorPitchY > 1))) {
      const int y = p.top + i * my;
      ruler.line(p.left, y, p.left + len, y);
      ruler.line(p.right - len, y, p.right, y);
    }
  }
}

}  // namespace

void drawGraticule(gdi::DeviceContext& dc, const GraticuleSettings& settings,
                   const layout::PlotGeometry& geometry, const gdi::Rect& update) {
  if (geometry.majorPitchX <= 0 || geometry.majorPitchY <= 0 || update.isEmpty()) return;
  const TickLengths ticks = computeTickLengths(geometry);
  const gdi::Pen previousPen = dc.pen();
  dc.selectClipRect(update);
  Ruler ruler(dc, update);
  drawGrid(ruler, settings, geometry);
  drawAxes(ruler, settings, geometry, ticks);
  if (settings.frameOn) {
    drawFrame(dc, ruler, settings, geometry.plot, update);
    if (settings.frameTics != kNoTics) drawFrameTicks(ruler, settings, geometry, ticks, update);
  }
  dc.selectClipRegion(nullptr);
  dc.selectPen(previousPen);
}

}  // namespace kvplotax::graticule
