// Tick lengths follow the minor pitch and the plot area's size, so that ticks never reach the
// next division and stay in proportion on small charts.
#pragma once

#include "plot_layout.h"

namespace kvplotax::graticule {

struct TickLengths {
  int minor = 0;
  int major = 0;
  // Half-lengths of ticks centred on a line (axes and viewport boundaries).
  int minorHalf = 0;
  int majorHalf = 0;
  friend bool operator==(const TickLengths&, const TickLengths&) = default;
};

// Both lengths are odd so that a centred tick is symmetric; the shortest are 3 and 5. With no
// minor pitch above one pixel there are no ticks at all.
TickLengths computeTickLengths(const layout::PlotGeometry& geometry);

}  // namespace kvplotax::graticule
