// The synthetic meteor-scatter receiver: events drawn from three independent streams, mixed into
// white noise sample by sample.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "synthetic_source.h"
#include "xvtools/meteor_signal.h"
#include "xvtools/spectrum_window.h"

namespace xvtools {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr int kReferenceLength = 512;
constexpr double kRise = 0.02;  // seconds an echo takes to reach its strength

double logUniform(SplitMix64& r, double low, double high) {
  return low * std::pow(high / low, r.uniform());
}

double exponentialGap(SplitMix64& r, double mean) { return -mean * std::log(1.0 - r.uniform()); }

}  // namespace

struct MeteorSchedule::Impl {
  explicit Impl(std::uint64_t seed)
      : echoes(seed * 3 + 0x1234), aircraft(seed * 3 + 0x5678), clicks(seed * 3 + 0x9ABC) {
    nextEcho = drawEcho(exponentialGap(echoes, kMeanEchoInterval));
    nextAircraft = drawAircraft(exponentialGap(aircraft, kMeanAircraftInterval));
    nextClick = drawClick(exponentialGap(clicks, kMeanClickInterval));
  }

  MeteorSignalEvent drawEcho(double start) {
    MeteorSignalEvent e;
    e.kind = MeteorSignalEvent::Kind::Echo;
    e.start = start;
    e.hz = std::clamp(1000.0 + 40.0 * echoes.gaussian(), 880.0, 1120.0);
    // Weak echoes are the more common.
    e.snrDb = 13.0 + 27.0 * std::pow(echoes.uniform(), 1.5);
    const bool overdense = echoes.uniform() < 0.25;
    e.plateau = overdense ? logUniform(echoes, 0.5, 12.0) : 0.0;
    e.decay = overdense ? logUniform(echoes, 0.2, 1.0) : logUniform(echoes, 0.08, 0.8);
    e.driftHzPerS = overdense ? 2.0 * echoes.uniform() - 1.0 : 0.0;
    e.duration = kRise + e.plateau + e.decay * e.snrDb * std::numbers::ln10 / 20.0;
    return e;
  }
  MeteorSignalEvent drawAircraft(double start) {
    MeteorSignalEvent e;
    e.kind = MeteorSignalEvent::Kind::Aircraft;
    e.start = start;
    e.duration = 60.0 + 180.0 * aircraft.uniform();
    e.hz = 850.0 + 300.0 * aircraft.uniform();
    const double drift = 0.3 + 1.2 * aircraft.uniform();
    // Drifts towards the middle of the band, so that it stays within it.
    e.driftHzPerS = e.hz > 1000.0 ? -drift : drift;
    e.snrDb = 15.0 + 15.0 * aircraft.uniform();
    return e;
  }
  MeteorSignalEvent drawClick(double start) {
    MeteorSignalEvent e;
    e.kind = MeteorSignalEvent::Kind::Lightning;
    e.start = start;
    e.duration = 0.003 + 0.012 * clicks.uniform();
    e.snrDb = 20.0 * std::log10(5.0 + 35.0 * clicks.uniform());  // times the noise, in dB
    return e;
  }

  SplitMix64 echoes, aircraft, clicks;
  MeteorSignalEvent nextEcho, nextAircraft, nextClick;
};

MeteorSchedule::MeteorSchedule(std::uint64_t seed) : impl_(std::make_unique<Impl>(seed)) {}
MeteorSchedule::~MeteorSchedule() = default;

MeteorSignalEvent MeteorSchedule::next() {
  Impl& m = *impl_;
  MeteorSignalEvent e;
  if (m.nextEcho.start <= m.nextAircraft.start && m.nextEcho.start <= m.nextClick.start) {
    e = m.nextEcho;
    m.nextEcho = m.drawEcho(e.start + exponentialGap(m.echoes, kMeanEchoInterval));
  } else if (m.nextAircraft.start <= m.nextClick.start) {
    e = m.nextAircraft;
    // Aircraft do not overlap one another.
    m.nextAircraft =
        m.drawAircraft(e.start + e.duration + exponentialGap(m.aircraft, kMeanAircraftInterval));
  } else {
    e = m.nextClick;
    m.nextClick = m.drawClick(e.start + exponentialGap(m.clicks, kMeanClickInterval));
  }
  return e;
}

