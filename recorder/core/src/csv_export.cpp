#include "recorder/csv_export.h"

#include <cmath>
#include <vector>

#include "recorder/log_number.h"
#include "recorder/log_reader.h"
#include "recorder/log_rotation.h"
#include "recorder/ole_date.h"
#include "recorder/recorder_tables.h"

namespace recorder {
namespace {

constexpr std::int64_t kMsPerDay = kSecondsPerDay * 1000;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The clock's day of the first or the last time record; 0 when there is none.
std::optional<std::int64_t> clockDayOfTimeRecord(std::FILE* log, const std::string& path, bool last,
                                                 std::string& error) {
  LogReader reader;
  if (std::fseek(log, 0, SEEK_SET) != 0) {
    error = "cannot read the log " + path;
    return std::nullopt;
  }
  reader.attach(log);
  std::int64_t day = 0;
  while (!reader.atEnd()) {
    const LogRecord r = reader.next();
    if (r.kind != LogRecord::Kind::Time) continue;
    day = dayOf(r.clock);
    if (!last) break;
  }
  return day;
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
  RecorderTables tables;
  tables.fill();

  LogReader reader;
  if (std::fseek(log, 0, SEEK_SET) != 0) {
    error = "cannot read the log " + logPath;
    return false;
  }
  reader.attach(log);
  std::vector<float> second;  // the data records of the second in hand
  second.reserve(512);
  std::optional<std::int64_t> lastTimeMs;
  int row = 4;
  while (!reader.atEnd()) {
    const LogRecord r = reader.next();
    if (r.unterminated) {
      error = "Line " + std::to_string(r.line) + " of " + logPath +
              " is cut short (it has no line end)";
      return false;
    }
    switch (r.kind) {
      case LogRecord::Kind::Data:
        if (second.size() == kMaxRecordsPerPiece) {
          error = "Line " + std::to_string(r.line) + " of " + logPath + ": more than " +
                  std::to_string(kMaxRecordsPerPiece) + " data records without a time record";
          return false;
        }
        second.push_back(r.value);
        break;
      case LogRecord::Kind::Time: {
        // The second's points end at its time record, evenly spaced.
        const std::int64_t endMs = oleDateToSeconds(r.clock) * 1000;
        const auto n = static_cast<std::int64_t>(second.size());
        for (std::int64_t i = 0; i < n; ++i) {
          csv.line(endMs - 1000 + (1000 * (i + 1) + n / 2) / n,
                   second[static_cast<std::size_t>(i)]);
        }
        second.clear();
        lastTimeMs = endMs;
        if (tables.usableSampleSizeRow(r.row)) row = r.row;
        break;
      }
      case LogRecord::Kind::Invalid:
        error = "Invalid log file format! (line " + std::to_string(r.line) + ")";
        return false;
      case LogRecord::Kind::Unreadable:
        error = "Line " + std::to_string(r.line) + " of " + logPath + " cannot be read";
        return false;
      case LogRecord::Kind::End:
        break;
    }
  }
  // Points after the last time record (a log cut short) follow it at the row's spacing.
  const std::int64_t step = tables.SampleSizeTable[row][1];
  const std::int64_t from = lastTimeMs.value_or(0);
  for (std::size_t i = 0; i < second.size(); ++i) {
    csv.line(from + static_cast<std::int64_t>(i + 1) * step, second[i]);
  }
  if (std::fflush(out) != 0) {
    error = "cannot write the CSV lines";
    return false;
  }
  return true;
}

}  // namespace recorder
