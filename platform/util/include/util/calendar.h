// Dates of the proleptic Gregorian calendar as counts of days from 1970-01-01, for every year a
// 64-bit count can reach (the standard library's calendar stops at the years -32767 and 32767).
#pragma once

#include <cstdint>

namespace util {

struct CivilDate {
  std::int64_t year;
  unsigned month;  // 1 to 12
  unsigned day;    // 1 to 31
};

CivilDate civilFromDays(std::int64_t daysSince1970);

// month must be 1 to 12; a day past the month's end counts on into the next month.
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day);

// Whether the month has that day in that year.
bool isCalendarDate(std::int64_t year, unsigned month, unsigned day);

}  // namespace util
