// The spectrograph with its window: the form in real time on Qt's event loop.
#pragma once

#include "headless_options.h"

namespace spectrograph::app {

// Returns the process exit code.
int runWindow(int argc, char** argv, const HeadlessOptions& options);

}  // namespace spectrograph::app
