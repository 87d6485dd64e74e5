#include "folded_transform.h"

#include <algorithm>
#include <cmath>

namespace kvplotax {

namespace {

bool isSigned(std::int32_t dataType) { return dataType == 1 || dataType == 3 || dataType == 5; }

}  // namespace

FoldedTransform foldTransform(std::int32_t dataType, const std::optional<SampleTransform>& t,
                              const AxisMapping& mapping) {
  const SampleTransform transform = t.value_or(SampleTransform{});
  const double gain = transform.gain;
  const double offset = transform.offset;
  FoldedTransform f;
  if (dataType == 6 || dataType == 7) {
    f.worldGain = gain;
    f.worldOffset = offset;
  } else {
    const std::int32_t width = static_cast<std::int32_t>(sampleSize(dataType)) * 8;
    std::int32_t msb = transform.msb;
    std::int32_t lsb = transform.lsb;
    // MSB = LSB and MSB = -1 select the whole word; so does any other negative bit number,
    // which would otherwise make a shift or a power of two meaningless.
    if (!t || msb == lsb || msb < 0 || lsb < 0) {
      msb = width - 1;
      lsb = 0;
    }
    msb = std::min(msb, width - 1);
    const double unit = std::ldexp(gain, -std::min(lsb, 64));
    f.worldGain = unit;
    if (lsb > msb) {
      // The field lies above the element's width: every sample reads as 0.
      f.mask = 0;
      f.worldOffset = offset;
    } else {
      const std::uint32_t top = std::uint32_t{1} << msb;
      f.mask = ((top << 1) - 1) & ~((std::uint32_t{1} << lsb) - 1);  // top << 1 is 0 for bit 31
      f.centre = top;
      if (isSigned(dataType)) {
        f.flip = top;
        f.worldOffset = offset;
      } else {
        f.worldOffset = static_cast<double>(f.centre) * unit + offset;
      }
    }
  }
  const double s = mapping.scale();
  f.gain = f.worldGain * s;
  f.offset = f.worldOffset * s + static_cast<double>(mapping.base());
  return f;
}

}  // namespace kvplotax
