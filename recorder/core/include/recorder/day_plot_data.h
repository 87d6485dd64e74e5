// The points of a log with their clock times, for day plots: every data record gets the time of
// the second it was recorded in. The records of one second come before the time record that ends
// it, so the n records before a time record t lie at t - 1 + (i + 1) / n; records after the last
// time record follow it at the sample size that record names. Times count seconds from 00:00 of
// the first time record's day, so a log running past midnight goes on beyond 24 h.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace recorder {

struct LogSeries {
  std::vector<double> time;  // seconds, ascending
  std::vector<float> value;
};

struct LogSeriesResult {
  LogSeries series;
  std::string error;  // the message playback gives for the same fault, or why nothing was read
};

LogSeriesResult readLogSeries(const std::string& path);

// Each pixel column's lowest and highest point in the order they came, so that a line through
// them draws the column as all its points would; columns cover [from, to) evenly.
struct ColumnPoints {
  std::vector<double> time;
  std::vector<float> value;
};
ColumnPoints reduceToColumns(const LogSeries& series, double from, double to, int columns);

}  // namespace recorder
