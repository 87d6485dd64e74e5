// zelkspec --headless --full: the whole input as one picture (see spectrograph/full_spectrogram.h),
// with the operator's transform, window, palette, gain and amplitude choices, the levels asked
// for, and sunrise and sunset marked on the time axis when a place is given.
#pragma once

#include <atomic>
#include <optional>
#include <ostream>
#include <string>

namespace spectrograph::app {

struct FullSpectrogramOptions {
  std::string input = "synthetic";  // as --input
  std::string imagePath;            // .png
  std::optional<double> seconds;    // at most this much of the input (required for live inputs)
  std::optional<int> width;         // fit into this many plot columns
  std::string startTime;            // "HH:MM[:SS]" of the first sample; default 00:00:00
  std::optional<double> refDb;      // level at the top of the palette
  std::optional<double> rangeDb;    // span of the palette in logarithmic mode
  bool colorbar = false;
  int fft = 512;                    // 64..2048, a power of two
  std::string window = "Gaussian";  // a window's name
  std::string palette = "Threshold";
  int gainDb = 0;  // 0, 6 or 12
  bool logAmp = false;
  std::string site;  // "LAT,LON": marks sunrise and sunset
  std::string date;  // "YYYY-MM-DD" for the marks; default from the input's name
  const std::atomic<bool>* stop = nullptr;
};

// Returns the exit code: 0 when the picture was written, 1 when it could not be (the reason on
// err as one line "zelkspec: ..."), 2 for options that do not go together.
int runFullSpectrogram(const FullSpectrogramOptions& options, std::ostream& err);

}  // namespace spectrograph::app
