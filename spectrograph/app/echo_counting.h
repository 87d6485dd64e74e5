// Counting meteor echoes in a run: the counter on the spectrogram's transforms, its clock, and
// the files it writes, as the command line sets them up.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "headless_options.h"
#include "spectrograph/echo_detector.h"
#include "spectrograph/echo_log.h"
#include "xvtools/input_spec.h"
#include "xvtools/transform_tap.h"

namespace spectrograph::app {

// The time of the input's first sample, seconds since 1970 (UTC): --start-date and --start-time
// when either is given (the date defaulting to the one in the input's name, else today's, the
// time to 00:00:00); else 00:00:00 of that date for a recording, and the system clock for live
// and synthetic input. Empty with error set when a value is not a date or time.
std::optional<double> echoStartTime(const HeadlessOptions& options, const xvtools::InputSpec& input,
                                    std::string& error);

class EchoCounting {
 public:
  // Opens the files; error() tells why it cannot count.
  EchoCounting(const EchoSettings& settings, const HeadlessOptions& options,
               const xvtools::InputSpec& input, int sampleRate);
  const std::string& error() const { return error_; }

  // For the spectrogram's onTransform; the counter must outlive the spectrogram's use of it.
  xvtools::TransformTap tap();
  // After each block of samples: closes the hours the run has passed.
  void advance();
  // At the end of the run; false (with error()) when a file could not be written.
  bool finish();

  const EchoLog& log() const { return log_; }
  // Also told of each echo counted.
  void onEcho(std::function<void(const Echo&)> handler) { onEcho_ = std::move(handler); }
  // The time of the newest transform's centre.
  double newestTransform(int fftLength, int sampleRate) const {
    return detector_ ? detector_->clock() - fftLength / 2.0 / sampleRate : 0;
  }
  // The counted echoes' starts, seconds from the input's first sample.
  const std::vector<double>& echoOffsets() const { return offsets_; }
  int counted() const { return counted_; }

 private:
  std::string error_;
  EchoLog log_;
  std::unique_ptr<EchoDetector> detector_;
  int counted_ = 0;
  double start_ = 0;
  bool finished_ = false;
  std::vector<double> offsets_;
  std::function<void(const Echo&)> onEcho_;
};

}  // namespace spectrograph::app
