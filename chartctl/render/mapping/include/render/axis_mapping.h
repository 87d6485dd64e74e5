// The linear map of one window axis (world units) onto one viewport axis (device pixels).
#pragma once

#include <cstdint>

namespace kvplotax {

class AxisMapping {
 public:
  AxisMapping() = default;
  // X maps world min/max onto viewport left/right; Y onto viewport bottom/top, so its scale is
  // negative. The display offset is in world units and is kept in pixels.
  AxisMapping(float worldMin, float worldMax, std::int32_t pixelStart, std::int32_t pixelEnd,
              float displayOffset);

  float worldMin() const { return worldMin_; }
  float worldMax() const { return worldMax_; }
  std::int32_t pixelStart() const { return pixelStart_; }
  std::int32_t pixelEnd() const { return pixelEnd_; }
  // Pixels per world unit; infinite or NaN for a window without extent.
  float scale() const { return scale_; }
  // |1 / scale|, 0 while the scale is 0.
  float inverseScale() const { return inverseScale_; }
  // The pixel of world value 0.
  float base() const { return base_; }
  std::int32_t displayOffset() const { return displayOffset_; }
  float displayOffsetWorld() const { return displayOffsetWorld_; }

  // World value to device pixel: truncated, saturated, then shifted by the display offset with
  // saturation.
  std::int32_t pixel(double v) const;
  // A world offset in pixels, saturated to 16 bits.
  std::int32_t offsetPixels(float worldOffset) const;
  // Stores a new display offset; returns the change in pixels (0 when nothing moves).
  std::int32_t setDisplayOffset(float worldOffset);

 private:
  float worldMin_ = 0.0f;
  float worldMax_ = 0.0f;
  std::int32_t pixelStart_ = 0;
  std::int32_t pixelEnd_ = 0;
  float scale_ = 0.0f;
  float inverseScale_ = 0.0f;
  float base_ = 0.0f;
  float displayOffsetWorld_ = 0.0f;
  std::int32_t displayOffset_ = 0;
};

}  // namespace kvplotax
