// Where counted echoes go: a line per echo (--events), a line per UTC hour (--counts) and the
// monthly matrix of hourly counts observers send in (--rmob).
//
// Lines are appended whole and synced one at a time, so a run killed at any moment loses at most
// the echo in progress and the hour in progress; a run started again appends to the same files.
// An hour is closed once the run has passed its end and no echo that started in it is still
// undecided: then its counts line is written and the month's matrix replaced whole. A month's
// matrix is read back before it is first written, so the hours of earlier runs are kept; an hour
// no run covered reads ???.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "spectrograph/echo_detector.h"

namespace spectrograph {

// "2026-12-10T04:15:08.123Z"
std::string isoTime(double secondsSince1970, bool millis);

struct EchoFiles {
  std::string events;
  std::string counts;
  std::string rmob;
};

class EchoLog {
 public:
  static constexpr char kEventsHeader[] = "start,duration_s,peak_hz,peak_snr_db,peak_level_db";
  static constexpr char kCountsHeader[] = "hour,echoes,observed_s";

  EchoLog() = default;
  ~EchoLog();
  EchoLog(const EchoLog&) = delete;
  EchoLog& operator=(const EchoLog&) = delete;

  // Opens the append files (unset ones are not written) for a run starting at runStart; why
  // they cannot be used, or empty.
  std::string open(const EchoFiles& files, double runStart);
  void add(const Echo& echo);
  // The run has covered the time up to now; undecided is the start of an echo in progress.
  void advance(double now, std::optional<double> undecided);
  // The run ended at now: its last hour is closed with the part of it that was covered.
  void finish(double now);

  int hourCount() const;  // echoes counted so far in the newest hour
  const std::optional<Echo>& lastEcho() const { return last_; }
  // The first failure to write, or empty.
  const std::string& error() const { return error_; }

  // The matrix file a month goes to: the --rmob name for the run's first month, else the name
  // with -YYYY-MM before its extension.
  std::string matrixPath(std::int64_t year, unsigned month) const;

 private:
  using Month = std::array<int, 31 * 24>;  // -1: not observed
  void appendLine(int fd, const std::string& line, const std::string& path);
  void closeHour(std::int64_t hour, double coveredTo);
  Month& month(std::int64_t year, unsigned month);
  void writeMatrix(std::int64_t year, unsigned month);

  int eventsFd_ = -1;
  int countsFd_ = -1;
  std::string eventsPath_, countsPath_, rmobPath_;
  std::int64_t firstMonthKey_ = -1;  // year * 12 + month - 1 of the run's start
  bool firstMonthRenamed_ = false;
  double runStart_ = 0;
  std::int64_t openHour_ = 0;  // the oldest hour not yet closed
  std::map<std::int64_t, int> counts_;
  std::map<std::int64_t, Month> months_;
  std::optional<Echo> last_;
  std::string error_;
};

}  // namespace spectrograph
