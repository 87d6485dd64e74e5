#include "file_source.h"
#include "live_source.h"
#include "synthetic_source.h"
#include "vlf_synthetic_source.h"
#include "xvtools/audio_source.h"
#include "xvtools/meteor_signal.h"

namespace xvtools {

std::unique_ptr<AudioSource> openAudioSource(const InputSpec& choice, int sampleRate,
                                             const std::atomic<bool>* stop) {
  if (sampleRate <= 0) throw AudioError("unusable sample rate");
  switch (choice.kind) {
    case InputSpec::Kind::DefaultDevice:
      return std::make_unique<LiveSource>(std::string(), sampleRate);
    case InputSpec::Kind::Device:
      return std::make_unique<LiveSource>(choice.name, sampleRate);
    case InputSpec::Kind::File:
      return std::make_unique<FileSource>(choice.name, sampleRate, stop);
    case InputSpec::Kind::SyntheticVlf:
      return openVlfSyntheticSource(choice.seed, sampleRate);
    case InputSpec::Kind::SyntheticMeteors:
      return openMeteorSignal(choice.seed, sampleRate);
    case InputSpec::Kind::Synthetic:
      break;
  }
  return std::make_unique<SyntheticSource>(choice.seed, sampleRate);
}

std::vector<std::string> captureDeviceNames() { return liveDeviceNames(); }

}  // namespace xvtools
