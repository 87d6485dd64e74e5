// The synthetic meteor-scatter receiver (--input synthetic:meteors[:SEED]): white noise with
// meteor echoes near 1000 Hz (short decaying pings and longer fading ones), an aircraft's slowly
// drifting reflection now and then, and lightning clicks across the whole band. Its schedule is
// public, so that what a counter finds can be scored against what was put in.
#pragma once

#include <cstdint>
#include <memory>

#include "xvtools/audio_source.h"

namespace xvtools {

struct MeteorSignalEvent {
  enum class Kind { Echo, Aircraft, Lightning };
  Kind kind = Kind::Echo;
  double start = 0;     // seconds from the signal's first sample
  double duration = 0;  // seconds until the tone has decayed below the noise
  double hz = 0;        // the tone's frequency at its start (0 for a click)
  double snrDb = 0;     // a 512-point transform's peak bin over a noise bin, at the strongest
  double driftHzPerS = 0;
  double plateau = 0;  // echoes: seconds at full strength (fading) before the decay
  double decay = 0;    // echoes: seconds for the amplitude to fall by e
};

// The events in order of start, the same for the same seed.
class MeteorSchedule {
 public:
  static constexpr double kNoiseDeviation = 1000.0;  // of the background, in sample units
  static constexpr double kMeanEchoInterval = 40.0;  // seconds
  static constexpr double kMeanAircraftInterval = 1200.0;
  static constexpr double kMeanClickInterval = 10.0;

  explicit MeteorSchedule(std::uint64_t seed);
  ~MeteorSchedule();
  MeteorSchedule(const MeteorSchedule&) = delete;
  MeteorSchedule& operator=(const MeteorSchedule&) = delete;
  MeteorSignalEvent next();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

std::unique_ptr<AudioSource> openMeteorSignal(std::uint64_t seed, int sampleRate);

}  // namespace xvtools
