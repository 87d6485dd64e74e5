// zelkspec --headless --full: the whole input as one picture (see spectrograph/full_spectrogram.h),
// with the operator's transform, window, palette, gain and amplitude choices, the levels asked
// for, and sunrise and sunset marked on the time axis when a place is given.
#pragma once

#include <atomic>
#include <ostream>

#include "headless_options.h"

namespace spectrograph::app {

// Takes the input, --seconds, --image and the options of the --full group; the transform, window,
// palette, gain and amplitude choices as the display's options give them. A stop flag, when
// given, ends the picture early with what was read. Returns the exit code: 0 when the picture was
// written, 1 when it could not be (the reason on err as one line "zelkspec: ..."), 2 for options
// that do not go together.
int runFullSpectrogram(const HeadlessOptions& options, std::ostream& err,
                       const std::atomic<bool>* stop = nullptr);

}  // namespace spectrograph::app
