// What /logs/ reads of the logs a run wrote: the file only while it is still the one the run
// wrote, its whole lines read a piece at a time.
#pragma once

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "util/descriptor.h"
#include "web_snapshot.h"

namespace recorder::web::module {

// The log as the run wrote it, or nothing when the file at its path is no longer that file (a
// link or another file put in its place is never followed).
std::shared_ptr<util::Descriptor> openServedLog(const ServedLog& log, struct stat& info);

// The length of the log's first `size` bytes up to its last line end: a log being written may
// end in half a record. Read backwards a piece at a time.
std::uint64_t wholeLinesEnd(int fd, std::uint64_t size);

// A stream reading the file's first `size` bytes (it seeks), which ends early, as if the file
// ended there, once `stopping` or `gone` (when given) is set or the deadline has passed. Null
// when it cannot be made.
std::FILE* openFilePrefix(
    std::shared_ptr<util::Descriptor> file, std::uint64_t size, const std::atomic<bool>& stopping,
    const std::atomic<bool>* gone = nullptr,
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max());

}  // namespace recorder::web::module
