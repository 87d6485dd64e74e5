#include "spectrograph/echo_detector.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace spectrograph {

namespace {

// Time the reference follows its band over, and the transforms it first settles in.
constexpr double kReferenceSeconds = 2.0;
constexpr int kWarmTransforms = 8;
constexpr float kPresenceFactor = 4.0f;  // 6 dB
constexpr double kPresenceShare = 0.5;
constexpr int kTrackBins = 1;
constexpr int kSkirtBins = 8;
constexpr int kFloorEvery = 8;
// Transforms after a wide rise in which nothing starts: the click's averaged tail.
constexpr int kBlankTransforms = 3;

double db(double ratio) { return 10.0 * std::log10(std::max(ratio, 1e-30)); }

int binAtOrAbove(double hz, double binHz) { return static_cast<int>(std::ceil(hz / binHz - 1e-9)); }
int binAtOrBelow(double hz, double binHz) {
  return static_cast<int>(std::floor(hz / binHz + 1e-9));
}

// The factor from the sum of N bin powers without the two strongest to their mean. White noise's
// bin powers are exponential: the strongest of N has the mean H(N) (the harmonic number), the
// second H(N) - 1, in units of the mean.
float trimmedToMean(int bins) {
  if (bins <= 2) return 1.0f / static_cast<float>(bins);
  double harmonic = 0;
  for (int i = 1; i <= bins; ++i) harmonic += 1.0 / i;
  return static_cast<float>(1.0 / (bins - 2 * harmonic + 1));
}

// The sum of the powers without the strongest two (all of them for two or fewer).
float withoutStrongestTwo(const float* powers, int count) {
  float sum = 0, first = 0, second = 0;
  for (int i = 0; i < count; ++i) {
    const float p = powers[i];
    sum += p;
    if (p > first) {
      second = first;
      first = p;
    } else if (p > second) {
      second = p;
    }
  }
  return count > 2 ? sum - first - second : sum;
}

}  // namespace

std::optional<std::pair<double, double>> parseBand(const std::string& text) {
  const auto colon = text.find(':');
  if (colon == std::string::npos) return std::nullopt;
  const std::string low = text.substr(0, colon);
  const std::string high = text.substr(colon + 1);
  char* end = nullptr;
  const double lo = std::strtod(low.c_str(), &end);
  if (low.empty() || *end != '\0' || !std::isfinite(lo)) return std::nullopt;
  const double hi = std::strtod(high.c_str(), &end);
  if (high.empty() || *end != '\0' || !std::isfinite(hi)) return std::nullopt;
  return std::pair{lo, hi};
}

std::string echoSettingsProblem(const EchoSettings& s, int sampleRate, int fftLength) {
  const double nyquist = sampleRate / 2.0;
  const double binHz = static_cast<double>(sampleRate) / fftLength;
  const struct {
    const char* name;
    double low, high;
  } bands[] = {{"--echoes", s.listenLow, s.listenHigh},
               {"--noise", s.referenceLow(), s.referenceHigh()}};
  for (const auto& band : bands) {
    const std::string range =
        std::to_string(std::lround(band.low)) + ":" + std::to_string(std::lround(band.high));
    if (band.low >= band.high)
      return std::string(band.name) + " " + range + ": LOW must be below HIGH";
    if (band.low < 0 || band.high > nyquist) {
      return std::string(band.name) + " " + range +
             " is outside the input's 0:" + std::to_string(std::lround(nyquist)) + " Hz";
    }
    if (binAtOrAbove(band.low, binHz) > binAtOrBelow(band.high, binHz))
      return std::string(band.name) + " " + range + " holds no bin of the transform";
  }
  if (s.referenceLow() < s.listenHigh && s.listenLow < s.referenceHigh())
    return "the --noise band overlaps the --echoes band";
  if (!(s.snrDb >= 1 && s.snrDb <= 60)) return "--snr must be from 1 to 60 dB";
  if (!(s.maxEchoS >= 0.1 && s.maxEchoS <= 3600))
    return "--max-echo must be from 0.1 to 3600 seconds";
  return {};
}

