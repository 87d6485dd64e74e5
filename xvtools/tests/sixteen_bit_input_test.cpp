// 16-bit recordings are read without the library's float conversion and, above the input's rate,
// converted partly on a second thread, stereo mixed straight into the first halving: each must
// give exactly what the same samples stored as floats give through the general path.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <vector>

#include "xvtools/audio_source.h"
#include "xvtools/input_spec.h"

namespace xvtools {
namespace {

constexpr int kRate = 8000;

std::vector<std::int16_t> readAll(const std::string& path, std::size_t piece) {
  auto source = openAudioSource(*InputSpec::parse(path), kRate);
  std::vector<std::int16_t> out;
  std::vector<std::int16_t> buffer(piece);
  for (std::size_t n = 0; (n = source->read(buffer)) > 0;)
    out.insert(out.end(), buffer.begin(), buffer.begin() + std::ptrdiff_t(n));
  EXPECT_TRUE(source->atEnd());
  return out;
}

TEST(SixteenBitInput, GivesWhatTheSameSamplesAsFloatsGive) {
  const auto dir = std::filesystem::temp_directory_path();
  const std::string base = (dir / ("xvtools_16_" + std::to_string(::getpid()))).string();
  std::mt19937 random(7);
  std::uniform_int_distribution<int> any(-32768, 32767);
  struct Case {
    int rate, channels;
    std::size_t frames;
    bool cut = false;  // the 16-bit file loses its last byte: its last frame is not whole
  };
  // Odd lengths, so that the halvings end on either sample; full-scale extremes included.
  for (const Case c :
       {Case{8000, 1, 20001}, Case{8000, 2, 20001}, Case{44100, 2, 100003}, Case{44100, 2, 100002},
        Case{48000, 2, 70001}, Case{44100, 1, 50001}, Case{11025, 2, 30001}, Case{22050, 3, 40001},
        Case{96000, 2, 3}, Case{8000, 1, 20001, true}, Case{44100, 2, 100003, true}}) {
    // A cut file holds one frame fewer, and the float one is written without it.
    const std::size_t whole = c.cut ? c.frames - 1 : c.frames;
    std::vector<short> data(c.frames * std::size_t(c.channels));
    for (std::size_t i = 0; i < data.size(); ++i)
      data[i] = static_cast<short>(i % 97 == 0 ? (i % 2 ? -32768 : 32767) : any(random));
    std::vector<std::vector<std::int16_t>> got;
    for (const int format : {SF_FORMAT_PCM_16, SF_FORMAT_FLOAT}) {
      const std::string path = base + (format == SF_FORMAT_FLOAT ? "f.wav" : "s.wav");
      SF_INFO info{};
      info.samplerate = c.rate;
      info.channels = c.channels;
      info.format = SF_FORMAT_WAV | format;
      SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
      ASSERT_NE(file, nullptr);
      if (format == SF_FORMAT_PCM_16) {
        ASSERT_EQ(sf_writef_short(file, data.data(), sf_count_t(c.frames)), sf_count_t(c.frames));
      } else {
        // s / 32768: what the library reads a 16-bit sample as.
        std::vector<float> floats(data.begin(), data.end());
        for (float& v : floats) v /= 32768.0f;
        ASSERT_EQ(sf_writef_float(file, floats.data(), sf_count_t(whole)), sf_count_t(whole));
      }
      sf_close(file);
      if (c.cut && format == SF_FORMAT_PCM_16)
        std::filesystem::resize_file(path, std::filesystem::file_size(path) - 1);
      // Read in odd pieces, as a caller may.
      got.push_back(readAll(path, 777));
      {
        // Left after one piece: whatever reads ahead stops with it.
        auto source = openAudioSource(*InputSpec::parse(path), kRate);
        std::vector<std::int16_t> piece(777);
        source->read(piece);
      }
      std::filesystem::remove(path);
    }
    const auto due = static_cast<std::size_t>(std::llround(double(whole) * kRate / double(c.rate)));
    EXPECT_EQ(got[0].size(), due) << c.rate << " x " << c.channels;
    EXPECT_TRUE(got[0] == got[1]) << c.rate << " x " << c.channels << " frames " << c.frames;
  }
}

}  // namespace
}  // namespace xvtools
