// A pixel buffer for text tests, with probes of what was drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "gdi/geometry.h"
#include "gdi/pixel_buffer_view.h"

namespace gdi::testing {

struct Canvas {
  Canvas(int w, int h, std::uint32_t fill, int padding = 0)
      : width(w),
        height(h),
        stride(w + padding),
        pixels(static_cast<std::size_t>(stride) * h, fill) {}

  PixelBufferView view() { return {pixels.data(), stride, width, height}; }
  Rect bounds() const { return {0, 0, width, height}; }
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * stride + x]; }

  // The smallest rectangle holding every pixel that differs from `background`.
  Rect changedBox(std::uint32_t background) const {
    Rect box;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (at(x, y) != background) box = box.unite({x, y, x + 1, y + 1});
    return box;
  }
  int count(std::uint32_t value) const {
    int n = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) n += at(x, y) == value;
    return n;
  }

  int width;
  int height;
  int stride;
  std::vector<std::uint32_t> pixels;
};

}  // namespace gdi::testing
