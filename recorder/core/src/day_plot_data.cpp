#include "recorder/day_plot_data.h"

#include <algorithm>
#include <cmath>

#include "recorder/log_reader.h"
#include "recorder/log_rotation.h"
#include "recorder/ole_date.h"
#include "recorder/recorder_tables.h"

namespace recorder {

LogSeriesResult readLogSeries(const std::string& path) {
  LogSeriesResult result;
  LogReader reader;
  if (!reader.open(path)) {
    result.error = "The log file " + path + " cannot be read.";
    return result;
  }
  RecorderTables tables;
  tables.fill();
  std::vector<float> pending;  // data records of the second not yet closed
  bool haveClock = false;
  std::int64_t firstDay = 0;
  double last = 0;
  double secondsPerPoint = 0.05;
  auto& s = result.series;
  for (LogRecord r = reader.next(); r.kind != LogRecord::Kind::End; r = reader.next()) {
    switch (r.kind) {
      case LogRecord::Kind::Data:
        pending.push_back(r.value);
        break;
      case LogRecord::Kind::Time: {
        if (!haveClock) firstDay = dayOf(r.clock);
        haveClock = true;
        const double t = static_cast<double>(oleDateToSeconds(r.clock) - firstDay * kSecondsPerDay);
        const std::size_t n = pending.size();
        for (std::size_t i = 0; i < n; ++i) {
          s.time.push_back(t - 1.0 + static_cast<double>(i + 1) / static_cast<double>(n));
          s.value.push_back(pending[i]);
        }
        pending.clear();
        last = t;
        if (tables.usableSampleSizeRow(r.row))
          secondsPerPoint = tables.SampleSizeTable[std::size_t(r.row)][1] / 1000.0;
        break;
      }
      case LogRecord::Kind::Invalid:
        result.error =
            "Invalid log file format! (" + path + ", line " + std::to_string(r.line) + ")";
        return result;
      case LogRecord::Kind::Unreadable:
        result.error = "Line " + std::to_string(r.line) + " of " + path + " cannot be read.";
        return result;
      case LogRecord::Kind::End:
        break;
    }
  }
  if (!haveClock) {
    result.error = path + " holds no time record, so its points have no clock times.";
    return result;
  }
  for (std::size_t i = 0; i < pending.size(); ++i) {
    s.time.push_back(last + static_cast<double>(i + 1) * secondsPerPoint);
    s.value.push_back(pending[i]);
  }
  // A clock set back while recording would make time run backwards; keep the picture sound.
  if (!std::is_sorted(s.time.begin(), s.time.end())) {
    std::vector<std::size_t> order(s.time.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return s.time[a] < s.time[b]; });
    LogSeries sorted;
    for (std::size_t i : order) {
      sorted.time.push_back(s.time[i]);
      sorted.value.push_back(s.value[i]);
    }
    s = std::move(sorted);
  }
  return result;
}

ColumnPoints reduceToColumns(const LogSeries& series, double from, double to, int columns) {
  ColumnPoints out;
  if (columns < 1 || !(to > from)) return out;
  const auto begin = std::lower_bound(series.time.begin(), series.time.end(), from);
  const auto end = std::lower_bound(series.time.begin(), series.time.end(), to);
  const std::size_t first = static_cast<std::size_t>(begin - series.time.begin());
  const std::size_t stop = static_cast<std::size_t>(end - series.time.begin());
  const double perColumn = columns / (to - from);
  std::size_t i = first;
  while (i < stop) {
    const int column = std::min(columns - 1, static_cast<int>((series.time[i] - from) * perColumn));
    std::size_t low = i, high = i;
    std::size_t j = i + 1;
    for (; j < stop && static_cast<int>((series.time[j] - from) * perColumn) <= column; ++j) {
      if (series.value[j] < series.value[low]) low = j;
      if (series.value[j] > series.value[high]) high = j;
    }
    const std::size_t a = std::min(low, high), b = std::max(low, high);
    out.time.push_back(series.time[a]);
    out.value.push_back(series.value[a]);
    if (b != a) {
      out.time.push_back(series.time[b]);
      out.value.push_back(series.value[b]);
    }
    i = j;
  }
  return out;
}

}  // namespace recorder
