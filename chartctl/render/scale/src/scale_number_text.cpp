#include "scale/scale_number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

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

// Every single-precision value is written exactly with this many places (2^-149 needs 149).
constexpr int kExactDigits = 150;

// The magnitude with `places` places, halves rounded away from zero as people read numbers
// (0.5 gives 1, 0.625 with two places 0.63); the exact digits decide, so no value is rounded
// twice. Returns the length, or 0 when it does not fit.
int roundedFixed(double magnitude, int places, char* out, std::size_t size) {
  const int n = std::snprintf(out + 1, size - 1, "%.*f", kExactDigits, magnitude);
  if (n <= 0 || n >= static_cast<int>(size) - 1) return 0;
  char* text = out + 1;
  const int point = static_cast<int>(std::strchr(text, '.') - text);
  const bool up = text[point + 1 + places] >= '5';
  int length = places > 0 ? point + 1 + places : point;
  text[length] = '\0';
  if (up) {
    int i = length - 1;
    for (; i >= 0; --i) {
      if (text[i] == '.') continue;
      if (text[i] != '9') {
        ++text[i];
        break;
      }
      text[i] = '0';
    }
    if (i < 0) {
      // Carried past the first digit: 9.96 becomes 10.0.
      out[0] = '1';
      return length + 1;
    }
  }
  std::memmove(out, text, static_cast<std::size_t>(length) + 1);
  return length;
}

}  // namespace

NumberText formatScaleNumber(float value, int places) {
  places = std::clamp(places, 0, 15);
  if (value == 0.0f) return literal("0");
  if (std::isnan(value)) return literal("nan");
  if (std::isinf(value)) return literal(value < 0 ? "-inf" : "inf");
  // A fixed-point conversion of the magnitude gives the digits and where the point falls; the
  // largest single-precision value needs 39 digits before the point.
  char fixed[kExactDigits + 48];
  const int n = roundedFixed(std::fabs(static_cast<double>(value)), places, fixed, sizeof fixed);
  if (n <= 0) return literal("0");
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
