#include "recorder/csv_export.h"

#include <cmath>
#include <vector>

#include "recorder/log_number.h"
#include "recorder/log_points.h"
#include "recorder/log_reader.h"
#include "recorder/log_rotation.h"
#include "recorder/ole_date.h"

namespace recorder {
namespace {

constexpr std::int64_t kMsPerDay = kSecondsPerDay * 1000;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The day on the log's time line of its first or its last time record; 0 when it has none.
std::optional<std::int64_t> clockDayOfTimeRecord(std::FILE* log, const std::string& path, bool last,
                                                 std::string& error) {
  if (std::fseek(log, 0, SEEK_SET) != 0) {
    error = "cannot read the log " + path;
    return std::nullopt;
  }
  LogPointReader reader;
  reader.attach(log);
  for (;;) {
    const LogSecond& s = reader.next();
    if (s.ends == LogSecond::Ends::End) break;
    if (s.ends == LogSecond::Ends::Time && !last) break;
  }
  return floorDiv(reader.lastClock().value_or(0), kSecondsPerDay);
}

class CsvWriter {
 public:
  CsvWriter(std::FILE* out, std::int64_t dayShift) : out_(out), dayShift_(dayShift) {}
  // ms: milliseconds on the recorder's clock (day 0 = 1899-12-30).
  void line(std::int64_t ms, float level) {
    const std::int64_t day = floorDiv(ms, kMsPerDay);
    const std::int64_t inDay = ms - day * kMsPerDay;
    char number[kMaxNumberText + 1];
    number[formatSingle(level, number)] = '\0';
    std::fprintf(out_, "%sT%s.%03d,%s\n", formatIsoDay(day + dayShift_).c_str(),
                 formatTimeOfDay(inDay / 1000).c_str(), static_cast<int>(inDay % 1000), number);
  }

 private:
  std::FILE* out_;
  std::int64_t dayShift_;
};

}  // namespace

bool exportCsv(const std::string& logPath, std::optional<std::int64_t> firstDay,
               std::int64_t lastDay, std::FILE* out, std::string& error) {
  std::FILE* log = std::fopen(logPath.c_str(), "rbe");
  if (log == nullptr) {
    error = "cannot read the log " + logPath;
    return false;
  }
  const bool ok = exportCsv(log, logPath, firstDay, lastDay, out, error);
  std::fclose(log);
  return ok;
}

bool exportCsv(std::FILE* log, const std::string& logPath, std::optional<std::int64_t> firstDay,
               std::int64_t lastDay, std::FILE* out, std::string& error) {
  const auto referenceClockDay = clockDayOfTimeRecord(log, logPath, !firstDay, error);
  if (!referenceClockDay) return false;
  CsvWriter csv(out, (firstDay ? *firstDay : lastDay) - *referenceClockDay);
  if (std::fseek(log, 0, SEEK_SET) != 0) {
    error = "cannot read the log " + logPath;
    return false;
  }
  LogPointReader reader;
  reader.attach(log);
  for (;;) {
    // One record past the most a second may hold, to name the line that is one too many.
    const LogSecond& s = reader.next(kMaxRecordsPerPiece + 1);
    switch (s.ends) {
      case LogSecond::Ends::Time: {
        // The second's points end at its time record, evenly spaced.
        const std::int64_t endMs = s.clock * 1000;
        const auto n = static_cast<std::int64_t>(s.values.size());
        for (std::int64_t i = 0; i < n; ++i) {
          csv.line(endMs - 1000 + (1000 * (i + 1) + n / 2) / n,
                   s.values[static_cast<std::size_t>(i)]);
        }
        continue;
      }
      case LogSecond::Ends::Piece:
        error = "Line " + std::to_string(s.closing.line) + " of " + logPath + ": more than " +
                std::to_string(kMaxRecordsPerPiece) + " data records without a time record";
        return false;
      case LogSecond::Ends::Damaged:
        if (s.closing.unterminated) {
          error = "Line " + std::to_string(s.closing.line) + " of " + logPath +
                  " is cut short (it has no line end)";
        } else if (s.closing.kind == LogRecord::Kind::Invalid) {
          error = "Invalid log file format! (line " + std::to_string(s.closing.line) + ")";
        } else {
          error = "Line " + std::to_string(s.closing.line) + " of " + logPath + " cannot be read";
        }
        return false;
      case LogSecond::Ends::End: {
        // Points after the last time record (a log cut short) follow it at the row's spacing.
        const auto step = static_cast<std::int64_t>(std::lround(reader.secondsPerPoint() * 1000));
        const std::int64_t from = reader.lastClock().value_or(0) * 1000;
        for (std::size_t i = 0; i < s.values.size(); ++i) {
          csv.line(from + static_cast<std::int64_t>(i + 1) * step, s.values[i]);
        }
        break;
      }
    }
    break;
  }
  if (std::fflush(out) != 0) {
    error = "cannot write the CSV lines";
    return false;
  }
  return true;
}

}  // namespace recorder
