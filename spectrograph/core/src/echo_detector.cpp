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
// Transforms after a wide rise that still hold the click's averaged tail.
constexpr int kBlankTransforms = 3;
// What a bin held a moment ago, before a meteor's rise: the mean of three transforms from this
// long before the latest, passing over those a click touched. A tone followed for less than
// kRecentSeconds had its own rise in them.
constexpr double kBeforeSeconds = 0.2;
constexpr int kBeforeRows = 3;
constexpr int kBeforeReach = 8;  // transforms further back, past clicks
constexpr double kRecentSeconds = 0.35;
// A tone's skirt stood at a bin before an echo rose there if it stood this much over the reference.
constexpr double kUnderFactor = 4.0;  // 6 dB
// The listening band's median over the reference level that tells a weak click: noise's median
// lies 0.8 dB below its mean.
constexpr double kLiftedMedian = 1.5;
// A tone that stood within this factor of its level a moment before it was followed rose slowly, as
// an aircraft's does, not as a meteor's.
constexpr double kSlowRise = 2.0;  // 3 dB

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
  beforeLag_ = std::max(2, static_cast<int>(std::lround(kBeforeSeconds / hopSeconds)));
  recent_.assign(std::size_t(beforeLag_ + kBeforeReach) * listen, 0);
  recentClicked_.assign(std::size_t(beforeLag_ + kBeforeReach), 1);
  recentHead_ = recentFilled_ = 0;
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
  const double shortest = a.nearClick ? kMinDurationNearClick : kMinDuration;
  if (a.carrier || a.echo.duration > settings_.maxEchoS || a.echo.duration < shortest) return;
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

  // The bin's mean over the transforms kBeforeSeconds back (itself while there are none yet).
  const int recentRows = beforeLag_ + kBeforeReach;
  auto before = [&](int bin) -> double {
    double sum = 0;
    int rows = 0;
    for (int lag = beforeLag_; lag <= recentFilled_ && rows < kBeforeRows; ++lag) {
      const int row = (recentHead_ - lag + recentRows) % recentRows;
      if (recentClicked_[std::size_t(row)] != 0) continue;
      sum += recent_[std::size_t(row) * std::size_t(listen) + std::size_t(bin)];
      ++rows;
    }
    return rows > 0 ? sum / rows : average_[std::size_t(bin)];
  };
  // A tone that has just risen suddenly over what its bin held a moment ago is new even beside
  // a tone followed for a while: an echo at an aircraft's pitch, or at that of another echo.
  const auto risen = [&](int bin, double ratio) {
    return average_[std::size_t(bin)] >= ratio * std::max(ref, before(bin));
  };
  const auto sudden = [&](int bin) { return risen(bin, startRatio_); };
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
  const bool clicked = blank_ > 0;
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
    // What the tone must stand over at a bin: the reference, the tone it rides on, and whatever
    // stood at that bin before it rose (another tone's skirt it must not live on).
    const auto floorAt = [&](int bin) {
      const int d = bin - a.origin + kUnderReach;
      const double under = d >= 0 && d < int(a.under.size()) ? a.under[std::size_t(d)] : 0.0;
      return std::max({ref * endRatio, a.baseline * kOverBaseline, under * kOverBaseline});
    };
    // The tone moves only while it stands out, no faster than kDriftHzPerS, and not onto a tone
    // followed since earlier, nor onto one that has just risen: a fading echo's track does not
    // wander off into another tone, nor an aircraft's into an echo beside it; nor in a click.
    const int next = localPeak(a.track, kTrackBins);
    const double age = t - a.echo.start;
    if (next != a.track && !clicked && average_[std::size_t(a.track)] >= floorAt(a.track) &&
        average_[std::size_t(next)] >= floorAt(next) &&
        std::abs(next - a.origin) <=
            kTrackBins + (age < kRecentSeconds ? 0 : 1) + age * kDriftHzPerS / binHz &&
        !followedNear(&a, next, kTrackBins, -1e300) &&
        (age < kRecentSeconds || !risen(next, kOverBaseline))) {
      a.track = next;
    }
    const double power = average_[std::size_t(a.track)];
    // Nor does an echo live on as the skirt of another tone beside it: a neighbour stronger than it
    // on the slope down from another tone's peak.
    bool outshone = false;
    for (const int side : {a.track - 1, a.track + 1}) {
      if (a.carrier || side < 0 || side >= listen || average_[std::size_t(side)] <= power) continue;
      for (const Active& b : active_) {
        outshone = outshone || (&b != &a && b.track != a.track && std::abs(b.track - side) <= 1 &&
                                average_[std::size_t(b.track)] >= average_[std::size_t(side)]);
      }
    }
    a.nearClick = a.nearClick || clicked;
    if (power >= floorAt(a.track) && !wide && !outshone) {
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
  // In a click and its tail only a tone standing out of the click itself starts.
  const double over = blank_ > 0 ? std::max<double>(ref, refAverage) : ref;
  if (blank_ > 0) --blank_;
  if (warm_ >= kWarmTransforms && active_.size() < kMaxTones) {
    // A bin on the skirt of a strong tone already followed is that tone, not a new one: a new
    // tone stands apart from it by a dip of 6 dB at least, or rose suddenly after it.
    const auto blocked = [&](int bin) {
      const float dip = average_[std::size_t(bin)] / 4;
      for (const Active& a : active_) {
        const int distance = std::abs(bin - a.track);
        if (distance > kSkirtBins) continue;
        if (distance == 0) return true;
        bool dipped = false;
        if (distance > 2 * kTrackBins) {
          const int lo = std::min(bin, a.track) + 1, hi = std::max(bin, a.track) - 1;
          for (int i = lo; i <= hi && !dipped; ++i) dipped = average_[std::size_t(i)] < dip;
        }
        const bool recent = !a.carrier && t - a.echo.start < kRecentSeconds;
        if (!dipped && (recent || !sudden(bin))) return true;
      }
      return false;
    };
    // The strongest local peak that is no followed tone's. A stronger neighbour that did not rise
    // with it is another tone's: a sudden rise beside it is a peak of its own.
    const auto below = [&](int bin, int side) {
      if (side < 0 || side >= listen) return false;
      return average_[std::size_t(side)] > average_[std::size_t(bin)] &&
             (sudden(side) || !sudden(bin));
    };
    int peak = -1;
    for (int i = 0; i < listen; ++i) {
      const float p = average_[std::size_t(i)];
      if (p < over * startRatio_ || (peak >= 0 && p <= average_[std::size_t(peak)])) continue;
      if (below(i, i - 1) || below(i, i + 1) || blocked(i)) continue;
      peak = i;
    }
    if (peak >= 0) {
      Active a;
      // Halfway between the two transforms averaged.
      a.echo.start = t - n / 4.0 / rate_;
      a.lastAbove = t;
      a.track = a.origin = peak;
      // Whether a click touched the last transforms, whose tails leave blips behind.
      bool clickedLately = clicked;
      for (int lag = 1; lag <= std::min(recentFilled_, beforeLag_); ++lag) {
        const int row = (recentHead_ - lag + recentRows) % recentRows;
        clickedLately = clickedLately || recentClicked_[std::size_t(row)] != 0;
      }
      // A click too weak to lift the reference band still lifts much of the listening band.
      std::vector<float> sorted(average_);
      std::nth_element(sorted.begin(), sorted.begin() + listen / 2, sorted.end());
      a.nearClick = clickedLately || sorted[std::size_t(listen / 2)] >= kLiftedMedian * ref;
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
      a.carrier =
          (present >= kPresenceShare * presenceRows_ || !risen(peak, kSlowRise)) && !sudden(peak);
      // Risen beside another tone, on its skirt: it ends when it falls back to what was there.
      if (!a.carrier) {
        for (int d = -kUnderReach; d <= kUnderReach; ++d) {
          const int bin = std::clamp(peak + d, 0, listen - 1);
          const double was = before(bin);
          a.under[std::size_t(d + kUnderReach)] = was >= kUnderFactor * ref ? float(was) : 0.0f;
        }
      }
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
  std::copy(average_.begin(), average_.end(),
            recent_.begin() + std::ptrdiff_t(recentHead_) * std::ptrdiff_t(listen));
  recentClicked_[std::size_t(recentHead_)] = clicked ? 1 : 0;
  recentHead_ = (recentHead_ + 1) % recentRows;
  recentFilled_ = std::min(recentFilled_ + 1, recentRows);
  presenceFilled_ = std::min(presenceFilled_ + 1, presenceRows_);
}

}  // namespace spectrograph
