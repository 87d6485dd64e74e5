// A recording read with libsndfile: any format, rate and channel count it reads, mixed to mono
// and converted to the wave input's rate. A pipe, FIFO or device is read through a relay that
// watches the stop flag it is given, so a writer that stalls cannot hold the program.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "mono_resampler.h"
#include "xvtools/audio_source.h"

typedef struct sf_private_tag SNDFILE;

namespace xvtools {

class PipeRelay;

class FileSource final : public AudioSource {
 public:
  // Throws AudioError naming the file and the reason when it cannot be read.
  FileSource(const std::string& path, int sampleRate, const std::atomic<bool>* stop = nullptr);
  ~FileSource() override;

  std::size_t read(std::span<std::int16_t> samples) override;
  bool atEnd() const override { return resampler_->atEnd(); }
  bool paced() const override { return false; }
  std::string description() const override { return path_; }
  std::optional<double> lengthSeconds() const override { return length_; }
  std::string warning() const override { return warning_; }

 private:
  std::string path_;
  std::unique_ptr<PipeRelay> relay_;  // for inputs that are not regular files
  SNDFILE* file_ = nullptr;
  std::unique_ptr<MonoResampler> resampler_;
  std::optional<double> length_;
  std::string warning_;
};

}  // namespace xvtools
