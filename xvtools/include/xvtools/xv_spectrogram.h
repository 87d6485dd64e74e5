// XVSpectrogramX: a running spectrogram of the 16-bit samples its input is linked to.
//
// Every Hop() samples (half the FFT length) the last FFTLength samples are tapered with the
// Window, transformed, and drawn as one column: frequency upwards from 0 Hz at the bottom row to
// half the sample rate at the top row, each row the strongest bin it covers. The column's
// levels are the amplitude mapping below, shaded when Emboss is on, coloured by the Palette.
//
// Amplitude: a bin's magnitude is normalised so that a full-scale sine reads 1 (2|X| / sum of
// the window), then multiplied by the Gain (0, +6 or +12 dB). With LogAmp the level is
// (20 log10 a + kRangeDb) / kRangeDb: 0 dB at the top of the palette, kRangeDb below it at the
// bottom. Without it the level is a / kLinearFullScale: linear, the top of the palette at
// kLinearFullScaleDb. An unattended picture may move the top and widen the span (setLevels), as
// a whole recording's levels do; the window never does.
// Relief (Emboss): each level L plus kReliefDepth times its difference from the level one row
// lower in the previous column, as if lit from the lower left.
//
// With Scroll the newest column stands at the right edge and older ones move left; without it
// columns are written left to right and wrap. With DrawScale the left kScaleWidth pixels hold a
// kHz scale and the plot takes the rest.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "xvtools/spectrogram_palette.h"
#include "xvtools/spectrum_levels.h"
#include "xvtools/spectrum_window.h"
#include "xvtools/transform_tap.h"
#include "xvtools/wave_sink.h"

namespace xvtools {

class XVSpectrogramX final : public WaveSink {
 public:
  static constexpr int kDefaultWidth = 569;
  static constexpr int kDefaultHeight = 257;
  static constexpr int kScaleWidth = 40;
  static constexpr int kMinFFTLength = 64;
  static constexpr int kMaxFFTLength = 2048;
  static constexpr int kMaxSampleRate = 192000;
  static constexpr int kGainCount = 3;
  static constexpr double kRangeDb = 80.0;
  static constexpr double kLinearFullScaleDb = -30.0;
  static constexpr double kReliefDepth = 2.0;

  // The display's size in pixels, at least kScaleWidth + 1 by 2 (else std::invalid_argument).
  explicit XVSpectrogramX(int width = kDefaultWidth, int height = kDefaultHeight);
  ~XVSpectrogramX() override;
  XVSpectrogramX(const XVSpectrogramX&) = delete;
  XVSpectrogramX& operator=(const XVSpectrogramX&) = delete;

  // Settings; refused values throw std::invalid_argument and change nothing. Changing the
  // FFTLength or SampleRate starts a new frame; changing DrawScale clears the display.
  int BitLength() const { return 16; }
  void setBitLength(int bits);  // 16 only
  int SampleRate() const;
  void setSampleRate(int rate);  // 1..kMaxSampleRate
  int FFTLength() const;
  void setFFTLength(int length);  // a power of two, kMinFFTLength..kMaxFFTLength
  int Window() const;
  void setWindow(int window);  // 0..6, the order of SpectrumWindow
  int Palette() const;
  void setPalette(int palette);  // 0..7, the order of SpectrogramPalette; new columns only
  int Gain() const;
  void setGain(int gain);  // 0..2: 0, +6, +12 dB
  bool LogAmp() const;
  void setLogAmp(bool on);
  // The top of the palette and (logarithmic only) its span in dB, as LevelSettings reads them;
  // unset ones keep the display's. Values that are not finite, or a span not above 0, throw.
  // New columns only.
  void setLevels(std::optional<double> refDb, std::optional<double> rangeDb);
  bool Emboss() const;
  void setEmboss(bool on);
  bool DrawScale() const;
  void setDrawScale(bool on);
  bool Scroll() const;
  void setScroll(bool on);

  // Samples between the starts of successive transforms.
  int Hop() const;
  int width() const;
  int height() const;
  int plotLeft() const;           // first column of the plot: kScaleWidth with DrawScale, else 0
  std::uint64_t columns() const;  // transforms drawn so far

  void bufferFilled(WAVEHDR* hdr) override;
  // The same for samples at hand.
  void write(std::span<const std::int16_t> samples);
  // Blanks the plot (the palette's quietest colour) and drops the samples of the frame.
  void clear();

  // The display as the window shows it, width() x height() pixels 0x00BBGGRR, rows top-down;
  // out must hold width() * height() pixels.
  void render(std::span<std::uint32_t> out) const;
  // Levels 0..255 of the newest column before shading, index 0 the bottom (0 Hz) row.
  std::span<const std::uint8_t> lastLevels() const;

  // For a view: columns were drawn or the display changed. Raised at most once per buffer.
  void onDisplayChanged(std::function<void()> handler);
  // Every transform's bins as they are computed; an empty handler stops the calls.
  void onTransform(TransformTap tap);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace xvtools
