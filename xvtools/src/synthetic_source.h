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
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }  // [0, 1)
  double gaussian();                                                          // mean 0, deviation 1

 private:
  double gaussianTail(bool negative);

  std::uint64_t state_;
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
  // The whistle's phasor, turned by one sample's step per sample: a rotation costs four
  // products where a sine would cost a library call.
  double toneCos_ = 1.0;
  double toneSin_ = 0.0;
  double stepCos_ = 1.0;
  double stepSin_ = 0.0;
};

}  // namespace xvtools
