// An unattended run of the spectrograph's form: the operator's choices from the command line,
// the audio input read as fast as the machine goes, the display written as an image.
#pragma once

#include <atomic>

#include "headless_options.h"

namespace spectrograph::app {

// Set from a signal handler: the run stops at the next buffer, keeping what it has.
extern std::atomic<bool> gStopRequested;

// Returns the process exit code: 0 when everything asked for was done.
int runHeadless(const HeadlessOptions& options);

}  // namespace spectrograph::app
