#include "render/axis_mapping.h"

#include <cmath>

#include "render/pixel_saturation.h"

namespace kvplotax {

AxisMapping::AxisMapping(float worldMin, float worldMax, std::int32_t pixelStart,
                         std::int32_t pixelEnd, float displayOffset)
    : worldMin_(worldMin), worldMax_(worldMax), pixelStart_(pixelStart), pixelEnd_(pixelEnd) {
  // Single precision on purpose: scales and bases are the same numbers the scales and the
  // re-mapping of a trace compute, so a value maps to the same pixel everywhere.
  scale_ = static_cast<float>(pixelEnd - pixelStart) / (worldMax - worldMin);
  if (scale_ != 0.0f) inverseScale_ = std::fabs(1.0f / scale_);
  base_ = static_cast<float>(pixelStart) - worldMin * scale_;
  displayOffsetWorld_ = displayOffset;
  displayOffset_ = offsetPixels(displayOffset);
}

std::int32_t AxisMapping::pixel(double v) const {
  const double exact = v * static_cast<double>(scale_) + static_cast<double>(base_);
  return addSaturated(saturatePixel(exact), displayOffset_);
}

std::int32_t AxisMapping::offsetPixels(float worldOffset) const {
  const double pixels = static_cast<double>(worldOffset) * static_cast<double>(scale_);
  // An offset of 0 stays 0 even on a window without extent (0 x inf would be NaN).
  return worldOffset == 0.0f ? 0 : saturatePixel(pixels);
}

std::int32_t AxisMapping::setDisplayOffset(float worldOffset) {
  const std::int32_t pixels = offsetPixels(worldOffset);
  const std::int32_t delta = pixels - displayOffset_;
  displayOffsetWorld_ = worldOffset;
  displayOffset_ = pixels;
  return delta;
}

}  // namespace kvplotax
