// Comparison of stored single-precision settings with the tolerance of their own rounding.
#pragma once

namespace kvplotax {

// True when a and b differ by no more than one unit of the 24-bit mantissa of the larger of
// the two (the smaller mantissa aligned to the larger exponent).
bool sameInSinglePrecision(float a, float b);

}  // namespace kvplotax
