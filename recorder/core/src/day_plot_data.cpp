#include "recorder/day_plot_data.h"

#include <algorithm>
#include <cmath>

#include "recorder/log_points.h"
#include "recorder/ole_date.h"

namespace recorder {

std::vector<std::pair<std::size_t, std::size_t>> LogSeries::runs() const {
  std::vector<std::pair<std::size_t, std::size_t>> out;
  for (std::size_t r = 0; r < runStarts.size(); ++r) {
    const std::size_t end = r + 1 < runStarts.size() ? runStarts[r + 1] : time.size();
    if (end > runStarts[r]) out.emplace_back(runStarts[r], end);
  }
  return out;
}

void LogSeries::append(const LogSeries& other, double shift) {
  if (other.time.empty()) return;
  const double first = other.time.front() + shift;
  const bool joins = !time.empty() && first > time.back() &&
                     first - time.back() <= static_cast<double>(kGapSeconds);
  for (std::size_t start : other.runStarts) {
    if (start == 0 && joins) continue;
    runStarts.push_back(time.size() + start);
  }
  for (double t : other.time) time.push_back(t + shift);
  value.insert(value.end(), other.value.begin(), other.value.end());
}

namespace {

std::string whatIsWrong(const LogRecord& r) {
  if (r.unterminated) return "cut short (no line end)";
  if (r.kind == LogRecord::Kind::Invalid) return "not a log record";
  return "cannot be read";
}

// The reader's records from where it stands; path names the log in the messages.
LogSeriesResult readSeries(LogPointReader& reader, const std::string& path) {
  LogSeriesResult result;
  auto& s = result.series;
  int lastSkippedLine = 0;
  bool haveClock = false;
  auto startRun = [&s] {
    if (s.runStarts.empty() || s.runStarts.back() != s.time.size())
      s.runStarts.push_back(s.time.size());
  };
  for (bool more = true; more;) {
    const LogSecond& second = reader.next();
    switch (second.ends) {
      case LogSecond::Ends::Time: {
        if (!haveClock) {
          const std::int64_t c = second.clock;
          result.firstDay =
              c >= 0 ? c / kSecondsPerDay : -((-c + kSecondsPerDay - 1) / kSecondsPerDay);
        }
        haveClock = true;
        if (second.gapBefore || second.setBack || s.runStarts.empty()) startRun();
        const double t = static_cast<double>(second.clock - result.firstDay * kSecondsPerDay);
        const std::size_t n = second.values.size();
        for (std::size_t i = 0; i < n; ++i) {
          s.time.push_back(pointTime(0, i, n) + t);
          s.value.push_back(second.values[i]);
        }
        break;
      }
      case LogSecond::Ends::Piece:
        // So many records without a time record have no clock time to be drawn at.
        result.skipped.push_back(path + ":" + std::to_string(second.closing.line) + ": over " +
                                 std::to_string(kMaxRecordsPerPiece) +
                                 " data records without a time record");
        break;
      case LogSecond::Ends::Damaged:
        if (second.closing.line != lastSkippedLine) {
          lastSkippedLine = second.closing.line;
          result.skipped.push_back(path + ":" + std::to_string(second.closing.line) + ": " +
                                   whatIsWrong(second.closing));
        }
        break;
      case LogSecond::Ends::End:
        if (haveClock) {
          const double last =
              static_cast<double>(*reader.lastClock() - result.firstDay * kSecondsPerDay);
          for (std::size_t i = 0; i < second.values.size(); ++i) {
            s.time.push_back(last + static_cast<double>(i + 1) * reader.secondsPerPoint());
            s.value.push_back(second.values[i]);
          }
        }
        more = false;
        break;
    }
  }
  if (!haveClock) {
    result.error = path + " holds no time record, so its points have no clock times.";
    s = LogSeries();
  }
  return result;
}

}  // namespace

LogSeriesResult readLogSeries(const std::string& path) {
  LogPointReader reader;
  if (!reader.open(path)) {
    LogSeriesResult result;
    result.error = "The log file " + path + " cannot be read.";
    return result;
  }
  return readSeries(reader, path);
}

LogSeriesResult readLogSeries(std::FILE* log, const std::string& name) {
  LogPointReader reader;
  reader.attach(log);
  return readSeries(reader, name);
}

ColumnPoints reduceToColumns(std::span<const double> time, std::span<const float> value,
                             double from, double to, int columns) {
  ColumnPoints out;
  if (columns < 1 || !(to > from)) return out;
  const auto begin = std::lower_bound(time.begin(), time.end(), from);
  const auto end = std::lower_bound(time.begin(), time.end(), to);
  const std::size_t first = static_cast<std::size_t>(begin - time.begin());
  const std::size_t stop = static_cast<std::size_t>(end - time.begin());
  const double perColumn = columns / (to - from);
  std::size_t i = first;
  while (i < stop) {
    const int column = std::min(columns - 1, static_cast<int>((time[i] - from) * perColumn));
    std::size_t low = i, high = i;
    std::size_t j = i + 1;
    for (; j < stop && static_cast<int>((time[j] - from) * perColumn) <= column; ++j) {
      if (value[j] < value[low]) low = j;
      if (value[j] > value[high]) high = j;
    }
    const std::size_t a = std::min(low, high), b = std::max(low, high);
    out.time.push_back(time[a]);
    out.value.push_back(value[a]);
    if (b != a) {
      out.time.push_back(time[b]);
      out.value.push_back(value[b]);
    }
    i = j;
  }
  return out;
}

}  // namespace recorder
