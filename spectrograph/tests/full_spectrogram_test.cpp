// The whole-recording picture, through the run the program calls: where a signal lands, what a
// narrower picture keeps, the levels asked for, and what is refused.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <numbers>
#include <optional>
#include <sstream>
#include <vector>

#include "full_spectrogram_run.h"
#include "png_picture.h"
#include "scratch_folder.h"
#include "xvtools/sun_times.h"

namespace spectrograph::app {
namespace {

constexpr int kRate = 8000;
constexpr int kScaleWidth = 40;  // the kHz scale left of the plot
constexpr int kAxisHeight = 30;  // the time axis under it

struct Picture : zelk::test::RgbPicture {
  int grey(int x, int y) const { return rgb[(std::size_t(y) * width + x) * 3 + 1]; }
  std::uint32_t colour(int x, int y) const {
    const std::uint8_t* p = &rgb[(std::size_t(y) * width + x) * 3];
    return p[0] | p[1] << 8 | p[2] << 16;
  }
};

Picture readPng(const std::string& path) { return {zelk::test::readPng(path)}; }

class FullSpectrogramTest : public zelk::test::ScratchFolder {
 protected:
  // seconds of 16-bit mono at kRate, sample n = f(n / kRate) full scale.
  std::string wav(const std::string& name, double seconds, const std::function<double(double)>& f) {
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(p(name).c_str(), SFM_WRITE, &info);
    std::vector<short> samples(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t n = 0; n < samples.size(); ++n)
      samples[n] = static_cast<short>(std::lround(32767 * f(double(n) / kRate)));
    sf_write_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
    return p(name);
  }

  int run(HeadlessOptions options) {
    err.str("");
    return runFullSpectrogram(options, err);
  }