namespace {

// The amplitude of a tone whose peak bin in a kReferenceLength-point transform with the
// spectrograph's stored Gaussian window stands snrDb over a noise bin.
double toneAmplitude(double snrDb) {
  static const double enbw = [] {
    double sum = 0, squares = 0;
    for (int i = 0; i < kReferenceLength; ++i) {
      const double w = windowCoefficient(SpectrumWindow::Gaussian, i, kReferenceLength);
      sum += w;
      squares += w * w;
    }
    return kReferenceLength * squares / (sum * sum);
  }();
  const double ratio = std::pow(10.0, snrDb / 10.0);
  return 2.0 * MeteorSchedule::kNoiseDeviation * std::sqrt(ratio * enbw / kReferenceLength);
}

class MeteorSource final : public AudioSource {
 public:
  MeteorSource(std::uint64_t seed, int sampleRate)
      : seed_(seed), rate_(sampleRate), schedule_(seed), noise_(seed ^ 0xD1B54A32D192ED03ull) {
    upcoming_ = schedule_.next();
  }

  std::size_t read(std::span<std::int16_t> samples) override {
    for (auto& sample : samples) {
      const double t = static_cast<double>(index_) / rate_;
      while (upcoming_.start <= t) {
        start(upcoming_);
        upcoming_ = schedule_.next();
      }
      double v = MeteorSchedule::kNoiseDeviation * noise_.gaussian();
      for (Sounding& s : sounding_) v += s.sample(t, rate_, noise_);
      std::erase_if(sounding_, [t](const Sounding& s) { return t >= s.end; });
      sample = static_cast<std::int16_t>(std::lround(std::clamp(v, -32768.0, 32767.0)));
      ++index_;
    }
    return samples.size();
  }
  bool atEnd() const override { return false; }
  bool paced() const override { return false; }
  std::string description() const override { return "synthetic:meteors:" + std::to_string(seed_); }

 private:
  struct Sounding {
    MeteorSignalEvent event;
    double amplitude = 0;
    double end = 0;
    double phase = 0;
    double plateau = 0, decay = 1, fadeHz = 0, fadeDepth = 0, fadePhase = 0;

    double envelope(double age) const {
      switch (event.kind) {
        case MeteorSignalEvent::Kind::Echo: {
          if (age < kRise) return age / kRise;
          const double fade =
              1.0 - fadeDepth * (0.5 + 0.5 * std::sin(kTwoPi * fadeHz * age + fadePhase));
          if (age < kRise + plateau) return fade;
          return fade * std::exp(-(age - kRise - plateau) / decay);
        }
        case MeteorSignalEvent::Kind::Aircraft: {
          const double swell = std::sin(std::numbers::pi * age / event.duration);
          return swell * (1.0 - 0.4 * (0.5 + 0.5 * std::sin(kTwoPi * fadeHz * age + fadePhase)));
        }
        case MeteorSignalEvent::Kind::Lightning:
          break;
      }
      return 1.0;
    }
    double sample(double t, double rate, SplitMix64& random) {
      const double age = t - event.start;
      if (event.kind == MeteorSignalEvent::Kind::Lightning) return amplitude * random.gaussian();
      phase += kTwoPi * (event.hz + event.driftHzPerS * age) / rate;
      if (phase > kTwoPi) phase -= kTwoPi;
      return amplitude * envelope(age) * std::sin(phase);
    }
  };

  void start(const MeteorSignalEvent& e) {
    Sounding s;
    s.event = e;
    s.end = e.start + e.duration;
    s.fadePhase = kTwoPi * noise_.uniform();
    switch (e.kind) {
      case MeteorSignalEvent::Kind::Echo:
        s.amplitude = toneAmplitude(e.snrDb);
        s.decay = e.decay;
        s.plateau = e.plateau;
        s.fadeHz = 0.3 + 1.7 * noise_.uniform();
        if (e.plateau > 0) s.fadeDepth = 0.2 + 0.4 * noise_.uniform();
        break;
      case MeteorSignalEvent::Kind::Aircraft:
        s.amplitude = toneAmplitude(e.snrDb);
        s.fadeHz = 0.05 + 0.25 * noise_.uniform();
        break;
      case MeteorSignalEvent::Kind::Lightning:
        s.amplitude = MeteorSchedule::kNoiseDeviation * std::pow(10.0, e.snrDb / 20.0);
        break;
    }
    sounding_.push_back(s);
  }

  std::uint64_t seed_;
  double rate_;
  MeteorSchedule schedule_;
  SplitMix64 noise_;
  MeteorSignalEvent upcoming_;
  std::vector<Sounding> sounding_;
  std::uint64_t index_ = 0;
};

}  // namespace

std::unique_ptr<AudioSource> openMeteorSignal(std::uint64_t seed, int sampleRate) {
  return std::make_unique<MeteorSource>(seed, sampleRate);
}

}  // namespace xvtools
