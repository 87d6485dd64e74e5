// The timed points of a log, read the same way by playback, the CSV export, the day plot and the
// web view. Records come a second at a time: the data records up to and including the time record
// that ends their second. One set of rules for every reader:
//  - a record that runs into the end of the file without its line end was cut short (a full
//    disk, a power cut): it is damaged, never a value, since its number may be only the first
//    digits of the one meant;
//  - a time record more than 12 hours before the one before it crossed midnight on a clock that
//    lost its date (an operator's time of day lands on day 0): the time line goes on into the
//    next day; a smaller step back is the clock set back, which the second reports;
//  - a time record more than kGapSeconds after the one before it follows a gap (a full disk, a
//    restart): lines stop there.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "recorder/log_reader.h"
#include "recorder/recorder_tables.h"

namespace recorder {

// Time records come once a second; a longer step than two of them is a hole in the recording.
inline constexpr std::int64_t kGapSeconds = 2;

struct LogSecond {
  enum class Ends {
    Time,     // closing is the time record that ends the second
    Piece,    // `most` data records came without a time record
    Damaged,  // closing is a record that cannot be used (its line names it)
    End,      // the file ended; values are the records after the last time record
  };
  Ends ends = Ends::End;
  // The data records since the last Time or Piece: after Damaged, reading on adds to them.
  std::vector<float> values;
  LogRecord closing;
  // Time: the time record's second on the log's time line (seconds since 00:00 of its clock's
  // day 0, a day later for each midnight crossed without a date).
  std::int64_t clock = 0;
  bool gapBefore = false;  // Time: more than kGapSeconds after the time record before
  bool setBack = false;    // Time: not after the time record before
};

class LogPointReader {
 public:
  LogPointReader() { tables_.fill(); }
  bool open(const std::string& path);
  void attach(std::FILE* stream);  // a stream the caller owns and keeps open
  void close() { reader_.close(); }
  bool isOpen() const { return reader_.isOpen(); }
  bool atEnd() { return reader_.atEnd(); }

  // The next second, or a piece of at most `most` data records of one.
  const LogSecond& next(std::size_t most = kMaxRecordsPerPiece);

  // The last time record's second on the time line, if one was read.
  std::optional<std::int64_t> lastClock() const { return last_; }
  // Seconds between points in the last sample-size row a time record named (row 4 before one).
  double secondsPerPoint() const { return tables_.SampleSizeTable[std::size_t(row_)][1] / 1000.0; }

 private:
  void reset();

  LogReader reader_;
  RecorderTables tables_;
  LogSecond second_;
  std::optional<std::int64_t> last_;
  std::int64_t dayShift_ = 0;
  int row_ = 4;
};

// Where point i of the n of a second that ends at clock second `end` lies: evenly spread over
// the second, the last one at its end.
inline double pointTime(std::int64_t end, std::size_t i, std::size_t n) {
  return static_cast<double>(end) - 1.0 + static_cast<double>(i + 1) / static_cast<double>(n);
}

}  // namespace recorder
