// The per-sample loop shared by every data converter: read, field, gain and offset, truncate
// and saturate, add the display offset, keep the extremes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "folded_transform.h"
#include "gdi/geometry.h"
#include "render/coordinate_shift.h"
#include "render/pixel_saturation.h"

namespace kvplotax {

template <typename T>
inline T loadSample(const std::byte* at) {
  // The caller's array need not be aligned for T (its element size is independent of the
  // channel's data type), so the element is copied rather than dereferenced.
  T value;
  std::memcpy(&value, at, sizeof(T));
  return value;
}

// Writes count coordinates v = (field - reference) * gain + offset starting at out, reading
// the samples from `from` every `stride` bytes. Returns the extremes of what it wrote. The
// reference is 0 for the plain mapping; a scrolling X measures from the newest sample.
template <typename T>
inline Extremes convertSamples(const std::byte* from, std::ptrdiff_t stride, std::int32_t count,
                               const FoldedTransform& f, double reference, double gain,
                               double offset, std::int32_t displayOffset, gdi::Point* out,
                               int gdi::Point::*member) {
  std::int32_t low = kPixelMax;
  std::int32_t high = kPixelMin;
  for (std::int32_t i = 0; i < count; ++i) {
    const double v = (fieldValue(loadSample<T>(from), f) - reference) * gain + offset;
    const std::int32_t c = clampPixel(std::int64_t{saturatePixel(v)} + displayOffset);
    out[i].*member = c;
    low = std::min(low, c);
    high = std::max(high, c);
    from += stride;
  }
  return {low, high};
}

inline Extremes unite(Extremes a, Extremes b) {
  return {std::min(a.minimum, b.minimum), std::max(a.maximum, b.maximum)};
}

}  // namespace kvplotax
