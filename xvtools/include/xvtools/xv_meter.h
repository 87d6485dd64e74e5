// XVMeterX: the input level meter. Level is the root-mean-square of the last Samples samples in
// decibels relative to a full-scale 16-bit sine's square (0 dB: full scale); silence reads
// kFloorDb. A view draws it as a bar over MinDb..0 dB with a dB scale and the caption.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "xvtools/wave_sink.h"

namespace xvtools {

struct CaptionFont {
  std::string name = "MS Sans Serif";
  int points = 8;
  bool bold = false;
  bool operator==(const CaptionFont&) const = default;
};

class XVMeterX final : public WaveSink {
 public:
  static constexpr int kDefaultSamples = 1000;
  static constexpr int kMaxSamples = 1 << 20;
  static constexpr double kFloorDb = -96.0;
  static constexpr double kDefaultMinDb = -60.0;
  static constexpr std::uint32_t kDefaultCaptionColor = 0x00000000;  // 0x00BBGGRR

  XVMeterX();

  const std::string& Caption() const { return caption_; }
  void setCaption(std::string caption);
  const CaptionFont& Font() const { return font_; }
  void setFont(CaptionFont font);
  std::uint32_t CaptionColor() const { return captionColor_; }
  void setCaptionColor(std::uint32_t color);
  int BitLength() const { return 16; }
  void setBitLength(int bits);  // 16 only, else std::invalid_argument
  int Samples() const { return samples_; }
  // 1..kMaxSamples, else std::invalid_argument; forgets the samples seen so far.
  void setSamples(int samples);
  // Bottom of the bar and its scale, below 0 (else std::invalid_argument).
  double MinDb() const { return minDb_; }
  void setMinDb(double db);

  void bufferFilled(WAVEHDR* hdr) override;

  // The level of the last Samples samples (fewer before that many have arrived).
  double level() const { return levelDb_; }
  // How much of the bar is lit, 0..1.
  double barFraction() const;
  // Forgets the samples seen so far: the level reads kFloorDb.
  void reset();

  // For a view: the level or a displayed property changed.
  void onDisplayChanged(std::function<void()> handler);

 private:
  void displayChanged();

  std::string caption_ = "dB";
  CaptionFont font_;
  std::uint32_t captionColor_ = kDefaultCaptionColor;
  int samples_ = kDefaultSamples;
  double minDb_ = kDefaultMinDb;
  // The last samples_ samples as a ring, and the exact sum of their squares.
  std::vector<std::int16_t> ring_;
  std::size_t next_ = 0;
  std::size_t filled_ = 0;
  std::int64_t sumSquares_ = 0;
  double levelDb_ = kFloorDb;
  std::function<void()> displayChanged_;
};

}  // namespace xvtools
