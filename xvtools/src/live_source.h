// Live capture from a sound card through PortAudio: the default input device or one chosen by
// name, opened at its own rate and channel count and converted to the wave input's format.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "mono_resampler.h"
#include "xvtools/audio_source.h"

typedef void PaStream;

namespace xvtools {

class LiveSource final : public AudioSource {
 public:
  // deviceName empty: the default input device. Throws AudioError when there is no such device
  // or it cannot be opened.
  LiveSource(const std::string& deviceName, int sampleRate);
  ~LiveSource() override;

  std::size_t read(std::span<std::int16_t> samples) override;
  bool atEnd() const override { return false; }
  bool paced() const override { return true; }
  std::string description() const override { return deviceName_; }

 private:
  std::shared_ptr<void> audioSystem_;  // kept while the stream is open
  std::string deviceName_;
  PaStream* stream_ = nullptr;
  int channels_ = 1;
  std::unique_ptr<MonoResampler> resampler_;
};

// Whether the device (empty: the default one) captures mono at that rate without conversion.
bool liveRateOffered(const std::string& deviceName, int sampleRate);

// The capture devices PortAudio knows, by name.
std::vector<std::string> liveDeviceNames();

}  // namespace xvtools
