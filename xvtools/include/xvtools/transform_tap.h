// One transform as a spectrogram computed it, handed to whoever listens (the echo counter) so that
// nothing has to transform the same samples again.
#pragma once

#include <complex>
#include <functional>
#include <span>

namespace xvtools {

struct TransformView {
  // fftLength / 2 + 1 bins: bin k is k * rate / fftLength Hz.
  std::span<const std::complex<float>> bins;
  int fftLength = 0;
  // |X|^2 times this is a sine's squared amplitude, full scale 1: (2 / sum of the window)^2.
  float powerScale = 0;
};

// Called once per transform, before the column is drawn; it must not change the spectrogram.
using TransformTap = std::function<void(const TransformView&)>;

}  // namespace xvtools
