// The options only the window takes. They are taken out of the command line before the common
// options are read, so the headless run never sees them.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace recorder::app {

struct WindowOptions {
  bool start = false;                // press Start once the window is shown
  std::string screenshotPath;        // .png: the window's picture, written just before it exits
  std::optional<std::string> input;  // --input as given, if it was
  std::string error;
};

// Removes --start and --screenshot FILE from args.
WindowOptions takeWindowOptions(std::vector<std::string>& args);
std::string windowUsageText();

}  // namespace recorder::app
