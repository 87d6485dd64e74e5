// What the web view shows, as of the recorder's last complete second: the recording side builds
// a new snapshot once a second and swaps it in; request handlers only copy the pointer, so a
// slow or stalled client never holds up the recording.
#pragma once

#include <sys/types.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace recorder::web {

// A log this run wrote: the name it is served by, where it was opened, and the file it was then
// (device and inode), so that a file put in its place later is never served.
struct ServedLog {
  std::string name;
  std::string path;
  dev_t device = 0;
  ino_t inode = 0;
  bool csv = false;  // a SID file, CSV already
};

// A station's latest reading, as JSON numbers.
struct StationStatus {
  std::string call;
  std::string frequencyHz;
  std::string levelDb;  // "null" before the first reading or for no power
};

struct WebStatus {
  std::string clock;   // the time box: HH:MM:SS
  std::string middle;  // the labels under the chart's middle and left edge
  std::string left;
  std::string date;  // YYYY-MM-DD of the recorder's clock
  std::string statusLine;
  std::string level;  // the last point's level, as the log writes it
  // The same as the chart's scale reads it where the point is drawn, and the scale's span: the
  // page shows levels in the chart's units.
  std::string chartLevel;
  std::string scale;  // "1.0 to 8.0"
  bool recording = false;
  bool logging = false;
  std::string log;  // the file name of the log being written, or ""
  std::string input;
  int sampleMs = 0;
  int chartSecondsPerDiv = 0;
  std::vector<StationStatus> stations;  // empty in a run without stations
};

struct WebSnapshot {
  std::string png;  // the chart with its clock labels, as --image --image-labels writes it
  WebStatus status;
  std::vector<ServedLog> logs;
};

class SnapshotBoard {
 public:
  void publish(std::shared_ptr<const WebSnapshot> snapshot) {
    std::lock_guard lock(mutex_);
    current_ = std::move(snapshot);
  }
  // Never null: an empty snapshot until the first is published.
  std::shared_ptr<const WebSnapshot> current() const {
    std::lock_guard lock(mutex_);
    return current_;
  }

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const WebSnapshot> current_ = std::make_shared<const WebSnapshot>();
};

}  // namespace recorder::web
