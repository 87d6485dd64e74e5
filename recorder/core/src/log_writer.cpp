#include "recorder/log_writer.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "recorder/log_number.h"
#include "recorder/ole_date.h"

namespace recorder {

LogWriter::~LogWriter() { close(); }

bool LogWriter::open(const std::string& path) {
  close();
  error_.clear();
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) {
    error_ = std::strerror(errno);
    return false;
  }
  return true;
}

bool LogWriter::close() {
  if (file_ == nullptr) return true;
  const bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!ok && error_.empty()) error_ = std::strerror(errno);
  return ok;
}

bool LogWriter::put(const char* text, std::size_t length) {
  if (file_ == nullptr) return false;
  if (std::fwrite(text, 1, length, file_) != length) {
    error_ = std::strerror(errno);
    return false;
  }
  return true;
}

bool LogWriter::writeData(float value) {
  char line[kMaxNumberText + 8] = "\"D\",";
  std::size_t n = 4;
  n += formatSingle(value, line + n);
  line[n++] = '\r';
  line[n++] = '\n';
  return put(line, n);
}

bool LogWriter::writeTime(double clock, std::int16_t sampleSizeRow) {
  const std::string date = formatLogDate(clock);
  char line[96];
  const int n = std::snprintf(line, sizeof line, "\"T\",%s,%d\r\n", date.c_str(),
                              static_cast<int>(sampleSizeRow));
  if (n < 0 || static_cast<std::size_t>(n) >= sizeof line) return false;
  return put(line, static_cast<std::size_t>(n)) && flush();
}

bool LogWriter::flush() {
  // A device or pipe that cannot be synchronised (EINVAL) still has the records.
  if (std::fflush(file_) != 0 || (sync_ && ::fdatasync(::fileno(file_)) != 0 && errno != EINVAL)) {
    error_ = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace recorder
