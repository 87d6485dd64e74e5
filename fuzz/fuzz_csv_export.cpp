// Exports arbitrary bytes as a recorder log to CSV: an export that succeeds writes one well-formed
// line per data record; one that fails says where.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "recorder/csv_export.h"
#include "recorder/log_reader.h"

namespace {

// <date>THH:MM:SS.mmm,<number>
bool wellFormed(const char* line, std::size_t length) {
  static const char kShape[] = "Tdd:dd:dd.ddd,";
  const std::size_t fixed = sizeof kShape - 1;
  const char* t = static_cast<const char*>(std::memchr(line, 'T', length));
  if (t == nullptr || t == line) return false;
  const std::size_t at = static_cast<std::size_t>(t - line);
  if (length < at + fixed + 1) return false;
  for (std::size_t i = 0; i < fixed; ++i) {
    const char c = line[at + i];
    if (kShape[i] == 'd' ? (c < '0' || c > '9') : c != kShape[i]) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int fd = ::memfd_create("log", MFD_CLOEXEC);
  if (fd < 0) return 0;
  if (size > 0 && ::write(fd, data, size) != static_cast<ssize_t>(size)) {
    ::close(fd);
    return 0;
  }
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  char* text = nullptr;
  std::size_t length = 0;
  std::FILE* out = ::open_memstream(&text, &length);
  if (out == nullptr) {
    ::close(fd);
    return 0;
  }
  std::string error;
  const std::int64_t day = size > 0 ? data[0] * 1000 : 46000;
  const bool ok = recorder::exportCsv(
      path, size % 2 ? std::optional<std::int64_t>(day) : std::nullopt, day, out, error);
  std::fclose(out);
  if (ok != error.empty()) std::abort();
  if (ok) {
    std::size_t lines = 0;
    for (std::size_t start = 0; start < length; ++lines) {
      const char* end = static_cast<const char*>(std::memchr(text + start, '\n', length - start));
      if (end == nullptr ||
          !wellFormed(text + start, static_cast<std::size_t>(end - text) - start)) {
        std::abort();
      }
      start = static_cast<std::size_t>(end - text) + 1;
    }
    std::FILE* in = std::fopen(path.c_str(), "rbe");
    recorder::LogReader reader;
    reader.attach(in);
    std::size_t records = 0;
    while (!reader.atEnd()) {
      if (reader.next().kind == recorder::LogRecord::Kind::Data) ++records;
    }
    std::fclose(in);
    if (records != lines) std::abort();
  }
  std::free(text);
  ::close(fd);
  return 0;
}
