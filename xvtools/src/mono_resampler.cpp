#include "mono_resampler.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "xvtools/audio_source.h"

namespace xvtools {

std::int16_t toSample16(float v) {
  // A device may hand over buffers it never filled; what is not a number is silence, never a
  // conversion without a defined result.
  if (std::isnan(v)) return 0;
  // Clamped first, so that adding and taking away 1.5 x 2^23 rounds it to the nearest integer,
  // ties to even, exactly as nearbyint does in the default rounding mode, without a library call
  // for every sample.
  const float scaled = std::clamp(v * 32768.0f, -32768.0f, 32767.0f);
  constexpr float kRounder = 12582912.0f;
  return static_cast<std::int16_t>((scaled + kRounder) - kRounder);
}

MonoResampler::MonoResampler(int inputRate, int channels, int outputRate, Reader reader)
    : channels_(channels), reader_(std::move(reader)) {
  if (inputRate <= 0 || outputRate <= 0) throw AudioError("unusable sample rate");
  if (channels <= 0 || channels > 64) throw AudioError("unusable channel count");
  ratio_ = static_cast<double>(outputRate) / inputRate;
  // libsamplerate converts by at most a factor of 256 either way.
  if (ratio_ > 256.0 || ratio_ < 1.0 / 256.0) {
    throw AudioError("cannot convert " + std::to_string(inputRate) + " samples/s to " +
                     std::to_string(outputRate));
  }
  interleaved_.resize(kChunkFrames * static_cast<std::size_t>(channels));
  mono_.resize(kChunkFrames);
  if (inputRate != outputRate) {
    int error = 0;
    state_ = src_new(SRC_SINC_MEDIUM_QUALITY, 1, &error);
    if (state_ == nullptr) throw AudioError(std::string("resampler: ") + src_strerror(error));
    converted_.resize(static_cast<std::size_t>(std::ceil(kChunkFrames * ratio_)) + 64);
  }
}

MonoResampler::~MonoResampler() {
  if (state_ != nullptr) src_delete(state_);
}

std::size_t MonoResampler::read(std::span<std::int16_t> out) {
  std::size_t written = 0;
  while (written < out.size()) {
    if (state_ == nullptr) {
      if (monoPos_ == monoLen_ && !readMono()) break;
      const std::size_t n = std::min(out.size() - written, monoLen_ - monoPos_);
      for (std::size_t i = 0; i < n; ++i) out[written + i] = toSample16(mono_[monoPos_ + i]);
      monoPos_ += n;
      written += n;
      continue;
    }
    if (convertedPos_ == convertedLen_ && !refill()) {
      // The flush ended short: hold the last sample for what is still owed.
      const std::size_t n = std::min(out.size() - written, owed());
      if (n == 0) break;
      std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(written), n, lastSample_);
      emitted_ += n;
      written += n;
      continue;
    }
    std::size_t n = std::min(out.size() - written, convertedLen_ - convertedPos_);
    if (inputEnded_) {
      n = std::min(n, owed());
      if (n == 0) {
        // Past the input's length: the rest of the flush is dropped.
        convertedPos_ = convertedLen_;
        finished_ = true;
        break;
      }
    }
    for (std::size_t i = 0; i < n; ++i) {
      out[written + i] = toSample16(converted_[convertedPos_ + i]);
    }
    lastSample_ = out[written + n - 1];
    convertedPos_ += n;
    written += n;
    emitted_ += n;
  }
  return written;
}

std::size_t MonoResampler::owed() const {
  if (state_ == nullptr || !inputEnded_) return 0;
  const auto due =
      static_cast<std::uint64_t>(std::llround(static_cast<double>(inputFrames_) * ratio_));
  return due > emitted_ ? static_cast<std::size_t>(due - emitted_) : 0;
}

// Reads the next chunk and averages its channels; false at the end of the input.
bool MonoResampler::readMono() {
  if (inputEnded_) {
    finished_ = true;
    return false;
  }
  const std::size_t frames = std::min(reader_(interleaved_.data(), kChunkFrames), kChunkFrames);
  if (frames == 0) {
    inputEnded_ = true;
    if (state_ == nullptr) finished_ = true;
    return false;
  }
  inputFrames_ += frames;
  const float scale = 1.0f / static_cast<float>(channels_);
  for (std::size_t f = 0; f < frames; ++f) {
    const float* frame = interleaved_.data() + f * static_cast<std::size_t>(channels_);
    float sum = 0.0f;
    for (int c = 0; c < channels_; ++c) sum += frame[c];
    mono_[f] = sum * scale;
  }
  monoPos_ = 0;
  monoLen_ = frames;
  return true;
}

// Converts pending mono input until some output is ready; false once all is flushed.
bool MonoResampler::refill() {
  while (!finished_) {
    if (monoPos_ == monoLen_ && !inputEnded_) readMono();
    SRC_DATA data{};
    data.data_in = mono_.data() + monoPos_;
    data.input_frames = static_cast<long>(monoLen_ - monoPos_);
    data.data_out = converted_.data();
    data.output_frames = static_cast<long>(converted_.size());
    data.end_of_input = inputEnded_ ? 1 : 0;
    data.src_ratio = ratio_;
    const int error = src_process(state_, &data);
    if (error != 0) throw AudioError(std::string("resampler: ") + src_strerror(error));
    monoPos_ += static_cast<std::size_t>(data.input_frames_used);
    convertedPos_ = 0;
    convertedLen_ = static_cast<std::size_t>(data.output_frames_gen);
    if (convertedLen_ > 0) return true;
    if (inputEnded_ && monoPos_ == monoLen_) finished_ = true;
  }
  return false;
}

}  // namespace xvtools
