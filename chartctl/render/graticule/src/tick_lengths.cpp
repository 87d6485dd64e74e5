#include "graticule/tick_lengths.h"

#include <algorithm>

namespace kvplotax::graticule {

TickLengths computeTickLengths(const layout::PlotGeometry& geometry) {
  TickLengths ticks;
  const int mx = geometry.minorPitchX;
  const int my = geometry.minorPitchY;
  if (mx <= 1 && my <= 1) return ticks;
  const int fortieth = std::min(geometry.plot.width(), geometry.plot.height()) / 40;
  const int a = std::min(std::min(mx, my), fortieth);
  int d = std::max(a, 6) / 2;
  if (d % 2 == 0) ++d;
  ticks.minor = d;
  ticks.major = 2 * d - 1;
  ticks.majorHalf = (ticks.major - 1) / 2;
  ticks.minorHalf = (ticks.minor - 1) / 2;
  return ticks;
}

}  // namespace kvplotax::graticule
