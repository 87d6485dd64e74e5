// The VLF receiver signal: four transmitters keyed in MSK at 200 baud (19.8, 21.4, 24.0 and
// 40.75 kHz) over white noise and mains hum, sampled at 96 kHz. Each carrier's strength swells
// slowly over tens of minutes, and now and then one of them rises suddenly by several dB and
// falls back over a few minutes, as a flare does by day. The same seed gives the same samples.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "synthetic_source.h"
#include "xvtools/audio_source.h"

namespace xvtools {

class VlfSyntheticSource final : public AudioSource {
 public:
  static constexpr int kRate = 96000;
  static constexpr std::array<double, 4> kCarriersHz{19800.0, 21400.0, 24000.0, 40750.0};
  // Each carrier's mean amplitude in dB of full scale.
  static constexpr std::array<double, 4> kCarrierDb{-26.0, -32.0, -22.0, -30.0};
  static constexpr double kNoiseDeviation = 200.0;  // of 32768
  static constexpr double kBaud = 200.0;
  // Mean seconds between sudden rises.
  static constexpr double kMeanRiseInterval = 240.0;

  explicit VlfSyntheticSource(std::uint64_t seed);

  std::size_t read(std::span<std::int16_t> samples) override;
  bool atEnd() const override { return false; }
  bool paced() const override { return false; }
  std::string description() const override;

 private:
  void updateEnvelope();

  struct Carrier {
    double phase = 0.0;  // radians, kept within one turn
    double amplitude = 0.0;
    double swellPeriod = 0.0;
    double swellPhase = 0.0;
    double riseDb = 0.0;  // the sudden rise in progress, decaying
    double riseTarget = 0.0;
    double riseDecay = 1.0;  // per envelope step
    bool bit = false;
  };

  std::uint64_t seed_;
  SplitMix64 random_;
  std::uint64_t sampleIndex_ = 0;
  int stepLeft_ = 0;
  int bitLeft_ = 0;
  std::array<Carrier, kCarriersHz.size()> carriers_{};
  double humPhase_ = 0.0;
};

// The signal at sampleRate: at its own 96 kHz as it is, at any other rate converted.
std::unique_ptr<AudioSource> openVlfSyntheticSource(std::uint64_t seed, int sampleRate);

}  // namespace xvtools
