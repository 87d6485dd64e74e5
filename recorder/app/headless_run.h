// An unattended run of the recorder's form: the chart control in a headless container, the
// audio input scripted from the command line, time running as fast as the machine goes or at
// the input's pace.
#pragma once

#include <atomic>

#include "headless_options.h"

namespace recorder::app {

// Set from a signal handler: the run stops at the next block or tick, keeping what it has.
extern std::atomic<bool> gStopRequested;

// Returns the process exit code: 0 when everything asked for was done.
int runHeadless(const HeadlessOptions& options);

}  // namespace recorder::app
