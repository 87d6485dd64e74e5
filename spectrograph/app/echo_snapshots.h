// --snapshots DIR: for each counted echo, the display from 2 s before its start to 5 s after,
// with the kHz scale, captioned under it with its time, frequency and SNR, written as
// DIR/YYYY-MM-DDTHH-MM-SS.mmmZ.png once the display holds the 5 s after (or at once, for an echo
// found later than that, with what the display still holds).
#pragma once

#include <string>
#include <vector>

#include "spectrograph/echo_detector.h"
#include "xvtools/xv_spectrogram.h"

namespace spectrograph::app {

class EchoSnapshots {
 public:
  static constexpr double kBefore = 2.0;
  static constexpr double kAfter = 5.0;

  EchoSnapshots(std::string folder, const xvtools::XVSpectrogramX& display);
  void add(const Echo& echo);
  // newest: the time of the newest column's transform (its centre).
  void update(double newest);
  // The run ended: the echoes still waiting are drawn with what the display holds.
  void finish(double newest);
  const std::string& error() const { return error_; }
  int written() const { return written_; }

 private:
  void write(const Echo& echo, double newest);

  std::string folder_;
  const xvtools::XVSpectrogramX& display_;
  std::vector<Echo> waiting_;
  std::string error_;
  int written_ = 0;
};

}  // namespace spectrograph::app
