// Date-time values as automation keeps them: days since 1899-12-30 00:00:00 with the time of day
// as the fraction. A time of day alone therefore lies on day 0. The recorder's clock counts
// whole seconds, so conversions go through a whole number of seconds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace recorder {

constexpr std::int64_t kSecondsPerDay = 86400;
// Day 0 of the automation calendar is 1899-12-30, this many days before 1970-01-01.
constexpr std::int64_t kDaysTo1970 = 25569;

// Seconds since 1899-12-30 00:00:00, rounded to the nearest second. Negative dates keep their
// time of day as an unsigned fraction, as automation does (-1.25 is 1899-12-29 06:00).
std::int64_t oleDateToSeconds(double date);
double secondsToOleDate(std::int64_t seconds);

// "HH:mm:ss" of the time of day, 24-hour. Seconds before day 0 wrap to the previous day's time
// (-30 s reads 23:59:30), so labels behind a clock that just passed midnight stay right.
std::string formatTimeOfDay(std::int64_t seconds);

// The log's date-time field with its # marks: only the time while the date part is day 0, only
// the date when the time is 00:00:00 on a later day, else "yyyy-mm-dd hh:mm:ss".
std::string formatLogDate(double date);

// Reads what formatLogDate writes (without the # marks): "hh:mm[:ss]", "yyyy-mm-dd" or both
// separated by spaces. Empty when the text is not a date-time.
std::optional<double> parseLogDate(std::string_view text);

// An operator's time of day "h:mm[:ss]" (24-hour, surrounding spaces allowed) as a date on
// day 0; empty when it is not a time of day.
std::optional<double> parseTimeOfDay(std::string_view text);

// The system's current local time of day, as a date on day 0.
double currentTimeOfDay();

}  // namespace recorder
