#include "real_fft.h"

#include <bit>
#include <new>
#include <stdexcept>

namespace xvtools {

RealFft::RealFft()
    : input_(fftwf_alloc_real(kMaxLength)), output_(fftwf_alloc_complex(kMaxLength / 2 + 1)) {
  if (input_ == nullptr || output_ == nullptr) {
    fftwf_free(input_);
    fftwf_free(output_);
    throw std::bad_alloc();
  }
}

RealFft::~RealFft() {
  for (fftwf_plan plan : plans_) {
    if (plan != nullptr) fftwf_destroy_plan(plan);
  }
  fftwf_free(input_);
  fftwf_free(output_);
}

void RealFft::setLength(int length) {
  if (length < (1 << kMinLog2) || length > kMaxLength || !std::has_single_bit(unsigned(length)))
    throw std::invalid_argument("FFT length must be a power of two from 64 to 2048");
  if (length == length_) return;
  fftwf_plan& plan =
      plans_[static_cast<std::size_t>(std::countr_zero(unsigned(length)) - kMinLog2)];
  if (plan == nullptr) {
    // Estimated, not measured: planning then costs microseconds instead of most of a short
    // run, and the estimated plan transforms as fast at these lengths.
    plan = fftwf_plan_dft_r2c_1d(length, input_, output_, FFTW_ESTIMATE);
    if (plan == nullptr) throw std::runtime_error("no FFT plan for this length");
  }
  plan_ = plan;
  length_ = length;
}

void RealFft::execute() {
  if (plan_ != nullptr) fftwf_execute(plan_);
}

}  // namespace xvtools
