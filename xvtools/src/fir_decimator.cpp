#include "fir_decimator.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numbers>
#include <numeric>

namespace xvtools {

namespace {

constexpr double kStopDb = 90;
// Beyond this many phases the table grows large for little: another converter takes the pair.
constexpr std::int64_t kMaxPhases = 4096;
constexpr std::size_t kLanes = 8;  // taps are a multiple of this, for the dot product's loop

// The modified Bessel function I0, by its series.
double besselI0(double x) {
  double sum = 1, term = 1;
  for (int k = 1; k < 50 && term > 1e-12 * sum; ++k) {
    term *= (x / (2 * k)) * (x / (2 * k));
    sum += term;
  }
  return sum;
}

// Eight lanes at a time, in two sums so that one addition need not wait for the other; without
// wider registers the compiler splits them into four-lane halves, with the same results.
using Lanes = float __attribute__((vector_size(32)));

// Where an output falls: sample centre, plus phase / up of a sample.
struct Cursor {
  std::int64_t centre = 0;
  std::uint32_t phase = 0;
};

// Makes every output whose taps lie before end; input[0] is sample base. The taps are a multiple
// of kLanes, half of them after the centre.
[[gnu::target_clones("avx2", "default")]] std::size_t filterRun(
    const float* table, std::size_t taps, std::uint32_t up, std::uint32_t down, const float* input,
    std::int64_t base, std::int64_t end, Cursor& at, float* out) {
  const auto half = std::int64_t(taps / 2);
  const std::uint32_t whole = down / up;
  const std::uint32_t part = down % up;
  std::size_t made = 0;
  while (at.centre + half < end) {
    const float* x = input + (at.centre - half + 1 - base);
    const float* h = table + std::size_t(at.phase) * taps;
    Lanes a{}, b{};
    std::size_t i = 0;
    for (; i + 2 * kLanes <= taps; i += 2 * kLanes) {
      Lanes hv, xv, hw, xw;
      std::memcpy(&hv, h + i, sizeof hv);
      std::memcpy(&xv, x + i, sizeof xv);
      std::memcpy(&hw, h + i + kLanes, sizeof hw);
      std::memcpy(&xw, x + i + kLanes, sizeof xw);
      a += hv * xv;
      b += hw * xw;
    }
    if (i < taps) {
      Lanes hv, xv;
      std::memcpy(&hv, h + i, sizeof hv);
      std::memcpy(&xv, x + i, sizeof xv);
      a += hv * xv;
    }
    a += b;
    out[made++] = ((a[0] + a[4]) + (a[1] + a[5])) + ((a[2] + a[6]) + (a[3] + a[7]));
    at.centre += whole;
    at.phase += part;
    if (at.phase >= up) {
      at.phase -= up;
      ++at.centre;
    }
  }
  return made;
}

// A halving whose cut-off is a quarter of its input's rate is a half-band filter: every tap an
// even number of samples from the centre is zero but the centre's, and the taps are symmetric.
// Output k is centre * even[k] plus, for each j, side[j] * (odd[k + q + j] + odd[k + q - 1 - j]),
// where odd[m] are the odd samples from q before the first centre; made eight at a time, each
// lane on its own, so wider registers give the same results.
[[gnu::target_clones("avx2", "default")]] void halveRun(const float* even, const float* odd,
                                                        const float* side, std::size_t q,
                                                        float centre, std::size_t made,
                                                        float* out) {
  for (std::size_t k = 0; k < made; k += kLanes) {
    Lanes e;
    std::memcpy(&e, even + k, sizeof e);
    Lanes acc = centre * e;
    for (std::size_t j = 0; j < q; ++j) {
      Lanes a, b;
      std::memcpy(&a, odd + k + q + j, sizeof a);
      std::memcpy(&b, odd + k + q - 1 - j, sizeof b);
      acc += side[j] * (a + b);
    }
    std::memcpy(out + k, &acc, sizeof acc);
  }
}

// A frame of two 16-bit channels as the mean of the two on a full scale of 1: the integer sum is
// exact in a float, and so is its scaling by a power of two.
inline float stereoMean(std::int16_t left, std::int16_t right) {
  return float(int(left) + int(right)) * (1.0f / 65536.0f);
}

// Mixes pairs of stereo 16-bit frames: the first of each pair into even, the second into odd.
// Sixteen frames at a time where the bytes are in the order the lanes need; each lane on its own,
// so wider registers give the same results.
[[gnu::target_clones("avx2", "default")]] void splitStereo16(const std::int16_t* in,
                                                             std::size_t pairs, float* even,
                                                             float* odd) {
  std::size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    using Words = std::uint32_t __attribute__((vector_size(32)));
    using Ints = std::int32_t __attribute__((vector_size(32)));
    for (; i + kLanes <= pairs; i += kLanes) {
      // One frame a lane: the left sample in the low half, the right in the high.
      Words a, b;
      std::memcpy(&a, in + 4 * i, sizeof a);
      std::memcpy(&b, in + 4 * i + 2 * kLanes, sizeof b);
      const Ints sa = (Ints(a << 16) >> 16) + (Ints(a) >> 16);
      const Ints sb = (Ints(b << 16) >> 16) + (Ints(b) >> 16);
      const Ints e = __builtin_shufflevector(sa, sb, 0, 2, 4, 6, 8, 10, 12, 14);
      const Ints o = __builtin_shufflevector(sa, sb, 1, 3, 5, 7, 9, 11, 13, 15);
      const Lanes ef = __builtin_convertvector(e, Lanes) * (1.0f / 65536.0f);
      const Lanes of = __builtin_convertvector(o, Lanes) * (1.0f / 65536.0f);
      std::memcpy(even + i, &ef, sizeof ef);
      std::memcpy(odd + i, &of, sizeof of);
    }
  }
  for (; i < pairs; ++i) {
    even[i] = stereoMean(in[4 * i], in[4 * i + 1]);
    odd[i] = stereoMean(in[4 * i + 2], in[4 * i + 3]);
  }
}

// Splits pairs of samples: the first of each pair into even, the second into odd.
[[gnu::target_clones("avx2", "default")]] void splitPairs(const float* in, std::size_t pairs,
                                                          float* even, float* odd) {
  std::size_t i = 0;
  for (; i + kLanes <= pairs; i += kLanes) {
    Lanes a, b;
    std::memcpy(&a, in + 2 * i, sizeof a);
    std::memcpy(&b, in + 2 * i + kLanes, sizeof b);
    const Lanes e = __builtin_shufflevector(a, b, 0, 2, 4, 6, 8, 10, 12, 14);
    const Lanes o = __builtin_shufflevector(a, b, 1, 3, 5, 7, 9, 11, 13, 15);
    std::memcpy(even + i, &e, sizeof e);
    std::memcpy(odd + i, &o, sizeof o);
  }
  for (; i < pairs; ++i) {
    even[i] = in[2 * i];
    odd[i] = in[2 * i + 1];
  }
}

}  // namespace

