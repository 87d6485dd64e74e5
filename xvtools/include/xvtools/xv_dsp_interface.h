// XVDSPInterfaceX: takes the wave input's filled buffers and raises BufferReady for each, on the
// form's thread, with the buffer's header valid only during the event.
#pragma once

#include <cstdint>
#include <functional>

#include "xvtools/wave_sink.h"

namespace xvtools {

class XVDSPInterfaceX final : public WaveSink {
 public:
  using BufferReadyHandler = std::function<void(WAVEHDR*)>;

  void onBufferReady(BufferReadyHandler handler);
  void bufferFilled(WAVEHDR* hdr) override;
  // Buffers handed on so far.
  std::uint64_t buffersReady() const { return buffersReady_; }

 private:
  BufferReadyHandler bufferReady_;
  std::uint64_t buffersReady_ = 0;
};

}  // namespace xvtools
