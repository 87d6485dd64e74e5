#include "recorder/log_points.h"

#include "recorder/ole_date.h"

namespace recorder {

namespace {
constexpr std::int64_t kHalfDay = kSecondsPerDay / 2;
}

void LogPointReader::reset() {
  second_ = LogSecond();
  last_.reset();
  dayShift_ = 0;
  row_ = 4;
}

bool LogPointReader::open(const std::string& path) {
  reset();
  return reader_.open(path);
}

void LogPointReader::attach(std::FILE* stream) {
  reset();
  reader_.attach(stream);
}

const LogSecond& LogPointReader::next(std::size_t most) {
  LogSecond& s = second_;
  if (s.ends != LogSecond::Ends::Damaged) s.values.clear();
  s.gapBefore = s.setBack = false;
  std::size_t read = 0;
  while (true) {
    if (read == most) {
      s.ends = LogSecond::Ends::Piece;
      return s;
    }
    s.closing = reader_.next();
    if (s.closing.unterminated) s.closing.kind = LogRecord::Kind::Unreadable;
    switch (s.closing.kind) {
      case LogRecord::Kind::Data:
        s.values.push_back(s.closing.value);
        ++read;
        continue;
      case LogRecord::Kind::Time: {
        std::int64_t t = oleDateToSeconds(s.closing.clock) + dayShift_ * kSecondsPerDay;
        if (last_) {
          while (t < *last_ - kHalfDay) {
            ++dayShift_;
            t += kSecondsPerDay;
          }
          s.setBack = t <= *last_;
          s.gapBefore = t > *last_ + kGapSeconds;
        }
        last_ = t;
        s.clock = t;
        if (tables_.usableSampleSizeRow(s.closing.row)) row_ = s.closing.row;
        s.ends = LogSecond::Ends::Time;
        return s;
      }
      case LogRecord::Kind::Invalid:
      case LogRecord::Kind::Unreadable:
        s.ends = LogSecond::Ends::Damaged;
        return s;
      case LogRecord::Kind::End:
        s.ends = LogSecond::Ends::End;
        return s;
    }
  }
}

}  // namespace recorder
