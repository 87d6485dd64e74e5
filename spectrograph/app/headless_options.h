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
  // The names as typed, for the whole-recording picture, which takes them by name.
  int fftLength = 512;
  std::string windowName = "Gaussian";
  std::string paletteName = "Threshold";
  // --full: the whole input as one picture, with its own levels and time axis.
  bool full = false;
  std::optional<int> width;
  std::string startTime;
  std::optional<double> refDb;
  std::optional<double> rangeDb;
  bool colorbar = false;
  std::string site;
  std::string date;
};

using ParseResult = apps::ParseResult<HeadlessOptions>;

ParseResult parseCommandLine(const std::vector<std::string>& args);
std::string usageText();

}  // namespace spectrograph::app
