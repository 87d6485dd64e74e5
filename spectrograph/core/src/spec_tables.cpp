#include "spectrograph/spec_tables.h"

namespace spectrograph {

void SpecTables::fill() {
  PalletTable = {"HSV", "Threshold", "Black on White", "White on Black", "Bone", "Copper", "Cool",
                 "Hot", ""};
  WindowTable = {"Rectangular", "Hamming", "Hanning", "Blackman",
                 "Gaussian",    "Welch",   "Parzen",  ""};
  GainTable = {"0dB", "+6dB", "+12dB", ""};
  FFTTable = {64, 128, 256, 512, 1024, 2048, 0};
}

}  // namespace spectrograph
