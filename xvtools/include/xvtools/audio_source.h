// A source of 16-bit signed mono samples at a fixed rate: live capture, a recording, or the
// synthetic receiver signal. The wave input reads it into its buffers.
#pragma once

#include <atomic>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "xvtools/input_spec.h"

namespace xvtools {

// A source that cannot be opened or read: no such device, an unreadable file. what() is the
// text to show the operator.
class AudioError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class AudioSource {
 public:
  virtual ~AudioSource() = default;
  // Fills samples from the start; returns how many were written. Fewer than requested only at
  // the end of the input (then atEnd() is true). A live source blocks until the samples have
  // been captured; the others return at once. Throws AudioError when the input fails.
  virtual std::size_t read(std::span<std::int16_t> samples) = 0;
  virtual bool atEnd() const = 0;
  // True when read() itself keeps real time (live capture); false when the caller must pace.
  virtual bool paced() const = 0;
  // What is being read, for status lines: the device name, the file name, "synthetic:SEED".
  virtual std::string description() const = 0;
  // The input's length in seconds when it is known before reading (a recording that can be
  // measured); empty for live, synthetic and piped inputs.
  virtual std::optional<double> lengthSeconds() const { return std::nullopt; }
  // Something the operator should know that does not stop the reading (a recording holding less
  // than its header says); empty when all is well.
  virtual std::string warning() const { return {}; }
};

// Opens the source the choice names, delivering sampleRate samples per second (mono, 16 bits).
// Throws AudioError with a clear text when it cannot. A recording that arrives through a pipe is
// read as its writer sends it; once stop (when given) is set, a read waiting on a silent writer
// ends within a tenth of a second as at the end of the recording. stop must outlive the source.
std::unique_ptr<AudioSource> openAudioSource(const InputSpec& choice, int sampleRate,
                                             const std::atomic<bool>* stop = nullptr);

// Names of the capture devices present (empty when there are none or no audio system).
std::vector<std::string> captureDeviceNames();

struct CaptureDevice {
  std::string name;
  int channels = 0;  // input channels
  double defaultSampleRate = 0;
};
// The capture devices present as the audio system reports them.
std::vector<CaptureDevice> captureDevices();

}  // namespace xvtools
