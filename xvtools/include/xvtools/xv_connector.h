// XVConnectorX: splits one wave input's output. Each filled buffer is handed, in link order, to
// every consumer linked to the connector, on the form's thread, valid only during the call.
#pragma once

#include <cstdint>
#include <vector>

#include "xvtools/wave_sink.h"

namespace xvtools {

class XVConnectorX final : public WaveSink {
 public:
  // Consumers must outlive the connector's use. Linking one twice hands it each buffer once.
  void link(WaveSink* consumer);
  void unlink(WaveSink* consumer);
  std::size_t linkCount() const { return consumers_.size(); }

  // Consumers only read the buffer: each sees the samples as the input delivered them.
  void bufferFilled(WAVEHDR* hdr) override;
  std::uint64_t buffersPassed() const { return buffersPassed_; }

 private:
  std::vector<WaveSink*> consumers_;
  std::uint64_t buffersPassed_ = 0;
};

}  // namespace xvtools
