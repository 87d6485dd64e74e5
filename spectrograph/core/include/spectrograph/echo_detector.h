// Meteor echoes found in the spectrograph's own transforms.
//
// Each transform gives the listening band's bins, averaged over two transforms, and the level of
// the reference band (its mean without its two strongest bins, followed slowly so that one click
// barely moves it). An echo starts at the strongest local peak that rises snrDb above the
// reference and is no tone already followed; it follows its tone within two bins and ends once the
// tone has stayed kEndMarginDb below that, or fallen back to what stood at its bin before it rose,
// for kHold seconds. Several tones are followed at once, each from its own start: a peak beside a
// followed tone (an aircraft, another echo) starts an echo of its own when it rose suddenly, by
// snrDb within a fifth of a second, as a meteor's tone does. It is counted unless it lasted longer
// than maxEchoS (an aircraft or a carrier), the reference band rose with it (lightning,
// interference), or, without such a sudden rise, a tone had already been present near its
// frequency for most of the last kPresenceWindow seconds or it rose slowly (an aircraft fading in
// and out).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "xvtools/transform_tap.h"

namespace spectrograph {

struct EchoSettings {
  double listenLow = 0;  // Hz
  double listenHigh = 0;
  std::optional<double> noiseLow;  // unset: a band as wide as the listening band just above it
  std::optional<double> noiseHigh;
  double snrDb = 10;
  double maxEchoS = 20;

  double referenceLow() const { return noiseLow.value_or(listenHigh); }
  double referenceHigh() const { return noiseHigh.value_or(2 * listenHigh - listenLow); }
};

// Why the settings cannot be used at this rate and transform length, or empty.
std::string echoSettingsProblem(const EchoSettings& settings, int sampleRate, int fftLength);
// "LOW:HIGH" in Hz.
std::optional<std::pair<double, double>> parseBand(const std::string& text);

struct Echo {
  double start = 0;  // seconds since 1970-01-01 00:00 UTC
  double duration = 0;
  double peakHz = 0;
  double peakSnrDb = 0;
  double peakLevelDb = 0;  // the peak bin as a sine's amplitude, dB below full scale
};

class EchoDetector {
 public:
  static constexpr double kEndMarginDb = 4;
  static constexpr double kHold = 0.8;
  static constexpr double kPresenceWindow = 10;
  static constexpr double kWideRiseDb = 3;
  static constexpr std::size_t kMaxTones = 16;
  static constexpr double kCarrierLevelSeconds = 1.0;
  static constexpr double kSettleSeconds = 2.0;
  static constexpr double kFloorSeconds = 30.0;
  // Shorter is a blip of the noise (two transforms, what one noisy transform leaves in their
  // average); near a click, whose tail leaves longer blips, a meteor's tenth of a second at least.
  static constexpr double kMinDuration = 0.04;
  static constexpr double kMinDurationNearClick = 0.1;
  static constexpr double kCarrierSettleSeconds = 0.25;
  static constexpr double kDriftHzPerS = 2.0;
  static constexpr double kOverBaseline = 4.0;  // 6 dB

  using Found = std::function<void(const Echo&)>;
  // startTime: the time of the first sample, seconds since 1970 (UTC).
  EchoDetector(const EchoSettings& settings, int sampleRate, double startTime, Found found);

  void transform(const xvtools::TransformView& view);
  // The input ended: the echoes in progress are decided on what was seen of them.
  void flush();
  // The time at the end of the samples transformed so far.
  double clock() const;
  // The start of the echo in progress while it may still be counted.
  std::optional<double> undecidedStart() const;

 private:
  void layOut(int fftLength);
  double centreTime() const;

  EchoSettings settings_;
  int rate_;
  double startTime_;
  Found found_;
  double startRatio_, endRatio_, wideRatio_;  // the thresholds as power ratios

  int fftLength_ = 0;
  std::uint64_t endSample_ = 0;
  int listenLo_ = 0, listenHi_ = 0, noiseLo_ = 0, noiseHi_ = 0;
  std::vector<float> power_, previous_, average_, noise_;
  int noiseBins_ = 0;
  float trimmedToMean_ = 1;
  float trimmedListen_ = 1;
  double listenFloor_ = 0;
  float previousRef_ = 0;
  double slowRef_ = 0;
  int warm_ = 0;
  int blank_ = 0;
  // Per transform of the last kPresenceWindow seconds, one byte per listening bin: whether it
  // stood 6 dB over the reference.
  std::vector<std::uint8_t> presence_;
  int presenceRows_ = 0;
  int presenceHead_ = 0;
  int presenceFilled_ = 0;
  // The listening band's averaged powers of the last transforms, for telling a sudden rise.
  std::vector<float> recent_;
  std::vector<std::uint8_t> recentClicked_;  // per row: a click's, not to be compared with
  int beforeLag_ = 2;
  int recentHead_ = 0;
  int recentFilled_ = 0;

  static constexpr int kUnderReach = 2;
  struct Active {
    Echo echo;
    int track = 0;
    int origin = 0;
    double lastAbove = 0;
    bool carrier = false;
    double peakPower = 0;
    double level = 0;     // the tone's power, followed over kCarrierLevelSeconds
    double baseline = 0;  // the tone this echo rides on, if any
    double lastRide = -1e300;
    bool nearClick = false;  // a click came just before it or during it
    // What the bins around its start held before it rose, where another tone stood there.
    std::array<float, 2 * kUnderReach + 1> under{};
  };
  // Tones followed at once: an aircraft's does not hide the echoes beside it.
  std::vector<Active> active_;
  void finish(const Active& a);
};

}  // namespace spectrograph
