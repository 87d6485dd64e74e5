// Whatever a wave input's output is linked to: it receives each filled buffer on the form's thread.
#pragma once

#include "xvaxtool.h"

namespace xvtools {

class WaveSink {
 public:
  virtual ~WaveSink() = default;
  // hdr and its buffer stay valid only until this call returns.
  virtual void bufferFilled(WAVEHDR* hdr) = 0;
};

}  // namespace xvtools
