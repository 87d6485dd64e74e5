#include "recorder/log_number.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace recorder {
namespace {

std::optional<double> parseDecimal(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  // Check the whole form first: strtod alone would also take hex, inf and nan.
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  char buffer[128];
  if (s.size() >= sizeof buffer) {
    // Long runs of digits: keep the value exact enough by refusing only absurd lengths.
    return std::nullopt;
  }
  s.copy(buffer, s.size());
  buffer[s.size()] = '\0';
  const double value = std::strtod(buffer, nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::size_t formatSingle(float v, char* out) {
  if (!std::isfinite(v)) {
    // Never produced by the recorder; write a value a reader accepts rather than "nan".
    out[0] = '0';
    return 1;
  }
  if (v == 0.0f) {
    out[0] = '0';
    return 1;
  }
  // Round to 7 significant digits, then lay the digits out without an exponent.
  char sci[32];
  std::snprintf(sci, sizeof sci, "%.6e", static_cast<double>(v));
  const char* p = sci;
  std::size_t n = 0;
  if (*p == '-') {
    out[n++] = '-';
    ++p;
  }
  char digits[8];
  int count = 0;
  for (; *p != 'e'; ++p) {
    if (*p != '.') digits[count++] = *p;
  }
  const int exponent = std::atoi(p + 1);
  while (count > 1 && digits[count - 1] == '0') --count;
  // digits d0 d1 ... with the point after position exponent + 1.
  const int pointAt = exponent + 1;
  if (pointAt <= 0) {
    out[n++] = '0';
    out[n++] = '.';
    for (int z = 0; z < -pointAt; ++z) out[n++] = '0';
    for (int d = 0; d < count; ++d) out[n++] = digits[d];
  } else {
    for (int d = 0; d < pointAt; ++d) out[n++] = d < count ? digits[d] : '0';
    if (count > pointAt) {
      out[n++] = '.';
      for (int d = pointAt; d < count; ++d) out[n++] = digits[d];
    }
  }
  return n;
}

std::optional<float> parseSingle(std::string_view text) {
  const auto value = parseDecimal(text);
  if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
  return static_cast<float>(*value);
}

std::optional<std::int16_t> parseInteger16(std::string_view text) {
  const auto value = parseDecimal(text);
  if (!value) return std::nullopt;
  const double rounded = std::nearbyint(*value);  // default rounding mode: half to even
  if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

}  // namespace recorder
