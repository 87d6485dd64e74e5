// A run's stations, headless or in the window: the input's own rate found, the stations checked at
// it, their recorder made.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "recorder/station_recorder.h"
#include "recorder/stations.h"

namespace recorder {

// The stations a run records and how: the interval of a reading, a sound card's rate, where the
// SID files go and the site they name.
struct StationSettings {
  std::vector<Station> list;
  int intervalSeconds = 5;
  bool intervalGiven = false;
  int rate = 0;  // a sound card's rate; 0 when not given
  std::string sidDir;
  std::string siteName;             // empty: the host's name
  std::string latitude, longitude;  // the site's position, for the SID files' header
  bool any() const { return !list.empty(); }
};

// The site's name for SID file names: the one given, or the host's name up to its first dot.
std::string sidSiteName(const StationSettings& stations);

// Without stations: null with exitCode 0. Otherwise the recorder, or null after one line on
// standard error with exitCode 2 (the stations cannot be measured at the input's rate) or 1
// (the input or the SID folder cannot be used). Nothing is written before it has answered.
// input is the run's input as given (--input); sync keeps each line of the SID files on disk.
std::unique_ptr<StationRecorder> prepareStations(const StationSettings& stations,
                                                 const std::string& input, bool sync,
                                                 int& exitCode);

}  // namespace recorder
