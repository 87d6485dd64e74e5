// A channel transform and an axis mapping folded into one gain and one offset, so that a
// sample costs one AND, one XOR, one subtraction and one multiply-add.
#pragma once

#include <cstdint>
#include <optional>
#include <type_traits>

#include "render/axis_mapping.h"
#include "render/converter_params.h"

namespace kvplotax {

struct FoldedTransform {
  // Integer types: the bit field is read in place as ((raw & mask) ^ flip) - centre. Unsigned
  // fields subtract their top bit to stay small and signed and add it back in worldOffset;
  // signed fields flip their top bit first, which sign-extends the field from that bit.
  // Arithmetic is modulo 2^32: every field of up to 32 bits minus its top bit fits a signed
  // 32-bit value, which converts to double in one vector instruction.
  std::uint32_t mask = ~std::uint32_t{0};
  std::uint32_t flip = 0;
  std::uint32_t centre = 0;
  // world = value * worldGain + worldOffset
  double worldGain = 1.0;
  double worldOffset = 0.0;
  // pixel (before truncation) = value * gain + offset
  double gain = 1.0;
  double offset = 0.0;
  // The range a pixel coordinate saturates to before truncation. The loops read it from here
  // rather than from constants: GCC would fold constant bounds into the truncated result and
  // saturate the integers with lane shuffles, which costs the vectorised loop a third of its
  // speed; bounds it cannot see stay two vector comparisons on the doubles.
  double lowest = -32768.0;
  double highest = 32767.0;
};

FoldedTransform foldTransform(std::int32_t dataType, const std::optional<SampleTransform>& t,
                              const AxisMapping& mapping);

// The field value of one raw element, before gain and offset.
template <typename T>
inline double fieldValue(T raw, const FoldedTransform& f) {
  if constexpr (std::is_floating_point_v<T>) {
    return static_cast<double>(raw);
  } else {
    const std::uint32_t word = static_cast<std::make_unsigned_t<T>>(raw);
    return static_cast<double>(static_cast<std::int32_t>(((word & f.mask) ^ f.flip) - f.centre));
  }
}

}  // namespace kvplotax
