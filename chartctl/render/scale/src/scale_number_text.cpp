#include "scale/scale_number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kvplotax::scale {
namespace {

void append(NumberText& t, char c) {
  if (t.length < static_cast<int>(t.chars.size())) t.chars[t.length++] = c;
}

NumberText literal(std::string_view s) {
  NumberText t;
  for (char c : s) append(t, c);
  return t;
}

}  // namespace

NumberText formatScaleNumber(float value, int places) {
  places = std::clamp(places, 0, 15);
  if (value == 0.0f) return literal("0");
  if (std::isnan(value)) return literal("nan");
  if (std::isinf(value)) return literal(value < 0 ? "-inf" : "inf");
  // A fixed-point conversion of the magnitude gives the digits and where the point falls; the
  // largest single-precision value needs 39 digits before the point.
  char fixed[64];
  const int n =
      std::snprintf(fixed, sizeof fixed, "%.*f", places, std::fabs(static_cast<double>(value)));
  if (n <= 0 || n >= static_cast<int>(sizeof fixed)) return literal("0");
  char digits[64];
  int count = 0;
  int point = 0;
  bool seenPoint = false;
  for (int i = 0; i < n; ++i) {
    if (fixed[i] == '.') {
      seenPoint = true;
      continue;
    }
    if (count == 0 && fixed[i] == '0') {
      // Leading zeros move the point left instead of being digits.
      if (seenPoint) --point;
      continue;
    }
    digits[count++] = fixed[i];
    if (!seenPoint) ++point;
  }
  if (count == 0) return literal("0");
  NumberText t;
  if (value < 0) append(t, '-');
  if (point > 0) {
    for (int i = 0; i < point && i < count; ++i) append(t, digits[i]);
    if (places > 0) {
      append(t, '.');
      for (int i = point; i < count; ++i) append(t, digits[i]);
    }
  } else {
    append(t, '0');
    if (places > 0) append(t, '.');
    for (int i = 0; i < -point; ++i) append(t, '0');
    for (int i = 0; i < count; ++i) append(t, digits[i]);
  }
  return t;
}

}  // namespace kvplotax::scale
