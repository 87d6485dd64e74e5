#include <sndfile.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "live_source.h"
#include "mono_resampler.h"
#include "vlf_synthetic_source.h"
#include "xvtools/native_input.h"

namespace xvtools {

namespace {

// Reads the inner source in chunks at its own rate, shows each chunk to the tap, and converts
// it to the wave input's rate.
class TappedSource final : public AudioSource {
 public:
  TappedSource(std::unique_ptr<AudioSource> inner, int nativeRate, int sampleRate, NativeTap tap)
      : inner_(std::move(inner)),
        tap_(std::move(tap)),
        chunk_(MonoResampler::kChunkFrames),
        resampler_(nativeRate, 1, sampleRate, [this](float* out, std::size_t maxFrames) {
          const std::size_t n = inner_->read({chunk_.data(), std::min(maxFrames, chunk_.size())});
          if (n > 0) tap_({chunk_.data(), n});
          for (std::size_t i = 0; i < n; ++i) out[i] = chunk_[i] / 32768.0f;
          return n;
        }) {}

  std::size_t read(std::span<std::int16_t> samples) override { return resampler_.read(samples); }
  bool atEnd() const override { return resampler_.atEnd(); }
  bool paced() const override { return inner_->paced(); }
  std::string description() const override { return inner_->description(); }

 private:
  std::unique_ptr<AudioSource> inner_;
  NativeTap tap_;
  std::vector<std::int16_t> chunk_;
  MonoResampler resampler_;
};

int recordingRate(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr)
    throw AudioError("cannot read the recording " + path + ": " + sf_strerror(nullptr));
  sf_close(file);
  return info.samplerate;
}

}  // namespace

int inputOwnRate(const InputSpec& choice, int wanted) {
  switch (choice.kind) {
    case InputSpec::Kind::File:
      return recordingRate(choice.name);
    case InputSpec::Kind::SyntheticVlf:
      return VlfSyntheticSource::kRate;
    case InputSpec::Kind::DefaultDevice:
    case InputSpec::Kind::Device:
      return liveRateOffered(choice.kind == InputSpec::Kind::Device ? choice.name : std::string(),
                             wanted)
                 ? wanted
                 : 0;
    case InputSpec::Kind::Synthetic:
    case InputSpec::Kind::SyntheticMeteors:
      break;
  }
  return wanted;
}

std::unique_ptr<AudioSource> openTappedAudioSource(const InputSpec& choice, int nativeRate,
                                                   int sampleRate, NativeTap tap,
                                                   const std::atomic<bool>* stop) {
  return std::make_unique<TappedSource>(openAudioSource(choice, nativeRate, stop), nativeRate,
                                        sampleRate, std::move(tap));
}

}  // namespace xvtools