// One polyphase stage: output n is the filtered input at instant n * down / up.
class FirDecimator::Stage {
 public:
  // A half-band stage halves the rate with its cut-off at a quarter of it.
  Stage(std::int64_t inRate, std::int64_t outRate, double passHz, double stopHz, bool halfBand,
        std::size_t maxInput) {
    const std::int64_t g = std::gcd(inRate, outRate);
    up_ = std::uint32_t(outRate / g);
    down_ = std::uint32_t(inRate / g);
    // Kaiser's estimates of the length and the shape for the attenuation and the transition.
    const double transition = 2 * std::numbers::pi * (stopHz - passHz) / double(inRate);
    const auto estimate =
        static_cast<std::size_t>(std::ceil((kStopDb - 7.95) / (2.285 * transition))) + 1;
    taps_ = std::max(kLanes, (estimate + kLanes - 1) / kLanes * kLanes);
    half_ = taps_ / 2;
    const double beta = 0.1102 * (kStopDb - 8.7);
    // Twice the cut-off over the rate.
    const double cutoff = halfBand ? 0.5 : (passHz + stopHz) / double(inRate);
    // The filter's value t input samples from an output's instant.
    auto tap = [&](double t) {
      const double x = cutoff * t;
      const double sinc = x == 0 ? 1.0 : std::sin(std::numbers::pi * x) / (std::numbers::pi * x);
      const double r = t / double(half_);
      return cutoff * sinc * besselI0(beta * std::sqrt(std::max(0.0, 1 - r * r))) / besselI0(beta);
    };
    if (halfBand && up_ == 1 && down_ == 2 && half_ % 2 == 0) {
      // Every tap an even distance from the centre but the centre's is nothing (the window
      // reaches half_ before the centre, where the filter is nothing too): the side taps at odd
      // distances, the same on both sides.
      const std::size_t q = half_ / 2;
      double sum = tap(0);
      std::vector<double> side(q);
      for (std::size_t j = 0; j < q; ++j) sum += 2 * (side[j] = tap(double(2 * j + 1)));
      // Each output passes a constant unchanged.
      centreTap_ = static_cast<float>(tap(0) / sum);
      for (const double v : side) side_.push_back(static_cast<float>(v / sum));
    } else {
      table_.resize(std::size_t(up_) * taps_);
      std::vector<double> h(taps_);
      for (std::uint32_t p = 0; p < up_; ++p) {
        double sum = 0;
        for (std::size_t k = 0; k < taps_; ++k) {
          // Tap k's sample lies this far before the output's instant.
          h[k] = tap(double(p) / up_ + double(half_) - 1 - double(k));
          sum += h[k];
        }
        // Every phase passes a constant unchanged.
        float* row = table_.data() + std::size_t(p) * taps_;
        for (std::size_t k = 0; k < taps_; ++k) row[k] = static_cast<float>(h[k] / sum);
      }
    }
    const std::size_t room = maxInput + half_ + taps_ + kLanes;
    output_.assign((room * up_) / down_ + 2 + kLanes, 0.0f);
    if (!side_.empty()) {
      // The input is kept as its even and odd samples; the q odd samples before the first
      // centre are silence.
      const std::size_t q = side_.size();
      even_.assign(output_.size() + kLanes, 0.0f);
      odd_.assign(output_.size() + 2 * q + kLanes, 0.0f);
      oddBase_ = -std::int64_t(q);
      oddLen_ = q;
    } else {
      input_.assign(room, 0.0f);
      // The input before the first sample is silence.
      base_ = 1 - std::int64_t(half_);
      held_ = half_ - 1;
    }
  }

