// Dates of the proleptic Gregorian calendar as counts of days from 1970-01-01, for every year a
// 64-bit count can reach (the standard library's calendar stops at the years -32767 and 32767).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace util {

struct CivilDate {
  std::int64_t year;
  unsigned month;  // 1 to 12
  unsigned day;    // 1 to 31
  bool operator==(const CivilDate&) const = default;
};

CivilDate civilFromDays(std::int64_t daysSince1970);

// month must be 1 to 12; a day past the month's end counts on into the next month.
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day);

// Whether the month has that day in that year.
bool isCalendarDate(std::int64_t year, unsigned month, unsigned day);

// "YYYY-MM-DD" of a real day of the years 1 to 9999; empty for anything else.
std::optional<CivilDate> parseIsoDate(std::string_view text);

// A time of day "H:MM" or "H:MM:SS" as seconds from 00:00: hours, minutes and seconds of one
// or two digits each, up to 23:59:59, with no sign or space around. endOfDay also takes "24:00"
// and "24:00:00" as 86400, for where a span ends.
std::optional<int> parseClock(std::string_view text, bool endOfDay = false);

}  // namespace util
