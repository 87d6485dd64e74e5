// zelkchart's commands that open no form: the log as CSV, the list of capture devices.
#pragma once

#include <cstdint>
#include <ctime>

#include "headless_options.h"

namespace recorder::app {

// The local day number of a file's last change: the last day of a log exported without a date.
std::int64_t dayOfChange(std::time_t changedAt);

// Each returns the process exit code.
int exportCsvCommand(const HeadlessOptions& options);
int listDevicesCommand();

}  // namespace recorder::app
