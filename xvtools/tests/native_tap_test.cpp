// The wave input read at the input's own rate beside the form's: the tap sees the recording's
// own samples, the form its usual 8000 a second; and the VLF signal is the same for a seed.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "xvtools/audio_source.h"
#include "xvtools/native_input.h"
#include "xvtools/xv_dsp_interface.h"
#include "xvtools/xv_wave_in.h"

namespace xvtools {
namespace {

TEST(NativeTap, TheTapSeesTheRecordingsOwnSamplesAndTheFormItsRate) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("xvtools_native_tap_" + std::to_string(::getpid()) + ".wav");
  constexpr int kRate = 96000;
  std::vector<std::int16_t> written(3 * kRate);
  for (std::size_t i = 0; i < written.size(); ++i) {
    written[i] = static_cast<std::int16_t>((i * 7919) % 20001) - 10000;
  }
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr);
  sf_write_short(file, written.data(), static_cast<sf_count_t>(written.size()));
  sf_close(file);

  const InputSpec spec = *InputSpec::parse(path.string());
  EXPECT_EQ(inputOwnRate(spec, 48000), kRate);
  XVWaveInX input;
  XVDSPInterfaceX dsp;
  input.setMode(XVWaveInX::Mode::Pulled);
  input.setInput(spec);
  input.link(&dsp);
  std::vector<std::int16_t> tapped;
  input.setNativeTap(kRate, [&tapped](std::span<const std::int16_t> block) {
    tapped.insert(tapped.end(), block.begin(), block.end());
  });
  input.Start();
  while (input.pull()) {
  }
  EXPECT_EQ(tapped, written);
  EXPECT_EQ(input.samplesDelivered(), 3u * 8000u);
  std::filesystem::remove(path);
}

TEST(NativeTap, TheVlfSignalIsItsSeedsAt96kHzAndParsesWithOrWithoutOne) {
  EXPECT_EQ(InputSpec::parse("synthetic:vlf"),
            (InputSpec{InputSpec::Kind::SyntheticVlf, {}, InputSpec::kDefaultSeed}));
  const auto seven = InputSpec::parse("synthetic:vlf:7");
  ASSERT_TRUE(seven);
  EXPECT_EQ(seven->toString(), "synthetic:vlf:7");
  EXPECT_FALSE(InputSpec::parse("synthetic:vlf:x"));
  EXPECT_EQ(inputOwnRate(*seven, 48000), 96000);
  auto read = [](const InputSpec& spec, int rate) {
    std::vector<std::int16_t> samples(20000);
    EXPECT_EQ(openAudioSource(spec, rate)->read(samples), samples.size());
    return samples;
  };
  EXPECT_EQ(read(*seven, 96000), read(*seven, 96000));
  EXPECT_NE(read(*seven, 96000), read(*InputSpec::parse("synthetic:vlf:8"), 96000));
  // At the form's rate the carriers, all above 4 kHz, are gone: what is left is hum and noise.
  double square = 0.0;
  for (const std::int16_t s : read(*seven, 8000)) square += double(s) * s;
  EXPECT_LT(std::sqrt(square / 20000), 2000.0);
}

}  // namespace
}  // namespace xvtools
