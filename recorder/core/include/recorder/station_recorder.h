// A run's stations: each one's band power measured from the input at its own rate, interval by
// interval, and written to its SID files. The input's thread hands the samples over; the form's
// thread writes what has been completed, so a slow disk never holds the capture up.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "recorder/band_power.h"
#include "recorder/sid_file.h"
#include "recorder/stations.h"

namespace recorder {

class StationRecorder {
 public:
  struct Settings {
    std::vector<Station> stations;
    int sampleRate = 96000;
    int intervalSeconds = 5;
    std::int64_t startUtc = 0;  // the UTC second of the first sample
    std::string sidFolder;      // empty: no SID files
    SidSite site;
    bool sync = false;
  };

  explicit StationRecorder(Settings settings);

  // On the input's thread, one thread at a time.
  void addSamples(std::span<const std::int16_t> samples);
  // Once the input has stopped: the interval in progress counts as completed.
  void finishInput();

  // On the form's thread: writes every interval completed since the last call. False when a
  // file could not be written (error() says which); the other stations' files are still written.
  bool writeCompleted();
  const std::string& error() const { return error_; }
  // Each station's level (mean square) in the last interval completed; 0 before the first.
  std::vector<double> latestLevels() const;
  const std::vector<Station>& stations() const { return settings_.stations; }
  int sampleRate() const { return settings_.sampleRate; }
  // The SID files written, oldest first.
  std::vector<std::string> files() const;

 private:
  Settings settings_;
  BandPowerAccumulator accumulator_;
  BandPowerAccumulator::Done done_;
  mutable std::mutex mutex_;
  std::vector<BandPowerAccumulator::Interval> completed_;  // guarded by mutex_
  std::vector<double> latest_;                             // guarded by mutex_
  std::vector<std::unique_ptr<SidFileWriter>> writers_;
  std::string error_;
};

}  // namespace recorder
