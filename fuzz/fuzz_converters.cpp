// Drives the sample converters with arbitrary data descriptions, transforms, mappings, modes,
// buffer lengths and operation sequences over a caller array of arbitrary size. The array is
// copied into an allocation of exactly its size, so any read outside it is caught.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "gdi/geometry.h"
#include "render/converter_factory.h"

namespace {

using kvplotax::Axis;
using kvplotax::ConverterParams;
using kvplotax::SampleTransform;

constexpr int kSentinel = 0x5EED;

void require(bool condition) {
  if (!condition) std::abort();
}

float anyFloat(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      return static_cast<float>(in.ConsumeIntegralInRange<int>(-1000, 1000));
    case 1:
      return in.ConsumeFloatingPoint<float>();
    case 2:
      return in.ConsumeFloatingPointInRange<float>(-10.0f, 10.0f);
    default:
      return in.ConsumeFloatingPoint<float>() / 0.0f;  // infinities and NaN
  }
}

std::int32_t anyInt(FuzzedDataProvider& in, std::int32_t small) {
  return in.ConsumeBool() ? in.ConsumeIntegralInRange<std::int32_t>(-small, small)
                          : in.ConsumeIntegral<std::int32_t>();
}

SampleTransform anyTransform(FuzzedDataProvider& in) {
  SampleTransform t;
  t.gain = anyFloat(in);
  t.offset = anyFloat(in);
  t.msb = in.ConsumeIntegralInRange<std::int32_t>(-3, 70);
  t.lsb = in.ConsumeIntegralInRange<std::int32_t>(-3, 70);
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  ConverterParams p;
  p.axis = in.ConsumeBool() ? Axis::X : Axis::Y;
  p.dataType = in.ConsumeIntegralInRange<std::int32_t>(-1, 8);
  p.shape = in.ConsumeIntegralInRange<std::int32_t>(0, 3);
  p.dataOffset = anyInt(in, 40);
  p.dataIncrement = anyInt(in, 8);
  if (in.ConsumeBool()) p.transform = anyTransform(in);
  p.worldMin = anyFloat(in);
  p.worldMax = anyFloat(in);
  p.pixelStart = in.ConsumeIntegralInRange<std::int32_t>(-40000, 40000);
  p.pixelEnd = in.ConsumeIntegralInRange<std::int32_t>(-40000, 40000);
  p.displayOffset = anyFloat(in);
  p.scrollRight = in.ConsumeBool();
  const std::int32_t length = in.ConsumeIntegralInRange<std::int32_t>(-2, 300);
  const std::size_t arraySize = in.ConsumeIntegralInRange<std::size_t>(0, 2048);

  std::vector<gdi::Point> points(static_cast<std::size_t>(length < 0 ? 0 : length) + 2,
                                 gdi::Point{kSentinel, kSentinel});
  auto converter = kvplotax::createSampleConverter(p, points, length);
  const std::vector<std::uint8_t> arrayBytes = in.ConsumeBytes<std::uint8_t>(arraySize);
  auto array = std::make_unique<std::byte[]>(arrayBytes.size());
  for (std::size_t i = 0; i < arrayBytes.size(); ++i) array[i] = std::byte{arrayBytes[i]};
  const std::span<const std::byte> source(array.get(), arrayBytes.size());
  if (!converter) return 0;

  const std::int32_t shown = converter->bufferLength();
  require(shown >= 0 && shown <= (length < 0 ? 0 : length));
  int operations = 0;
  while (in.remaining_bytes() > 0 && ++operations < 64) {
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
      case 0: {
        const std::int32_t count = anyInt(in, 400);
        const std::int32_t skip = anyInt(in, 400);
        const int checked = converter->check(source, count, skip);
        const int status = converter->append(source, count, skip);
        require(status == checked);
        require(status == 0 || status == -10 || status == -11);
        if (status == 0) require(converter->minimum() <= converter->maximum());
        break;
      }
      case 1:
        converter->translate(anyFloat(in), anyInt(in, 400), anyInt(in, 400));
        break;
      case 2:
        converter->reset();
        break;
      case 3:
        if (in.ConsumeBool()) {
          converter->setTransform(anyTransform(in));
        } else {
          converter->setTransform(std::nullopt);
        }
        break;
      case 4:
        converter->isSaturated(anyInt(in, 400), anyInt(in, 400));
        converter->offsetChanged(anyFloat(in));
        break;
      default:
        require(converter->writePosition() >= 0 && converter->writePosition() <= shown);
        require(converter->firstIndex() >= 0 && converter->firstIndex() <= shown);
        break;
    }
  }
  // Coordinates stay 16-bit; the spare entries and the other member belong to someone else.
  for (std::size_t i = 0; i < points.size(); ++i) {
    const gdi::Point& q = points[i];
    const int written = p.axis == Axis::X ? q.x : q.y;
    const int other = p.axis == Axis::X ? q.y : q.x;
    require(other == kSentinel);
    if (i >= static_cast<std::size_t>(shown))
      require(written == kSentinel);
    else
      require(written == kSentinel || (written >= -32768 && written <= 32767));
  }
  return 0;
}
