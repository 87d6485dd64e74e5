// The per-sample loop shared by every data converter: read, field, gain and offset, truncate
// and saturate, add the display offset, keep the extremes. It is instantiated per element
// type, axis and layout so that the common case (contiguous samples) vectorises.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "folded_transform.h"
#include "gdi/geometry.h"
#include "render/coordinate_shift.h"
#include "render/pixel_saturation.h"

// GCC builds each per-sample loop twice, for AVX2 and for the baseline, and the loader picks the
// one the processor runs: the wider vectors convert twice the samples per instruction. FMA stays
// off, so every product and sum rounds exactly as in the baseline build.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define ZELK_VECTOR_CLONES gnu::target_clones("avx2", "default"),
#else
#define ZELK_VECTOR_CLONES
#endif

namespace kvplotax {

template <typename T>
inline T loadSample(const std::byte* at) {
  // The caller's array need not be aligned for T (its element size is independent of the
  // channel's data type), so the element is copied rather than dereferenced.
  T value;
  std::memcpy(&value, at, sizeof(T));
  return value;
}

// What a run of samples is turned into: v = (field - reference) * gain + offset, the
// reference being used only by a scrolling X, which measures back from its newest sample.
struct RunMapping {
  double reference = 0.0;
  double gain = 1.0;
  double offset = 0.0;
  std::int32_t displayOffset = 0;
};

namespace detail {

template <typename T, bool kReferenced, bool kX, bool kContiguous, bool kDisplayOffset>
[[ZELK_VECTOR_CLONES gnu::noinline]] Extremes convertRun(const std::byte* from,
                                                         std::ptrdiff_t stride, std::int32_t count,
                                                         const FoldedTransform& f,
                                                         const RunMapping& m, gdi::Point* out) {
  // The extremes are kept on the stored coordinates: truncation, the display offset and its
  // saturation are all monotonic, so they are the stored values of the extreme samples. Integer
  // minima and maxima keep the loop vectorised, which floating ones would not be.
  if (count <= 0)
    return {addSaturated(kPixelMax, m.displayOffset), addSaturated(kPixelMin, m.displayOffset)};
  std::int32_t low = kPixelMax;
  std::int32_t high = kPixelMin;
  const double reference = m.reference;
  const double gain = m.gain;
  const double offset = m.offset;
  const std::int32_t displayOffset = m.displayOffset;
  const double lowest = f.lowest;
  const double highest = f.highest;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::byte* at = kContiguous ? from + static_cast<std::ptrdiff_t>(i) * sizeof(T)
                                      : from + static_cast<std::ptrdiff_t>(i) * stride;
    double field = fieldValue(loadSample<T>(at), f);
    if constexpr (kReferenced) field -= reference;
    double v = field * gain + offset;
    // NaN fails the first comparison and lands on the low end.
    v = v > lowest ? v : lowest;
    v = v < highest ? v : highest;
    std::int32_t c = static_cast<std::int32_t>(v);
    if constexpr (kDisplayOffset) {
      // Both terms are 16-bit, so the sum cannot overflow before it is saturated again.
      c += displayOffset;
      c = c < kPixelMin ? kPixelMin : c;
      c = c > kPixelMax ? kPixelMax : c;
    }
    low = low < c ? low : c;
    high = high > c ? high : c;
    if constexpr (kX) {
      out[i].x = c;
    } else {
      out[i].y = c;
    }
  }
  return {low, high};
}

template <typename T, bool kReferenced, bool kX, bool kContiguous>
inline Extremes convertLayout(const std::byte* from, std::ptrdiff_t stride, std::int32_t count,
                              const FoldedTransform& f, const RunMapping& m, gdi::Point* out) {
  if (m.displayOffset != 0)
    return convertRun<T, kReferenced, kX, kContiguous, true>(from, stride, count, f, m, out);
  return convertRun<T, kReferenced, kX, kContiguous, false>(from, stride, count, f, m, out);
}

template <typename T, bool kReferenced, bool kX>
inline Extremes convertAxis(const std::byte* from, std::ptrdiff_t stride, std::int32_t count,
                            const FoldedTransform& f, const RunMapping& m, gdi::Point* out) {
  if (stride == static_cast<std::ptrdiff_t>(sizeof(T))) {
    return convertLayout<T, kReferenced, kX, true>(from, stride, count, f, m, out);
  }
  return convertLayout<T, kReferenced, kX, false>(from, stride, count, f, m, out);
}

}  // namespace detail

// Writes count coordinates of the given axis starting at out, reading the samples from `from`
// every `stride` bytes. Returns the extremes of what it wrote.
template <typename T, bool kReferenced = false>
inline Extremes convertSamples(Axis axis, const std::byte* from, std::ptrdiff_t stride,
                               std::int32_t count, const FoldedTransform& f, const RunMapping& m,
                               gdi::Point* out) {
  return axis == Axis::X
             ? detail::convertAxis<T, kReferenced, true>(from, stride, count, f, m, out)
             : detail::convertAxis<T, kReferenced, false>(from, stride, count, f, m, out);
}

namespace detail {

template <bool kX>
[[ZELK_VECTOR_CLONES gnu::noinline]] Extremes moveRun(gdi::Point* points, std::int32_t from,
                                                      std::int32_t to, std::int32_t distance,
                                                      std::int32_t shift) {
  std::int32_t low = kPixelMax;
  std::int32_t high = kPixelMin;
  for (std::int32_t k = from; k < to; ++k) {
    std::int32_t c = kX ? points[k].x : points[k].y;
    // Held coordinates are 16-bit and so is the shift: the sum fits before saturation.
    c += shift;
    c = c < kPixelMin ? kPixelMin : c;
    c = c > kPixelMax ? kPixelMax : c;
    if constexpr (kX) {
      points[k - distance].x = c;
    } else {
      points[k - distance].y = c;
    }
    low = std::min(low, c);
    high = std::max(high, c);
  }
  return {low, high};
}

}  // namespace detail

// Moves the coordinates of points [from, to) `distance` places toward the front, adding a
// 16-bit shift with saturation. Returns the extremes of the moved run ({max, min} if empty).
inline Extremes moveCoordinates(Axis axis, gdi::Point* points, std::int32_t from, std::int32_t to,
                                std::int32_t distance, std::int32_t shift) {
  return axis == Axis::X ? detail::moveRun<true>(points, from, to, distance, shift)
                         : detail::moveRun<false>(points, from, to, distance, shift);
}

inline Extremes unite(Extremes a, Extremes b) {
  return {std::min(a.minimum, b.minimum), std::max(a.maximum, b.maximum)};
}

}  // namespace kvplotax
