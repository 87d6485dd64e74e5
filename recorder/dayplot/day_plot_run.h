// zelkchart --plot LOG...: the logs' points drawn by the chart control against their clock
// times, overlaid by time of day in distinct pens with a legend naming each file, clock labels
// along the time axis, the level scale at the left, and sunrise and sunset when a place is given.
#pragma once

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace recorder::dayplot {

struct DayPlotOptions {
  std::vector<std::string> logs;  // the files of one rotation draw as one recording
  std::string imagePath;          // .png or .bmp
  std::string from;               // "HH:MM": start of the span; default the logs' first point
  std::string to;     // "HH:MM": its end (the next day when not after from); default the last
  std::string size;   // "WxH", default 1200x400
  std::string site;   // "LAT,LON": marks sunrise and sunset
  std::string date;   // "YYYY-MM-DD" of the first log's first day, for the marks; default
                      // from the logs' names
  std::string clock;  // "utc" or "local" (the default): the logs' clock, for the marks
  bool db = false;    // logs' levels in dB (SID files' always are)
  // Logs the caller holds open, read in place of the files at logs' paths of the same index,
  // which then only name them (never looked into as SID files).
  std::vector<std::FILE*> streams = {};
  // When given, the picture goes here as PNG bytes, and imagePath is not used.
  std::string* png = nullptr;
};

// Draws what can be read: a log that cannot be read and each damaged record are named on err and
// skipped. Returns the exit code: 0 when the picture was written; 1 when no log held a point to
// draw or the picture could not be written; 2 for unusable options.
int runDayPlot(const DayPlotOptions& options, std::ostream& err);

}  // namespace recorder::dayplot
