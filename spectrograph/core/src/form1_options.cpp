// The operator's choices: each spin button passes its row to the spectrogram and shows the
// row's name; each switch turns an option on at its lower position.
#include <cmath>

#include "spectrograph/form1.h"

namespace spectrograph {

void Form1::windowButtonChange() {
  guarded([this] {
    const int v = windowButton_.Value();
    spec_.setWindow(v);
    setText(windowText_, tables_.WindowTable[static_cast<std::size_t>(v)]);
  });
}

void Form1::palletButtonChange() {
  guarded([this] {
    const int v = palletButton_.Value();
    spec_.setPalette(v);
    setText(palletText_, tables_.PalletTable[static_cast<std::size_t>(v)]);
  });
}

void Form1::gainButtonChange() {
  guarded([this] {
    const int v = gainButton_.Value();
    spec_.setGain(v);
    setText(gainText_, tables_.GainTable[static_cast<std::size_t>(v)]);
  });
}

void Form1::fftButtonChange() {
  guarded([this] {
    const auto length = static_cast<std::int32_t>(
        std::lround(tables_.FFTTable[static_cast<std::size_t>(fftButton_.Value())]));
    spec_.setFFTLength(length);
    fftLed_.setValue(length);
  });
}

// Position 1 (up) is off, 0 (down) on; a switch reports only these two, tested in that order.
void Form1::logAmpSwitchChange() {
  guarded([this] {
    const int p = logAmpSwitch_.Position();
    if (p == 1) {
      spec_.setLogAmp(false);
    } else if (p == 0) {
      spec_.setLogAmp(true);
    }
  });
}

void Form1::embosswitchChange() {
  guarded([this] {
    const int p = embossSwitch_.Position();
    if (p == 1) {
      spec_.setEmboss(false);
    } else if (p == 0) {
      spec_.setEmboss(true);
    }
  });
}

}  // namespace spectrograph
