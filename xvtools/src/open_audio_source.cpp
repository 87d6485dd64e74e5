#include "xvtools/audio_source.h"

namespace xvtools {

std::unique_ptr<AudioSource> openAudioSource(const InputSpec&, int) {
  throw AudioError("audio input not available yet");
}

std::vector<std::string> captureDeviceNames() { return {}; }

}  // namespace xvtools
