#include "xvtools/spectrum_window.h"

#include <array>
#include <cmath>
#include <numbers>

#include "name_match.h"

namespace xvtools {

namespace {

constexpr std::array<std::string_view, kSpectrumWindowCount> kNames = {
    "Rectangular", "Hamming", "Hanning", "Blackman", "Gaussian", "Welch", "Parzen"};

}  // namespace

double windowCoefficient(SpectrumWindow window, int n, int length) {
  const double span = length - 1;
  const double centre = span / 2.0;
  const double phase = 2.0 * std::numbers::pi * n / span;
  switch (window) {
    case SpectrumWindow::Rectangular:
      return 1.0;
    case SpectrumWindow::Hamming:
      return 0.54 - 0.46 * std::cos(phase);
    case SpectrumWindow::Hanning:
      return 0.5 - 0.5 * std::cos(phase);
    case SpectrumWindow::Blackman:
      return 0.42 - 0.5 * std::cos(phase) + 0.08 * std::cos(2.0 * phase);
    case SpectrumWindow::Gaussian: {
      const double u = (n - centre) / (kGaussianSigma * centre);
      return std::exp(-0.5 * u * u);
    }
    case SpectrumWindow::Welch: {
      const double u = (n - centre) / centre;
      return 1.0 - u * u;
    }
    case SpectrumWindow::Parzen: {
      const double x = std::abs(n - centre) / (length / 2.0);
      if (x <= 0.5) return 1.0 - 6.0 * x * x + 6.0 * x * x * x;
      const double r = 1.0 - x;
      return 2.0 * r * r * r;
    }
  }
  return 1.0;
}

void fillWindow(SpectrumWindow window, std::span<float> coefficients) {
  const int length = static_cast<int>(coefficients.size());
  for (int n = 0; n < length; ++n) {
    coefficients[static_cast<std::size_t>(n)] =
        static_cast<float>(windowCoefficient(window, n, length));
  }
}

std::string_view windowName(SpectrumWindow window) {
  return kNames[static_cast<std::size_t>(window)];
}

std::optional<SpectrumWindow> windowByName(std::string_view name) {
  const auto row = matchName(kNames, name);
  if (!row) return std::nullopt;
  return static_cast<SpectrumWindow>(*row);
}

}  // namespace xvtools