  bool halves() const { return !side_.empty(); }

  // A halving's input as stereo 16-bit frames, mixed straight into its even and odd samples.
  std::span<const float> processStereo16(std::span<const std::int16_t> frames) {
    const std::int16_t* in = frames.data();
    std::size_t count = frames.size() / 2;
    if (count > 0 && received_ % 2 == 1) {
      odd_[oddLen_++] = stereoMean(in[0], in[1]);
      ++received_;
      in += 2;
      --count;
    }
    const std::size_t pairs = count / 2;
    splitStereo16(in, pairs, even_.data() + evenLen_, odd_.data() + oddLen_);
    evenLen_ += pairs;
    oddLen_ += pairs;
    received_ += std::int64_t(2 * pairs);
    if (count % 2 == 1) {
      even_[evenLen_++] = stereoMean(in[4 * pairs], in[4 * pairs + 1]);
      ++received_;
    }
    return halve();
  }

  std::size_t maxOutput() const { return output_.size(); }
  std::size_t taps() const { return taps_; }

  // Takes the input (and at the end, silence for the filter's tail) and returns what completed.
  std::span<const float> process(std::span<const float> in, bool last) {
    if (!side_.empty()) {
      std::size_t from = 0;
      if (!in.empty() && received_ % 2 == 1) push(in[from++]);
      const std::size_t pairs = (in.size() - from) / 2;
      splitPairs(in.data() + from, pairs, even_.data() + evenLen_, odd_.data() + oddLen_);
      evenLen_ += pairs;
      oddLen_ += pairs;
      received_ += std::int64_t(2 * pairs);
      for (from += 2 * pairs; from < in.size(); ++from) push(in[from]);
      if (last) {
        for (std::size_t i = 0; i < half_; ++i) push(0.0f);
      }
      return halve();
    }
    std::copy(in.begin(), in.end(), input_.begin() + std::ptrdiff_t(held_));
    held_ += in.size();
    if (last) {
      std::fill_n(input_.begin() + std::ptrdiff_t(held_), half_, 0.0f);
      held_ += half_;
    }
    const std::int64_t end = base_ + std::int64_t(held_);
    Cursor at{centre_, phase_};
    const std::size_t made =
        filterRun(table_.data(), taps_, up_, down_, input_.data(), base_, end, at, output_.data());
    centre_ = at.centre;
    phase_ = at.phase;
    // Keep what later outputs need (fewer than taps_ samples).
    const std::int64_t need = centre_ - std::int64_t(half_) + 1;
    const auto drop = std::size_t(std::clamp<std::int64_t>(need - base_, 0, std::int64_t(held_)));
    std::copy(input_.begin() + std::ptrdiff_t(drop), input_.begin() + std::ptrdiff_t(held_),
              input_.begin());
    held_ -= drop;
    base_ += std::int64_t(drop);
    return {output_.data(), made};
  }

 private:
  void push(float v) {
    if (received_++ % 2 == 0) {
      even_[evenLen_++] = v;
    } else {
      odd_[oddLen_++] = v;
    }
  }

