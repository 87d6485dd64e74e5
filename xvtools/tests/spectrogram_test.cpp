#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "xvtools/spectrogram_palette.h"
#include "xvtools/spectrum_window.h"
#include "xvtools/xv_spectrogram.h"

namespace xvtools {
namespace {

constexpr int kRate = 8000;
constexpr int kHeight = XVSpectrogramX::kDefaultHeight;

// Sine of amplitude (full scale 1) at frequency, continuing from sample `start`.
std::vector<std::int16_t> tones(std::initializer_list<std::pair<double, double>> parts,
                                std::size_t count) {
  std::vector<std::int16_t> samples(count);
  for (std::size_t i = 0; i < count; ++i) {
    double v = 0;
    for (auto [hz, amplitude] : parts) {
      v += amplitude * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / kRate);
    }
    samples[i] = static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767));
  }
  return samples;
}

// The bottom-up row a frequency lands in.
int rowOf(double hz) { return static_cast<int>(std::lround(hz / (kRate / 2.0) * (kHeight - 1))); }

int level(const XVSpectrogramX& spectrogram, int row) {
  return spectrogram.lastLevels()[std::size_t(row)];
}

TEST(SpectrumWindow, CoefficientsFollowTheirClosedForms) {
  struct Case {
    SpectrumWindow window;
    int length, n;
    double expected;
  };
  const Case cases[] = {
      {SpectrumWindow::Rectangular, 9, 0, 1.0},    {SpectrumWindow::Rectangular, 9, 4, 1.0},
      {SpectrumWindow::Hamming, 9, 0, 0.08},       {SpectrumWindow::Hamming, 9, 4, 1.0},
      {SpectrumWindow::Hamming, 9, 2, 0.54},       {SpectrumWindow::Hanning, 9, 0, 0.0},
      {SpectrumWindow::Hanning, 9, 2, 0.5},        {SpectrumWindow::Hanning, 9, 4, 1.0},
      {SpectrumWindow::Blackman, 9, 0, 0.0},       {SpectrumWindow::Blackman, 9, 2, 0.34},
      {SpectrumWindow::Blackman, 9, 4, 1.0},       {SpectrumWindow::Gaussian, 9, 4, 1.0},
      {SpectrumWindow::Gaussian, 9, 0, 0.0439369}, {SpectrumWindow::Gaussian, 9, 2, 0.4578334},
      {SpectrumWindow::Welch, 9, 0, 0.0},          {SpectrumWindow::Welch, 9, 2, 0.75},
      {SpectrumWindow::Welch, 9, 4, 1.0},          {SpectrumWindow::Parzen, 8, 3, 0.91796875},
      {SpectrumWindow::Parzen, 8, 0, 0.00390625},  {SpectrumWindow::Parzen, 8, 1, 0.10546875},
      {SpectrumWindow::Parzen, 8, 7, 0.00390625},  {SpectrumWindow::Parzen, 8, 4, 0.91796875},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(windowCoefficient(c.window, c.n, c.length), c.expected, 1e-6)
        << windowName(c.window) << " N=" << c.length << " n=" << c.n;
  }
  for (int w = 0; w < kSpectrumWindowCount; ++w) {
    const auto window = static_cast<SpectrumWindow>(w);
    EXPECT_EQ(windowByName(windowName(window)), window);
  }
  EXPECT_EQ(windowByName("hanning"), SpectrumWindow::Hanning);
  EXPECT_EQ(windowByName("Kaiser"), std::nullopt);
}

