#include "spectrograph/echo_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "util/calendar.h"
#include "util/replace_file.h"

namespace spectrograph {

namespace {

constexpr std::int64_t kHour = 3600;
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && (a < 0)); }

std::int64_t hourOf(double t) { return static_cast<std::int64_t>(std::floor(t / kHour)); }

util::CivilDate dateOfHour(std::int64_t hour) { return util::civilFromDays(floorDiv(hour, 24)); }

std::string twoDigits(unsigned n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02u", n % 100);
  return text;
}

// Opens an append file; a file already there must start with the header, and a last line cut
// short is ended so that the next line stands on its own.
std::string openAppend(const std::string& path, const char* header, int& fd) {
  fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return "cannot write " + path + ": " + std::strerror(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return "cannot write " + path + ": not a file";
  std::string prefix;
  if (st.st_size == 0) {
    prefix.append(header).push_back('\n');
  } else {
    std::ifstream in(path, std::ios::binary);
    std::string first;
    std::getline(in, first);
    if (!first.empty() && first.back() == '\r') first.pop_back();
    if (first != header) return "will not append to " + path + ": its first line is not " + header;
    in.clear();
    in.seekg(-1, std::ios::end);
    if (in.get() != '\n') prefix.push_back('\n');
  }
  if (!prefix.empty() &&
      ::write(fd, prefix.data(), prefix.size()) != static_cast<ssize_t>(prefix.size()))
    return "cannot write " + path + ": " + std::strerror(errno);
  return {};
}

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace

std::string isoTime(double t, bool millis) {
  const auto ms = static_cast<std::int64_t>(std::llround(t * 1000.0));
  const std::int64_t days = floorDiv(ms, 86400000);
  const std::int64_t inDay = ms - days * 86400000;
  const util::CivilDate d = util::civilFromDays(days);
  char text[64];
  const auto s = static_cast<int>(inDay / 1000);
  if (millis) {
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02d:%02d:%02d.%03dZ",
                  static_cast<long long>(d.year), d.month, d.day, s / 3600, s / 60 % 60, s % 60,
                  static_cast<int>(inDay % 1000));
  } else {
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<long long>(d.year), d.month, d.day, s / 3600, s / 60 % 60, s % 60);
  }
  return text;
}

EchoLog::~EchoLog() {
  if (eventsFd_ >= 0) ::close(eventsFd_);
  if (countsFd_ >= 0) ::close(countsFd_);
}

std::string EchoLog::open(const EchoFiles& files, double runStart) {
  eventsPath_ = files.events;
  countsPath_ = files.counts;
  rmobPath_ = files.rmob;
  runStart_ = runStart;
  openHour_ = hourOf(runStart);
  const util::CivilDate d = dateOfHour(openHour_);
  firstMonthKey_ = d.year * 12 + d.month - 1;
  if (!eventsPath_.empty()) {
    if (auto problem = openAppend(eventsPath_, kEventsHeader, eventsFd_); !problem.empty())
      return problem;
  }
  if (!countsPath_.empty()) {
    if (auto problem = openAppend(countsPath_, kCountsHeader, countsFd_); !problem.empty())
      return problem;
  }
  if (!rmobPath_.empty()) {
    std::filesystem::path folder = std::filesystem::path(rmobPath_).parent_path();
    if (folder.empty()) folder = ".";
    if (::access(folder.c_str(), W_OK) != 0)
      return "cannot write " + rmobPath_ + ": its folder is missing or not writable";
    if (std::filesystem::is_directory(rmobPath_))
      return "cannot write " + rmobPath_ + ": it is a folder";
    // A matrix of another month already there is kept: this month goes to its own name.
    std::ifstream in(rmobPath_);
    std::string first;
    if (in && std::getline(in, first) && first.substr(0, 3) != kMonthNames[d.month - 1])
      firstMonthRenamed_ = true;
    month(d.year, d.month);
  }
  return {};
}

std::string EchoLog::matrixPath(std::int64_t year, unsigned monthNumber) const {
  if (year * 12 + monthNumber - 1 == firstMonthKey_ && !firstMonthRenamed_) return rmobPath_;
  const std::filesystem::path p(rmobPath_);
  const std::string name = p.stem().string() + "-" + std::to_string(year) + "-" +
                           twoDigits(monthNumber) + p.extension().string();
  return (p.parent_path() / name).string();
}

