#include "plot_layout.h"

#include <algorithm>
#include <cstdint>

namespace kvplotax::layout {

int bezelThickness(const BezelGeometry& b) {
  if ((b.bevelWidthInner == 0 && b.bevelWidthOuter == 0) ||
      (b.bevelInner == 0 && b.bevelOuter == 0))
    return b.borderWidth;
  return b.borderWidth + (b.bevelOuter != 0 ? b.bevelWidthOuter : 0) +
         (b.bevelInner != 0 ? b.borderWidth + b.bevelWidthInner : 0);
}

gdi::Rect drawableArea(const gdi::Rect& client, int thickness) {
  const int inset = 1 + thickness;
  return {client.left + inset, client.top + inset, client.right - inset, client.bottom - inset};
}

bool correctCounts(GraticuleCounts& c) {
  bool changed = false;
  auto atLeast = [&changed](int& v, int floor, int replacement) {
    if (v < floor) {
      v = replacement;
      changed = true;
    }
  };
  atLeast(c.minorDiv, 1, 1);
  atLeast(c.viewports, 1, 1);
  // A division count of 0 would divide by zero below, so it is corrected like a negative one.
  atLeast(c.majorDivHorz, 1, 1);
  atLeast(c.majorDivVert, 1, 1);
  atLeast(c.marginLeft, 0, 0);
  atLeast(c.marginTop, 0, 0);
  atLeast(c.marginRight, 0, 0);
  atLeast(c.marginBottom, 0, 0);
  return changed;
}

void computePlotArea(const gdi::Rect& d, const GraticuleCounts& c, PlotGeometry& g) {
  g.minorCountX = c.minorDiv * c.majorDivHorz;
  g.minorCountY = c.minorDiv * c.majorDivVert;
  const gdi::Rect inner{d.left + c.marginLeft, d.top + c.marginTop, d.right - c.marginRight,
                        d.bottom - c.marginBottom};
  const int width = inner.width();
  const int height = inner.height();
  if (width <= 0 || height <= 0 || g.minorCountX <= 0 || g.minorCountY <= 0) {
    g.minorPitchX = g.minorPitchY = g.majorPitchX = g.majorPitchY = 0;
    return;
  }
  g.minorPitchX = width / g.minorCountX;
  g.minorPitchY = height / g.minorCountY;
  if (c.isotropic) g.minorPitchX = g.minorPitchY = std::min(g.minorPitchX, g.minorPitchY);
  g.majorPitchX = g.minorPitchX > 1 ? g.minorPitchX * c.minorDiv : width / c.majorDivHorz;
  g.majorPitchY = g.minorPitchY > 1 ? g.minorPitchY * c.minorDiv : height / c.majorDivVert;
  if (c.isotropic) g.majorPitchX = g.majorPitchY = std::min(g.majorPitchX, g.majorPitchY);
  const int plotWidth = c.majorDivHorz * g.majorPitchX;
  const int plotHeight = c.majorDivVert * g.majorPitchY;
  const int left = inner.left + (width - plotWidth) / 2;
  const int top = inner.top + (height - plotHeight) / 2;
  g.plot = {left, top, left + plotWidth, top + plotHeight};
  if (g.majorPitchX <= 0 || g.majorPitchY <= 0)
    g.minorPitchX = g.minorPitchY = g.majorPitchX = g.majorPitchY = 0;
}

gdi::Rect viewportRect(const gdi::Rect& drawable, const gdi::Rect& plot, int index, int count) {
  if (index == 0) return drawable;
  if (index < 0 || index > count || count <= 0) return {};
  const int h = plot.height() / count;
  return {plot.left, plot.top + h * (index - 1), plot.right, plot.top + h * index};
}

gdi::Point autoSizeExtent(const PlotGeometry& g, int thickness, const GraticuleCounts& c) {
  // Wide bezels and margins ask for more than a surface can hold; the chart then fills the
  // largest extent that works.
  const std::int64_t frame = 2 * (std::int64_t{1} + thickness);
  const std::int64_t width = std::int64_t{g.plot.width()} + frame + c.marginLeft + c.marginRight;
  const std::int64_t height = std::int64_t{g.plot.height()} + frame + c.marginTop + c.marginBottom;
  return {static_cast<int>(std::min<std::int64_t>(width, kMaxAutoSizeExtent)),
          static_cast<int>(std::min<std::int64_t>(height, kMaxAutoSizeExtent))};
}

}  // namespace kvplotax::layout
