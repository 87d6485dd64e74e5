#include "xvtools/xv_wave_in.h"

#include "xvtools/audio_source.h"

namespace xvtools {

struct XVWaveInX::Impl {
  int bufferSize = kDefaultBufferSize;
  int bitLength = kDefaultBitLength;
  int sampleRate = kDefaultSampleRate;
  InputSpec input;
  Mode mode = Mode::RealTime;
};

XVWaveInX::XVWaveInX() : impl_(std::make_shared<Impl>()) {}
XVWaveInX::~XVWaveInX() = default;
int XVWaveInX::BufferSize() const { return impl_->bufferSize; }
void XVWaveInX::setBufferSize(int bytes) { impl_->bufferSize = bytes; }
int XVWaveInX::BitLength() const { return impl_->bitLength; }
void XVWaveInX::setBitLength(int bits) { impl_->bitLength = bits; }
int XVWaveInX::SampleRate() const { return impl_->sampleRate; }
void XVWaveInX::setSampleRate(int rate) { impl_->sampleRate = rate; }
const InputSpec& XVWaveInX::input() const { return impl_->input; }
void XVWaveInX::setInput(InputSpec spec) { impl_->input = std::move(spec); }
XVWaveInX::Mode XVWaveInX::mode() const { return impl_->mode; }
void XVWaveInX::setMode(Mode mode) { impl_->mode = mode; }
void XVWaveInX::setFormThread(FormThread*) {}
void XVWaveInX::link(WaveSink*) {}
void XVWaveInX::Start() { throw AudioError("audio input not available yet"); }
void XVWaveInX::Stop() {}
bool XVWaveInX::Running() const { return false; }
bool XVWaveInX::pull() { return false; }
void XVWaveInX::onEndOfInput(std::function<void()>) {}
void XVWaveInX::onError(std::function<void(const std::string&)>) {}
std::uint64_t XVWaveInX::samplesDelivered() const { return 0; }
std::string XVWaveInX::sourceDescription() const { return {}; }

}  // namespace xvtools
