// Device coordinates are held in 32 bits but never leave the 16-bit range that the drawing
// calls accept; every conversion and every offset addition saturates instead of wrapping.
#pragma once

#include <cstdint>

namespace kvplotax {

inline constexpr std::int32_t kPixelMin = -32768;
inline constexpr std::int32_t kPixelMax = 32767;

// Truncates toward zero and saturates; NaN lands on the low end, +inf on the high end.
constexpr std::int32_t saturatePixel(double v) {
  // Written so that NaN fails the first comparison: no float-to-int conversion out of range.
  v = v > -32768.0 ? v : -32768.0;
  v = v < 32767.0 ? v : 32767.0;
  return static_cast<std::int32_t>(v);
}

constexpr std::int32_t clampPixel(std::int64_t v) {
  return v < kPixelMin ? kPixelMin : (v > kPixelMax ? kPixelMax : static_cast<std::int32_t>(v));
}

// Adds a pixel offset to a coordinate; any 32-bit operands are accepted.
constexpr std::int32_t addSaturated(std::int32_t a, std::int32_t b) {
  return clampPixel(static_cast<std::int64_t>(a) + b);
}

}  // namespace kvplotax
