// Converter of one data type for the sweeping (CRT) display: each block is written at the
// write position, which wraps to the start when the buffer is full.
#pragma once

#include "folded_transform.h"
#include "render/sample_converter.h"
#include "sample_loop.h"

namespace kvplotax {

template <typename T>
class CrtConverter : public SampleConverter {
 public:
  CrtConverter(const ConverterParams& params, std::span<gdi::Point> points)
      : SampleConverter(params, points) {
    CrtConverter::setTransform(params.transform);
  }

  int append(std::span<const std::byte> source, std::int32_t count, std::int32_t skip) override {
    SampleWalk walk;
    const int status = locateBlock(source, count, skip, walk);
    if (status != kAppendOk) return status;
    const std::int32_t at = writePosition();
    const RunMapping run{0.0, folded_.gain, folded_.offset, mapping().displayOffset()};
    setExtremes(
        convertSamples<T>(axis(), walk.first, walk.stride, count, folded_, run, points() + at));
    const std::int32_t next = at + count;
    setWritePosition(next >= bufferLength() ? 0 : next);
    return kAppendOk;
  }

  void setTransform(const std::optional<SampleTransform>& transform) override {
    transform_ = transform;
    folded_ = foldTransform(dataType(), transform, mapping());
  }

  void remap(float worldMin, float worldMax, std::int32_t pixelStart,
             std::int32_t pixelEnd) override {
    SampleConverter::remap(worldMin, worldMax, pixelStart, pixelEnd);
    folded_ = foldTransform(dataType(), transform_, mapping());
  }

  int check(std::span<const std::byte> source, std::int32_t count,
            std::int32_t skip) const override {
    SampleWalk walk;
    return locateBlock(source, count, skip, walk);
  }

 protected:
  const FoldedTransform& folded() const { return folded_; }

 private:
  int locateBlock(std::span<const std::byte> source, std::int32_t count, std::int32_t skip,
                  SampleWalk& walk) const {
    if (count < 1 || std::int64_t{writePosition()} + count > bufferLength()) return kAppendBounds;
    return locate(source, count, skip, walk) ? kAppendOk : kAppendBounds;
  }

  std::optional<SampleTransform> transform_;
  FoldedTransform folded_;
};

}  // namespace kvplotax
