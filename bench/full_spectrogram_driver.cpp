// Runs the whole-recording spectrogram as zelkspec --headless --full does, for the comparison
// script while the program's command line does not offer it:
//   bench_full_spectrogram INPUT OUT.png [WIDTH [SECONDS [SITE DATE]]]   (WIDTH 0: one per
//   transform)
#include <cstdlib>
#include <iostream>

#include "full_spectrogram_run.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: bench_full_spectrogram INPUT OUT.png [WIDTH [SECONDS [SITE DATE]]]\n";
    return 2;
  }
  spectrograph::app::HeadlessOptions options;
  options.input = argv[1];
  options.imagePath = argv[2];
  if (argc > 3 && std::atoi(argv[3]) > 0) options.width = std::atoi(argv[3]);
  if (argc > 4) options.seconds = std::atof(argv[4]);
  if (argc > 6) {
    options.site = argv[5];
    options.date = argv[6];
    options.colorbar = true;
  }
  options.logAmp = true;
  return spectrograph::app::runFullSpectrogram(options, std::cerr);
}
