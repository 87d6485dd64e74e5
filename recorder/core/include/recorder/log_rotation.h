// Names and days of a log kept one file per day: the first file keeps the name given, each later
// one is NAME-YYYY-MM-DD.EXT for the day of the recorder's clock it holds.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "util/calendar.h"

namespace recorder {

// "dir/Zelk.log" and 2026-12-09 give "dir/Zelk-2026-12-09.log"; a name without an extension gets
// the date at its end. day is a date value's day number (days since 1899-12-30).
std::string datedLogName(const std::string& path, std::int64_t day);

// "dir/Zelk.log" and 2 give "dir/Zelk-2.log": where a log goes on when its name holds records.
std::string numberedLogName(const std::string& path, int number);

// The day number of a clock or date value (the whole days since 1899-12-30, rounded down).
std::int64_t dayOf(double date);

// A day number and its date in the calendar, both ways.
util::CivilDate dateOfDay(std::int64_t day);
std::int64_t dayOfDate(const util::CivilDate& date);

// "YYYY-MM-DD" as a day number; empty when it is not a date.
std::optional<std::int64_t> parseIsoDay(std::string_view text);
std::string formatIsoDay(std::int64_t day);

// What a log's name says of its place in a rotation: "dir/Zelk-2026-03-20-2.log" is the file of
// 2026-03-20 of the log "dir/Zelk.log", the second one made that day (after a restart that kept
// the records); "dir/Zelk.log" is the log's first file, without a date.
struct LogNameParts {
  std::string base;                 // the rotation's first file: "dir/Zelk.log"
  std::optional<std::int64_t> day;  // the date in the name, as a day number
  int number = 1;                   // 2 and on for the names a restart chose after a date
};
LogNameParts splitLogName(const std::string& path);

// The day number of a moment by the system's calendar, local (the time zone of TZ) or UTC.
std::int64_t dayOfMoment(std::time_t moment, bool utc);
// Today's day number by the system clock, local or UTC.
std::int64_t today(bool utc);

// The local day number of a file's last change: the last day of a log exported without a date.
std::int64_t dayOfChange(std::time_t changedAt);

}  // namespace recorder
