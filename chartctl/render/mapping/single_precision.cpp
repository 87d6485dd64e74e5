#include "render/single_precision.h"

#include <algorithm>
#include <cmath>

namespace kvplotax {

bool sameInSinglePrecision(float a, float b) {
  if (a == b) return true;
  if (!std::isfinite(a) || !std::isfinite(b)) return false;
  int exponentA = 0;
  int exponentB = 0;
  std::frexp(a, &exponentA);
  std::frexp(b, &exponentB);
  const int exponent = std::max(exponentA, exponentB);
  const double difference = std::ldexp(std::fabs(static_cast<double>(a) - b), -exponent);
  return difference <= std::ldexp(1.0, -23);
}

}  // namespace kvplotax
