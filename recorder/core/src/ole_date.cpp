#include "recorder/ole_date.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "util/calendar.h"

namespace recorder {
namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// Reads an unsigned decimal of 1..maxDigits digits.
bool readUnsigned(std::string_view& s, int maxDigits, unsigned& value) {
  int digits = 0;
  value = 0;
  while (!s.empty() && s.front() >= '0' && s.front() <= '9' && digits < maxDigits) {
    value = value * 10 + static_cast<unsigned>(s.front() - '0');
    s.remove_prefix(1);
    ++digits;
  }
  return digits > 0 && (s.empty() || s.front() < '0' || s.front() > '9');
}

void trimSpaces(std::string_view& s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
}

// "yyyy-mm-dd" -> days relative to day 0.
std::optional<std::int64_t> parseDay(std::string_view s) {
  unsigned y = 0, m = 0, d = 0;
  if (!readUnsigned(s, 4, y) || s.empty() || s.front() != '-') return std::nullopt;
  s.remove_prefix(1);
  if (!readUnsigned(s, 2, m) || s.empty() || s.front() != '-') return std::nullopt;
  s.remove_prefix(1);
  if (!readUnsigned(s, 2, d) || !s.empty()) return std::nullopt;
  if (y < 100 || !util::isCalendarDate(y, m, d)) return std::nullopt;
  return util::daysFromCivil(y, m, d) + kDaysTo1970;
}

}  // namespace

std::int64_t oleDateToSeconds(double date) {
  if (!std::isfinite(date)) return 0;
  const double day = std::trunc(date);
  const double fraction = std::fabs(date - day);
  return static_cast<std::int64_t>(day) * kSecondsPerDay +
         static_cast<std::int64_t>(std::llround(fraction * kSecondsPerDay));
}

double secondsToOleDate(std::int64_t seconds) {
  const std::int64_t day = floorDiv(seconds, kSecondsPerDay);
  const double fraction = static_cast<double>(seconds - day * kSecondsPerDay) / kSecondsPerDay;
  return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

std::string formatTimeOfDay(std::int64_t seconds) {
  const std::int64_t tod = seconds - floorDiv(seconds, kSecondsPerDay) * kSecondsPerDay;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(tod / 3600),
                static_cast<int>(tod / 60 % 60), static_cast<int>(tod % 60));
  return text;
}

std::string formatLogDate(double date) {
  const std::int64_t seconds = oleDateToSeconds(date);
  const std::int64_t day = floorDiv(seconds, kSecondsPerDay);
  const std::int64_t tod = seconds - day * kSecondsPerDay;
  std::string out = "#";
  if (day != 0) {
    const util::CivilDate date = util::civilFromDays(day - kDaysTo1970);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u", static_cast<long long>(date.year),
                  date.month, date.day);
    out += text;
    if (tod != 0) out += ' ';
  }
  if (day == 0 || tod != 0) out += formatTimeOfDay(tod);
  out += '#';
  return out;
}

std::optional<double> parseLogDate(std::string_view text) {
  trimSpaces(text);
  const auto space = text.find(' ');
  std::int64_t day = 0, tod = 0;
  if (space == std::string_view::npos) {
    if (text.find(':') != std::string_view::npos) {
      const auto clock = util::parseClock(text);
      if (!clock) return std::nullopt;
      tod = *clock;
    } else {
      const auto d = parseDay(text);
      if (!d) return std::nullopt;
      day = *d;
    }
  } else {
    std::string_view rest = text.substr(space);
    trimSpaces(rest);
    const auto d = parseDay(text.substr(0, space));
    const auto clock = util::parseClock(rest);
    if (!d || !clock) return std::nullopt;
    day = *d;
    tod = *clock;
  }
  return secondsToOleDate(day * kSecondsPerDay + tod);
}

std::optional<double> parseTimeOfDay(std::string_view text) {
  trimSpaces(text);
  const auto clock = util::parseClock(text);
  if (!clock) return std::nullopt;
  return secondsToOleDate(*clock);
}

double currentTimeOfDay() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return secondsToOleDate(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
}

}  // namespace recorder
