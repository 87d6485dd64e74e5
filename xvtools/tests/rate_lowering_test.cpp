// Recordings above the input's rate, lowered to it: what is in the band arrives unchanged and on
// time, what is above it does not fold back into it, and the length is the recording's.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <vector>

#include "xvtools/audio_source.h"
#include "xvtools/input_spec.h"

namespace xvtools {
namespace {

constexpr int kRate = 8000;
constexpr double kAmplitude = 16384;  // half scale

// Two seconds of one tone as a mono 16-bit WAV file at the rate, read back at kRate.
std::vector<std::int16_t> lowered(int rate, double hz) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("xvtools_rate_" + std::to_string(::getpid()) + ".wav"))
                               .string();
  const std::size_t frames = 2 * std::size_t(rate);
  std::vector<short> data(frames);
  for (std::size_t f = 0; f < frames; ++f)
    data[f] = static_cast<short>(
        std::lround(kAmplitude * std::sin(2 * std::numbers::pi * hz * double(f) / rate)));
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  EXPECT_NE(file, nullptr);
  sf_writef_short(file, data.data(), sf_count_t(frames));
  sf_close(file);
  auto source = openAudioSource(*InputSpec::parse(path), kRate);
  std::vector<std::int16_t> out(3 * kRate);
  // Read in odd pieces, as a caller may.
  std::size_t got = 0;
  for (std::size_t n = 0; (n = source->read(std::span(out).subspan(
                               got, std::min<std::size_t>(777, out.size() - got)))) > 0;)
    got += n;
  out.resize(got);
  std::filesystem::remove(path);
  return out;
}

TEST(RateLowering, TonesInTheBandPassOnTimeAndTonesAboveItDoNotFoldBack) {
  for (const int rate : {11025, 16000, 22050, 32000, 44100, 48000, 96000}) {
    // Below 3.5 kHz: the tone itself, in step with the original's instants.
    for (const double hz : {100.0, 1000.0, 3400.0}) {
      const auto y = lowered(rate, hz);
      ASSERT_EQ(y.size(), 2u * kRate) << rate;
      double worst = 0;
      // Away from the ends, where the recording's edges are filtered.
      for (std::size_t n = 200; n + 200 < y.size(); ++n) {
        const double want = kAmplitude * std::sin(2 * std::numbers::pi * hz * double(n) / kRate);
        worst = std::max(worst, std::fabs(y[n] - want));
      }
      EXPECT_LT(worst, 4.0) << rate << " Hz in, a tone of " << hz << " Hz";
    }
    // Above 4.4 kHz, anywhere up to the recording's own limit: at least 80 dB down.
    for (const double hz : {4400.0, 5000.0, 0.45 * rate}) {
      if (hz >= 0.5 * rate) continue;
      const auto y = lowered(rate, hz);
      int worst = 0;
      for (std::size_t n = 200; n + 200 < y.size(); ++n)
        worst = std::max(worst, std::abs(int(y[n])));
      EXPECT_LE(worst, 2) << rate << " Hz in, a tone of " << hz << " Hz";
    }
  }
}

}  // namespace
}  // namespace xvtools
