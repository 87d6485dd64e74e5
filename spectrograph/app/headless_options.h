// The command line of zelkspec.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace spectrograph::app {

struct HeadlessOptions {
  bool headless = false;
  bool help = false;
  bool version = false;
  std::string input = "synthetic";
  std::optional<double> seconds;  // run this long; otherwise until the input ends or Ctrl-C
  std::string imagePath;
  std::string printPath;
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
  std::string error;  // empty when the command line is usable
};

ParseResult parseCommandLine(const std::vector<std::string>& args);
std::string usageText();

}  // namespace spectrograph::app
