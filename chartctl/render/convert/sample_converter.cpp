#include "render/sample_converter.h"

#include <algorithm>

#include "render/pixel_saturation.h"
#include "render/single_precision.h"

namespace kvplotax {

namespace {

// A run [first, first + count) cut to the buffer's shown points.
std::span<gdi::Point> clampedRun(gdi::Point* points, std::int32_t length, std::int32_t first,
                                 std::int32_t count) {
  const std::int64_t begin = std::clamp<std::int64_t>(first, 0, length);
  const std::int64_t end = std::clamp<std::int64_t>(std::int64_t{first} + count, begin, length);
  return {points + begin, static_cast<std::size_t>(end - begin)};
}

}  // namespace

SampleConverter::SampleConverter(const ConverterParams& params, std::span<gdi::Point> points)
    : axis_(params.axis),
      member_(coordinateOf(params.axis)),
      dataType_(params.dataType),
      shape_(params.shape),
      dataOffset_(params.dataOffset),
      dataIncrement_(params.dataIncrement),
      points_(points.data()),
      length_(static_cast<std::int32_t>(points.size())),
      mapping_(params.worldMin, params.worldMax, params.pixelStart, params.pixelEnd,
               params.displayOffset) {}

SampleConverter::~SampleConverter() = default;

bool SampleConverter::locate(std::span<const std::byte> source, std::int32_t count,
                             std::int32_t skip, SampleWalk& walk) const {
  const std::size_t size = sampleSize(dataType_);
  if (count < 1 || skip < 0 || size == 0 || source.data() == nullptr) return false;
  // Pairs count whole (x, y) pairs; the y member is the element after its x.
  const bool pair = shape_ == static_cast<std::int32_t>(SampleShape::Pair);
  const __int128 perPoint = pair ? 2 : 1;
  const __int128 stride = perPoint * dataIncrement_;
  const __int128 start =
      perPoint * dataOffset_ + ((pair && axis_ == Axis::Y) ? 1 : 0) + stride * skip;
  const __int128 last = start + stride * (count - 1);
  const __int128 available = static_cast<__int128>(source.size() / size);
  if (std::min(start, last) < 0 || std::max(start, last) >= available) return false;
  walk.first = source.data() + static_cast<std::ptrdiff_t>(start * size);
  walk.stride = static_cast<std::ptrdiff_t>(stride * size);
  return true;
}

bool SampleConverter::translate(float displayOffset, std::int32_t first, std::int32_t count) {
  const std::int32_t delta = mapping_.setDisplayOffset(displayOffset);
  if (delta == 0) return false;
  extremes_ = shiftCoordinates(clampedRun(points_, length_, first, count), axis_, delta);
  return true;
}

bool SampleConverter::offsetChanged(float displayOffset) const {
  return !sameInSinglePrecision(displayOffset, mapping_.displayOffsetWorld());
}

bool SampleConverter::isSaturated(std::int32_t first, std::int32_t count) const {
  const auto run = clampedRun(points_, length_, first, count);
  return std::any_of(run.begin(), run.end(), [this](const gdi::Point& p) {
    return p.*member_ == kPixelMin || p.*member_ == kPixelMax;
  });
}

void SampleConverter::reset() { writePosition_ = 0; }

void SampleConverter::remap(float worldMin, float worldMax, std::int32_t pixelStart,
                            std::int32_t pixelEnd) {
  mapping_ = AxisMapping(worldMin, worldMax, pixelStart, pixelEnd, mapping_.displayOffsetWorld());
}

ConverterState SampleConverter::saveState() const {
  ConverterState state;
  state.writePosition = writePosition_;
  state.first = first_;
  state.extremes = extremes_;
  return state;
}

void SampleConverter::restoreState(const ConverterState& state) {
  writePosition_ = state.writePosition;
  first_ = state.first;
  extremes_ = state.extremes;
}

void SampleConverter::measure(std::int32_t first, std::int32_t count) {
  extremes_ = extremesOf(clampedRun(points_, length_, first, count), axis_);
}

}  // namespace kvplotax
