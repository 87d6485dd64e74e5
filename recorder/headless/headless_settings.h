// What an unattended run of the recorder's form runs on: its input, its outputs, its clock, the
// web view and the stations.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "recorder/station_run.h"
#include "serve_address.h"

namespace recorder::headless {

struct HeadlessSettings {
  std::string input = "synthetic";
  std::optional<double> seconds;  // run this long; otherwise until the input ends or a stop
  std::string logPath;
  std::string playbackPath;
  std::string imagePath;
  std::string printPath;
  std::string startTime;  // as typed for the Time button, or "now" / "utc"
  bool realtime = false;
  bool sync = false;                       // fdatasync the log (and the SID files) once a second
  bool rotateDaily = false;                // one log file per day of the recorder's clock
  std::optional<std::int64_t> startDay;    // the day the recording starts, for dated log names
  int imageEvery = 0;                      // rewrite the image every N seconds of signal
  bool imageLabels = false;                // the clock's labels under the chart in the image
  std::optional<web::ServeAddress> serve;  // the read-only web view of the run
  StationSettings stations;
};

}  // namespace recorder::headless
