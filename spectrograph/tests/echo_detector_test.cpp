// The echo counter on the spectrograph's transforms: echoes found at their times and pitches,
// what must not count left out, and a synthetic hour scored against what was put into it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "spectrograph/echo_detector.h"
#include "xvtools/meteor_signal.h"
#include "xvtools/xv_spectrogram.h"

namespace spectrograph {
namespace {

using Kind = xvtools::MeteorSignalEvent::Kind;
constexpr int kRate = 8000;

EchoSettings band(double low, double high) {
  EchoSettings s;
  s.listenLow = low;
  s.listenHigh = high;
  return s;
}

// Samples through the spectrograph as the form sets it up, the counter on its transforms.
std::vector<Echo> count(const std::vector<std::int16_t>& samples, const EchoSettings& settings) {
  std::vector<Echo> found;
  xvtools::XVSpectrogramX spectrogram;
  spectrogram.setSampleRate(kRate);
  spectrogram.setFFTLength(512);
  spectrogram.setWindow(4);
  EchoDetector detector(settings, kRate, 0, [&](const Echo& e) { found.push_back(e); });
  spectrogram.onTransform([&](const xvtools::TransformView& v) { detector.transform(v); });
  spectrogram.write(samples);
  return found;
}

// A recording made up of parts over white noise of deviation 1000.
struct Part {
  enum { Ping, Carrier, Click } kind;
  double start, seconds, hz, amplitude;
};
std::vector<std::int16_t> recording(double seconds, std::initializer_list<Part> parts) {
  std::uint64_t state = 99;
  auto uniform = [&state] {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return (static_cast<double>(state >> 11) + 0.5) * 0x1.0p-53;
  };
  auto gaussian = [&] {
    return std::sqrt(-2 * std::log(uniform())) * std::cos(2 * std::numbers::pi * uniform());
  };
  std::vector<std::int16_t> samples(std::size_t(seconds * kRate));
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    double v = 1000 * gaussian();
    for (const Part& p : parts) {
      const double age = t - p.start;
      if (age < 0 || age >= p.seconds) continue;
      const double tone = std::sin(2 * std::numbers::pi * p.hz * t);
      switch (p.kind) {
        case Part::Ping:  // a fast rise and an exponential decay
          v += p.amplitude * std::min(1.0, age / 0.02) * std::exp(-age / (p.seconds / 4)) * tone;
          break;
        case Part::Carrier:  // fades in and out slowly, with a fading of its own
          v += p.amplitude * std::sin(std::numbers::pi * age / p.seconds) *
               (0.8 + 0.2 * std::sin(2 * std::numbers::pi * 0.2 * age)) *
               std::sin(2 * std::numbers::pi * (p.hz + 0.5 * age) * t);
          break;
        case Part::Click:
          v += p.amplitude * gaussian();
          break;
      }
    }
    samples[i] = static_cast<std::int16_t>(std::lround(std::clamp(v, -32768.0, 32767.0)));
  }
  return samples;
}

TEST(EchoDetector, FindsEchoesAtTheirTimesAndLeavesAircraftAndClicks) {
  struct Case {
    const char* what;
    std::vector<std::int16_t> samples;
    std::vector<std::pair<double, double>> expected;  // start, Hz
    int aircraftCounts = 0;                           // an aircraft may count once, on its way in
  };
  const Case cases[] = {
      {"three pings",
       recording(30, {{Part::Ping, 5.0, 0.8, 1000, 3000},
                      {Part::Ping, 12.5, 2.0, 910, 8000},
                      {Part::Ping, 20.25, 0.4, 1150, 20000}}),
       {{5.0, 1000}, {12.5, 910}, {20.25, 1150}}},
      {"an aircraft's long drifting tone",
       recording(90, {{Part::Carrier, 5, 80, 950, 4000}}),
       {},
       1},
      {"a ping over an aircraft",
       recording(60, {{Part::Carrier, 2, 55, 950, 3000}, {Part::Ping, 30, 1.0, 1100, 8000}}),
       {{30, 1100}},
       1},
      {"lightning clicks",
       recording(20, {{Part::Click, 4, 0.005, 0, 30000},
                      {Part::Click, 9, 0.012, 0, 15000},
                      {Part::Click, 15, 0.003, 0, 32000}}),
       {}},
      {"a strong ping, once for all its skirt",
       recording(20, {{Part::Ping, 4.5, 3.0, 1010, 30000}}),
       {{4.5, 1010}}},
      {"a tone above the listening band", recording(20, {{Part::Ping, 6, 1.0, 1500, 8000}}), {}},
      // The carrier stands near 1014 Hz at 30 s; the ping rises 26 Hz beside it.
      {"a ping beside an aircraft",
       recording(60, {{Part::Carrier, 2, 55, 1000, 4000}, {Part::Ping, 30, 1.0, 1040, 8000}}),
       {{30, 1040}},
       1},
  };
  for (const Case& c : cases) {
    const std::vector<Echo> found = count(c.samples, band(800, 1200));
    EXPECT_GE(found.size(), c.expected.size()) << c.what;
    EXPECT_LE(found.size(), c.expected.size() + std::size_t(c.aircraftCounts)) << c.what;
    for (const auto& [start, hz] : c.expected) {
      const auto echo = std::find_if(found.begin(), found.end(), [&](const Echo& e) {
        return std::abs(e.start - start) < 0.05 && std::abs(e.peakHz - hz) < 8;
      });
      ASSERT_NE(echo, found.end()) << c.what << " at " << start;
      EXPECT_GE(echo->peakSnrDb, 10) << c.what;
      EXPECT_LT(echo->peakLevelDb, 0) << c.what;
    }
  }
}

struct Score {
  int truth = 0, found = 0, matched = 0;
  int aircraft = 0, worstAircraft = 0, clicks = 0;
  double precision() const { return found ? double(matched) / found : 1; }
  double recall() const { return truth ? double(matched) / truth : 1; }
};

// Runs seconds of the synthetic meteor signal and matches what was found to what was put in:
// an echo found within 0.5 s of an echo's start and 40 Hz of its pitch is that echo.
Score score(std::uint64_t seed, double seconds) {
  auto source = xvtools::openMeteorSignal(seed, kRate);
  std::vector<std::int16_t> samples(std::size_t(seconds * kRate));
  source->read(samples);
  const std::vector<Echo> found = count(samples, band(800, 1200));
  std::vector<xvtools::MeteorSignalEvent> events;
  xvtools::MeteorSchedule schedule(seed);
  for (auto e = schedule.next(); e.start < seconds - 2; e = schedule.next()) events.push_back(e);
  Score s;
  s.found = static_cast<int>(found.size());
  std::vector<bool> used(found.size());
  for (const auto& e : events) {
    if (e.kind != Kind::Echo) continue;
    ++s.truth;
    for (std::size_t i = 0; i < found.size(); ++i) {
      if (!used[i] && std::abs(found[i].start - e.start) < 0.5 &&
          std::abs(found[i].peakHz - e.hz) < 40) {
        used[i] = true;
        ++s.matched;
        break;
      }
    }
  }
  for (const auto& e : events) {
    int counted = 0;
    for (std::size_t i = 0; i < found.size(); ++i) {
      if (used[i]) continue;
      const bool during = found[i].start >= e.start - 0.3 && found[i].start <= e.start + e.duration;
      const double aircraftHz = e.hz + e.driftHzPerS * (found[i].start - e.start);
      if (during && e.kind == Kind::Aircraft && std::abs(found[i].peakHz - aircraftHz) < 50)
        ++counted;
      if (during && e.kind == Kind::Lightning) ++s.clicks;
    }
    if (e.kind == Kind::Aircraft) {
      ++s.aircraft;
      s.worstAircraft = std::max(s.worstAircraft, counted);
    }
  }
  return s;
}

// The figures the counter is measured by: three synthetic hours, each echo put in found once,
// no aircraft counted more than once, clicks not counted.
TEST(EchoDetector, ScoresSyntheticHoursAgainstWhatWasPutIn) {
  Score total;
  for (std::uint64_t seed = 1; seed <= 3; ++seed) {
    const Score s = score(seed, 3600);
    std::printf(
        "seed %llu: echoes put in %d, found %d, matched %d: precision %.3f, recall %.3f; "
        "%d aircraft, at most %d count each; %d counted at clicks\n",
        static_cast<unsigned long long>(seed), s.truth, s.found, s.matched, s.precision(),
        s.recall(), s.aircraft, s.worstAircraft, s.clicks);
    total.truth += s.truth;
    total.found += s.found;
    total.matched += s.matched;
    total.clicks += s.clicks;
    total.worstAircraft = std::max(total.worstAircraft, s.worstAircraft);
  }
  std::printf("all: precision %.3f, recall %.3f\n", total.precision(), total.recall());
  EXPECT_GE(total.precision(), 0.95);
  EXPECT_GE(total.recall(), 0.95);
  EXPECT_LE(total.worstAircraft, 1);
  EXPECT_LE(total.clicks, 3);
}

}  // namespace
}  // namespace spectrograph
