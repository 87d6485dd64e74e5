// What stands around a whole recording's spectrogram: the kHz scale at the left (the live
// display's), a time axis underneath with clock labels at round intervals and marks (sunrise,
// sunset), and on request a colour bar at the right giving the palette's levels in dB.
//
// Plot column c (0 = oldest) covers the transforms from c * transforms / columns on; a
// transform's time is the centre of its frame.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "xvtools/spectrogram_palette.h"
#include "xvtools/spectrum_levels.h"

namespace xvtools {

struct TimeMark {
  double clock = 0;  // seconds since 00:00 of the recording's first day
  std::string label;
};

struct SpectrogramFrame {
  static constexpr int kScaleWidth = 40;
  static constexpr int kAxisHeight = 30;
  static constexpr int kBarWidth = 52;
  static constexpr std::uint32_t kMarkColour = 0x0000D0FF;  // amber

  int columns = 1;  // plot columns
  int rows = 2;     // plot rows: one per bin, 0 Hz at the bottom
  int sampleRate = 8000;
  std::uint64_t transforms = 1;
  int hop = 256;
  int fftLength = 512;
  double startClock = 0;  // the clock at the first sample, seconds since 00:00
  bool colourBar = false;
  LevelSettings levels;
  SpectrogramPalette palette = SpectrogramPalette::Threshold;
  std::vector<TimeMark> marks;

  int plotLeft() const { return kScaleWidth; }
  int width() const { return kScaleWidth + columns + (colourBar ? kBarWidth : 0); }
  int height() const { return rows + kAxisHeight; }
  // The clock at the centre of plot column c's first transform.
  double columnClock(double column) const;
  // The plot column showing the clock (fractional; outside 0..columns when not shown).
  double clockColumn(double clock) const;
  // Seconds between labels: the smallest round step leaving room for a label each.
  double labelStep() const;

  // The scale strip, kScaleWidth x rows pixels, stride kScaleWidth.
  void drawScale(std::span<std::uint32_t> out) const;
  // The colour bar, kBarWidth x rows pixels, stride kBarWidth (nothing without colourBar).
  void drawColourBar(std::span<std::uint32_t> out) const;
  // The axis under the whole picture, width() x kAxisHeight pixels, stride width().
  void drawTimeAxis(std::span<std::uint32_t> out) const;
};

// "HH:MM:SS" of seconds into a day, wrapped into 0..24 h; "HH:MM" when the seconds are 0 and
// minutesOnly is set.
std::string formatClock(double seconds, bool minutesOnly);

}  // namespace xvtools
