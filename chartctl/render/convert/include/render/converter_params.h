// What a sample converter is built from: the channel's data description for one dimension,
// its transform and its window-to-viewport mapping, as plain values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "render/coordinate_shift.h"

namespace kvplotax {

// ChnDataType values.
enum class SampleType : std::int32_t { U8 = 0, I8, U16, I16, U32, I32, F32, F64 };
// ChnDataShape values.
enum class SampleShape : std::int32_t { Scalar = 0, Pair = 1, AutoIncr = 2 };

// Status of an append: 0, or the data path's own negative codes.
inline constexpr int kAppendOk = 0;
inline constexpr int kAppendBounds = -10;         // PlotrexData_Bounds
inline constexpr int kAppendInvalidScroll = -11;  // PlotrexData_InvalidScroll

// Bytes per element of a data type; 0 for a value outside 0..7.
constexpr std::size_t sampleSize(std::int32_t dataType) {
  switch (dataType) {
    case 0:
    case 1:
      return 1;
    case 2:
    case 3:
      return 2;
    case 4:
    case 5:
    case 6:
      return 4;
    case 7:
      return 8;
    default:
      return 0;
  }
}

// A channel transform (ChnXformGain, ChnXformOffset, ChnXformMSB, ChnXformLSB).
struct SampleTransform {
  float gain = 1.0f;
  float offset = 0.0f;
  std::int32_t msb = -1;
  std::int32_t lsb = -1;
};

struct ConverterParams {
  Axis axis = Axis::Y;
  // ChnDataType, ChnDataShape, ChnDataOffset, ChnDataIncr as stored: values outside their
  // ranges are accepted here and judged by the factory and the converter.
  std::int32_t dataType = 6;
  std::int32_t shape = 0;
  std::int32_t dataOffset = 0;
  std::int32_t dataIncrement = 1;
  // Absent when ChnDataXform is 0 or names no transform: full width, gain 1, offset 0.
  std::optional<SampleTransform> transform;
  // The axis of the channel's window and the matching edges of its viewport: left/right for
  // X, bottom/top for Y.
  float worldMin = 0.0f;
  float worldMax = 1.0f;
  std::int32_t pixelStart = 0;
  std::int32_t pixelEnd = 0;
  // ChnDspOffsetX or ChnDspOffsetY, world units.
  float displayOffset = 0.0f;
  // ChnDspMode is Plotrex_ScrollRight.
  bool scrollRight = false;
};

// Which description a dimension reads: both members of a pair come from the vertical array, so
// a vertical pair shape makes the horizontal converter use the vertical description too.
constexpr bool usesVerticalDescription(Axis axis, std::int32_t verticalShape) {
  return axis == Axis::Y || verticalShape == static_cast<std::int32_t>(SampleShape::Pair);
}

}  // namespace kvplotax