EchoDetector::EchoDetector(const EchoSettings& settings, int sampleRate, double startTime,
                           Found found)
    : settings_(settings),
      rate_(sampleRate),
      startTime_(startTime),
      found_(std::move(found)),
      startRatio_(std::pow(10.0, settings.snrDb / 10.0)),
      endRatio_(std::pow(10.0, (settings.snrDb - kEndMarginDb) / 10.0)),
      wideRatio_(std::pow(10.0, kWideRiseDb / 10.0)) {}

void EchoDetector::flush() {
  for (const Active& a : active_) finish(a);
  active_.clear();
}

void EchoDetector::layOut(int fftLength) {
  flush();
  fftLength_ = fftLength;
  const double binHz = static_cast<double>(rate_) / fftLength;
  const int top = fftLength / 2;
  auto band = [&](double low, double high, int& lo, int& hi) {
    lo = std::clamp(binAtOrAbove(low, binHz), 0, top);
    hi = std::clamp(binAtOrBelow(high, binHz), 0, top);
    // A band narrower than a bin, after a change of length, keeps its nearest bin.
    if (lo > hi) lo = hi = std::clamp(static_cast<int>(std::lround(low / binHz)), 0, top);
  };
  band(settings_.listenLow, settings_.listenHigh, listenLo_, listenHi_);
  band(settings_.referenceLow(), settings_.referenceHigh(), noiseLo_, noiseHi_);
  const std::size_t listen = std::size_t(listenHi_ - listenLo_ + 1);
  power_.assign(listen, 0);
  previous_.assign(listen, 0);
  average_.assign(listen, 0);
  noiseBins_ = noiseHi_ - noiseLo_ + 1;
  noise_.assign(std::size_t(noiseBins_), 0);
  trimmedListen_ = trimmedToMean(int(listen));
  listenFloor_ = 0;
  trimmedToMean_ = trimmedToMean(noiseBins_);
  const double hopSeconds = fftLength / 2.0 / rate_;
  presenceRows_ = std::max(1, static_cast<int>(std::lround(kPresenceWindow / hopSeconds)));
  presence_.assign(std::size_t(presenceRows_) * listen, 0);
  presenceHead_ = presenceFilled_ = 0;
  warm_ = 0;
}

double EchoDetector::clock() const { return startTime_ + static_cast<double>(endSample_) / rate_; }

double EchoDetector::centreTime() const {
  return startTime_ + (static_cast<double>(endSample_) - fftLength_ / 2.0) / rate_;
}

std::optional<double> EchoDetector::undecidedStart() const {
  std::optional<double> first;
  for (const Active& a : active_) {
    if (a.carrier || clock() - a.echo.start > settings_.maxEchoS) continue;
    if (!first || a.echo.start < *first) first = a.echo.start;
  }
  return first;
}

void EchoDetector::finish(const Active& a) {
  if (a.carrier || a.echo.duration > settings_.maxEchoS || a.echo.duration < kMinDuration) return;
  if (found_) found_(a.echo);
}

