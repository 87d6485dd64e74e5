// Rounding and range checks shared by the coercions.
#pragma once

#include <cmath>
#include <cstdint>

#include "automation/automation.h"

namespace automation::detail {

// Round half to even, independent of the floating-point environment's rounding mode.
inline double roundHalfEven(double value) {
  const double lower = std::floor(value);
  const double diff = value - lower;
  if (diff < 0.5) return lower;
  if (diff > 0.5) return lower + 1.0;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

// Rounds, then raises overflow (6) when the result is outside [min, max] or not a number.
inline std::int64_t roundToRange(double value, std::int64_t min, std::int64_t max) {
  const double rounded = roundHalfEven(value);
  if (!(rounded >= static_cast<double>(min) && rounded <= static_cast<double>(max))) {
    throw AutomationError::standard(kErrOverflow);
  }
  return static_cast<std::int64_t>(rounded);
}

// Narrows to single precision; overflow (6) when a finite value would round to infinity.
inline float toFloatChecked(double value) {
  // Half a unit in the last place above the largest float: from here on the narrowing rounds
  // to infinity.
  constexpr double kFloatOverflow = 0x1.ffffffp+127;
  if (std::isfinite(value) && std::fabs(value) >= kFloatOverflow) {
    throw AutomationError::standard(kErrOverflow);
  }
  return static_cast<float>(value);
}

}  // namespace automation::detail
