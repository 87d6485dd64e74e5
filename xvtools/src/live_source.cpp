#include "live_source.h"

#include <portaudio.h>
#if XVTOOLS_QUIET_ALSA
#include <alsa/asoundlib.h>
#endif
#if XVTOOLS_QUIET_JACK
#include <jack/jack.h>
#endif

#include <algorithm>
#include <cctype>
#include <cmath>
#include <mutex>

namespace xvtools {

namespace {

#if XVTOOLS_QUIET_ALSA
void ignoreAlsa(const char*, int, const char*, int, const char*, ...) {}
#endif
#if XVTOOLS_QUIET_JACK
void ignoreJack(const char*) {}
#endif

// Probing the audio back ends makes the sound libraries print their failed attempts (no JACK
// server, no such ALSA plugin) on stderr; what matters reaches the operator as our own error.
void quietSoundLibraries() {
#if XVTOOLS_QUIET_ALSA
  snd_lib_error_set_handler(&ignoreAlsa);
#endif
#if XVTOOLS_QUIET_JACK
  jack_set_error_function(&ignoreJack);
  jack_set_info_function(&ignoreJack);
#endif
}

// PortAudio is initialised once per user and released with the last one.
class PortAudioUse {
 public:
  PortAudioUse() {
    std::lock_guard lock(mutex());
    if (users()++ == 0) {
      quietSoundLibraries();
      const PaError error = Pa_Initialize();
      if (error != paNoError) {
        --users();
        throw AudioError(std::string("audio system unavailable: ") + Pa_GetErrorText(error));
      }
    }
  }
  ~PortAudioUse() {
    std::lock_guard lock(mutex());
    if (--users() == 0) Pa_Terminate();
  }
  PortAudioUse(const PortAudioUse&) = delete;
  PortAudioUse& operator=(const PortAudioUse&) = delete;

 private:
  static std::mutex& mutex() {
    static std::mutex m;
    return m;
  }
  static int& users() {
    static int n = 0;
    return n;
  }
};

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// An exact name first, then the first device whose name contains the text (any case).
PaDeviceIndex findCaptureDevice(const std::string& name) {
  const PaDeviceIndex count = Pa_GetDeviceCount();
  PaDeviceIndex partial = paNoDevice;
  for (PaDeviceIndex i = 0; i < count; ++i) {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
    if (info == nullptr || info->maxInputChannels < 1) continue;
    if (name == info->name) return i;
    if (partial == paNoDevice && lower(info->name).find(lower(name)) != std::string::npos) {
      partial = i;
    }
  }
  return partial;
}

std::string deviceList() {
  std::string list;
  for (const auto& name : liveDeviceNames()) list += (list.empty() ? "" : ", ") + name;
  return list.empty() ? "none" : list;
}

// One PortAudio user for the process's live sources; created with the first.
std::shared_ptr<PortAudioUse> portAudio() {
  static std::mutex m;
  static std::weak_ptr<PortAudioUse> shared;
  std::lock_guard lock(m);
  auto use = shared.lock();
  if (!use) {
    use = std::make_shared<PortAudioUse>();
    shared = use;
  }
  return use;
}

}  // namespace

bool liveRateOffered(const std::string& deviceName, int sampleRate) {
  try {
    const auto use = portAudio();
    const PaDeviceIndex device =
        deviceName.empty() ? Pa_GetDefaultInputDevice() : findCaptureDevice(deviceName);
    const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
    if (info == nullptr) return false;
    PaStreamParameters params{};
    params.device = device;
    params.sampleFormat = paFloat32;
    params.suggestedLatency = info->defaultHighInputLatency;
    params.channelCount = 1;
    return Pa_IsFormatSupported(&params, nullptr, sampleRate) == paFormatIsSupported;
  } catch (const AudioError&) {
    return false;
  }
}

std::vector<std::string> liveDeviceNames() {
  std::vector<std::string> names;
  try {
    const auto use = portAudio();
    const PaDeviceIndex count = Pa_GetDeviceCount();
    for (PaDeviceIndex i = 0; i < count; ++i) {
      const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
      if (info != nullptr && info->maxInputChannels > 0) names.emplace_back(info->name);
    }
  } catch (const AudioError&) {
  }
  return names;
}

std::vector<CaptureDevice> captureDevices() {
  std::vector<CaptureDevice> devices;
  try {
    const auto use = portAudio();
    const PaDeviceIndex count = Pa_GetDeviceCount();
    for (PaDeviceIndex i = 0; i < count; ++i) {
      const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
      if (info != nullptr && info->maxInputChannels > 0) {
        devices.push_back({info->name, info->maxInputChannels, info->defaultSampleRate});
      }
    }
  } catch (const AudioError&) {
  }
  return devices;
}

LiveSource::LiveSource(const std::string& deviceName, int sampleRate) : audioSystem_(portAudio()) {
  const PaDeviceIndex device =
      deviceName.empty() ? Pa_GetDefaultInputDevice() : findCaptureDevice(deviceName);
  if (device == paNoDevice || Pa_GetDeviceInfo(device) == nullptr) {
    throw AudioError(deviceName.empty() ? "no audio capture device (devices: " + deviceList() + ")"
                                        : "no audio capture device named '" + deviceName +
                                              "' (devices: " + deviceList() + ")");
  }
  const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
  deviceName_ = info->name;

  // Mono at the wave input's rate when the device offers it; otherwise its own rate and up to
  // two channels, converted here.
  PaStreamParameters params{};
  params.device = device;
  params.sampleFormat = paFloat32;
  params.suggestedLatency = info->defaultHighInputLatency;
  double rate = sampleRate;
  params.channelCount = 1;
  if (Pa_IsFormatSupported(&params, nullptr, rate) != paFormatIsSupported) {
    rate = info->defaultSampleRate;
    params.channelCount = std::min(2, info->maxInputChannels);
    if (Pa_IsFormatSupported(&params, nullptr, rate) != paFormatIsSupported) {
      throw AudioError("audio capture device '" + deviceName_ + "' offers no usable format");
    }
  }
  channels_ = params.channelCount;
  PaError error = Pa_OpenStream(&stream_, &params, nullptr, rate, paFramesPerBufferUnspecified,
                                paClipOff, nullptr, nullptr);
  if (error == paNoError) error = Pa_StartStream(stream_);
  if (error != paNoError) {
    if (stream_ != nullptr) Pa_CloseStream(stream_);
    stream_ = nullptr;
    throw AudioError("cannot open audio capture device '" + deviceName_ +
                     "': " + Pa_GetErrorText(error));
  }
  resampler_ = std::make_unique<MonoResampler>(
      static_cast<int>(std::lround(rate)), channels_, sampleRate,
      [this](float* interleaved, std::size_t maxFrames) -> std::size_t {
        const PaError e =
            Pa_ReadStream(stream_, interleaved, static_cast<unsigned long>(maxFrames));
        // An overflow has lost samples already; what was read is still good.
        if (e != paNoError && e != paInputOverflowed) {
          throw AudioError(std::string("audio capture failed: ") + Pa_GetErrorText(e));
        }
        return maxFrames;
      });
}

LiveSource::~LiveSource() {
  if (stream_ != nullptr) {
    Pa_StopStream(stream_);
    Pa_CloseStream(stream_);
  }
}

std::size_t LiveSource::read(std::span<std::int16_t> samples) { return resampler_->read(samples); }

}  // namespace xvtools
