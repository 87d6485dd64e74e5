// ParseWaveHeader and CopyWaveHeader of libXVAXTool.so, bound by name at the first call. The
// library, once loaded, stays loaded for the life of the process.
#pragma once

#include <string>

#include "xvaxtool.h"

namespace recorder {

class WaveToolBinding {
 public:
  // Loads the library and looks both names up, once; later calls answer from the first result.
  bool bind();
  const std::string& error() const { return error_; }

  std::int32_t parseWaveHeader(const WAVEHDR* hdr) const { return parse_(hdr); }
  std::int32_t copyWaveHeader(const WAVEHDR* hdr, void* dest, std::int32_t len) const {
    return copy_(hdr, dest, len);
  }

 private:
  bool tried_ = false;
  ParseWaveHeaderFn parse_ = nullptr;
  CopyWaveHeaderFn copy_ = nullptr;
  std::string error_;
};

}  // namespace recorder
