#include "synthetic_source.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace xvtools {

namespace {

// The ziggurat under the normal curve: 128 layers of equal area, the lowest ending in the tail
// beyond kTailStart. A sample is one random word almost always (99% of draws land inside a
// layer's rectangle under the curve); the library's distributions differ between platforms, and
// Box-Muller's log and sincos per pair cost more than the rest of the signal together.
constexpr int kLayers = 128;
constexpr double kTailStart = 3.442619855899;
constexpr double kLayerArea = 9.91256303526217e-3;

double curve(double x) { return std::exp(-0.5 * x * x); }

struct Ziggurat {
  // Right edge of each layer's rectangle (x[0] is the base layer's, which holds the tail's area
  // too) and the curve's height there. Layer i spans heights f[i] to f[i + 1].
  double x[kLayers + 1];
  double f[kLayers + 1];
};

const Ziggurat& ziggurat() {
  static const Ziggurat table = [] {
    Ziggurat z{};
    z.x[0] = kLayerArea / curve(kTailStart);
    z.x[1] = kTailStart;
    for (int i = 2; i < kLayers; ++i) {
      z.x[i] = std::sqrt(-2.0 * std::log(kLayerArea / z.x[i - 1] + curve(z.x[i - 1])));
    }
    z.x[kLayers] = 0.0;
    for (int i = 0; i <= kLayers; ++i) z.f[i] = curve(z.x[i]);
    return z;
  }();
  return table;
}

}  // namespace

double SplitMix64::gaussian() {
  const Ziggurat& z = ziggurat();
  for (;;) {
    const std::uint64_t bits = next();
    const auto layer = static_cast<int>(bits & (kLayers - 1));
    const double u = static_cast<double>(bits >> 11) * 0x1.0p-52 - 1.0;  // [-1, 1)
    const double x = u * z.x[layer];
    if (std::abs(x) < z.x[layer + 1]) return x;
    if (layer == 0) return gaussianTail(u < 0.0);
    // The wedge between the rectangle and the curve.
    const double y = z.f[layer] + uniform() * (z.f[layer + 1] - z.f[layer]);
    if (y < curve(x)) return x;
  }
}

double SplitMix64::gaussianTail(bool negative) {
  // Marsaglia's tail: an exponential beyond the start, thinned to the normal's shape.
  double a = 0.0;
  double b = 0.0;
  do {
    a = -std::log(1.0 - uniform()) / kTailStart;
    b = -std::log(1.0 - uniform());
  } while (b + b < a * a);
  return negative ? -(kTailStart + a) : kTailStart + a;
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
      const double step = 2.0 * std::numbers::pi * (600.0 + 900.0 * random_.uniform()) / rate_;
      stepCos_ = std::cos(step);
      stepSin_ = std::sin(step);
    }
  }
  if (burstAmplitude_ > 0.0) {
    if (burstAttack_ < 1.0) {
      burstAttack_ = std::min(1.0, burstAttack_ + 0.34);  // about 30 ms to full strength
    } else {
      burstAmplitude_ *= burstDecay_;
      if (burstAmplitude_ < 0.05 * level_) burstAmplitude_ = 0.0;
    }
    // Rounding would slowly change the phasor's length; one Newton step keeps it at 1.
    const double k = 1.5 - 0.5 * (toneCos_ * toneCos_ + toneSin_ * toneSin_);
    toneCos_ *= k;
    toneSin_ *= k;
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
      const double c = toneCos_ * stepCos_ - toneSin_ * stepSin_;
      toneSin_ = toneSin_ * stepCos_ + toneCos_ * stepSin_;
      toneCos_ = c;
      v += burst * (0.6 * random_.gaussian() + 0.8 * toneSin_);
    }
    // Round to nearest (ties to even) by adding and removing 1.5 * 2^52: the same as
    // nearbyint for these magnitudes, without a library call per sample.
    constexpr double kRounder = 0x1.8p52;
    const double clamped = std::clamp(v, -32768.0, 32767.0);
    sample = static_cast<std::int16_t>((clamped + kRounder) - kRounder);
    ++sampleIndex_;
  }
  return samples.size();
}

}  // namespace xvtools
