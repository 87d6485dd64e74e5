// The command line's stations: --station, --stations, --interval, --rate, --sid-dir and
// --site-name, with the checks that need no input.
#pragma once

#include <string>
#include <vector>

#include "apps/command_line.h"
#include "recorder/stations.h"

namespace recorder::app {

struct StationOptions {
  std::vector<Station> list;
  int intervalSeconds = 5;
  bool intervalGiven = false;
  int rate = 0;  // --rate; 0 when not given
  std::string sidDir;
  std::string siteName;             // empty: the host's name
  std::string latitude, longitude;  // from --site, for the SID files' header
  bool any() const { return !list.empty(); }
};

std::vector<apps::Option> stationOptionTable(StationOptions& stations);

// Why the stations given cannot be recorded on this line (site is --site as typed; playback
// tells a --playback run); empty when they can.
std::string stationOptionsProblem(StationOptions& stations, const std::string& site, bool playback);

// The site's name for SID file names: --site-name, or the host's name up to its first dot.
std::string sidSiteName(const StationOptions& stations);

}  // namespace recorder::app
