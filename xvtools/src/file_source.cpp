#include "file_source.h"

#include <sndfile.h>

namespace xvtools {

FileSource::FileSource(const std::string& path, int sampleRate) : path_(path) {
  SF_INFO info{};
  file_ = sf_open(path.c_str(), SFM_READ, &info);
  if (file_ == nullptr) {
    throw AudioError("cannot read audio file '" + path + "': " + sf_strerror(nullptr));
  }
  try {
    resampler_ = std::make_unique<MonoResampler>(
        info.samplerate, info.channels, sampleRate,
        [this](float* interleaved, std::size_t maxFrames) -> std::size_t {
          const sf_count_t n =
              sf_readf_float(file_, interleaved, static_cast<sf_count_t>(maxFrames));
          return n > 0 ? static_cast<std::size_t>(n) : 0;
        });
  } catch (const AudioError& e) {
    sf_close(file_);
    throw AudioError("cannot read audio file '" + path + "': " + e.what());
  }
}

FileSource::~FileSource() { sf_close(file_); }

std::size_t FileSource::read(std::span<std::int16_t> samples) { return resampler_->read(samples); }

}  // namespace xvtools
