// SID files read for day plots, ours and other observers': the single form (StationID and
// Frequency in the header, one value a line) and the combined form (Stations and Frequencies, a
// column per station), header keys compared without case, time stamps with or without six
// decimals of seconds. Levels come out in dB (10 log10 of the power); a reading of 0 or less
// has no dB and is left out.
#pragma once

#include <string>
#include <vector>

#include "recorder/day_plot_data.h"

namespace recorder {

struct SidStationSeries {
  std::string label;  // "NAA 24.0 kHz", or the call sign alone when the file gives no frequency
  LogSeries series;   // seconds from 00:00 UTC of the first reading's day; dB
};

struct SidReadResult {
  std::vector<SidStationSeries> stations;
  std::string firstDay;  // "YYYY-MM-DD" of the first reading
  std::string error;     // why the file cannot be plotted, naming it and the line
};

// Whether the file starts as a SID file does: with a "#" header line. A pipe is never one.
bool isSidFile(const std::string& path);

SidReadResult readSidFile(const std::string& path);

}  // namespace recorder
