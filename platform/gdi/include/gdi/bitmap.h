// A 32-bit device bitmap: 0x00BBGGRR pixels, rows top-down, no padding.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gdi/geometry.h"

namespace gdi {

// GetPixel's answer for a point outside the bitmap.
inline constexpr ColorRef kInvalidColor = 0xFFFFFFFFu;

class Bitmap {
 public:
  Bitmap() = default;
  // Sizes below 1, or above 2^28 pixels, give an empty bitmap: a surface that cannot be
  // created draws nothing.
  Bitmap(int width, int height, ColorRef fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  bool isEmpty() const { return width_ <= 0 || height_ <= 0; }
  Rect bounds() const { return {0, 0, width_, height_}; }

  ColorRef pixel(int x, int y) const;           // kInvalidColor outside
  void setPixel(int x, int y, ColorRef color);  // ignored outside
  void fill(ColorRef color);

  std::uint32_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const std::uint32_t* row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }
  std::span<std::uint32_t> pixels() { return pixels_; }
  std::span<const std::uint32_t> pixels() const { return pixels_; }

  friend bool operator==(const Bitmap&, const Bitmap&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace gdi
