// A caller-owned 32-bit pixel buffer that text is drawn into.
#pragma once

#include <cstdint>

#include "gdi/geometry.h"

namespace gdi {

struct PixelBufferView {
  std::uint32_t* pixels = nullptr;  // row 0 first; row y starts at pixels + y * stride
  int stride = 0;                   // in pixels, not bytes
  int width = 0;
  int height = 0;

  Rect bounds() const { return pixels ? Rect{0, 0, width, height} : Rect{}; }
};

}  // namespace gdi
