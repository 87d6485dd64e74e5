#include "recorder/sid_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "util/calendar.h"
#include "util/descriptor.h"

namespace recorder {

namespace {

constexpr std::int64_t kDaySeconds = 86400;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

std::string isoDay(std::int64_t day) {
  const util::CivilDate d = util::civilFromDays(day);
  char text[32];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u", static_cast<long long>(d.year), d.month,
                d.day);
  return text;
}

std::string frequencyText(double hz) {
  char text[32];
  if (hz == std::floor(hz)) {
    std::snprintf(text, sizeof text, "%.0f", hz);
  } else {
    std::snprintf(text, sizeof text, "%g", hz);
  }
  return text;
}

// The stamp of the last whole line of the file, when it is a reading.
bool lastStamp(int fd, off_t size, std::int64_t& stamp) {
  const off_t start = std::max<off_t>(0, size - 4096);
  std::string tail(static_cast<std::size_t>(size - start), '\0');
  if (::pread(fd, tail.data(), tail.size(), start) != static_cast<ssize_t>(tail.size()))
    return false;
  const std::size_t end = tail.rfind('\n');
  if (end == std::string::npos) return false;
  const std::size_t begin = end == 0 ? std::string::npos : tail.rfind('\n', end - 1);
  const std::string line = tail.substr(begin == std::string::npos ? 0 : begin + 1,
                                       end - (begin == std::string::npos ? 0 : begin + 1));
  return parseUtcStamp(line.substr(0, 19), stamp);
}

}  // namespace

std::string formatSidValue(double value) {
  if (!std::isfinite(value) || value <= 0.0) return "0";
  const int magnitude = static_cast<int>(std::floor(std::log10(value)));
  const int decimals = std::clamp(5 - magnitude, 0, 30);
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string formatUtcStamp(std::int64_t utcSeconds) {
  const std::int64_t day = floorDiv(utcSeconds, kDaySeconds);
  const std::int64_t s = utcSeconds - day * kDaySeconds;
  char text[32];
  std::snprintf(text, sizeof text, " %02d:%02d:%02d", static_cast<int>(s / 3600),
                static_cast<int>(s / 60 % 60), static_cast<int>(s % 60));
  return isoDay(day) + text;
}

bool parseUtcStamp(const std::string& text, std::int64_t& utcSeconds) {
  int year = 0;
  unsigned month = 0, day = 0, hour = 0, minute = 0, second = 0;
  char tail = 0;
  if (text.size() != 19 || std::sscanf(text.c_str(), "%4d-%2u-%2u %2u:%2u:%2u%c", &year, &month,
                                       &day, &hour, &minute, &second, &tail) != 6) {
    return false;
  }
  if (!util::isCalendarDate(year, month, day) || hour > 23 || minute > 59 || second > 59)
    return false;
  utcSeconds =
      util::daysFromCivil(year, month, day) * kDaySeconds + hour * 3600 + minute * 60 + second;
  return true;
}

SidFileWriter::SidFileWriter(std::string folder, SidSite site, Station station, bool sync)
    : folder_(std::move(folder)),
      site_(std::move(site)),
      station_(std::move(station)),
      sync_(sync),
      file_(std::make_unique<util::Descriptor>()) {}

SidFileWriter::~SidFileWriter() = default;

std::string SidFileWriter::fileName(std::int64_t day) const {
  return site_.name + "_" + station_.call + "_" + isoDay(day) + ".csv";
}

bool SidFileWriter::writeAll(const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(file_->get(), text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = "cannot write " + files_.back() + ": " + std::strerror(n < 0 ? errno : ENOSPC);
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  if (sync_ && ::fdatasync(file_->get()) != 0) {
    error_ = "cannot keep " + files_.back() + " on disk: " + std::strerror(errno);
    return false;
  }
  return true;
}

bool SidFileWriter::open(std::int64_t day) {
  const std::string path = folder_ + "/" + fileName(day);
  file_->reset(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
  if (!*file_) {
    error_ = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  day_ = day;
  hasLast_ = false;
  files_.push_back(path);
  struct stat st {};
  if (::fstat(file_->get(), &st) != 0) {
    error_ = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  if (st.st_size > 0) {
    // A restart: go on after the file's last reading, on a line of its own.
    int readFd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    util::Descriptor reader(readFd);
    hasLast_ = reader && lastStamp(reader.get(), st.st_size, lastStamp_);
    char last = '\n';
    if (reader && ::pread(reader.get(), &last, 1, st.st_size - 1) == 1 && last != '\n') {
      return writeAll("\n");
    }
    return true;
  }
  const std::string header = "# Site = " + site_.name + "\n# Longitude = " + site_.longitude +
                             "\n# Latitude = " + site_.latitude +
                             "\n#\n# UTC_Offset = +00:00\n# TimeZone = UTC\n#\n"
                             "# UTC_StartTime = " +
                             formatUtcStamp(day * kDaySeconds) +
                             "\n# LogInterval = " + std::to_string(site_.intervalSeconds) +
                             "\n# LogType = raw\n# MonitorID = " + site_.name +
                             "\n# StationID = " + station_.call +
                             "\n# Frequency = " + frequencyText(station_.frequencyHz) + "\n";
  if (!writeAll(header)) return false;
  if (sync_) {
    util::Descriptor dir(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) ::fsync(dir.get());
  }
  return true;
}

bool SidFileWriter::append(std::int64_t utcSeconds, double level) {
  const std::int64_t day = floorDiv(utcSeconds, kDaySeconds);
  if (!*file_ || day != day_) {
    if (!open(day)) {
      file_->reset(-1);
      return false;
    }
  }
  if (hasLast_ && utcSeconds <= lastStamp_) return true;
  if (!writeAll(formatUtcStamp(utcSeconds) + ", " + formatSidValue(level) + "\n")) return false;
  lastStamp_ = utcSeconds;
  hasLast_ = true;
  return true;
}

}  // namespace recorder
