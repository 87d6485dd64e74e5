// SID files, ours and other observers', on arbitrary contents: a file is read or refused with a
// reason, and what is read is one series per station with a time for every level.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "recorder/sid_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int fd = ::memfd_create("sid", MFD_CLOEXEC);
  if (fd < 0) return 0;
  if (size > 0 && ::write(fd, data, size) != static_cast<ssize_t>(size)) {
    ::close(fd);
    return 0;
  }
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  if (recorder::isSidFile(path) != (size > 0 && data[0] == '#')) std::abort();
  const recorder::SidReadResult result = recorder::readSidFile(path);
  if (result.error.empty() && result.firstDay.size() != 10) std::abort();
  for (const auto& station : result.stations) {
    const auto& s = station.series;
    if (s.time.size() != s.value.size()) std::abort();
    for (const auto& [from, to] : s.runs()) {
      if (from >= to || to > s.time.size()) std::abort();
    }
  }
  ::close(fd);
  return 0;
}
