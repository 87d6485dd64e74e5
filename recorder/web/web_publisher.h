// The recording side of the web view: after each of the recorder's seconds it draws the labelled
// chart and reads the form's state into a new snapshot and swaps it in. It runs on the form's
// thread and at most once a second of wall time, so a run faster than real time pays for one
// picture a second, not one per second of signal.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "host/image_file.h"
#include "recorder/station_recorder.h"
#include "recorder/zelk_chrt_form.h"
#include "web_snapshot.h"

namespace recorder::web {

class WebPublisher {
 public:
  // firstDay: the day number of the date the recording starts on, for status.json's date.
  WebPublisher(SnapshotBoard& board, std::int64_t firstDay) : board_(board), firstDay_(firstDay) {}

  // Publishes when a second of wall time has passed since the last snapshot, or always when
  // forced (the start and the end of a run).
  void secondPassed(const host::PixelView& chart, ZelkChrtForm& form, bool force = false);

  // The run's stations, shown in the status with their latest levels.
  void setStations(const StationRecorder* stations) { stations_ = stations; }

  // Statuses as the web view shows them; public for the tests of the pages.
  static WebStatus statusOf(ZelkChrtForm& form, std::int64_t date);

 private:
  void noteLog(const ZelkChrtForm& form);
  void notePath(const std::string& path, bool csv);

  SnapshotBoard& board_;
  std::int64_t firstDay_;
  std::optional<std::int64_t> firstClockDay_;
  std::chrono::steady_clock::time_point last_{};
  bool published_ = false;
  std::vector<ServedLog> logs_;
  const StationRecorder* stations_ = nullptr;
};

}  // namespace recorder::web