void EchoDetector::transform(const xvtools::TransformView& view) {
  const int n = view.fftLength;
  if (n != fftLength_) {
    layOut(n);
    endSample_ += static_cast<std::uint64_t>(n);
  } else {
    endSample_ += static_cast<std::uint64_t>(n / 2);
  }
  const auto& bins = view.bins;
  auto powerOf = [&](int k) { return std::norm(bins[std::size_t(k)]); };
  const int listen = listenHi_ - listenLo_ + 1;
  for (int i = 0; i < listen; ++i) {
    power_[std::size_t(i)] = powerOf(listenLo_ + i);
    average_[std::size_t(i)] = warm_ == 0
                                   ? power_[std::size_t(i)]
                                   : 0.5f * (power_[std::size_t(i)] + previous_[std::size_t(i)]);
  }
  std::swap(power_, previous_);
  // The reference band's mean without its two strongest bins, so that a tone in it barely
  // counts, scaled back to the mean of the noise.
  for (int k = noiseLo_; k <= noiseHi_; ++k) noise_[std::size_t(k - noiseLo_)] = powerOf(k);
  const float refNow = withoutStrongestTwo(noise_.data(), noiseBins_) * trimmedToMean_;
  const float refAverage = warm_ == 0 ? refNow : 0.5f * (refNow + previousRef_);
  previousRef_ = refNow;
  if (warm_ < kWarmTransforms) {
    // Settles on the mean of the first transforms.
    slowRef_ = (slowRef_ * warm_ + refNow) / (warm_ + 1);
    ++warm_;
  } else {
    const double alpha = n / 2.0 / rate_ / kReferenceSeconds;
    slowRef_ += alpha * (std::min<double>(refNow, 2.0 * slowRef_) - slowRef_);
  }
  const double ref = std::max(slowRef_, 1e-30);
  const double t = centreTime();

  auto localPeak = [&](int centre, int reach) {
    int best = std::clamp(centre - reach, 0, listen - 1);
    for (int i = best; i <= std::min(listen - 1, centre + reach); ++i)
      if (average_[std::size_t(i)] > average_[std::size_t(best)]) best = i;
    return best;
  };
  auto notePeak = [&](Active& a, int i, double power) {
    a.peakPower = power;
    a.echo.peakSnrDb = db(power / ref);
    a.echo.peakLevelDb = db(average_[std::size_t(i)] * view.powerScale);
    // The tone between bins, from the parabola through the peak and its neighbours in dB.
    const int k = listenLo_ + i;
    double offset = 0;
    if (k > 0 && k < n / 2) {
      const double l = db(powerOf(k - 1)), c = db(powerOf(k)), r = db(powerOf(k + 1));
      const double curve = l - 2 * c + r;
      if (curve < 0) offset = std::clamp(0.5 * (l - r) / curve, -0.5, 0.5);
    }
    a.echo.peakHz = (k + offset) * rate_ / static_cast<double>(n);
  };

  const double endRatio = endRatio_;
  const double riseRatio = startRatio_;
  const double levelAlpha = n / 2.0 / rate_ / kCarrierLevelSeconds;
  // A rise that lifts the reference band too is a click or interference: nothing starts in it.
  // Nor does it keep a tone alive: a noise blip just before a click would otherwise last.
  const bool wide = refAverage >= ref * wideRatio_;
  if (wide) blank_ = kBlankTransforms;
  std::vector<Active> riding;
  const double binHz = static_cast<double>(rate_) / n;
  // Whether another tone than `self` is followed within `reach` bins of bin, started after
  // `after`.
  auto followedNear = [&](const Active* self, int bin, int reach, double after) {
    for (const auto* list : {&active_, &riding}) {
      for (const Active& other : *list) {
        if (&other != self && std::abs(other.track - bin) <= reach && other.echo.start > after)
          return true;
      }
    }
    return false;
  };
  for (Active& a : active_) {
    const double floor = std::max(ref * endRatio, a.baseline * kOverBaseline);
    // The tone moves only while it stands out, no faster than kDriftHzPerS, and not onto a tone
    // followed since earlier: a fading echo's track does not wander off into another tone.
    const int next = localPeak(a.track, kTrackBins);
    const double age = t - a.echo.start;
    if (next != a.track && average_[std::size_t(a.track)] >= floor &&
        average_[std::size_t(next)] >= floor &&
        std::abs(next - a.origin) <= kTrackBins + 1 + age * kDriftHzPerS / binHz &&
        !followedNear(&a, next, kTrackBins, -1e300)) {
      a.track = next;
    }
    const double power = average_[std::size_t(a.track)];
    if (power >= floor && !wide) {
      a.lastAbove = t;
      a.echo.duration = t - a.echo.start;
    }
    if (power > a.peakPower) notePeak(a, a.track, power);
    // An echo on top of a tone that has been there a while: a sudden rise over its own level.
    // A tone that was there before it was followed has its level from the start; an echo's own
    // track settles first, or its rise would count again.
    const double settle = a.carrier ? kCarrierSettleSeconds : kSettleSeconds;
    if (age > settle && blank_ == 0 && a.level > 0 && power >= a.level * riseRatio &&
        t - a.lastRide > kHold && active_.size() + riding.size() < kMaxTones &&
        !followedNear(&a, a.track, 2 * kTrackBins, a.echo.start)) {
      Active echo;
      echo.echo.start = t - n / 4.0 / rate_;
      echo.lastAbove = t;
      echo.track = echo.origin = a.track;
      echo.baseline = a.level;
      notePeak(echo, a.track, power);
      riding.push_back(echo);
      a.lastRide = t;
    }
    a.level =
        a.level == 0 ? power : a.level + levelAlpha * (std::min(power, 4 * a.level) - a.level);
  }
  for (const Active& a : riding) active_.push_back(a);
  std::erase_if(active_, [&](const Active& a) {
    if (t - a.lastAbove < kHold) return false;
    finish(a);
    return true;
  });
  if (blank_ > 0) {
    --blank_;
  } else if (warm_ >= kWarmTransforms && active_.size() < kMaxTones) {
    // The strongest bin away from the tones already followed.
    int peak = -1;
    for (int i = 0; i < listen; ++i) {
      bool followed = false;
      for (const Active& a : active_)
        followed = followed || std::abs(i - a.track) <= 2 * kTrackBins;
      if (!followed && (peak < 0 || average_[std::size_t(i)] > average_[std::size_t(peak)]))
        peak = i;
    }
    // A bin on the skirt of a strong tone already followed is that tone, not a new one: a new
    // tone stands apart from it by a dip of 6 dB at least.
    const auto onSkirt = [&](int bin) {
      const float dip = average_[std::size_t(bin)] / 4;
      for (const Active& a : active_) {
        const int lo = std::min(bin, a.track) + 1, hi = std::max(bin, a.track) - 1;
        if (std::abs(bin - a.track) > kSkirtBins) continue;
        bool dipped = false;
        for (int i = lo; i <= hi && !dipped; ++i) dipped = average_[std::size_t(i)] < dip;
        if (!dipped) return true;
      }
      return false;
    };
    if (peak >= 0 && average_[std::size_t(peak)] >= ref * startRatio_ && !onSkirt(peak)) {
      Active a;
      // Halfway between the two transforms averaged.
      a.echo.start = t - n / 4.0 / rate_;
      a.lastAbove = t;
      a.track = a.origin = peak;
      // How much of the last window a tone already stood near this frequency.
      int present = 0;
      for (int row = 0; row < presenceFilled_; ++row) {
        const std::uint8_t* flags = presence_.data() + std::size_t(row) * std::size_t(listen);
        for (int i = std::max(0, peak - kTrackBins); i <= std::min(listen - 1, peak + kTrackBins);
             ++i) {
          if (flags[i] != 0) {
            ++present;
            break;
          }
        }
      }
      a.carrier = present >= kPresenceShare * presenceRows_;
      notePeak(a, peak, average_[std::size_t(peak)]);
      active_.push_back(a);
    }
  }
  std::uint8_t* flags = presence_.data() + std::size_t(presenceHead_) * std::size_t(listen);
  // The listening band's own floor, followed over half a minute without its two strongest bins,
  // stands in for the reference when it lies higher (a receiver's passband is seldom flat), so
  // that its noise does not pass for a tone; by at most 6 dB, so that a long tone cannot lift it
  // out of reach. Slow as it is, every kFloorEvery-th transform is enough.
  if (presenceHead_ % kFloorEvery == 0) {
    const double floorNow = withoutStrongestTwo(average_.data(), listen) * trimmedListen_;
    listenFloor_ = listenFloor_ == 0
                       ? floorNow
                       : listenFloor_ + kFloorEvery * n / 2.0 / rate_ / kFloorSeconds *
                                            (std::min(floorNow, 2 * listenFloor_) - listenFloor_);
  }
  const double floorLevel = std::clamp(listenFloor_, ref, 4 * ref);
  const float presentAbove = static_cast<float>(kPresenceFactor * floorLevel);
  for (int i = 0; i < listen; ++i) flags[i] = average_[std::size_t(i)] > presentAbove ? 1 : 0;
  presenceHead_ = (presenceHead_ + 1) % presenceRows_;
  presenceFilled_ = std::min(presenceFilled_ + 1, presenceRows_);
}

}  // namespace spectrograph
