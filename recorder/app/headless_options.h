// The command line of zelkchart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "apps/command_line.h"
#include "serve_address.h"
#include "station_options.h"

namespace recorder::app {

// The shared part: --headless, --help, --version, --input, --seconds (the window closes after
// them too), --image and --print (headless runs only).
struct HeadlessOptions : apps::CommonOptions {
  std::string logPath;
  std::string playbackPath;
  std::string startTime;  // as typed for the Time button, or "now" / "utc"
  bool realtime = false;
  // Unattended recording.
  bool sync = false;                     // fdatasync the log once a second
  bool rotateDaily = false;              // one log file per day of the recorder's clock
  std::optional<std::int64_t> startDay;  // --start-date as a day number
  int imageEvery = 0;                    // rewrite the image every N seconds of signal
  bool imageLabels = false;              // the clock's labels under the chart in the image
  bool listDevices = false;
  std::string exportCsvPath;           // --export-csv LOG: the log as CSV on standard output
  std::optional<std::int64_t> csvDay;  // --date
  std::string dateText;                // --date as typed, for the sun marks of a day plot
  // Day plots: --plot LOG... draws the logs against their clock times.
  bool plot = false;
  std::vector<std::string> plotLogs;
  std::string plotFrom, plotTo, plotSize, site;
  std::string plotClock;  // --clock utc|local: what the logs' clock keeps
  bool plotDb = false;    // --db: a log's levels drawn in dB (SID files always are)
  // --serve [ADDR:]PORT: the read-only web view of the run, in both runs.
  std::optional<web::ServeAddress> serve;
  std::vector<std::string> serveNames;  // --serve-name NAME, each time given
  // VLF stations measured from the input at its own rate, and their SID files.
  StationSettings stations;
  // The window's own.
  bool start = false;          // press Start once the window is shown
  std::string screenshotPath;  // the window's picture, written just before it exits
};

using ParseResult = apps::ParseResult<HeadlessOptions>;

ParseResult parseCommandLine(const std::vector<std::string>& args);
std::string usageText();

}  // namespace recorder::app
