// The logs of a day plot read as recordings: the files of one rotation (NAME.EXT,
// NAME-YYYY-MM-DD.EXT and the names a restart chose, NAME-YYYY-MM-DD-2.EXT) are one recording on
// one time line, placed by the dates their names carry; other logs are recordings of their own.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "recorder/day_plot_data.h"

namespace recorder::dayplot {

struct Recording {
  std::string name;  // for the legend: the first file's name, and how many more there are
  LogSeries series;  // seconds from 00:00 of the recording's first day
  // The first day as a date (a day number), when a file's name carries one.
  std::optional<std::int64_t> firstDate;
};

// Reads what can be used, in the order the logs were given. A file that cannot be read and each
// record that cannot be used are named on err ("zelkchart: PATH:LINE: ..."), and skipped.
// Where streams holds a log open (the web view's served logs), it is read in place of the file
// at the path of the same index, and the path only names it.
std::vector<Recording> readRecordings(const std::vector<std::string>& paths, std::ostream& err,
                                      std::span<std::FILE* const> streams = {});

}  // namespace recorder::dayplot
