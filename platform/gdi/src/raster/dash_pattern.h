// The platform's cosmetic dash patterns, unrolled to one flag per pixel of a period.
#pragma once

#include <array>
#include <cstdint>

#include "gdi/pen.h"

namespace gdi::raster {

struct DashPattern {
  int period = 1;
  std::array<std::uint8_t, 24> on{};  // 1 where the pen draws
};

// The pattern of a style; solid (and anything undashed) has period 1, always on.
const DashPattern& dashPattern(PenStyle style);

}  // namespace gdi::raster
