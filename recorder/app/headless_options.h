// The command line of zelkchart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace recorder::app {

struct HeadlessOptions {
  bool headless = false;
  bool help = false;
  bool version = false;
  std::string input = "synthetic";
  std::optional<double> seconds;  // run this long; otherwise until the input or playback ends
  std::string logPath;
  std::string imagePath;
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
  std::string printPath;  // print the chart at the end on the file printer writing this PDF
};

struct ParseResult {
  HeadlessOptions options;
  std::string error;  // empty when the command line is usable
};

ParseResult parseCommandLine(const std::vector<std::string>& args);
std::string usageText();

}  // namespace recorder::app
