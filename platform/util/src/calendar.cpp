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

namespace {

// One or two decimal digits from the front of text.
std::optional<unsigned> twoDigits(std::string_view& text) {
  unsigned value = 0;
  std::size_t n = 0;
  while (n < 2 && n < text.size() && text[n] >= '0' && text[n] <= '9')
    value = value * 10 + static_cast<unsigned>(text[n++] - '0');
  if (n == 0) return std::nullopt;
  text.remove_prefix(n);
  return value;
}

}  // namespace

std::optional<CivilDate> parseIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  unsigned fields[3] = {0, 0, 0};
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == 4 || i == 7) continue;
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    unsigned& field = fields[i < 4 ? 0 : i < 7 ? 1 : 2];
    field = field * 10 + static_cast<unsigned>(text[i] - '0');
  }
  const CivilDate date{fields[0], fields[1], fields[2]};
  if (date.year < 1 || !isCalendarDate(date.year, date.month, date.day)) return std::nullopt;
  return date;
}

std::optional<int> parseClock(std::string_view text, bool endOfDay) {
  unsigned parts[3] = {0, 0, 0};
  std::size_t count = 0;
  for (;;) {
    const auto part = twoDigits(text);
    if (!part) return std::nullopt;
    parts[count++] = *part;
    if (text.empty()) break;
    if (count == 3 || text.front() != ':') return std::nullopt;
    text.remove_prefix(1);
  }
  if (count < 2) return std::nullopt;
  const auto [h, m, s] = parts;
  if (endOfDay && h == 24 && m == 0 && s == 0) return 86400;
  if (h > 23 || m > 59 || s > 59) return std::nullopt;
  return static_cast<int>(h * 3600 + m * 60 + s);
}

}  // namespace util
