#include "xvtools/xv_connector.h"

#include <algorithm>

namespace xvtools {

void XVConnectorX::link(WaveSink* consumer) {
  if (consumer == nullptr || consumer == this) return;
  if (std::find(consumers_.begin(), consumers_.end(), consumer) != consumers_.end()) return;
  consumers_.push_back(consumer);
}

void XVConnectorX::unlink(WaveSink* consumer) {
  consumers_.erase(std::remove(consumers_.begin(), consumers_.end(), consumer), consumers_.end());
}

void XVConnectorX::bufferFilled(WAVEHDR* hdr) {
  ++buffersPassed_;
  for (WaveSink* consumer : consumers_) consumer->bufferFilled(hdr);
}

}  // namespace xvtools
