// The spectrograph's four look-up tables, filled at form load: the names shown beside the spin
// buttons and the FFT lengths they choose. Rows past the last listed exist and stay empty.
#pragma once

#include <array>
#include <string>

namespace spectrograph {

constexpr int kPalletRows = 9;
constexpr int kWindowRows = 8;
constexpr int kGainRows = 4;
constexpr int kFFTRows = 7;

struct SpecTables {
  std::array<std::string, kPalletRows> PalletTable;
  std::array<std::string, kWindowRows> WindowTable;
  std::array<std::string, kGainRows> GainTable;
  std::array<float, kFFTRows> FFTTable{};

  void fill();
};

}  // namespace spectrograph
