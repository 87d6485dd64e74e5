#include "xvtools/spectrogram_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "frequency_scale.h"
#include "pixel_font.h"

namespace xvtools {

namespace {

constexpr int kTickLength = 4;
constexpr int kBarStripe = 12;
// Room for "00:00:00" and a gap.
constexpr int kLabelRoom = 8 * (kGlyphWidth + 1) + 12;
constexpr double kSteps[] = {1,   2,    5,    10,   15,    30,    60,    120,   300,   600,
                             900, 1800, 3600, 7200, 10800, 21600, 43200, 86400, 172800};

}  // namespace

std::string formatClock(double seconds, bool minutesOnly) {
  long s = std::lround(std::floor(seconds + 1e-6)) % 86400;
  if (s < 0) s += 86400;
  char text[16];
  if (minutesOnly && s % 60 == 0) {
    std::snprintf(text, sizeof text, "%02ld:%02ld", s / 3600, s / 60 % 60);
  } else {
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
  }
  return text;
}

double SpectrogramFrame::columnClock(double column) const {
  const double transform = column * static_cast<double>(transforms) / columns;
  return startClock + (transform * hop + fftLength / 2.0) / sampleRate;
}

double SpectrogramFrame::clockColumn(double clock) const {
  const double transform = ((clock - startClock) * sampleRate - fftLength / 2.0) / hop;
  return transform * columns / static_cast<double>(transforms);
}

double SpectrogramFrame::labelStep() const {
  const double secondsPerColumn = static_cast<double>(transforms) * hop / sampleRate / columns;
  for (double step : kSteps) {
    if (step / secondsPerColumn >= kLabelRoom) return step;
  }
  return kSteps[std::size(kSteps) - 1];
}

void SpectrogramFrame::drawScale(std::span<std::uint32_t> out) const {
  drawFrequencyScale(out.data(), kScaleWidth, kScaleWidth, rows, sampleRate);
}

void SpectrogramFrame::drawColourBar(std::span<std::uint32_t> out) const {
  if (!colourBar) return;
  const PixelCanvas bar{out.data(), kBarWidth, kBarWidth, rows};
  bar.fill(0, 0, kBarWidth, rows, kScaleBackColor);
  const PaletteTable colours = paletteTable(palette);
  for (int y = 0; y < rows; ++y) {
    const int level = static_cast<int>(std::lround(255.0 * (rows - 1 - y) / (rows - 1)));
    bar.fill(3, y, 3 + kBarStripe, y + 1, colours[std::size_t(level)]);
  }
  // Figures in dB at round steps from the top: logarithmic levels are even in dB, linear ones
  // halve the amplitude (6 dB) per halving of the level.
  const double ref = levels.ref();
  auto label = [&](double fraction, double db) {
    const int y = static_cast<int>(std::lround((1.0 - fraction) * (rows - 1)));
    for (int x = 3 + kBarStripe; x < 3 + kBarStripe + 3; ++x) bar.set(x, y, kScaleForeColor);
    char text[16];
    std::snprintf(text, sizeof text, "%.0f", db);
    const int top = std::clamp(y - kGlyphHeight / 2, 0, std::max(0, rows - kGlyphHeight));
    bar.text(3 + kBarStripe + 5, top, text, kScaleForeColor);
  };
  if (levels.logAmp) {
    const double range = levels.range();
    double step = 1;
    for (double s : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0, 200.0, 500.0}) {
      step = s;
      if (s / range * (rows - 1) >= 20) break;
    }
    for (double db = 0; db <= range + 1e-9; db += step) label(1.0 - db / range, ref - db);
  } else {
    for (double fraction = 1; fraction * (rows - 1) >= 20; fraction /= 2)
      label(fraction, ref + 20.0 * std::log10(fraction));
  }
}

void SpectrogramFrame::drawTimeAxis(std::span<std::uint32_t> out) const {
  const int w = width();
  const PixelCanvas axis{out.data(), static_cast<std::size_t>(w), w, kAxisHeight};
  axis.fill(0, 0, w, kAxisHeight, kScaleBackColor);
  const int left = plotLeft();
  for (int x = left; x < left + columns; ++x) axis.set(x, 0, kScaleForeColor);
  const double step = labelStep();
  const double first = std::ceil(columnClock(0) / step - 1e-9) * step;
  const double last = columnClock(columns);
  for (double clock = first; clock < last; clock += step) {
    const int x = left + static_cast<int>(std::lround(clockColumn(clock)));
    if (x < left || x >= left + columns) continue;
    for (int y = 1; y <= kTickLength; ++y) axis.set(x, y, kScaleForeColor);
    const std::string text = formatClock(clock, false);
    const int textLeft = std::clamp(x - pixelTextWidth(text) / 2, 0, w - pixelTextWidth(text));
    axis.text(textLeft, kTickLength + 3, text, kScaleForeColor);
  }
  // The colour bar's unit, under it.
  if (colourBar)
    axis.text(left + columns + 3 + kBarStripe + 5, kTickLength + 3, "dB", kScaleForeColor);
  for (const TimeMark& mark : marks) {
    const int x = left + static_cast<int>(std::lround(clockColumn(mark.clock)));
    if (x < left || x >= left + columns) continue;
    for (int y = 0; y < kAxisHeight; ++y) axis.set(x, y, kMarkColour);
    const int textLeft = std::clamp(x + 3, 0, std::max(0, w - pixelTextWidth(mark.label)));
    axis.text(textLeft, kAxisHeight - kGlyphHeight - 1, mark.label, kMarkColour);
  }
}

}  // namespace xvtools
