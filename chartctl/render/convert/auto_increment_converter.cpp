#include "auto_increment_converter.h"

#include <algorithm>

namespace kvplotax {

AutoIncrementConverter::AutoIncrementConverter(const ConverterParams& params,
                                               std::span<gdi::Point> points)
    : SampleConverter(params, points), scrollRight_(params.scrollRight) {
  AutoIncrementConverter::setTransform(params.transform);
  AutoIncrementConverter::reset();
}

int AutoIncrementConverter::check(std::span<const std::byte>, std::int32_t count,
                                  std::int32_t skip) const {
  if (count < 1 || skip < 0 || bufferLength() < 1) return kAppendBounds;
  if (!scrollRight_ && std::int64_t{writePosition()} + count > bufferLength()) {
    return kAppendBounds;
  }
  return kAppendOk;
}

int AutoIncrementConverter::append(std::span<const std::byte> source, std::int32_t count,
                                   std::int32_t skip) {
  const int status = check(source, count, skip);
  if (status != kAppendOk) return status;
  const std::int32_t length = bufferLength();
  if (scrollRight_) {
    const std::int32_t first = std::max(firstIndex() - std::min(count, length), 0);
    setFirstIndex(first);
    setExtremes(extremesOf({points() + first, static_cast<std::size_t>(length - first)}, axis()));
    return kAppendOk;
  }
  // The block covers positions at .. at + count - 1; their coordinates are monotonic, so the
  // two ends are the extremes.
  const std::int32_t at = writePosition();
  const std::int32_t a = points()[at].*member();
  const std::int32_t b = points()[at + count - 1].*member();
  setExtremes({std::min(a, b), std::max(a, b)});
  setWritePosition(at + count >= length ? 0 : at + count);
  return kAppendOk;
}

void AutoIncrementConverter::setTransform(const std::optional<SampleTransform>& transform) {
  const SampleTransform t = transform.value_or(SampleTransform{});
  gain_ = t.gain;
  offset_ = t.offset;
  writePositions();
}

bool AutoIncrementConverter::translate(float displayOffset, std::int32_t first,
                                       std::int32_t count) {
  if (mutableMapping().setDisplayOffset(displayOffset) == 0) return false;
  // Every position is rewritten, not just the shown run: the positions not yet reached keep
  // their place relative to the shown ones, and nothing is lost to saturation.
  writePositions();
  const std::int64_t begin = std::clamp<std::int64_t>(first, 0, bufferLength());
  const std::int64_t end =
      std::clamp<std::int64_t>(std::int64_t{first} + count, begin, bufferLength());
  setExtremes(extremesOf({points() + begin, static_cast<std::size_t>(end - begin)}, axis()));
  return true;
}

void AutoIncrementConverter::reset() {
  const std::int32_t start = scrollRight_ ? bufferLength() : 0;
  setFirstIndex(start);
  setWritePosition(start);
}

void AutoIncrementConverter::remap(float worldMin, float worldMax, std::int32_t pixelStart,
                                   std::int32_t pixelEnd) {
  SampleConverter::remap(worldMin, worldMax, pixelStart, pixelEnd);
  writePositions();
}

void AutoIncrementConverter::writePositions() {
  gdi::Point* p = points();
  const auto m = member();
  for (std::int32_t i = 0; i < bufferLength(); ++i) {
    p[i].*m = mapping().pixel(offset_ + static_cast<double>(i) * gain_);
  }
}

}  // namespace kvplotax
