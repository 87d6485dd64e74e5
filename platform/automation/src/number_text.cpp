#include "number_text.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "util/calendar.h"
#include "util/text.h"

namespace automation::detail {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trim(std::string_view text) { return util::trim(text, " \t"); }

// Lays out the shortest round-trip digits of a value, given as "d.ddde[+-]xx" by to_chars.
std::string layOut(std::string_view scientific) {
  std::string sign;
  if (!scientific.empty() && scientific.front() == '-') {
    sign = "-";
    scientific.remove_prefix(1);
  }
  const std::size_t ePos = scientific.find('e');
  std::string digits;
  for (char c : scientific.substr(0, ePos)) {
    if (c != '.') digits.push_back(c);
  }
  int exponent = 0;
  const std::string_view expText = scientific.substr(ePos + 1);
  std::from_chars(expText.data() + (expText.front() == '+' ? 1 : 0),
                  expText.data() + expText.size(), exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  if (exponent < -4 || exponent >= 15) {
    std::string out = sign + digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    char expBuf[16];
    std::snprintf(expBuf, sizeof expBuf, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return out + expBuf;
  }
  if (exponent < 0) {
    return sign + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  const auto intDigits = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= intDigits)
    return sign + digits + std::string(intDigits - digits.size(), '0');
  return sign + digits.substr(0, intDigits) + "." + digits.substr(intDigits);
}

template <typename T>
std::string formatReal(T value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  if (value == 0) return "0";  // negative zero prints as zero, too
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  return layOut(std::string_view(buf, static_cast<std::size_t>(result.ptr - buf)));
}

}  // namespace

ParsedNumber parseNumber(std::string_view text) {
  text = trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Validate the whole form first: strtod alone would also take "inf", "nan", hex and prefixes.
  std::size_t i = 0;
  std::size_t mantissaDigits = 0;
  while (i < text.size() && isDigit(text[i])) {
    ++i;
    ++mantissaDigits;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) {
      ++i;
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return {};
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t expStart = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    if (i == expStart) return {};
  }
  if (i != text.size()) return {};

  // The text is validated; strtod in the "C" locale reads it with correct rounding and, unlike
  // from_chars, hands back subnormal results instead of refusing them.
  static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", nullptr);
  const std::string digits(text);
  const double value = ::strtod_l(digits.c_str(), nullptr, cLocale);
  if (std::isinf(value)) return {ParseStatus::kOverflow, 0.0};
  return {ParseStatus::kOk, negative ? -value : value};
}

std::string formatDouble(double value) { return formatReal(value); }
std::string formatFloat(float value) { return formatReal(value); }

std::string formatDate(double value) {
  // Outside the years 100 to 9999 a date has no calendar form; show the number.
  if (!std::isfinite(value) || value <= -657435.0 || value >= 2958466.0) return formatDouble(value);
  // The fraction is the time of day whatever the sign of the date: -1.25 is 1899-12-29 06:00.
  double dayPart = std::trunc(value);
  long long seconds = std::llround(std::fabs(value - dayPart) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    dayPart += value < 0 ? -1.0 : 1.0;
  }
  constexpr long long kEpochTo1970 = 25569;  // 1899-12-30 to 1970-01-01
  const util::CivilDate date = util::civilFromDays(static_cast<long long>(dayPart) - kEpochTo1970);
  const auto y = static_cast<long long>(date.year);
  const unsigned m = date.month, d = date.day;
  char buf[64];
  const int hh = static_cast<int>(seconds / 3600);
  const int mm = static_cast<int>(seconds / 60 % 60);
  const int ss = static_cast<int>(seconds % 60);
  if (dayPart == 0.0) {
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hh, mm, ss);
  } else if (seconds == 0) {
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u", y, m, d);
  } else {
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u %02d:%02d:%02d", y, m, d, hh, mm, ss);
  }
  return buf;
}

}  // namespace automation::detail
