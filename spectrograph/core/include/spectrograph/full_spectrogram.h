// A whole recording as one spectrogram picture: every transform of the input in order, oldest at
// the left, framed by the kHz scale, a time axis and optionally a colour bar (see
// xvtools/spectrogram_frame.h), written as a PNG.
//
// Memory stays bounded however long the input: columns of levels are collected in tiles that go,
// turned row-major, to a scratch file; the picture is then written a band of rows at a time,
// each band read back from every tile, with fewer rows to a band the wider the picture. Fitting
// into fewer columns takes each bin's maximum over the transforms merged, so a click one transform
// long survives.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "xvtools/audio_source.h"
#include "xvtools/spectrogram_frame.h"
#include "xvtools/spectrum_levels.h"
#include "xvtools/transform_tap.h"

namespace spectrograph {

struct FullSpectrogramSettings {
  xvtools::LevelSettings levels;
  xvtools::SpectrogramPalette palette = xvtools::SpectrogramPalette::Threshold;
  int sampleRate = 8000;
  std::optional<int> width;  // plot columns; default one per transform
  // How many transforms the input will give, when its length is known before reading: a
  // picture too wide is refused before any is made, and a narrower one merges the transforms
  // into its columns as they come, so memory does not grow with the length.
  std::optional<std::uint64_t> expectedTransforms;
  std::optional<double> seconds;  // read at most this much
  double startClock = 0;          // seconds since 00:00 at the first sample
  bool colourBar = false;
  std::vector<xvtools::TimeMark> marks;
  const std::atomic<bool>* stop = nullptr;  // set: stop reading, keep what was read
  // Hears every transform as it is made (the echo counter).
  xvtools::TransformTap tap;
  // Asked once the input is read: the seconds from the input's start of the echoes to mark with
  // a tick in a strip of kTickRows above the plot. Unset: no strip.
  std::function<std::vector<double>()> echoTicks;
  static constexpr int kTickRows = 7;
};

struct FullSpectrogramResult {
  std::string error;  // empty when the picture was written
  std::uint64_t transforms = 0;
  int width = 0;
  int height = 0;
};

// The transforms a stretch of input gives: one each hop (half the FFT length) once a whole FFT
// length has been read.
std::uint64_t transformsIn(double seconds, int sampleRate, int fftLength);

FullSpectrogramResult writeFullSpectrogram(xvtools::AudioSource& source,
                                           const FullSpectrogramSettings& settings,
                                           const std::string& pngPath);

}  // namespace spectrograph