EchoLog::Month& EchoLog::month(std::int64_t year, unsigned monthNumber) {
  const std::int64_t key = year * 12 + monthNumber - 1;
  auto found = months_.find(key);
  if (found != months_.end()) return found->second;
  Month cells;
  cells.fill(-1);
  // The hours earlier runs wrote are kept.
  std::ifstream in(matrixPath(year, monthNumber));
  std::string line;
  if (in && std::getline(in, line) && line.substr(0, 3) == kMonthNames[monthNumber - 1]) {
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      std::string field;
      if (!std::getline(fields, field, '|')) continue;
      char* end = nullptr;
      const long day = std::strtol(field.c_str(), &end, 10);
      if (end == field.c_str() || day < 1 || day > 31) continue;
      for (int h = 0; h < 24 && std::getline(fields, field, '|'); ++h) {
        const long n = std::strtol(field.c_str(), &end, 10);
        if (end != field.c_str() && n >= 0) cells[std::size_t((day - 1) * 24 + h)] = int(n);
      }
    }
  }
  return months_.emplace(key, cells).first->second;
}

void EchoLog::writeMatrix(std::int64_t year, unsigned monthNumber) {
  const Month& cells = month(year, monthNumber);
  std::string text = kMonthNames[monthNumber - 1];
  text += '|';
  for (unsigned h = 0; h < 24; ++h) text += twoDigits(h) + "h|";
  text += '\n';
  const auto days = static_cast<int>(
      monthNumber == 12 ? util::daysFromCivil(year + 1, 1, 1) - util::daysFromCivil(year, 12, 1)
                        : util::daysFromCivil(year, monthNumber + 1, 1) -
                              util::daysFromCivil(year, monthNumber, 1));
  for (int day = 1; day <= days; ++day) {
    char cell[16];
    std::snprintf(cell, sizeof cell, " %02d|", day);
    text += cell;
    for (int h = 0; h < 24; ++h) {
      const int n = cells[std::size_t((day - 1) * 24 + h)];
      if (n < 0) {
        text += " ???|";
      } else {
        std::snprintf(cell, sizeof cell, "%4d|", n);
        text += cell;
      }
    }
    text += '\n';
  }
  const std::string path = matrixPath(year, monthNumber);
  const auto result = util::replaceFile(path, [&text](std::FILE* f) {
    return std::fwrite(text.data(), 1, text.size(), f) == text.size();
  });
  if (!util::replaced(result) && error_.empty()) error_ = "cannot replace " + path;
}

void EchoLog::appendLine(int fd, const std::string& line, const std::string& path) {
  if (fd < 0) return;
  const std::string whole = line + "\n";
  // One write per line: a reader, or a crash, never sees half of one.
  if (::write(fd, whole.data(), whole.size()) != static_cast<ssize_t>(whole.size()) ||
      ::fdatasync(fd) != 0) {
    if (error_.empty()) error_ = "cannot write " + path + ": " + std::strerror(errno);
  }
}

void EchoLog::add(const Echo& echo) {
  last_ = echo;
  ++counts_[std::max(hourOf(echo.start), openHour_)];
  appendLine(eventsFd_,
             isoTime(echo.start, true) + "," + fixed(echo.duration, 3) + "," +
                 fixed(echo.peakHz, 1) + "," + fixed(echo.peakSnrDb, 1) + "," +
                 fixed(echo.peakLevelDb, 1),
             eventsPath_);
}

int EchoLog::hourCount() const {
  if (counts_.empty()) return 0;
  return counts_.rbegin()->second;
}

void EchoLog::closeHour(std::int64_t hour, double coveredTo) {
  const double from = std::max(runStart_, static_cast<double>(hour * kHour));
  const double to = std::min(coveredTo, static_cast<double>((hour + 1) * kHour));
  const auto found = counts_.find(hour);
  const int count = found == counts_.end() ? 0 : found->second;
  if (found != counts_.end()) counts_.erase(found);
  if (to <= from) return;
  appendLine(countsFd_,
             isoTime(static_cast<double>(hour * kHour), false) + "," + std::to_string(count) + "," +
                 std::to_string(std::llround(to - from)),
             countsPath_);
  if (rmobPath_.empty()) return;
  const util::CivilDate d = dateOfHour(hour);
  const std::int64_t hourOfDay = hour - floorDiv(hour, 24) * 24;
  int& cell = month(d.year, d.month)[std::size_t((d.day - 1) * 24 + hourOfDay)];
  cell = std::max(cell, 0) + count;
  writeMatrix(d.year, d.month);
}

void EchoLog::advance(double now, std::optional<double> undecided) {
  while (now >= static_cast<double>((openHour_ + 1) * kHour) &&
         !(undecided && *undecided < static_cast<double>((openHour_ + 1) * kHour))) {
    closeHour(openHour_, now);
    ++openHour_;
  }
}

void EchoLog::finish(double now) {
  const std::int64_t last = hourOf(now);
  for (; openHour_ <= last; ++openHour_) closeHour(openHour_, now);
}

}  // namespace spectrograph
