// Turns interleaved float or 16-bit frames of any rate and channel count into 16-bit mono samples
// at the wave input's rate: channels are averaged, a rate lowered with FirDecimator's filters
// (where it takes the pair) and any other converted with libsamplerate. Buffers are sized once;
// reading allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "fir_decimator.h"

typedef struct SRC_STATE_tag SRC_STATE;

namespace xvtools {

class BlockRelay;
class FirDecimator;

class MonoResampler {
 public:
  // Fills up to maxFrames interleaved frames; returns how many, 0 at the end of the input.
  using Reader = std::function<std::size_t(float* interleaved, std::size_t maxFrames)>;
  // The same for 16-bit frames in the machine's byte order, full scale 32768: read in large
  // pieces, and mixed with exact integer sums, giving what the float reader gives for them.
  using Reader16 = std::function<std::size_t(std::int16_t* interleaved, std::size_t maxFrames)>;
  static constexpr std::size_t kChunkFrames = 4096;

  // Throws AudioError for rates or channel counts it cannot convert.
  MonoResampler(int inputRate, int channels, int outputRate, Reader reader);
  MonoResampler(int inputRate, int channels, int outputRate, Reader16 reader);
  ~MonoResampler();
  MonoResampler(const MonoResampler&) = delete;
  MonoResampler& operator=(const MonoResampler&) = delete;

  // Fewer samples than asked for only at the end of the input. A converted input gives exactly
  // its duration's worth of samples (input frames x rate ratio, rounded): the converter's
  // flush is cut or its last sample held to that length, so whole seconds stay whole.
  std::size_t read(std::span<std::int16_t> out);
  // Lets a rate lowered in several stages have its reading and first stage done on a thread of
  // their own, ahead of the caller's reads (16-bit readers only). Called before the first read;
  // the reader is then called from that thread.
  void convertAhead() { ahead_ = reader16_ && decimator_ != nullptr && decimator_->stages() > 1; }
  bool atEnd() const { return finished_ && owed() == 0; }

 private:
  void setUp(int inputRate, int outputRate);
  bool refill();
  bool refillAhead();
  // The relay's producer: the reading and the decimator's first stage.
  bool produceAhead(std::vector<float>& block);
  bool readMono();
  // The next chunk of 16-bit frames (at most kChunkFrames), empty at the end of the input.
  std::span<const std::int16_t> nextRaw();
  // The next chunk of 16-bit frames averaged into mono_; 0 at the end of the input.
  std::size_t mix16();
  // Samples still due once the input has ended.
  std::size_t owed() const;

  int channels_;
  double ratio_;
  Reader reader_;
  Reader16 reader16_;
  std::vector<std::int16_t> raw_;  // 16-bit frames read ahead of the chunks mixed from them
  std::size_t rawPos_ = 0;         // in frames
  std::size_t rawLen_ = 0;
  bool converting() const { return state_ != nullptr || decimator_ != nullptr; }

  SRC_STATE* state_ = nullptr;               // libsamplerate's converter, when it is the one used
  std::unique_ptr<FirDecimator> decimator_;  // else this one, or neither for equal rates
  std::vector<float> interleaved_;
  std::vector<float> mono_;
  std::size_t monoPos_ = 0;
  std::size_t monoLen_ = 0;
  std::vector<float> converted_;
  const float* convertedFrom_ = nullptr;  // converted_, or the decimator's output
  std::size_t convertedPos_ = 0;
  std::size_t convertedLen_ = 0;
  bool inputEnded_ = false;
  bool finished_ = false;
  std::uint64_t inputFrames_ = 0;
  std::uint64_t emitted_ = 0;
  std::int16_t lastSample_ = 0;
  // Converting ahead: the frames the producer read, and the block the last stage works through.
  bool ahead_ = false;
  std::uint64_t aheadFrames_ = 0;
  const std::vector<float>* aheadBlock_ = nullptr;
  std::size_t aheadPos_ = 0;
  bool aheadLast_ = false;
  std::unique_ptr<BlockRelay> relay_;  // last, so that its thread stops before the rest goes
};

// A float sample in -1..1 as a 16-bit sample, rounded and saturated.
std::int16_t toSample16(float v);

}  // namespace xvtools
