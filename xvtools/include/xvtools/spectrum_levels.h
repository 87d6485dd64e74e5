// The levels of a whole recording's spectrogram, one column per transform: every hop (half the
// FFT length) samples, the last FFT-length samples are tapered with the window and transformed,
// and each bin becomes a level 0..255 of the palette.
//
// Amplitude: a full-scale sine reads 1 (2|X| / sum of the window), times the gain. Logarithmic
// levels put ref dB at the top of the palette and ref - range dB at the bottom; linear levels are
// the amplitude over ref dB's. The defaults are the live display's: ref 0 dB and range 80 dB
// logarithmic, ref -30 dB linear.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "xvtools/spectrum_window.h"
#include "xvtools/transform_tap.h"

namespace xvtools {

struct LevelSettings {
  int fftLength = 512;  // a power of two, 64..2048
  SpectrumWindow window = SpectrumWindow::Gaussian;
  double gainDb = 0;
  bool logAmp = false;
  std::optional<double> refDb;    // the level at the top of the palette
  std::optional<double> rangeDb;  // logarithmic only: the span from the bottom to the top

  double ref() const { return refDb.value_or(logAmp ? 0.0 : -30.0); }
  double range() const { return rangeDb.value_or(80.0); }
};

class SpectrumLevels {
 public:
  // Levels of bins 0 (0 Hz) to fftLength / 2 (half the rate). Refused settings (a length that is
  // not a power of two in range, a range not above 0, values that are not finite) throw
  // std::invalid_argument.
  using Column = std::function<void(std::span<const std::uint8_t> levels)>;
  SpectrumLevels(const LevelSettings& settings, Column column);
  ~SpectrumLevels();
  SpectrumLevels(const SpectrumLevels&) = delete;
  SpectrumLevels& operator=(const SpectrumLevels&) = delete;

  int bins() const;
  int hop() const;
  // Every transform's bins, before its column is handed on; an empty handler stops the calls.
  void onTransform(TransformTap tap);
  // Fits the transforms into fewer columns: transform i goes to column i * columns / transforms
  // (the last column takes any beyond the count expected), each bin showing its loudest
  // transform. The level of a bin grows with its power, so the column is levelled once from the
  // bins' greatest powers: the same levels as the greatest of every transform's, for one
  // levelling per column instead of one per transform. Set before the first write; columns must
  // be at least 1 and at most transforms.
  void mergeColumns(std::uint64_t transforms, std::uint64_t columns);
  // Takes samples at hand; calls the column handler for each column completed.
  void write(std::span<const std::int16_t> samples);
  // Hands on a merged column still being filled; nothing when transforms are not merged.
  void finish();
  // The transforms made so far.
  std::uint64_t transforms() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace xvtools
