// The command line of zelkchart.
#pragma once

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
  std::string startTime;  // as typed for the Time button
  bool realtime = false;
  std::string printPath;  // print the chart at the end on the file printer writing this PDF
};

struct ParseResult {
  HeadlessOptions options;
  std::string error;  // empty when the command line is usable
};

ParseResult parseCommandLine(const std::vector<std::string>& args);
std::string usageText();

}  // namespace recorder::app
