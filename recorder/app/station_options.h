// The command line's stations: --station, --stations, --interval, --rate, --sid-dir and
// --site-name, with the checks that need no input.
#pragma once

#include <string>
#include <vector>

#include "apps/command_line.h"
#include "recorder/station_run.h"

namespace recorder::app {

std::vector<apps::Option> stationOptionTable(StationSettings& stations);

// Why the stations given cannot be recorded on this line (site is --site as typed; playback
// tells a --playback run); empty when they can.
std::string stationOptionsProblem(StationSettings& stations, const std::string& site,
                                  bool playback);

}  // namespace recorder::app
