// The command line of zelkspec.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "apps/command_line.h"
#include "spectrograph/echo_detector.h"

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
  // Counting meteor echoes: the bands as typed (LOW:HIGH in Hz), the threshold, and the files.
  std::string echoes;
  std::string noise;
  std::optional<double> snrDb;
  std::optional<double> maxEchoS;
  std::string eventsPath;
  std::string countsPath;
  std::string rmobPath;
  std::string snapshotsDir;
  std::string startDate;
};

using ParseResult = apps::ParseResult<HeadlessOptions>;

// The rate the form's spectrogram works at, which the echo bands are checked against.
inline constexpr int kEchoSampleRate = 8000;
// The echo counter's settings from the line, or nullopt without --echoes or when error is set.
std::optional<EchoSettings> echoSettings(const HeadlessOptions& options, std::string& error);

ParseResult parseCommandLine(const std::vector<std::string>& args);
std::string usageText();

}  // namespace spectrograph::app
