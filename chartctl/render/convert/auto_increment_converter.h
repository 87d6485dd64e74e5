// Converter for the auto-increment shape: reads no data. Every buffer position has a fixed
// coordinate, (transform offset + position x transform gain) mapped to pixels, written once
// at set-up; an append only advances through them.
#pragma once

#include "render/sample_converter.h"

namespace kvplotax {

class AutoIncrementConverter : public SampleConverter {
 public:
  AutoIncrementConverter(const ConverterParams& params, std::span<gdi::Point> points);

  int append(std::span<const std::byte> source, std::int32_t count, std::int32_t skip) override;
  void setTransform(const std::optional<SampleTransform>& transform) override;
  bool translate(float displayOffset, std::int32_t first, std::int32_t count) override;
  void reset() override;
  // The positions are written again for the new mapping: they follow without any arithmetic
  // on the held points.
  void remap(float worldMin, float worldMax, std::int32_t pixelStart,
             std::int32_t pixelEnd) override;
  int check(std::span<const std::byte> source, std::int32_t count,
            std::int32_t skip) const override;

 private:
  void writePositions();

  bool scrollRight_;
  double gain_ = 1.0;
  double offset_ = 0.0;
};

}  // namespace kvplotax
