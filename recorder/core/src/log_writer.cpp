#include "recorder/log_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "recorder/log_number.h"
#include "recorder/log_rotation.h"
#include "recorder/ole_date.h"

namespace recorder {

namespace {

// Records kept in hand: a second of the smallest sample size's points many times over.
constexpr std::size_t kHandBytes = 64 * 1024;
// Names tried for a log that keeps what its files hold: NAME.EXT, NAME-2.EXT ... NAME-999.EXT.
constexpr int kMaxContinuations = 999;

std::string reason(int error) {
  if (error == ELOOP) return "it is a symbolic link, and logs are not written through links";
  return std::strerror(error);
}

}  // namespace

LogWriter::LogWriter() : hand_(kHandBytes) {}

LogWriter::~LogWriter() { close(); }

bool LogWriter::openNow(const std::string& path, bool keepRecords) {
  constexpr int kFlags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC;
  for (int n = 1; n <= (keepRecords ? kMaxContinuations : 1); ++n) {
    const std::string candidate = n == 1 ? path : numberedLogName(path, n);
    const int fd = ::open(candidate.c_str(), kFlags | (keepRecords ? 0 : O_TRUNC), 0666);
    if (fd < 0) {
      error_ = reason(errno);
      return false;
    }
    struct stat info {};
    // A file another user made beforehand (in a shared folder, say) would let them read and
    // rewrite what is recorded: never written.
    const bool known = ::fstat(fd, &info) == 0;
    if (known && info.st_uid != ::geteuid()) {
      ::close(fd);
      error_ = "it belongs to another user";
      return false;
    }
    if (keepRecords && known && S_ISREG(info.st_mode) && info.st_size > 0) {
      ::close(fd);
      continue;
    }
    fd_ = fd;
    name_ = candidate;
    committed_ = 0;
    return true;
  }
  error_ = "every name up to " + numberedLogName(path, kMaxContinuations) + " holds records";
  return false;
}

bool LogWriter::open(const std::string& path, bool keepRecords) {
  close();
  error_.clear();
  return openNow(path, keepRecords);
}

void LogWriter::openWhenWritten(const std::string& path, bool keepRecords) {
  close();
  error_.clear();
  pending_ = path;
  pendingKeep_ = keepRecords;
  name_ = path;
}

bool LogWriter::close() {
  const bool wasOpen = isOpen();
  const bool ok = !wasOpen || handLength_ == 0 || handOver();
  handLength_ = 0;
  pending_.clear();
  if (fd_ >= 0 && ::close(fd_) != 0 && ok) {
    error_ = std::strerror(errno);
    fd_ = -1;
    return false;
  }
  fd_ = -1;
  return ok;
}

bool LogWriter::handOver() {
  const std::size_t length = handLength_;
  handLength_ = 0;
  if (fd_ < 0) {
    if (pending_.empty()) return false;
    if (!openNow(pending_, pendingKeep_)) return false;
    pending_.clear();
  }
  std::size_t done = 0;
  while (done < length) {
    const ssize_t n = ::write(fd_, hand_.data() + done, length - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      error_ = n == 0 ? "the file takes nothing more" : std::strerror(errno);
      // Cut back what reached the file to its last whole record; a pipe or device, which
      // cannot be cut, has what it took.
      if (done > 0 && ::ftruncate(fd_, static_cast<off_t>(committed_)) == 0) {
        ::lseek(fd_, static_cast<off_t>(committed_), SEEK_SET);
      }
      return false;
    }
  }
  committed_ += length;
  // A device or pipe that cannot be synchronised (EINVAL) still has the records.
  if (sync_ && ::fdatasync(fd_) != 0 && errno != EINVAL) {
    error_ = std::strerror(errno);
    return false;
  }
  return true;
}

bool LogWriter::append(const char* text, std::size_t length) {
  if (!isOpen()) return false;
  bool ok = true;
  if (handLength_ + length > hand_.size()) ok = handOver();
  std::memcpy(hand_.data() + handLength_, text, length);
  handLength_ += length;
  return ok;
}

bool LogWriter::writeData(float value) {
  char line[kMaxNumberText + 8] = "\"D\",";
  std::size_t n = 4;
  n += formatSingle(value, line + n);
  line[n++] = '\r';
  line[n++] = '\n';
  return append(line, n);
}

bool LogWriter::writeTime(double clock, std::int16_t sampleSizeRow) {
  const std::string date = formatLogDate(clock);
  char line[96];
  const int n = std::snprintf(line, sizeof line, "\"T\",%s,%d\r\n", date.c_str(),
                              static_cast<int>(sampleSizeRow));
  if (n < 0 || static_cast<std::size_t>(n) >= sizeof line) return false;
  const bool ok = append(line, static_cast<std::size_t>(n));
  return handOver() && ok;
}

}  // namespace recorder
