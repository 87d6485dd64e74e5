// An unattended run of the recorder's form: the chart control in a headless container, the
// audio input scripted from the command line, time running as fast as the machine goes or at
// the input's pace.
#pragma once

#include "apps/stop_signals.h"
#include "headless_settings.h"

namespace recorder::headless {

// Returns the process exit code: 0 when everything asked for was done.
// A stop request ends it at the next block or tick, keeping what it has.
int runHeadless(const HeadlessSettings& options, const apps::StopRequest& stop);

}  // namespace recorder::headless
