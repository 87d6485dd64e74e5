#include "gdi/bitmap.h"

#include <algorithm>

namespace gdi {

namespace {
// 256 Mpixel (1 GiB): a larger surface is refused and stays empty rather than exhausting memory.
constexpr long long kMaxPixels = 1LL << 28;
}  // namespace

Bitmap::Bitmap(int width, int height, ColorRef fill) {
  if (width <= 0 || height <= 0) return;
  if (static_cast<long long>(width) * height > kMaxPixels) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                 fill & 0xFFFFFFu);
}

ColorRef Bitmap::pixel(int x, int y) const {
  if (!bounds().contains({x, y})) return kInvalidColor;
  return row(y)[x];
}

void Bitmap::setPixel(int x, int y, ColorRef color) {
  if (bounds().contains({x, y})) row(y)[x] = color & 0xFFFFFFu;
}

void Bitmap::fill(ColorRef color) { std::fill(pixels_.begin(), pixels_.end(), color & 0xFFFFFFu); }

}  // namespace gdi
