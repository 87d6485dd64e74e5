// The command line of zelkspec.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "apps/command_line.h"

namespace spectrograph::app {

// The shared part: --headless, --help, --version, --input; --seconds, --image and --print for
// headless runs only.
struct HeadlessOptions : apps::CommonOptions {
  // The operator's choices, as rows of the spin buttons and positions of the switches; unset
  // ones keep the form's start-up state.
  std::optional<int> fftRow;
  std::optional<int> windowRow;
  std::optional<int> paletteRow;
  std::optional<int> gainRow;
  bool logAmp = false;
  bool relief = false;
};

struct ParseResult {
  HeadlessOptions options;
  std::string error;    // empty when the command line is usable
  bool tryHelp = true;  // the error is in how the line is written
};

ParseResult parseCommandLine(const std::vector<std::string>& args);
std::string usageText();

}  // namespace spectrograph::app