  // Makes every output centred on an even sample (c of them) whose last tap, and the sample after
  // it, have come: centre 2c + 2q at most the last sample received.
  std::span<const float> halve() {
    const std::size_t q = side_.size();
    const std::int64_t last = received_ - 1 - 2 * std::int64_t(q);
    const std::size_t made = last >= 2 * centre_ ? std::size_t(last / 2 - centre_ + 1) : 0;
    halveRun(even_.data() + (centre_ - evenBase_),
             odd_.data() + (centre_ - std::int64_t(q) - oddBase_), side_.data(), q, centreTap_,
             made, output_.data());
    centre_ += std::int64_t(made);
    // Keep the even samples from the next centre on, and the q odd ones before it.
    const auto dropEven = std::size_t(centre_ - evenBase_);
    std::copy(even_.begin() + std::ptrdiff_t(dropEven), even_.begin() + std::ptrdiff_t(evenLen_),
              even_.begin());
    evenLen_ -= dropEven;
    evenBase_ = centre_;
    const auto dropOdd = std::size_t(centre_ - std::int64_t(q) - oddBase_);
    std::copy(odd_.begin() + std::ptrdiff_t(dropOdd), odd_.begin() + std::ptrdiff_t(oddLen_),
              odd_.begin());
    oddLen_ -= dropOdd;
    oddBase_ = centre_ - std::int64_t(q);
    return {output_.data(), made};
  }

  std::uint32_t up_ = 1, down_ = 1;
  std::size_t taps_ = 0, half_ = 0;
  std::vector<float> table_;  // up_ rows of taps_: row p for outputs at phase p / up_
  std::vector<float> input_;  // samples base_ .. base_ + held_ - 1
  std::size_t held_ = 0;
  std::int64_t base_ = 0;
  std::int64_t centre_ = 0;
  std::uint32_t phase_ = 0;
  std::vector<float> output_;
  // Halvings: the half-band taps, and the input's even samples (from evenBase_ / 2, in halves of
  // its instants) and odd ones (odd_[i] is sample 2 (oddBase_ + i) + 1); centre_ counts outputs.
  std::vector<float> side_;
  float centreTap_ = 0;
  std::vector<float> even_, odd_;
  std::size_t evenLen_ = 0, oddLen_ = 0;
  std::int64_t evenBase_ = 0, oddBase_ = 0;
  std::int64_t received_ = 0;
};

FirDecimator::~FirDecimator() = default;

std::unique_ptr<FirDecimator> FirDecimator::make(int inputRate, int outputRate,
                                                 std::size_t maxInput) {
  if (outputRate <= 0 || inputRate <= outputRate) return nullptr;
  const double pass = 0.4375 * outputRate;
  const double stop = 0.55 * outputRate;
  std::int64_t rate = inputRate;
  std::vector<std::pair<std::int64_t, std::int64_t>> steps;
  // Halvings first, cheap while the rate is high: each keeps clear what could fold below the
  // last filter's stop.
  while (rate % 2 == 0 && 2 * rate >= 5 * std::int64_t(outputRate)) {
    steps.emplace_back(rate, rate / 2);
    rate /= 2;
  }
  steps.emplace_back(rate, outputRate);
  if (outputRate / std::gcd(rate, std::int64_t(outputRate)) > kMaxPhases) return nullptr;
  std::unique_ptr<FirDecimator> made(new FirDecimator);
  std::size_t most = maxInput;
  made->mixed_.resize(maxInput);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    made->maxInputs_.push_back(most);
    const auto [from, to] = steps[i];
    const bool lastStep = i + 1 == steps.size();
    made->stages_.push_back(std::make_unique<Stage>(
        from, to, lastStep ? pass : stop, lastStep ? stop : double(to) - stop, !lastStep, most));
    most = made->stages_.back()->maxOutput();
  }
  return made;
}

std::span<const float> FirDecimator::process(std::span<const float> input) {
  return run(0, stages_.size(), input, false);
}

std::span<const float> FirDecimator::processStereo16(std::span<const std::int16_t> frames) {
  return processStereo16(frames, stages_.size());
}

std::span<const float> FirDecimator::flush() { return run(0, stages_.size(), {}, true); }

std::span<const float> FirDecimator::run(std::size_t from, std::size_t to,
                                         std::span<const float> input, bool last) {
  for (std::size_t i = from; i < to; ++i) input = stages_[i]->process(input, last);
  return input;
}

std::span<const float> FirDecimator::processStereo16(std::span<const std::int16_t> frames,
                                                     std::size_t to) {
  if (to == 0) return {};
  if (stages_.front()->halves()) return run(1, to, stages_.front()->processStereo16(frames), false);
  const std::size_t count = frames.size() / 2;
  for (std::size_t f = 0; f < count; ++f) mixed_[f] = stereoMean(frames[2 * f], frames[2 * f + 1]);
  return run(0, to, {mixed_.data(), count}, false);
}

}  // namespace xvtools
