// A headless run's stations: the input's own rate found, the stations checked at it, their
// recorder made.
#pragma once

#include <memory>

#include "headless_options.h"
#include "recorder/station_recorder.h"

namespace recorder::app {

// Without stations: null with exitCode 0. Otherwise the recorder, or null after one line on
// standard error with exitCode 2 (the stations cannot be measured at the input's rate) or 1
// (the input or the SID folder cannot be used). Nothing is written before it has answered.
std::unique_ptr<StationRecorder> prepareStations(const HeadlessOptions& options, int& exitCode);

}  // namespace recorder::app