TEST(SpectrogramPalette, EndColoursAndNames) {
  struct Case {
    SpectrogramPalette palette;
    std::uint32_t low, high;  // 0x00BBGGRR
  };
  const Case cases[] = {
      {SpectrogramPalette::HSV, 0x00FF0000, 0x000000FF},
      {SpectrogramPalette::Threshold, 0x00000000, 0x00FFFFFF},
      {SpectrogramPalette::BlackOnWhite, 0x00FFFFFF, 0x00000000},
      {SpectrogramPalette::WhiteOnBlack, 0x00000000, 0x00FFFFFF},
      {SpectrogramPalette::Bone, 0x00000000, 0x00FFFFFF},
      {SpectrogramPalette::Copper, 0x00000000, 0x007FC7FF},
      {SpectrogramPalette::Cool, 0x00FFFF00, 0x00FF00FF},
      {SpectrogramPalette::Hot, 0x00000000, 0x00FFFFFF},
  };
  for (const Case& c : cases) {
    const PaletteTable table = paletteTable(c.palette);
    EXPECT_EQ(table.front(), c.low) << paletteName(c.palette);
    EXPECT_EQ(table.back(), c.high) << paletteName(c.palette);
    EXPECT_EQ(paletteByName(paletteName(c.palette)), c.palette);
  }
  // Below its threshold the palette is black; just above it, visibly not.
  EXPECT_EQ(paletteColor(SpectrogramPalette::Threshold, 0.24), 0x00000000u);
  EXPECT_EQ(paletteColor(SpectrogramPalette::Threshold, 0.25), 0x00404040u);
  EXPECT_EQ(paletteColor(SpectrogramPalette::Hot, 1.0 / 3), 0x000000FFu);
  EXPECT_EQ(paletteByName("white on black"), SpectrogramPalette::WhiteOnBlack);
  EXPECT_EQ(paletteByName("Jet"), std::nullopt);
}

// Every length and window: each of two tones peaks in its own row, the rows keep their spacing,
// and the plot between them stays well below the peaks.
TEST(Spectrogram, TonesLandInTheirRowsForEveryLengthAndWindow) {
  const auto signal = tones({{1000, 0.3}, {2500, 0.3}}, 6000);
  const int low = rowOf(1000);
  const int high = rowOf(2500);
  ASSERT_EQ(high - low, 96);
  for (int length = 64; length <= 2048; length *= 2) {
    for (int w = 0; w < kSpectrumWindowCount; ++w) {
      XVSpectrogramX spectrogram;
      spectrogram.setFFTLength(length);
      spectrogram.setWindow(w);
      spectrogram.setLogAmp(true);
      spectrogram.write(signal);
      ASSERT_GT(spectrogram.columns(), 0u);
      const auto levels = spectrogram.lastLevels();
      const int peak = *std::max_element(levels.begin(), levels.end());
      SCOPED_TRACE(testing::Message() << "N=" << length << " window " << w);
      EXPECT_EQ(level(spectrogram, low), peak);
      EXPECT_EQ(level(spectrogram, high), peak);
      EXPECT_LT(level(spectrogram, (low + high) / 2), peak - 40);
      EXPECT_LT(level(spectrogram, high + 48), peak - 40);
    }
  }
}

TEST(Spectrogram, GainStepsAreSixDecibels) {
  const int row = rowOf(1000);
  for (bool logAmp : {true, false}) {
    const auto signal = tones({{1000, logAmp ? 0.01 : 0.0025}}, 4096);
    int levels[3];
    for (int gain = 0; gain < 3; ++gain) {
      XVSpectrogramX spectrogram;
      spectrogram.setLogAmp(logAmp);
      spectrogram.setGain(gain);
      spectrogram.write(signal);
      levels[gain] = level(spectrogram, row);
    }
    SCOPED_TRACE(logAmp ? "log" : "linear");
    if (logAmp) {
      // -40 dB lies half way up an 80 dB range; each step is 6/80 of the palette.
      EXPECT_NEAR(levels[0], 127.5, 1.0);
      EXPECT_NEAR(levels[1] - levels[0], 6 * 255 / 80.0, 1.0);
      EXPECT_NEAR(levels[2] - levels[1], 6 * 255 / 80.0, 1.0);
    } else {
      // Linear from 0 to the linear full scale.
      EXPECT_NEAR(levels[0], 255 * 0.0025 / std::pow(10, -1.5), 1.0);
      EXPECT_NEAR(levels[1], levels[0] * std::pow(10, 0.3), 2.0);
      EXPECT_NEAR(levels[2], levels[0] * std::pow(10, 0.6), 3.0);
    }
  }
  XVSpectrogramX loud;
  loud.setLogAmp(true);
  loud.write(tones({{1000, 1.0}}, 4096));
  EXPECT_GE(level(loud, row), 254);  // a full-scale sine reaches the top of the palette
}

