#include "headless_commands.h"

#include <sys/stat.h>

#include <cstdio>
#include <ctime>
#include <optional>

#include "recorder/csv_export.h"
#include "recorder/log_rotation.h"
#include "xvtools/audio_source.h"

namespace recorder::headless {

int exportCsvCommand(const CsvExportSettings& options) {
  struct stat info {};
  if (::stat(options.exportCsvPath.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
    std::fprintf(stderr, "zelkchart: cannot read the log %s\n", options.exportCsvPath.c_str());
    return 1;
  }
  // The log's clock counts days from its first one; a rotated file's name tells which day that
  // was. Otherwise the date is a guess, and the reader is told so.
  std::optional<std::int64_t> firstDay = options.csvDay;
  if (!firstDay) firstDay = splitLogName(options.exportCsvPath).day;
  const std::int64_t changed = dayOfChange(info.st_mtime);
  if (!firstDay) {
    std::fprintf(stderr,
                 "zelkchart: %s: the name carries no date; the last day is dated %s, the day "
                 "the file last changed (give --date YYYY-MM-DD for the first day)\n",
                 options.exportCsvPath.c_str(), formatIsoDay(changed).c_str());
  }
  std::string error;
  if (!exportCsv(options.exportCsvPath, firstDay, changed, stdout, error)) {
    std::fprintf(stderr, "zelkchart: %s: %s\n", options.exportCsvPath.c_str(), error.c_str());
    return 1;
  }
  return 0;
}

int listDevicesCommand() {
  const auto devices = xvtools::captureDevices();
  if (devices.empty()) {
    std::fputs("zelkchart: no audio capture devices\n", stderr);
    return 1;
  }
  for (const auto& d : devices) {
    std::printf("%s\t%d channels\t%.0f samples/s\n", d.name.c_str(), d.channels,
                d.defaultSampleRate);
  }
  return 0;
}

}  // namespace recorder::headless
