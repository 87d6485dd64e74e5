#include "recorder/station_recorder.h"

namespace recorder {

namespace {

std::vector<BandPowerAccumulator::Band> bandsOf(const std::vector<Station>& stations) {
  std::vector<BandPowerAccumulator::Band> bands;
  for (const Station& s : stations) bands.push_back({s.lowHz(), s.highHz()});
  return bands;
}

}  // namespace

StationRecorder::StationRecorder(Settings settings)
    : settings_(std::move(settings)),
      accumulator_(settings_.sampleRate, bandsOf(settings_.stations),
                   static_cast<std::int64_t>(settings_.sampleRate) * settings_.intervalSeconds),
      latest_(settings_.stations.size(), 0.0) {
  done_ = [this](const BandPowerAccumulator::Interval& interval) {
    std::lock_guard lock(mutex_);
    completed_.push_back(interval);
    latest_ = interval.levels;
  };
  if (!settings_.sidFolder.empty()) {
    settings_.site.intervalSeconds = settings_.intervalSeconds;
    for (const Station& s : settings_.stations) {
      writers_.push_back(
          std::make_unique<SidFileWriter>(settings_.sidFolder, settings_.site, s, settings_.sync));
    }
  }
}

void StationRecorder::addSamples(std::span<const std::int16_t> samples) {
  accumulator_.add(samples, done_);
}

void StationRecorder::finishInput() {
  // The last interval counts when it covers half an interval at least: the input's converter
  // reads a little past the run's end, and a few frames from there are no reading.
  const std::int64_t frames = static_cast<std::int64_t>(settings_.sampleRate) *
                              settings_.intervalSeconds /
                              (BandPowerAccumulator::fftLength(settings_.sampleRate) / 2);
  accumulator_.flush([this, frames](const BandPowerAccumulator::Interval& interval) {
    if (2 * static_cast<std::int64_t>(interval.frames) >= frames) done_(interval);
  });
}

bool StationRecorder::writeCompleted() {
  std::vector<BandPowerAccumulator::Interval> ready;
  {
    std::lock_guard lock(mutex_);
    ready.swap(completed_);
  }
  bool ok = true;
  for (const auto& interval : ready) {
    const std::int64_t stamp = settings_.startUtc + interval.index * settings_.intervalSeconds;
    for (std::size_t i = 0; i < writers_.size(); ++i) {
      if (!writers_[i]->append(stamp, interval.levels[i])) {
        if (ok) error_ = writers_[i]->error();
        ok = false;
      }
    }
  }
  return ok;
}

std::vector<double> StationRecorder::latestLevels() const {
  std::lock_guard lock(mutex_);
  return latest_;
}

std::vector<std::string> StationRecorder::files() const {
  std::vector<std::string> all;
  for (const auto& w : writers_) all.insert(all.end(), w->files().begin(), w->files().end());
  return all;
}

}  // namespace recorder
