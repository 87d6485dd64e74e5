// zelkchart's commands that open no form: the log as CSV, the list of capture devices.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>

#include "headless_options.h"

namespace recorder::app {

// The log as --export-csv writes it, to out. Without firstDay the file's last change dates its
// last day. False with the reason when the file cannot be read or holds an unusable record.
bool exportLogCsv(const std::string& path, std::optional<std::int64_t> firstDay, std::FILE* out,
                  std::string& error);

// The local day number of a file's last change: the last day of a log exported without a date.
std::int64_t dayOfChange(std::time_t changedAt);

// Each returns the process exit code.
int exportCsvCommand(const HeadlessOptions& options);
int listDevicesCommand();

}  // namespace recorder::app
