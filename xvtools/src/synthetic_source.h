// The built-in receiver signal: background noise whose level drifts slowly over minutes, with
// occasional bursts (a rising noise and a whistle that decay within a second or two), so that a
// night's chart of it looks like a real one. The same seed gives the same samples.
#pragma once

#include <cstdint>

#include "xvtools/audio_source.h"

namespace xvtools {

// A small, fast generator with the same output on every platform.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next();
  double uniform();   // [0, 1)
  double gaussian();  // mean 0, deviation 1

 private:
  std::uint64_t state_;
  double spare_ = 0.0;
  bool hasSpare_ = false;
};

class SyntheticSource final : public AudioSource {
 public:
  // Background noise level (standard deviation) before drifts.
  static constexpr double kBaseDeviation = 1800.0;
  // Mean seconds between bursts.
  static constexpr double kMeanBurstInterval = 25.0;

  SyntheticSource(std::uint64_t seed, int sampleRate);

  std::size_t read(std::span<std::int16_t> samples) override;
  bool atEnd() const override { return false; }
  bool paced() const override { return false; }
  std::string description() const override;

 private:
  void updateEnvelope();

  std::uint64_t seed_;
  double rate_;
  SplitMix64 random_;
  std::uint64_t sampleIndex_ = 0;
  int stepSamples_;  // envelope update period, 10 ms
  int stepLeft_ = 0;
  // Slow drift of the log level: two long swells and a wandering part.
  double swellPeriod_[2];
  double swellPhase_[2];
  double wander_ = 0.0;
  double level_ = kBaseDeviation;
  // The burst in progress.
  double burstAmplitude_ = 0.0;
  double burstDecay_ = 1.0;   // per step
  double burstAttack_ = 0.0;  // 0..1, rising over the first steps
  double tonePhase_ = 0.0;
  double toneStep_ = 0.0;
};

}  // namespace xvtools
