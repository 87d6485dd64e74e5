// What the recorder's window runs on: --start and --screenshot are its own; the input, the time
// limit, the web view and the stations are as a headless run takes them.
#pragma once

#include <optional>
#include <string>

#include "recorder/station_run.h"
#include "serve_address.h"

namespace recorder::window {

struct WindowSettings {
  bool start = false;                // press Start once the window is shown
  std::string screenshotPath;        // .png: the window's picture, written just before it exits
  std::optional<std::string> input;  // --input as given, if it was
  std::optional<double> seconds;     // close the window (as Exit does) after this long
  std::optional<web::ServeAddress> serve;
  StationSettings stations;
};

}  // namespace recorder::window
