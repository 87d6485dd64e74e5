// The points of a log with their clock times, for day plots, as the log's point reader times
// them. Times count seconds from 00:00 of the first time record's day, so a log running past
// midnight goes on beyond 24 h. A line is drawn through the points of one run; runs part where
// the clock jumps (a gap, a clock set back).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace recorder {

struct LogSeries {
  std::vector<double> time;  // seconds, ascending within each run
  std::vector<float> value;
  std::vector<std::size_t> runStarts;  // index of each run's first point, ascending, from 0
  // The runs as [begin, end) index pairs.
  std::vector<std::pair<std::size_t, std::size_t>> runs() const;
  // Appends other's points, shifted by `shift` seconds, as runs of their own; other's first run
  // goes on from this one's last where it follows it within kGapSeconds.
  void append(const LogSeries& other, double shift);
};

struct LogSeriesResult {
  LogSeries series;
  std::int64_t firstDay = 0;  // the clock's day (days since 1899-12-30) of the first time record
  // Why nothing was read (a file that cannot be opened, no time record); empty otherwise.
  std::string error;
  // The records that were skipped, each as "PATH:LINE: what was wrong".
  std::vector<std::string> skipped;
};

// Reads what can be used: a damaged record is named in skipped and passed over, and points go on
// after it.
LogSeriesResult readLogSeries(const std::string& path);
// The same from a log the caller has open and keeps, read from where it stands; name stands for
// it in the messages.
LogSeriesResult readLogSeries(std::FILE* log, const std::string& name);

// Each pixel column's lowest and highest point in the order they came, so that a line through
// them draws the column as all its points would; columns cover [from, to) evenly. The points
// are those of [begin, end), ascending in time.
struct ColumnPoints {
  std::vector<double> time;
  std::vector<float> value;
};
ColumnPoints reduceToColumns(std::span<const double> time, std::span<const float> value,
                             double from, double to, int columns);
inline ColumnPoints reduceToColumns(const LogSeries& series, double from, double to, int columns) {
  return reduceToColumns(series.time, series.value, from, to, columns);
}

}  // namespace recorder
