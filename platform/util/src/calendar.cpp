#include "util/calendar.h"

#include <chrono>

namespace util {

namespace {

namespace ch = std::chrono;

// The calendar repeats itself every 400 years, which hold this many days; whole such eras are
// counted apart so the standard library only ever sees the years 1970 to 2369.
constexpr std::int64_t kDaysPerEra = 146097;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

ch::year yearInEra(std::int64_t year, std::int64_t& eras) {
  eras = floorDiv(year - 1970, 400);
  return ch::year{static_cast<int>(year - eras * 400)};
}

}  // namespace

CivilDate civilFromDays(std::int64_t daysSince1970) {
  const std::int64_t eras = floorDiv(daysSince1970, kDaysPerEra);
  const ch::year_month_day date{ch::sys_days{ch::days{daysSince1970 - eras * kDaysPerEra}}};
  return {static_cast<int>(date.year()) + eras * 400, static_cast<unsigned>(date.month()),
          static_cast<unsigned>(date.day())};
}

std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  std::int64_t eras = 0;
  const ch::year inEra = yearInEra(year, eras);
  const ch::sys_days first{inEra / ch::month{month} / 1};
  return first.time_since_epoch().count() + (static_cast<std::int64_t>(day) - 1) +
         eras * kDaysPerEra;
}

bool isCalendarDate(std::int64_t year, unsigned month, unsigned day) {
  // The standard library keeps a month and a day in a byte each.
  if (month < 1 || month > 12 || day < 1 || day > 31) return false;
  std::int64_t eras = 0;
  return (yearInEra(year, eras) / ch::month{month} / ch::day{day}).ok();
}

}  // namespace util
