// Rules the plot area: grid on the major divisions, axes with their ticks, the frame with the
// separators between stacked viewports, and the ticks on the frame. Everything is drawn with
// one-pixel solid pens, clipped to the update rectangle, and lines that cannot reach it are not
// handed to the device context at all.
#pragma once

#include "gdi/device_context.h"
#include "gdi/geometry.h"
#include "graticule/graticule_settings.h"
#include "plot_layout.h"

namespace kvplotax::graticule {

// Draws over whatever the surface holds within update; the device context's pen and clip are
// restored afterwards. Nothing happens while either major pitch is not positive.
void drawGraticule(gdi::DeviceContext& dc, const GraticuleSettings& settings,
                   const layout::PlotGeometry& geometry, const gdi::Rect& update);

}  // namespace kvplotax::graticule
