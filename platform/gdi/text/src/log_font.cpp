#include "gdi/log_font.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace gdi {

int emHeightFromPoints(double points, int logPixels) {
  const double pixels = points * logPixels / 72.0;
  if (!std::isfinite(pixels)) return 0;
  // Keep the result an int whatever a caller passes; no real font comes near this.
  constexpr double kLimit = 1 << 20;
  return static_cast<int>(std::lround(std::clamp(pixels, -kLimit, kLimit)));
}

LogFont logFontFromPoints(std::string faceName, double points, int logPixels) {
  LogFont font;
  font.height = -emHeightFromPoints(points, logPixels);
  font.faceName = std::move(faceName);
  return font;
}

}  // namespace gdi
