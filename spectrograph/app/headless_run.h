// An unattended run of the spectrograph's form: the operator's choices from the command line,
// the audio input read as fast as the machine goes, the display written as an image.
#pragma once

#include "apps/stop_signals.h"
#include "headless_options.h"

namespace spectrograph::app {

// Returns the process exit code: 0 when everything asked for was done.
// A stop request ends it at the next buffer, keeping what it has.
int runHeadless(const HeadlessOptions& options, const apps::StopRequest& stop);

}  // namespace spectrograph::app
