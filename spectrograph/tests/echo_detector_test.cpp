// The echo counter on the spectrograph's transforms: echoes found at their times and pitches,
// what must not count left out, and a synthetic hour scored against what was put into it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
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
    if (std::getenv("ECHO_DEBUG")) {
      double best = 1e9;
      const Echo* near = nullptr;
      for (auto& f : found)
        if (std::abs(f.start - e.start) < best) {
          best = std::abs(f.start - e.start);
          near = &f;
        }
      std::printf(
          "truth %.2f %.0fHz snr %.1f dur %.2f plat %.2f decay %.2f | near %.2f %.0fHz %.1f dur "
          "%.2f\n",
          e.start, e.hz, e.snrDb, e.duration, e.plateau, e.decay, near ? near->start : 0,
          near ? near->peakHz : 0, near ? near->peakSnrDb : 0, near ? near->duration : 0);
    }
  }
  if (std::getenv("ECHO_DEBUG"))
    for (auto& f : found)
      std::printf("found %.2f %.0fHz %.1f dur %.2f\n", f.start, f.peakHz, f.peakSnrDb, f.duration);
  for (const auto& e : events) {
    int counted = 0;
    for (std::size_t i = 0; i < found.size(); ++i) {
      if (used[i]) continue;
      const bool during = found[i].start >= e.start - 0.3 && found[i].start <= e.start + e.duration;
      if (during && e.kind == Kind::Aircraft) ++counted;
      if (during && e.kind == Kind::Lightning) ++s.clicks;
    }
    if (e.kind == Kind::Aircraft) {
      ++s.aircraft;
      s.worstAircraft = std::max(s.worstAircraft, counted);
    }
  }
  return s;
}

TEST(EchoDetector, ScoresASyntheticHourAgainstWhatWasPutIn) {
  const Score s = score(
      std::getenv("ECHO_SEED") ? std::strtoull(std::getenv("ECHO_SEED"), nullptr, 10) : 1, 3600);
  std::printf(
      "echoes put in %d, found %d, matched %d: precision %.3f, recall %.3f; %d aircraft, "
      "at most %d count each; %d clicks counted\n",
      s.truth, s.found, s.matched, s.precision(), s.recall(), s.aircraft, s.worstAircraft,
      s.clicks);
  EXPECT_GE(s.precision(), 0.95);
  EXPECT_GE(s.recall(), 0.95);
  EXPECT_LE(s.worstAircraft, 1);
  EXPECT_EQ(s.clicks, 0);
}

}  // namespace
}  // namespace spectrograph
