// A chart's static picture for the drawing tests: bezel, background and graticule on a bitmap
// the size of the control, laid out the way the control lays itself out.
#pragma once

#include <cstdint>

#include "bezel/bezel_painter.h"
#include "gdi/bitmap.h"
#include "gdi/device_context.h"
#include "graticule/graticule_painter.h"
#include "plot_layout.h"

namespace kvplotax::testing {

struct ChartPicture {
  int width = 500;
  int height = 400;
  bezel::OutlineSettings outline;
  bezel::BevelSettings bevel;
  std::uint32_t backColor = 0x808000;
  layout::GraticuleCounts counts;
  graticule::GraticuleSettings graticule;

  layout::BezelGeometry bezelGeometry() const {
    return {bevel.inner, bevel.outer, bevel.widthInner, bevel.widthOuter, bevel.borderWidth};
  }
  gdi::Rect drawable() const {
    return layout::drawableArea({0, 0, width, height}, layout::bezelThickness(bezelGeometry()));
  }
  layout::PlotGeometry geometry() const {
    layout::PlotGeometry g;
    layout::computePlotArea(drawable(), counts, g);
    return g;
  }
  graticule::GraticuleSettings graticuleSettings() const {
    graticule::GraticuleSettings s = graticule;
    s.majorDivHorz = counts.majorDivHorz;
    s.majorDivVert = counts.majorDivVert;
    s.minorDiv = counts.minorDiv;
    s.viewports = counts.viewports;
    return s;
  }
  void paint(gdi::DeviceContext& dc) const {
    gdi::Rect work{0, 0, width, height};
    bezel::drawBezel(dc, outline, bevel, work);
    bezel::fillBackground(dc, backColor, work);
    graticule::drawGraticule(dc, graticuleSettings(), geometry(), work);
  }
  gdi::Bitmap render() const {
    gdi::Bitmap bitmap(width, height, 0xFFFFFF);
    gdi::DeviceContext dc(&bitmap);
    paint(dc);
    return bitmap;
  }
};

}  // namespace kvplotax::testing
