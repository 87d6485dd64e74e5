// zelkchart --plot LOG...: the logs' points drawn by the chart control against their clock
// times, overlaid by time of day in distinct pens with a legend naming each file, clock labels
// along the time axis, the level scale at the left, and sunrise and sunset when a place is given.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace recorder::app {

struct DayPlotOptions {
  std::vector<std::string> logs;
  std::string imagePath;  // .png or .bmp
  std::string from;       // "HH:MM": start of the span; default the logs' first point
  std::string to;         // "HH:MM": its end (the next day when not after from); default the last
  std::string size;       // "WxH", default 1200x400
  std::string site;       // "LAT,LON": marks sunrise and sunset
  std::string date;       // "YYYY-MM-DD" for the marks; default from the first log's name
  bool db = false;        // logs' levels in dB (SID files' always are)
};

// Returns the exit code: 0 when the picture was written; 1 when a log or the picture failed (a
// log with an invalid record stops with playback's message); 2 for unusable options.
int runDayPlot(const DayPlotOptions& options, std::ostream& err);

}  // namespace recorder::app
