// SID files: one station's readings for one UTC day, SITE_CALL_YYYY-MM-DD.csv, a header of
// "# Key = value" lines and then one "YYYY-MM-DD HH:MM:SS, value" line per interval, as
// observers exchange them. Each line goes to the file in one write, so a killed run leaves whole
// lines; a restart on the same day appends after the last stamp the file holds; nothing here
// ever shortens a file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "recorder/stations.h"

namespace util {
class Descriptor;
}

namespace recorder {

struct SidSite {
  std::string name;       // in the file names and the header's Site and MonitorID
  std::string latitude;   // decimal degrees as given; empty when unknown
  std::string longitude;  // decimal degrees as given; empty when unknown
  int intervalSeconds = 5;
};

// A reading's value: a plain decimal number with six significant digits, never an exponent.
std::string formatSidValue(double value);
// "YYYY-MM-DD HH:MM:SS" of seconds since 1970 in UTC, and back (nullopt-like: false).
std::string formatUtcStamp(std::int64_t utcSeconds);
bool parseUtcStamp(const std::string& text, std::int64_t& utcSeconds);

class SidFileWriter {
 public:
  SidFileWriter(std::string folder, SidSite site, Station station, bool sync);
  ~SidFileWriter();
  SidFileWriter(const SidFileWriter&) = delete;
  SidFileWriter& operator=(const SidFileWriter&) = delete;

  // Writes the reading stamped utcSeconds into the file of its UTC day, starting the file with
  // its header when it is new. A reading at or before the last stamp the file already holds is
  // left out. False, with error() saying why, when the file cannot be written.
  bool append(std::int64_t utcSeconds, double level);
  const std::string& error() const { return error_; }

  std::string fileName(std::int64_t day) const;
  // The files written to, oldest first.
  const std::vector<std::string>& files() const { return files_; }

 private:
  bool open(std::int64_t day);
  bool writeAll(const std::string& text);

  std::string folder_;
  SidSite site_;
  Station station_;
  bool sync_;
  std::unique_ptr<util::Descriptor> file_;  // the day's file, when open
  std::int64_t day_ = 0;
  std::int64_t lastStamp_ = 0;
  bool hasLast_ = false;
  std::string error_;
  std::vector<std::string> files_;
};

}  // namespace recorder
