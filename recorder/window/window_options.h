// What the window takes from the command line: --start and --screenshot are its own, --input
// and --seconds it shares with headless runs.
#pragma once

#include <optional>
#include <string>

#include "headless_options.h"

namespace recorder::app {

struct WindowOptions {
  bool start = false;                // press Start once the window is shown
  std::string screenshotPath;        // .png: the window's picture, written just before it exits
  std::optional<std::string> input;  // --input as given, if it was
};

WindowOptions windowOptionsOf(const HeadlessOptions& options);
std::string windowUsageText();

}  // namespace recorder::app
