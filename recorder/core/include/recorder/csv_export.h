// A log's points as CSV: one "time,level" line per data record, the times ISO 8601 with
// milliseconds, spread evenly over the second that ends at the next time record.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace recorder {

// The log's days are dated from firstDay (a day number) for the day of its first time record,
// or, without it, from lastDay for the day of its last one. Returns false, with the message
// playback would show in error, at a record that cannot be used; the lines before it are
// written.
bool exportCsv(const std::string& logPath, std::optional<std::int64_t> firstDay,
               std::int64_t lastDay, std::FILE* out, std::string& error);

// The same from a log the caller has open and keeps (read from its start, twice: it must be able
// to seek); logName stands for it in the messages. Reads and writes a line at a time, whatever
// the log's size.
bool exportCsv(std::FILE* log, const std::string& logName, std::optional<std::int64_t> firstDay,
               std::int64_t lastDay, std::FILE* out, std::string& error);

}  // namespace recorder
