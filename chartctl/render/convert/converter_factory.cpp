#include "render/converter_factory.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "auto_increment_converter.h"
#include "crt_converter.h"
#include "scroll_converter.h"

namespace kvplotax {

namespace {

template <typename T>
std::unique_ptr<SampleConverter> makeFor(const ConverterParams& params,
                                         std::span<gdi::Point> points) {
  if (params.scrollRight) return std::make_unique<ScrollConverter<T>>(params, points);
  return std::make_unique<CrtConverter<T>>(params, points);
}

}  // namespace

std::unique_ptr<SampleConverter> createSampleConverter(const ConverterParams& params,
                                                       std::span<gdi::Point> points,
                                                       std::int32_t bufferLength) {
  const std::size_t limit =
      std::min<std::size_t>(points.size(), std::numeric_limits<std::int32_t>::max());
  const auto length = static_cast<std::size_t>(
      std::clamp<std::int64_t>(bufferLength, 0, static_cast<std::int64_t>(limit)));
  const std::span<gdi::Point> shown = points.first(length);
  if (params.shape == static_cast<std::int32_t>(SampleShape::AutoIncr)) {
    return std::make_unique<AutoIncrementConverter>(params, shown);
  }
  switch (static_cast<SampleType>(params.dataType)) {
    case SampleType::U8:
      return makeFor<std::uint8_t>(params, shown);
    case SampleType::I8:
      return makeFor<std::int8_t>(params, shown);
    case SampleType::U16:
      return makeFor<std::uint16_t>(params, shown);
    case SampleType::I16:
      return makeFor<std::int16_t>(params, shown);
    case SampleType::U32:
      return makeFor<std::uint32_t>(params, shown);
    case SampleType::I32:
      return makeFor<std::int32_t>(params, shown);
    case SampleType::F32:
      return makeFor<float>(params, shown);
    case SampleType::F64:
      return makeFor<double>(params, shown);
  }
  return nullptr;
}

}  // namespace kvplotax
