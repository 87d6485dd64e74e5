// Where each new point goes on the chart's X axis: seconds-per-point times the speed factor
// further right than the point before. Positions are counted in double precision from the last
// change of spacing, as origin + n x step, so rounding never builds up: after months of recording
// a point still moves exactly as far as in the first minute, and a short run draws as before.
#pragma once

#include <cstdint>

namespace recorder {

class PointClock {
 public:
  // The position of the next point. step is computed in single precision, as the form's
  // settings are.
  double next(float step) {
    if (step != step_) {
      origin_ = last_;
      count_ = 0;
      step_ = step;
    }
    ++count_;
    last_ = origin_ + static_cast<double>(count_) * static_cast<double>(step_);
    return last_;
  }
  double last() const { return last_; }
  // Back to the chart's left: stopping and starting a playback begin again at 0.
  void reset() { *this = PointClock(); }

 private:
  double origin_ = 0;
  double last_ = 0;
  std::int64_t count_ = 0;
  float step_ = 0;
};

}  // namespace recorder
