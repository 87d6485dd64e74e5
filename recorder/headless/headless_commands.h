// zelkchart's commands that open no form: the log as CSV, the list of capture devices.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace recorder::headless {

// --export-csv LOG [--date YYYY-MM-DD]: the log, and the day its clock started when known.
struct CsvExportSettings {
  std::string exportCsvPath;
  std::optional<std::int64_t> csvDay;
};

// Each returns the process exit code.
int exportCsvCommand(const CsvExportSettings& options);
int listDevicesCommand();

}  // namespace recorder::headless
