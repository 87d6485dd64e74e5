#include "mono_resampler.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "block_relay.h"
#include "fir_decimator.h"
#include "xvtools/audio_source.h"

namespace xvtools {

namespace {

// toSample16's body, inlined into the conversion loops (the exported function cannot be).
inline std::int16_t sample16(float v) {
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

// sample16 over a run, eight lanes at a time, each lane on its own, so wider registers give the
// same results.
[[gnu::target_clones("avx2", "default")]] void toSamples16(const float* in, std::size_t n,
                                                           std::int16_t* out) {
  using Lanes = float __attribute__((vector_size(32)));
  using Ints = std::int32_t __attribute__((vector_size(32)));
  using Shorts = std::int16_t __attribute__((vector_size(16)));
  constexpr std::size_t kLanes = 8;
  constexpr float kRounder = 12582912.0f;
  std::size_t i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    Lanes v;
    std::memcpy(&v, in + i, sizeof v);
    v = v == v ? v : Lanes{};
    v *= 32768.0f;
    v = v < -32768.0f ? Lanes{} - 32768.0f : v;
    v = 32767.0f < v ? Lanes{} + 32767.0f : v;
    v = (v + kRounder) - kRounder;
    const Shorts s = __builtin_convertvector(__builtin_convertvector(v, Ints), Shorts);
    std::memcpy(out + i, &s, sizeof s);
  }
  for (; i < n; ++i) out[i] = sample16(in[i]);
}

}  // namespace

std::int16_t toSample16(float v) { return sample16(v); }

namespace {

// What one read of 16-bit frames asks for: large pieces, few calls into the reader.
constexpr std::size_t kRawBytes = 256 * 1024;
// Converting ahead: blocks of at least this many samples, so that handing one over costs little
// beside the work on it, and this many of them.
constexpr std::size_t kAheadSamples = 16384;
constexpr std::size_t kAheadBlocks = 4;
// The stages run ahead: the first halving, which with the reading is about as much work as the
// rest of the stages.
constexpr std::size_t kAheadStages = 1;

}  // namespace

MonoResampler::MonoResampler(int inputRate, int channels, int outputRate, Reader reader)
    : channels_(channels), reader_(std::move(reader)) {
  setUp(inputRate, outputRate);
}

MonoResampler::MonoResampler(int inputRate, int channels, int outputRate, Reader16 reader)
    : channels_(channels), reader16_(std::move(reader)) {
  // A mono recording at the output's rate is read straight into the caller's buffer.
  if (channels >= 1 && channels <= 64 && (channels > 1 || inputRate != outputRate)) {
    const std::size_t frames = std::max(kChunkFrames, kRawBytes / (2 * std::size_t(channels)));
    raw_.resize(frames * std::size_t(channels));
  }
  setUp(inputRate, outputRate);
}

void MonoResampler::setUp(int inputRate, int outputRate) {
  const int channels = channels_;
  if (inputRate <= 0 || outputRate <= 0) throw AudioError("unusable sample rate");
  if (channels <= 0 || channels > 64) throw AudioError("unusable channel count");
  ratio_ = static_cast<double>(outputRate) / inputRate;
  // libsamplerate converts by at most a factor of 256 either way.
  if (ratio_ > 256.0 || ratio_ < 1.0 / 256.0) {
    throw AudioError("cannot convert " + std::to_string(inputRate) + " samples/s to " +
                     std::to_string(outputRate));
  }
  if (reader_) interleaved_.resize(kChunkFrames * static_cast<std::size_t>(channels));
  mono_.resize(kChunkFrames);
  if (inputRate > outputRate) decimator_ = FirDecimator::make(inputRate, outputRate, kChunkFrames);
  if (inputRate != outputRate && decimator_ == nullptr) {
    int error = 0;
    state_ = src_new(SRC_SINC_MEDIUM_QUALITY, 1, &error);
    if (state_ == nullptr) throw AudioError(std::string("resampler: ") + src_strerror(error));
    converted_.resize(static_cast<std::size_t>(std::ceil(kChunkFrames * ratio_)) + 64);
    convertedFrom_ = converted_.data();
  }
}

MonoResampler::~MonoResampler() {
  if (state_ != nullptr) src_delete(state_);
}

std::size_t MonoResampler::read(std::span<std::int16_t> out) {
  std::size_t written = 0;
  while (written < out.size()) {
    if (!converting()) {
      if (reader16_ && raw_.empty()) {
        // Mono 16-bit samples at the output's rate are the output.
        const std::size_t n = finished_ ? 0 : reader16_(out.data() + written, out.size() - written);
        if (n == 0) {
          inputEnded_ = finished_ = true;
          break;
        }
        inputFrames_ += n;
        written += n;
        continue;
      }
      if (monoPos_ == monoLen_ && !readMono()) break;
      const std::size_t n = std::min(out.size() - written, monoLen_ - monoPos_);
      for (std::size_t i = 0; i < n; ++i) out[written + i] = sample16(mono_[monoPos_ + i]);
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
    toSamples16(convertedFrom_ + convertedPos_, n, out.data() + written);
    lastSample_ = out[written + n - 1];
    convertedPos_ += n;
    written += n;
    emitted_ += n;
  }
  return written;
}

std::size_t MonoResampler::owed() const {
  if (!converting() || !inputEnded_) return 0;
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
  const std::size_t frames =
      reader16_ ? mix16() : std::min(reader_(interleaved_.data(), kChunkFrames), kChunkFrames);
  if (frames == 0) {
    inputEnded_ = true;
    if (!converting()) finished_ = true;
    return false;
  }
  inputFrames_ += frames;
  monoPos_ = 0;
  monoLen_ = frames;
  if (reader16_) return true;
  // One and two channels, the usual cases, without the general loop; zeros may lose their sign,
  // which no sample made from them keeps.
  const float* in = interleaved_.data();
  if (channels_ == 1) {
    std::copy_n(in, frames, mono_.begin());
  } else if (channels_ == 2) {
    for (std::size_t f = 0; f < frames; ++f) mono_[f] = (in[2 * f] + in[2 * f + 1]) * 0.5f;
  } else {
    const float scale = 1.0f / static_cast<float>(channels_);
    for (std::size_t f = 0; f < frames; ++f) {
      const float* frame = in + f * static_cast<std::size_t>(channels_);
      float sum = 0.0f;
      for (int c = 0; c < channels_; ++c) sum += frame[c];
      mono_[f] = sum * scale;
    }
  }
  return true;
}

std::span<const std::int16_t> MonoResampler::nextRaw() {
  if (rawPos_ == rawLen_) {
    const std::size_t most = raw_.size() / std::size_t(channels_);
    rawLen_ = std::min(reader16_(raw_.data(), most), most);
    rawPos_ = 0;
  }
  const std::size_t frames = std::min(kChunkFrames, rawLen_ - rawPos_);
  const std::int16_t* in = raw_.data() + rawPos_ * std::size_t(channels_);
  rawPos_ += frames;
  return {in, frames * std::size_t(channels_)};
}

std::size_t MonoResampler::mix16() {
  const std::span<const std::int16_t> raw = nextRaw();
  const std::size_t frames = raw.size() / std::size_t(channels_);
  const std::int16_t* in = raw.data();
  // The float reader's samples are s / 32768, their sums exact in a float: the integer sums
  // scaled by the same powers of two are the same numbers.
  constexpr float kUnit = 1.0f / 32768.0f;
  if (channels_ == 1) {
    for (std::size_t f = 0; f < frames; ++f) mono_[f] = float(in[f]) * kUnit;
  } else if (channels_ == 2) {
    for (std::size_t f = 0; f < frames; ++f)
      mono_[f] = float(int(in[2 * f]) + int(in[2 * f + 1])) * (kUnit * 0.5f);
  } else {
    const float scale = 1.0f / static_cast<float>(channels_);
    for (std::size_t f = 0; f < frames; ++f) {
      const std::int16_t* frame = in + f * static_cast<std::size_t>(channels_);
      int sum = 0;
      for (int c = 0; c < channels_; ++c) sum += frame[c];
      mono_[f] = (float(sum) * kUnit) * scale;
    }
  }
  return frames;
}

bool MonoResampler::produceAhead(std::vector<float>& block) {
  while (block.size() < kAheadSamples) {
    std::span<const float> made;
    std::size_t frames = 0;
    if (channels_ == 2) {
      const std::span<const std::int16_t> raw = nextRaw();
      frames = raw.size() / 2;
      if (frames > 0) made = decimator_->processStereo16(raw, kAheadStages);
    } else {
      frames = mix16();
      if (frames > 0) made = decimator_->run(0, kAheadStages, {mono_.data(), frames}, false);
    }
    if (frames == 0) {
      made = decimator_->run(0, kAheadStages, {}, true);
      block.insert(block.end(), made.begin(), made.end());
      return false;
    }
    aheadFrames_ += frames;
    block.insert(block.end(), made.begin(), made.end());
  }
  return true;
}

// The later stages, over what the relay hands over; false once all is flushed.
bool MonoResampler::refillAhead() {
  const std::size_t stages = decimator_->stages();
  const std::size_t most = decimator_->maxInput(kAheadStages);
  if (relay_ == nullptr) {
    relay_ = std::make_unique<BlockRelay>(
        kAheadBlocks, kAheadSamples + most,
        [this](std::vector<float>& block) { return produceAhead(block); });
  }
  while (!finished_) {
    if (inputEnded_) {
      finished_ = true;
      break;
    }
    std::span<const float> made;
    if (aheadBlock_ == nullptr || aheadPos_ == aheadBlock_->size()) {
      if (aheadLast_) {
        // Every frame was read (the relay's last block handed over what the producer counted).
        inputFrames_ = aheadFrames_;
        inputEnded_ = true;
        made = decimator_->run(kAheadStages, stages, {}, true);
      } else {
        aheadBlock_ = &relay_->next(aheadLast_);
        aheadPos_ = 0;
        continue;
      }
    } else {
      const std::size_t n = std::min(most, aheadBlock_->size() - aheadPos_);
      made = decimator_->run(kAheadStages, stages, {aheadBlock_->data() + aheadPos_, n}, false);
      aheadPos_ += n;
    }
    convertedFrom_ = made.data();
    convertedPos_ = 0;
    convertedLen_ = made.size();
    if (convertedLen_ > 0) return true;
  }
  return false;
}

// Converts pending mono input until some output is ready; false once all is flushed.
bool MonoResampler::refill() {
  if (ahead_) return refillAhead();
  if (decimator_ != nullptr) {
    while (!finished_) {
      if (inputEnded_) {
        // The filters' tails were handed on with the input's end.
        finished_ = true;
        break;
      }
      std::span<const float> made;
      if (reader16_ && channels_ == 2) {
        // Stereo frames go into the decimator unmixed: it mixes them as it takes them.
        const std::span<const std::int16_t> raw = nextRaw();
        if (raw.empty()) {
          inputEnded_ = true;
          made = decimator_->flush();
        } else {
          inputFrames_ += raw.size() / 2;
          made = decimator_->processStereo16(raw);
        }
      } else if (readMono()) {
        made = decimator_->process(std::span<const float>(mono_.data(), monoLen_));
        monoPos_ = monoLen_;
      } else {
        made = decimator_->flush();
      }
      convertedFrom_ = made.data();
      convertedPos_ = 0;
      convertedLen_ = made.size();
      if (convertedLen_ > 0) return true;
    }
    return false;
  }
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
