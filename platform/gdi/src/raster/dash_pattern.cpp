#include "raster/dash_pattern.h"

#include <initializer_list>

namespace gdi::raster {
namespace {

DashPattern unroll(std::initializer_list<int> runs) {
  DashPattern p;
  int n = 0;
  bool on = true;
  for (int run : runs) {
    for (int i = 0; i < run; ++i) p.on[static_cast<std::size_t>(n++)] = on ? 1 : 0;
    on = !on;
  }
  p.period = n;
  return p;
}

}  // namespace

const DashPattern& dashPattern(PenStyle style) {
  static const DashPattern kSolid = unroll({1});
  static const DashPattern kDash = unroll({18, 6});
  static const DashPattern kDot = unroll({3, 3});
  static const DashPattern kDashDot = unroll({9, 6, 3, 6});
  static const DashPattern kDashDotDot = unroll({9, 3, 3, 3, 3, 3});
  switch (style) {
    case PS_DASH:
      return kDash;
    case PS_DOT:
      return kDot;
    case PS_DASHDOT:
      return kDashDot;
    case PS_DASHDOTDOT:
      return kDashDotDot;
    default:
      return kSolid;
  }
}

}  // namespace gdi::raster
