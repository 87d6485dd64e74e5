#include "vlf_synthetic_source.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "mono_resampler.h"

namespace xvtools {

namespace {

constexpr double kTurn = 2.0 * std::numbers::pi;
constexpr double kStepSeconds = 0.01;  // the envelope's update period
constexpr int kStepSamples = static_cast<int>(VlfSyntheticSource::kRate * kStepSeconds);
constexpr int kBitSamples = static_cast<int>(VlfSyntheticSource::kRate / VlfSyntheticSource::kBaud);
constexpr double kMainsHz = 50.0;

// A rate the signal is converted to: the 96 kHz samples read in chunks and resampled.
class ConvertedVlfSource final : public AudioSource {
 public:
  ConvertedVlfSource(std::uint64_t seed, int sampleRate)
      : signal_(seed),
        chunk_(MonoResampler::kChunkFrames),
        resampler_(VlfSyntheticSource::kRate, 1, sampleRate,
                   [this](float* out, std::size_t maxFrames) {
                     const std::size_t n = std::min(maxFrames, chunk_.size());
                     signal_.read({chunk_.data(), n});
                     for (std::size_t i = 0; i < n; ++i) out[i] = chunk_[i] / 32768.0f;
                     return n;
                   }) {}

  std::size_t read(std::span<std::int16_t> samples) override { return resampler_.read(samples); }
  bool atEnd() const override { return false; }
  bool paced() const override { return false; }
  std::string description() const override { return signal_.description(); }

 private:
  VlfSyntheticSource signal_;
  std::vector<std::int16_t> chunk_;
  MonoResampler resampler_;
};

}  // namespace

VlfSyntheticSource::VlfSyntheticSource(std::uint64_t seed) : seed_(seed), random_(seed) {
  for (auto& c : carriers_) {
    c.phase = kTurn * random_.uniform();
    c.swellPeriod = 1200.0 + 2400.0 * random_.uniform();  // 20 to 60 minutes
    c.swellPhase = kTurn * random_.uniform();
  }
}

std::string VlfSyntheticSource::description() const {
  return "synthetic:vlf:" + std::to_string(seed_);
}

// Runs every 10 ms: each carrier's swell and its sudden rise, if one is under way.
void VlfSyntheticSource::updateEnvelope() {
  const double t = static_cast<double>(sampleIndex_) / kRate;
  if (random_.uniform() < kStepSeconds / kMeanRiseInterval) {
    auto& c = carriers_[static_cast<std::size_t>(random_.next() % carriers_.size())];
    c.riseTarget = 6.0 + 6.0 * random_.uniform();
    c.riseDecay = std::exp(-kStepSeconds / (60.0 + 120.0 * random_.uniform()));
  }
  for (std::size_t i = 0; i < carriers_.size(); ++i) {
    auto& c = carriers_[i];
    if (c.riseTarget > 0.0) {
      // The rise takes about ten seconds; then the target decays and the level follows it.
      c.riseDb += (c.riseTarget - c.riseDb) * 0.01;
      c.riseTarget *= c.riseDecay;
      if (c.riseTarget < 0.05 && c.riseDb < 0.05) c.riseTarget = c.riseDb = 0.0;
    }
    const double db =
        kCarrierDb[i] + 4.0 * std::sin(kTurn * t / c.swellPeriod + c.swellPhase) + c.riseDb;
    c.amplitude = 32768.0 * std::pow(10.0, db / 20.0);
  }
}

std::size_t VlfSyntheticSource::read(std::span<std::int16_t> samples) {
  constexpr double kDeviation = kBaud / 4.0;  // MSK: a quarter of the bit rate
  for (auto& sample : samples) {
    if (stepLeft_ == 0) {
      updateEnvelope();
      stepLeft_ = kStepSamples;
    }
    --stepLeft_;
    if (bitLeft_ == 0) {
      const std::uint64_t bits = random_.next();
      for (std::size_t i = 0; i < carriers_.size(); ++i) carriers_[i].bit = ((bits >> i) & 1u) != 0;
      bitLeft_ = kBitSamples;
    }
    --bitLeft_;
    double v = kNoiseDeviation * random_.gaussian();
    for (std::size_t i = 0; i < carriers_.size(); ++i) {
      auto& c = carriers_[i];
      const double f = kCarriersHz[i] + (c.bit ? kDeviation : -kDeviation);
      c.phase += kTurn * f / kRate;
      if (c.phase >= kTurn) c.phase -= kTurn;
      v += c.amplitude * std::sin(c.phase);
    }
    // Mains hum: the fundamental and its odd harmonics.
    humPhase_ += kTurn * kMainsHz / kRate;
    if (humPhase_ >= kTurn) humPhase_ -= kTurn;
    v += 1500.0 * std::sin(humPhase_) + 500.0 * std::sin(3.0 * humPhase_) +
         200.0 * std::sin(5.0 * humPhase_);
    sample = static_cast<std::int16_t>(std::lround(std::clamp(v, -32768.0, 32767.0)));
    ++sampleIndex_;
  }
  return samples.size();
}

std::unique_ptr<AudioSource> openVlfSyntheticSource(std::uint64_t seed, int sampleRate) {
  if (sampleRate == VlfSyntheticSource::kRate) return std::make_unique<VlfSyntheticSource>(seed);
  return std::make_unique<ConvertedVlfSource>(seed, sampleRate);
}

}  // namespace xvtools
