#include "recorder/band_power.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <stdexcept>

namespace recorder {

int BandPowerAccumulator::fftLength(int sampleRate) {
  int n = 256;
  while (n < sampleRate / 25) n *= 2;
  return n;
}

BandPowerAccumulator::BandPowerAccumulator(int sampleRate, const std::vector<Band>& bands,
                                           std::int64_t samplesPerInterval)
    : length_(fftLength(sampleRate)),
      hop_(length_ / 2),
      samplesPerInterval_(samplesPerInterval),
      window_(static_cast<std::size_t>(length_)) {
  if (sampleRate <= 0 || samplesPerInterval <= 0) {
    throw std::invalid_argument("band power needs a rate and an interval");
  }
  double sumSquares = 0.0;
  for (int i = 0; i < length_; ++i) {
    const double w = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / length_);
    window_[static_cast<std::size_t>(i)] = static_cast<float>(w);
    sumSquares += w * w;
  }
  // Parseval over the one-sided spectrum: each bin but DC and Nyquist stands for two.
  scale_ = 2.0 / (static_cast<double>(length_) * sumSquares);
  const double binHz = static_cast<double>(sampleRate) / length_;
  for (const Band& b : bands) {
    // The bins whose centres lie within [low, high).
    const int first = std::max(1, static_cast<int>(std::ceil(b.lowHz / binHz)));
    const int last = std::min(length_ / 2, static_cast<int>(std::ceil(b.highHz / binHz)));
    bandBins_.emplace_back(first, std::max(first, last));
  }
  input_ = fftwf_alloc_real(static_cast<std::size_t>(length_));
  auto* out = fftwf_alloc_complex(static_cast<std::size_t>(length_ / 2 + 1));
  output_ = out;
  plan_ = fftwf_plan_dft_r2c_1d(length_, input_, out, FFTW_ESTIMATE);
  pending_.reserve(static_cast<std::size_t>(length_));
  sums_.assign(bands.size(), 0.0);
  current_.index = -1;
}

BandPowerAccumulator::~BandPowerAccumulator() {
  fftwf_destroy_plan(plan_);
  fftwf_free(input_);
  fftwf_free(output_);
}

void BandPowerAccumulator::add(std::span<const std::int16_t> samples, const Done& done) {
  constexpr float kFullScale = 1.0f / 32768.0f;
  const std::size_t length = static_cast<std::size_t>(length_);
  while (!samples.empty()) {
    const std::size_t take = std::min(samples.size(), length - pending_.size());
    for (std::size_t i = 0; i < take; ++i) pending_.push_back(samples[i] * kFullScale);
    samples = samples.subspan(take);
    if (pending_.size() < length) break;
    const std::int64_t interval = (frameStart_ + hop_) / samplesPerInterval_;
    if (interval != current_.index) {
      closeInterval(done);
      current_.index = interval;
    }
    transform();
    pending_.erase(pending_.begin(), pending_.begin() + hop_);
    frameStart_ += hop_;
  }
}

void BandPowerAccumulator::transform() {
  for (int i = 0; i < length_; ++i) {
    input_[i] = pending_[static_cast<std::size_t>(i)] * window_[static_cast<std::size_t>(i)];
  }
  fftwf_execute(plan_);
  const auto* out = static_cast<const fftwf_complex*>(output_);
  for (std::size_t b = 0; b < bandBins_.size(); ++b) {
    double sum = 0.0;
    for (int k = bandBins_[b].first; k < bandBins_[b].second; ++k) {
      sum +=
          static_cast<double>(out[k][0]) * out[k][0] + static_cast<double>(out[k][1]) * out[k][1];
    }
    sums_[b] += sum * scale_;
  }
  ++current_.frames;
}

void BandPowerAccumulator::closeInterval(const Done& done) {
  if (current_.frames > 0) {
    current_.levels.resize(sums_.size());
    for (std::size_t b = 0; b < sums_.size(); ++b) current_.levels[b] = sums_[b] / current_.frames;
    done(current_);
  }
  std::fill(sums_.begin(), sums_.end(), 0.0);
  current_.frames = 0;
}

void BandPowerAccumulator::flush(const Done& done) {
  closeInterval(done);
  current_.index = -1;
}

}  // namespace recorder