TEST(Spectrogram, NewestColumnAtTheRightEdgeWithTheScaleAtLeft) {
  XVSpectrogramX spectrogram;
  spectrogram.setPalette(static_cast<int>(SpectrogramPalette::WhiteOnBlack));
  spectrogram.setLogAmp(true);
  spectrogram.setDrawScale(true);
  EXPECT_EQ(spectrogram.plotLeft(), XVSpectrogramX::kScaleWidth);
  EXPECT_EQ(spectrogram.Hop(), 256);
  spectrogram.write(tones({{1000, 0.5}}, 512 + 3 * 256));
  EXPECT_EQ(spectrogram.columns(), 4u);
  std::vector<std::uint32_t> image(std::size_t(spectrogram.width()) * kHeight);
  spectrogram.render(image);
  auto at = [&](int x, int y) {
    return image[std::size_t(y) * std::size_t(spectrogram.width()) + x];
  };
  const int y = kHeight - 1 - rowOf(1000);
  const std::uint32_t grey = level(spectrogram, rowOf(1000)) * 0x010101u;
  for (int x = spectrogram.width() - 4; x < spectrogram.width(); ++x)
    EXPECT_EQ(at(x, y), grey) << x;
  EXPECT_EQ(at(spectrogram.width() - 5, y), 0u);  // not yet written
  // Ticks at 0 and 4 kHz at the plot's left edge, the strip black elsewhere.
  EXPECT_EQ(at(XVSpectrogramX::kScaleWidth - 1, kHeight - 1), 0x00FFFFFFu);
  EXPECT_EQ(at(XVSpectrogramX::kScaleWidth - 1, 0), 0x00FFFFFFu);
  EXPECT_EQ(at(XVSpectrogramX::kScaleWidth - 1, kHeight / 2 + 5), 0u);

  // Without scrolling the columns sweep in from the plot's left edge.
  spectrogram.setScroll(false);
  spectrogram.render(image);
  EXPECT_EQ(at(spectrogram.plotLeft(), y), grey);
  EXPECT_EQ(at(spectrogram.width() - 1, y), 0u);
}

TEST(Spectrogram, ReliefShadesByTheRowBelowInThePreviousColumn) {
  XVSpectrogramX spectrogram;
  spectrogram.setPalette(static_cast<int>(SpectrogramPalette::WhiteOnBlack));
  spectrogram.setLogAmp(true);
  spectrogram.setEmboss(true);
  // A steady tone whose period divides the hop: every column is the same.
  spectrogram.write(tones({{1000, 0.5}}, 512 + 4 * 256));
  std::vector<std::uint32_t> image(std::size_t(spectrogram.width()) * kHeight);
  spectrogram.render(image);
  const auto levels = spectrogram.lastLevels();
  for (int r = 1; r < kHeight; ++r) {
    const int l = levels[std::size_t(r)];
    const int shaded = std::clamp(l + 2 * (l - levels[std::size_t(r - 1)]), 0, 255);
    ASSERT_EQ(image[std::size_t(kHeight - 1 - r) * std::size_t(spectrogram.width()) +
                    spectrogram.width() - 1],
              shaded * 0x010101u)
        << r;
  }
}

TEST(Spectrogram, RefusesSettingsOutOfRange) {
  XVSpectrogramX spectrogram;
  EXPECT_THROW(spectrogram.setFFTLength(4096), std::invalid_argument);
  EXPECT_THROW(spectrogram.setFFTLength(500), std::invalid_argument);
  EXPECT_THROW(spectrogram.setWindow(7), std::invalid_argument);
  EXPECT_THROW(spectrogram.setPalette(-1), std::invalid_argument);
  EXPECT_THROW(spectrogram.setGain(3), std::invalid_argument);
  EXPECT_EQ(spectrogram.FFTLength(), 512);
  EXPECT_NO_THROW(spectrogram.setFFTLength(2048));
  EXPECT_EQ(spectrogram.Hop(), 1024);
}

}  // namespace
}  // namespace xvtools
