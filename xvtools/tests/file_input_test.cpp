#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <vector>

#include "xvtools/audio_source.h"
#include "xvtools/form_thread.h"
#include "xvtools/xv_dsp_interface.h"
#include "xvtools/xv_wave_in.h"

namespace xvtools {
namespace {

namespace fs = std::filesystem;

class FileInput : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("xvtools_file_input_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Writes frames of interleaved 16-bit samples produced by sample(frame, channel).
  template <typename F>
  std::string writeWav(const std::string& name, int rate, int channels, std::size_t frames,
                       F sample) {
    const std::string path = (dir_ / name).string();
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<short> data(frames * static_cast<std::size_t>(channels));
    for (std::size_t f = 0; f < frames; ++f) {
      for (int c = 0; c < channels; ++c) data[f * channels + c] = sample(f, c);
    }
    EXPECT_EQ(sf_writef_short(file, data.data(), static_cast<sf_count_t>(frames)),
              static_cast<sf_count_t>(frames));
    sf_close(file);
    return path;
  }

  // Pulls every buffer of the file through the wave input, as the headless run does.
  struct Pulled {
    std::vector<std::uint32_t> bytes;
    std::vector<std::uint32_t> capacities;
    std::vector<std::int16_t> samples;
    int ends = 0;
  };
  Pulled pullAll(const std::string& path) {
    Pulled result;
    XVWaveInX input;
    XVDSPInterfaceX dsp;
    input.setMode(XVWaveInX::Mode::Pulled);
    input.setInput(*InputSpec::parse(path));
    input.link(&dsp);
    dsp.onBufferReady([&](WAVEHDR* hdr) {
      result.bytes.push_back(hdr->dwBytesRecorded);
      result.capacities.push_back(hdr->dwBufferLength);
      const auto* s = reinterpret_cast<const std::int16_t*>(hdr->lpData);
      result.samples.insert(result.samples.end(), s, s + hdr->dwBytesRecorded / 2);
    });
    input.onEndOfInput([&] { ++result.ends; });
    input.Start();
    int guard = 0;
    while (input.pull() && ++guard < 10000) {
    }
    EXPECT_FALSE(input.Running());
    EXPECT_FALSE(input.pull());
    return result;
  }

  fs::path dir_;
};

double meanAbs(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += std::abs(static_cast<double>(s[i]));
  return sum / static_cast<double>(to - from);
}

TEST_F(FileInput, StereoAt44100BecomesMonoAt8000WithLengthAndLevelKept) {
  // 1.3 s of a 440 Hz tone at half scale in both channels.
  const std::size_t frames = 57330;
  const auto path = writeWav("tone.wav", 44100, 2, frames, [](std::size_t f, int) {
    return static_cast<short>(
        std::lround(16384 * std::sin(2 * std::numbers::pi * 440 * f / 44100.0)));
  });
  const auto got = pullAll(path);

  EXPECT_EQ(got.samples.size(), 10400u);  // 1.3 s exactly
  // Whole buffers of 8000 bytes, then a short last one; the end is reported once.
  ASSERT_EQ(got.bytes.size(), 3u);
  EXPECT_EQ(got.bytes[0], 8000u);
  EXPECT_EQ(got.bytes[1], 8000u);
  EXPECT_EQ(got.bytes[2], got.samples.size() * 2 - 16000);
  for (auto capacity : got.capacities) EXPECT_EQ(capacity, 8000u);
  EXPECT_EQ(got.ends, 1);
  // A sine of amplitude A has a mean absolute value of 2A/pi; skip the filter's edges.
  EXPECT_NEAR(meanAbs(got.samples, 200, 10200), 2 * 16384 / std::numbers::pi, 50.0);
}

TEST_F(FileInput, ChannelsAreAveraged) {
  const auto path = writeWav("opposed.wav", 8000, 2, 4000, [](std::size_t f, int c) {
    const short v = static_cast<short>((f % 50) * 300 - 7000);
    return c == 0 ? v : static_cast<short>(-v);
  });
  const auto got = pullAll(path);
  ASSERT_EQ(got.samples.size(), 4000u);
  for (auto s : got.samples) ASSERT_EQ(s, 0);
}

TEST_F(FileInput, MonoAt8000PassesThroughSampleExact) {
  const auto sample = [](std::size_t f, int) {
    return static_cast<short>(static_cast<int>(f * 7919 % 65536) - 32768);
  };
  const auto path = writeWav("exact.wav", 8000, 1, 8000, sample);
  const auto got = pullAll(path);
  ASSERT_EQ(got.samples.size(), 8000u);
  for (std::size_t i = 0; i < 8000; ++i) ASSERT_EQ(got.samples[i], sample(i, 0)) << i;
  // A length of whole buffers gives no empty buffer at the end.
  EXPECT_EQ(got.bytes, (std::vector<std::uint32_t>{8000, 8000}));
  EXPECT_EQ(got.ends, 1);
}

TEST_F(FileInput, UnreadableFilesAreRefusedWithTheirName) {
  const std::string text = (dir_ / "notes.wav").string();
  std::ofstream(text) << "not a recording";
  for (const std::string& path : {text, (dir_ / "missing.wav").string()}) {
    XVWaveInX input;
    input.setMode(XVWaveInX::Mode::Pulled);
    input.setInput(*InputSpec::parse(path));
    try {
      input.Start();
      ADD_FAILURE() << "opened " << path;
    } catch (const AudioError& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_FALSE(input.Running());
  }
}

TEST_F(FileInput, EmptyRecordingEndsAtOnce) {
  const auto path = writeWav("empty.wav", 8000, 1, 0, [](std::size_t, int) { return short{0}; });
  const auto got = pullAll(path);
  EXPECT_TRUE(got.bytes.empty());
  EXPECT_EQ(got.ends, 1);
}

TEST_F(FileInput, RealTimeRecordingEndsAfterItsLastBuffer) {
  const auto path = writeWav("short.wav", 8000, 1, 2000,
                             [](std::size_t f, int) { return static_cast<short>(f); });
  FormQueue form;
  XVWaveInX input;
  XVDSPInterfaceX dsp;
  input.setFormThread(&form);
  input.setBufferSize(1600);
  input.setInput(*InputSpec::parse(path));
  input.link(&dsp);
  std::vector<std::string> events;
  dsp.onBufferReady([&](WAVEHDR* hdr) { events.push_back(std::to_string(hdr->dwBytesRecorded)); });
  input.onEndOfInput([&] { events.push_back("end"); });
  input.Start();
  for (int i = 0; i < 100 && input.Running(); ++i) form.waitAndRun(std::chrono::milliseconds(20));
  EXPECT_FALSE(input.Running());
  EXPECT_EQ(events, (std::vector<std::string>{"1600", "1600", "800", "end"}));
}

}  // namespace
}  // namespace xvtools
