// Building converters over a local point buffer and feeding them typed arrays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gdi/geometry.h"
#include "render/converter_factory.h"

namespace kvplotax::testing {

// A channel's converter with its own point buffer (length + 2 spare entries).
struct Channel {
  Channel(const ConverterParams& params, std::int32_t length)
      : points(static_cast<std::size_t>(length) + 2, gdi::Point{-1, -1}),
        converter(createSampleConverter(params, points, length)) {}

  std::int32_t at(std::int32_t i, Axis axis) const {
    return axis == Axis::X ? points[static_cast<std::size_t>(i)].x
                           : points[static_cast<std::size_t>(i)].y;
  }
  std::vector<std::int32_t> coordinates(std::int32_t first, std::int32_t count, Axis axis) const {
    std::vector<std::int32_t> out;
    for (std::int32_t i = first; i < first + count; ++i) out.push_back(at(i, axis));
    return out;
  }

  std::vector<gdi::Point> points;
  std::unique_ptr<SampleConverter> converter;
};

template <typename T>
std::span<const std::byte> bytesOf(const std::vector<T>& values) {
  return std::as_bytes(std::span(values));
}

// Y axis of world 0..height on viewport rows bottom..top; X of world 0..width on columns
// left..right.
inline ConverterParams yParams(std::int32_t type, float height, std::int32_t bottom,
                               std::int32_t top) {
  ConverterParams p;
  p.axis = Axis::Y;
  p.dataType = type;
  p.worldMin = 0.0f;
  p.worldMax = height;
  p.pixelStart = bottom;
  p.pixelEnd = top;
  return p;
}

inline ConverterParams xParams(std::int32_t type, float width, std::int32_t left,
                               std::int32_t right) {
  ConverterParams p = yParams(type, width, left, right);
  p.axis = Axis::X;
  return p;
}

}  // namespace kvplotax::testing
