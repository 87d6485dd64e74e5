// What /logs/ reads of the logs a run wrote: the file only while it is still the one the run
// wrote, its whole lines, and its day plot.
#pragma once

#include <sys/stat.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "util/descriptor.h"
#include "web_snapshot.h"

namespace recorder::app {

// The log as the run wrote it, or nothing when the file at its path is no longer that file (a
// link or another file put in its place is never followed).
std::shared_ptr<util::Descriptor> openServedLog(const ServedLog& log, struct stat& info);

// The log's whole lines: a log being written may end in half a record.
void readWholeLines(int fd, std::uint64_t size, std::string& text);

// The day plot of a copy of a log, drawn by this program (/proc/self/exe --plot) in a process of
// its own: the chart control shares drawing state across its instances without locks, and the
// recorder's own chart is drawing on another thread. Ended when `stopping` is set or after 30 s.
bool drawDayPlot(const std::string& logCopy, const std::atomic<bool>& stopping, std::string& png);

}  // namespace recorder::app
