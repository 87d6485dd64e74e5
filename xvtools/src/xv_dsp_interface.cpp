#include "xvtools/xv_dsp_interface.h"

namespace xvtools {

void XVDSPInterfaceX::onBufferReady(BufferReadyHandler handler) {
  bufferReady_ = std::move(handler);
}

void XVDSPInterfaceX::bufferFilled(WAVEHDR* hdr) {
  ++buffersReady_;
  if (bufferReady_) bufferReady_(hdr);
}

}  // namespace xvtools
