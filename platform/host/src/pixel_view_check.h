// The checks every image writer makes on a caller's pixel view.
#pragma once

#include "host/image_file.h"

namespace host {

// Pixel coordinates stop at 32767, so no screen is larger.
constexpr int kMaxSide = 32767;

inline bool isUsable(const PixelView& image) {
  return image.pixels != nullptr && image.width > 0 && image.height > 0 &&
         image.width <= kMaxSide && image.height <= kMaxSide &&
         image.stride >= static_cast<std::size_t>(image.width);
}

}  // namespace host