  std::ostringstream err;
};

double tone(double hz, double amplitude, double t) {
  return amplitude * std::sin(2 * std::numbers::pi * hz * t);
}

TEST_F(FullSpectrogramTest, AToneStartingAtAKnownSecondLandsAtItsColumnAndRow) {
  // 1 kHz from 3 s on: bin 64 of 512 at 8000/s, so picture row 256 - 64 from the top.
  HeadlessOptions o;
  o.input = wav("tone.wav", 6, [](double t) { return t >= 3 ? tone(1000, 0.5, t) : 0.0; });
  o.imagePath = p("full.png");
  o.startTime = "21:59:57";
  ASSERT_EQ(run(o), 0) << err.str();
  const Picture pic = readPng(o.imagePath);
  const int transforms = (6 * kRate - 512) / 256 + 1;
  ASSERT_EQ(pic.width, kScaleWidth + transforms);
  ASSERT_EQ(pic.height, 257 + kAxisHeight);
  const int row = 256 - 64;
  // Frames ending before 3 s hold nothing of the tone; frames starting after it all of it.
  const int lastSilent = (3 * kRate - 512) / 256;
  const int firstFull = (3 * kRate + 255) / 256;
  for (int c = 0; c < transforms; ++c) {
    const int grey = pic.grey(kScaleWidth + c, row);
    if (c <= lastSilent) {
      EXPECT_EQ(grey, 0) << "column " << c;
    } else if (c >= firstFull) {
      EXPECT_EQ(grey, 255) << "column " << c;
    }
  }
  for (int r : {row - 4, row + 4}) EXPECT_EQ(pic.grey(kScaleWidth + firstFull + 5, r), 0) << r;
  // The axis' tick for 22:00:00, 3 s after the start, stands between the two.
  int ticks = 0;
  for (int c = lastSilent + 1; c < firstFull; ++c)
    ticks += pic.grey(kScaleWidth + c, 257 + 2) == 255;
  EXPECT_EQ(ticks, 1);
}

TEST_F(FullSpectrogramTest, SunriseIsMarkedAtItsColumnOnTheTimeAxis) {
  // Paris on 2026-01-15: sunrise 07:38:44 UTC; a recording started at 07:38:00 UTC, the date
  // taken from its name.
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  HeadlessOptions o;
  o.input = wav("dawn-2026-01-15.wav", 90, [](double) { return 0.0; });
  o.imagePath = p("dawn.png");
  o.startTime = "07:38";
  o.site = "48.8566,2.3522";
  ASSERT_EQ(run(o), 0) << err.str();
  const Picture pic = readPng(o.imagePath);
  std::vector<int> marked;
  for (int x = 0; x < pic.width; ++x) {
    if (pic.colour(x, 257 + 1) == 0x00D0FF && pic.colour(x, 257 + 5) == 0x00D0FF)
      marked.push_back(x - kScaleWidth);
  }
  // 44 s in: the transform whose frame is centred there, as near as the solar formulas go.
  ASSERT_EQ(marked.size(), 1u);
  EXPECT_NEAR(marked[0], (44.0 * kRate - 256) / 256, 5.0 * kRate / 256);  // within 5 s

  // A recording from 23:59 reaches the next morning: on the equator at the longitude where
  // 2026-01-16's sunrise comes 30 s after midnight UTC, that sunrise is marked.
  double longitude = 90;
  for (int i = 0; i < 3; ++i) {
    const auto rise = xvtools::sunEvents({0, longitude}, {2026, 1, 16}).sunrise;
    ASSERT_TRUE(rise);
    longitude += (*rise - 30) / 240;  // a degree east brings it 4 minutes earlier
  }
  o.input = wav("night-2026-01-15.wav", 120, [](double) { return 0.0; });
  o.imagePath = p("midnight.png");
  o.startTime = "23:59";
  o.site = "0," + std::to_string(longitude);
  ASSERT_EQ(run(o), 0) << err.str();
  const Picture night = readPng(o.imagePath);
  marked.clear();
  for (int x = 0; x < night.width; ++x) {
    if (night.colour(x, 257 + 1) == 0x00D0FF && night.colour(x, 257 + 5) == 0x00D0FF)
      marked.push_back(x - kScaleWidth);
  }
  ASSERT_EQ(marked.size(), 1u);
  EXPECT_NEAR(marked[0], (90.0 * kRate - 256) / 256, 5.0 * kRate / 256);
  ::unsetenv("TZ");
  ::tzset();
}

TEST_F(FullSpectrogramTest, AMergedPictureKeepsAOneColumnClick) {
  // A 3-sample click at 30 s of a quiet minute (-60 dBFS tone), fitted into 200 columns of about
  // 9 transforms each, of which only one or two hear the click (around -45 dBFS in each bin).
  HeadlessOptions o;
  o.input = wav("click.wav", 60, [](double t) {
    return std::fabs(t - 30.0) < 1.5 / kRate ? 0.9 : tone(500, 0.001, t);
  });
  o.imagePath = p("merged.png");
  o.width = 200;
  o.logAmp = true;
  o.paletteName = "White on Black";
  ASSERT_EQ(run(o), 0) << err.str();
  const Picture pic = readPng(o.imagePath);
  ASSERT_EQ(pic.width, kScaleWidth + 200);
  std::vector<int> loudColumns;
  for (int c = 0; c < 200; ++c) {
    int lit = 0;
    for (int y = 0; y < 257; y += 8) lit += pic.grey(kScaleWidth + c, y) > 40;
    if (lit > 20) loudColumns.push_back(c);
  }
  ASSERT_FALSE(loudColumns.empty());
  EXPECT_LE(loudColumns.size(), 2u);
  EXPECT_NEAR(loudColumns.front(), 100, 1);
}

TEST_F(FullSpectrogramTest, LevelsFollowTheReferenceAndRange) {
  // A -20 dBFS tone on bin 64; "White on Black" shows the level as its grey.
  const std::string input = wav("level.wav", 1, [](double t) { return tone(1000, 0.1, t); });
  struct Case {
    bool logAmp;
    std::optional<double> ref;
    std::optional<double> range;
    int grey;
  };
  for (const Case& c : std::vector<Case>{{true, {}, {}, 191},
                                         {true, -20.0, 40.0, 255},
                                         {true, 0.0, 30.0, 85},
                                         {true, 10.0, {}, 159},
                                         {false, {}, {}, 255},
                                         {false, -14.0, {}, 128}}) {
    HeadlessOptions o;
    o.input = input;
    o.imagePath = p("level.png");
    o.paletteName = "White on Black";
    o.logAmp = c.logAmp;
    o.refDb = c.ref;
    o.rangeDb = c.range;
    ASSERT_EQ(run(o), 0) << err.str();
    const Picture pic = readPng(o.imagePath);
    EXPECT_NEAR(pic.grey(kScaleWidth + 10, 256 - 64), c.grey, 1)
        << c.logAmp << " " << c.ref.value_or(99) << " " << c.range.value_or(99);
  }
  // The colour bar: the palette's top at the top of the bar, its bottom at the bottom.
  HeadlessOptions o;
  o.input = input;
  o.imagePath = p("bar.png");
  o.paletteName = "White on Black";
  o.colorbar = true;
  ASSERT_EQ(run(o), 0) << err.str();
  const Picture pic = readPng(o.imagePath);
  const int transforms = (kRate - 512) / 256 + 1;
  ASSERT_EQ(pic.width, kScaleWidth + transforms + 52);
  EXPECT_EQ(pic.grey(kScaleWidth + transforms + 5, 0), 255);
  EXPECT_EQ(pic.grey(kScaleWidth + transforms + 5, 256), 0);
}

TEST_F(FullSpectrogramTest, RefusesWhatCannotBeDoneAndWritesNothing) {
  const std::string input = wav("short.wav", 1, [](double t) { return tone(1000, 0.1, t); });
  struct Case {
    std::function<void(HeadlessOptions&)> change;
    int code;
    const char* says;
  };
  for (const Case& c : std::vector<Case>{
           {[](auto& o) { o.imagePath = o.imagePath + ".bmp"; }, 2, "PNG"},
           {[](auto& o) { o.fftLength = 500; }, 2, "--fft 500"},
           {[](auto& o) { o.rangeDb = 40; }, 2, "--log-amp"},
           {[](auto& o) { o.width = -1; }, 2, "--width"},
           {[](auto& o) { o.relief = true; }, 2, "--relief"},
           {[](auto& o) { o.site = "48.8,2.3"; }, 2, "--date"},
           {[](auto& o) { o.input = "synthetic"; }, 2, "--seconds"},
           {[this](auto& o) { o.input = p("missing.wav"); }, 1, "missing.wav"},
           {[this](auto& o) { o.imagePath = p("no/such/folder/x.png"); }, 1, "folder"},
       }) {
    HeadlessOptions o;
    o.input = input;
    o.imagePath = p("refused.png");
    c.change(o);
    EXPECT_EQ(run(o), c.code) << c.says;
    EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(p("refused.png"))) << c.says;
  }
}

// The width is chosen from the header's length before any transform: one column per transform
// up to 16384, longer recordings fitted into 16384 with a note, --width 0 for one per transform
// whatever the length; a recording holding less than its header says is drawn with a warning.
TEST_F(FullSpectrogramTest, TheWidthComesFromTheLengthTheHeaderGives) {
  const std::string longer = wav("long.wav", 70, [](double t) { return tone(1000, 0.1, t); });
  const std::string cut = wav("cut.wav", 2, [](double t) { return tone(1000, 0.1, t); });
  {
    // The data chunk's size (at byte 40 of this header) says an hour.
    std::FILE* f = std::fopen(cut.c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    const std::uint32_t hour = 3600u * kRate * 2;
    std::fseek(f, 40, SEEK_SET);
    std::fwrite(&hour, 4, 1, f);
    std::fclose(f);
  }
  struct Case {
    const char* input;
    std::optional<int> width;
    int fft;
    int columns;
    const char* says;  // on standard error, or nothing when empty
  };
  // 70 s at 8 kHz in 64-sample transforms is 17499 of them; 2 s in 512-sample ones 61.
  for (const Case& c : std::vector<Case>{
           {"long.wav", std::nullopt, 64, 16384, "17499 transforms fitted into 16384 columns"},
           {"long.wav", 0, 64, 17499, ""},
           {"long.wav", 1000, 64, 1000, ""},
           {"cut.wav", std::nullopt, 512, 61, "header says 3600.0 s but it holds 2.0 s"},
       }) {
    SCOPED_TRACE(std::string(c.input) + " " + std::to_string(c.width.value_or(-1)));
    HeadlessOptions o;
    o.input = p(c.input);
    o.imagePath = p("sized.png");
    o.width = c.width;
    o.fftLength = c.fft;
    ASSERT_EQ(run(o), 0) << err.str();
    EXPECT_EQ(readPng(o.imagePath).width, kScaleWidth + c.columns);
    if (*c.says == '\0') {
      EXPECT_EQ(err.str(), "");
    } else {
      EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
    }
  }
}

}  // namespace
}  // namespace spectrograph::app
