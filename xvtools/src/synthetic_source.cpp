#include "synthetic_source.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace xvtools {

std::uint64_t SplitMix64::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double SplitMix64::uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

double SplitMix64::gaussian() {
  // Box-Muller with both results used; the library's distributions differ between platforms.
  if (hasSpare_) {
    hasSpare_ = false;
    return spare_;
  }
  const double u1 = 1.0 - uniform();  // (0, 1]
  const double u2 = uniform();
  const double radius = std::sqrt(-2.0 * std::log(u1));
  const double angle = 2.0 * std::numbers::pi * u2;
  spare_ = radius * std::sin(angle);
  hasSpare_ = true;
  return radius * std::cos(angle);
}

SyntheticSource::SyntheticSource(std::uint64_t seed, int sampleRate)
    : seed_(seed), rate_(sampleRate), random_(seed), stepSamples_(std::max(1, sampleRate / 100)) {
  swellPeriod_[0] = 900.0 + 1800.0 * random_.uniform();  // 15 to 45 minutes
  swellPeriod_[1] = 120.0 + 240.0 * random_.uniform();   // 2 to 6 minutes
  swellPhase_[0] = 2.0 * std::numbers::pi * random_.uniform();
  swellPhase_[1] = 2.0 * std::numbers::pi * random_.uniform();
}

std::string SyntheticSource::description() const { return "synthetic:" + std::to_string(seed_); }

// Runs every 10 ms: the level follows the drifts, bursts start, rise and decay.
void SyntheticSource::updateEnvelope() {
  constexpr double kStep = 0.01;  // seconds
  const double t = static_cast<double>(sampleIndex_) / rate_;
  // The wandering part relaxes towards 0 over about a minute, with a deviation near 0.15.
  constexpr double kRelax = kStep / 60.0;
  wander_ += -kRelax * wander_ + 0.15 * std::sqrt(2.0 * kRelax) * random_.gaussian();
  const double drift =
      0.35 * std::sin(2.0 * std::numbers::pi * t / swellPeriod_[0] + swellPhase_[0]) +
      0.20 * std::sin(2.0 * std::numbers::pi * t / swellPeriod_[1] + swellPhase_[1]) + wander_;
  level_ = kBaseDeviation * std::exp(drift);

  if (random_.uniform() < kStep / kMeanBurstInterval) {
    const double strength = 2.0 + 8.0 * random_.uniform();  // times the background
    if (strength * level_ > burstAmplitude_) {
      burstAmplitude_ = strength * level_;
      const double decaySeconds = 0.15 + 1.2 * random_.uniform();
      burstDecay_ = std::exp(-kStep / decaySeconds);
      burstAttack_ = 0.0;
      toneStep_ = 2.0 * std::numbers::pi * (600.0 + 900.0 * random_.uniform()) / rate_;
    }
  }
  if (burstAmplitude_ > 0.0) {
    if (burstAttack_ < 1.0) {
      burstAttack_ = std::min(1.0, burstAttack_ + 0.34);  // about 30 ms to full strength
    } else {
      burstAmplitude_ *= burstDecay_;
      if (burstAmplitude_ < 0.05 * level_) burstAmplitude_ = 0.0;
    }
  }
}

std::size_t SyntheticSource::read(std::span<std::int16_t> samples) {
  for (auto& sample : samples) {
    if (stepLeft_ == 0) {
      updateEnvelope();
      stepLeft_ = stepSamples_;
    }
    --stepLeft_;
    double v = level_ * random_.gaussian();
    if (burstAmplitude_ > 0.0) {
      const double burst = burstAmplitude_ * burstAttack_;
      tonePhase_ = std::fmod(tonePhase_ + toneStep_, 2.0 * std::numbers::pi);
      v += burst * (0.6 * random_.gaussian() + 0.8 * std::sin(tonePhase_));
    }
    sample = static_cast<std::int16_t>(std::clamp(std::nearbyint(v), -32768.0, 32767.0));
    ++sampleIndex_;
  }
  return samples.size();
}

}  // namespace xvtools
