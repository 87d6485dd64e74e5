// A real-input FFT for the power-of-two lengths a spectrogram uses, on FFTW single precision.
// Each length's plan is made the first time that length is chosen and kept for the object's
// life; the transform then runs on the same aligned buffers without allocating.
#pragma once

#include <fftw3.h>

#include <array>

namespace xvtools {

class RealFft {
 public:
  static constexpr int kMinLog2 = 6;   // 64 points
  static constexpr int kMaxLog2 = 11;  // 2048 points
  static constexpr int kMaxLength = 1 << kMaxLog2;

  RealFft();
  ~RealFft();
  RealFft(const RealFft&) = delete;
  RealFft& operator=(const RealFft&) = delete;

  // A power of two from 64 to 2048 (else std::invalid_argument).
  void setLength(int length);
  int length() const { return length_; }
  // length() real samples to transform.
  float* input() { return input_; }
  // length() / 2 + 1 bins after execute(): bin k is k * rate / length.
  const fftwf_complex* output() const { return output_; }
  void execute();

 private:
  float* input_;
  fftwf_complex* output_;
  std::array<fftwf_plan, kMaxLog2 - kMinLog2 + 1> plans_{};
  int length_ = 0;
  fftwf_plan plan_ = nullptr;
};

}  // namespace xvtools
