// The window functions a spectrogram tapers each frame with, numbered as its Window property.
// All are symmetric over n = 0..N-1 with centre c = (N-1)/2:
//   Rectangular  1
//   Hamming      0.54 - 0.46 cos(2 pi n / (N-1))
//   Hanning      0.5 - 0.5 cos(2 pi n / (N-1))
//   Blackman     0.42 - 0.5 cos(2 pi n / (N-1)) + 0.08 cos(4 pi n / (N-1))
//   Gaussian     exp(-1/2 ((n - c) / (sigma c))^2), sigma = 0.4
//   Welch        1 - ((n - c) / c)^2
//   Parzen       with x = |n - c| / (N/2): 1 - 6x^2 + 6x^3 for x <= 1/2, 2 (1 - x)^3 beyond
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace xvtools {

enum class SpectrumWindow : int {
  Rectangular = 0,
  Hamming = 1,
  Hanning = 2,
  Blackman = 3,
  Gaussian = 4,
  Welch = 5,
  Parzen = 6,
};
inline constexpr int kSpectrumWindowCount = 7;
inline constexpr double kGaussianSigma = 0.4;

// The coefficient of sample n of an N-point window (N >= 2, 0 <= n < N).
double windowCoefficient(SpectrumWindow window, int n, int length);
// Fills coefficients.size() points.
void fillWindow(SpectrumWindow window, std::span<float> coefficients);

std::string_view windowName(SpectrumWindow window);
// Case-insensitive; nullopt for a name that is none of the seven.
std::optional<SpectrumWindow> windowByName(std::string_view name);

}  // namespace xvtools
