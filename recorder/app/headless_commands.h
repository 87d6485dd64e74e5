// zelkchart's commands that open no form: the log as CSV, the list of capture devices.
#pragma once

#include "headless_options.h"

namespace recorder::app {

// Each returns the process exit code.
int exportCsvCommand(const HeadlessOptions& options);
int listDevicesCommand();

}  // namespace recorder::app
