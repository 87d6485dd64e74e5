// The saved form of one scale record: a marked, versioned, named block of little-endian fields.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kvplotax::scale {

struct ScaleInfoAxis {
  std::int32_t pen = 1;
  std::int32_t places = 0;
  std::int32_t gap = 5;
  std::int32_t position = 0;
  std::int32_t orientation = 0;
  std::int32_t location = 0;
  std::int32_t path = 0;
  std::int32_t visibility = 0;
  friend bool operator==(const ScaleInfoAxis&, const ScaleInfoAxis&) = default;
};

struct ScaleInfo {
  std::int32_t number = 0;
  std::int32_t action = 0;
  std::int32_t window = 1;
  std::int32_t viewport = 1;
  std::int32_t dimension = 0;
  std::array<ScaleInfoAxis, 2> axes{};
  float factor = 1.0f;
  std::string caption;
  std::int32_t descender = 0;
  std::int32_t labelPen = 1;
  std::int32_t labelPosition = 0;
  std::int32_t labelOrientation = 0;
  std::int32_t labelLocation = 2;
  std::int32_t labelPath = 0;
  friend bool operator==(const ScaleInfo&, const ScaleInfo&) = default;
};

// The longest caption the record holds; a longer one is saved cut to this length.
inline constexpr std::size_t kScaleInfoCaptionMax = 255;

// How many bytes of a caption the record keeps: at most kScaleInfoCaptionMax, and never part of
// a UTF-8 character.
std::size_t savedCaptionBytes(std::string_view caption);

// Appends the record to out.
void writeScaleInfo(const ScaleInfo& info, std::vector<std::uint8_t>& out);

// Reads one record from the start of bytes. Returns the bytes it took, or 0 (info unchanged)
// when they do not start with a whole record of this kind and version.
std::size_t readScaleInfo(std::span<const std::uint8_t> bytes, ScaleInfo& info);

}  // namespace kvplotax::scale
