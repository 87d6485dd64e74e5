// Stored settings of the numbered objects, one record per object number.
#pragma once

#include <cstdint>

namespace kvplotax {

struct PenSettings {
  std::int32_t style = 0;
  std::int32_t width = 0;
  std::uint32_t color = 0;
  std::uint32_t intenseColor = 0;
  static PenSettings fresh() { return {0, 0, 0x00FFFF00u, 0x00FFFF00u}; }
  friend bool operator==(const PenSettings&, const PenSettings&) = default;
};

// Edges in twips, taken from the viewport object at selection.
struct ViewportSettings {
  bool storageOn = false;
  std::int32_t left = 0;
  std::int32_t right = 0;
  std::int32_t top = 0;
  std::int32_t bottom = 0;
  static ViewportSettings fresh() { return {}; }
};

struct WindowObject {
  float xmin = 0.0f;
  float ymin = 0.0f;
  float width = 0.0f;
  float height = 0.0f;
  static WindowObject fresh() { return {0.0f, 0.0f, 1.0f, 1.0f}; }
};

struct XformSettings {
  std::int32_t kind = 0;
  float gain = 0.0f;
  float offset = 0.0f;
  std::int32_t msb = 0;
  std::int32_t lsb = 0;
  static XformSettings fresh() { return {0, 1.0f, 0.0f, -1, -1}; }
};

struct ChannelSettings {
  std::int32_t action = 0;
  std::int32_t style = 0;
  std::int32_t mode = 0;
  std::int32_t bufLen = 0;
  std::int32_t pen = 0;
  std::int32_t window = 0;
  std::int32_t viewport = 0;
  float offsetX = 0.0f;
  float offsetY = 0.0f;
  std::int32_t userData = 0;
  static ChannelSettings fresh() { return {1, 0, 0, 500, 1, 1, 1, 0.0f, 0.0f, 0}; }
};

struct ChnDataSettings {
  std::int32_t dimension = 0;
  std::int32_t shape = 0;
  std::int32_t type = 0;
  std::int32_t incr = 0;
  std::int32_t offset = 0;
  std::int32_t xform = 0;
  static ChnDataSettings fresh(std::int32_t dimension) { return {dimension, 0, 6, 1, 0, 0}; }
};

}  // namespace kvplotax
