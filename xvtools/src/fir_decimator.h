// Lowers a mono signal's rate by a rational factor with windowed-sinc (Kaiser) low-pass filters
// computed once: halvings while the rate stays well above the goal, then one polyphase stage to
// the output rate. What lies below 0.4375 of the output rate (3.5 kHz of 8 kHz) passes flat; what
// lies above 0.55 of it is at least 90 dB down before it can fold back, and folds only into the
// top of the band, where the last filter is already rolling off. Each output is aligned with its
// input instant (no delay) and the input before the first sample counts as silence.
// Buffers are sized when made; converting allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace xvtools {

class FirDecimator {
 public:
  // Null when this converter does not take the pair (an output rate not below the input's, or
  // a ratio whose polyphase table would be too large): another converter is then used.
  // maxInput: the most samples one process() is given.
  static std::unique_ptr<FirDecimator> make(int inputRate, int outputRate, std::size_t maxInput);
  ~FirDecimator();
  FirDecimator(const FirDecimator&) = delete;
  FirDecimator& operator=(const FirDecimator&) = delete;

  // Converts the input and returns the outputs it completed; valid until the next call.
  std::span<const float> process(std::span<const float> input);
  // The same for interleaved stereo 16-bit frames (at most maxInput), full scale 32768: their
  // mean is what is converted, exactly as process() converts it, but a first halving takes the
  // frames without a mono copy between.
  std::span<const float> processStereo16(std::span<const std::int16_t> frames);
  // Once the input has ended: the outputs up to its last instant.
  std::span<const float> flush();

  // The same in parts, so that two threads can share the work: stages [from, to) of the chain,
  // each part given what the one before it returned, in pieces of at most maxInput(from). Stereo
  // frames go through stages [0, to), to at least 1.
  std::size_t stages() const { return stages_.size(); }
  std::size_t maxInput(std::size_t stage) const { return maxInputs_[stage]; }
  std::span<const float> run(std::size_t from, std::size_t to, std::span<const float> input,
                             bool last);
  std::span<const float> processStereo16(std::span<const std::int16_t> frames, std::size_t to);

  class Stage;

 private:
  FirDecimator() = default;
  std::vector<std::unique_ptr<Stage>> stages_;
  std::vector<std::size_t> maxInputs_;
  std::vector<float> mixed_;  // frames mixed for a first stage that does not halve
};

}  // namespace xvtools
