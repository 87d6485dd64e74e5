#include "xvtools/xv_meter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace xvtools {

namespace {

// A full-scale sine's mean square: the 0 dB reference.
constexpr double kFullScaleSineSquare = 32767.0 * 32767.0 / 2.0;

}  // namespace

XVMeterX::XVMeterX() : ring_(static_cast<std::size_t>(kDefaultSamples)) {}

void XVMeterX::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  displayChanged();
}

void XVMeterX::setFont(CaptionFont font) {
  if (font == font_) return;
  font_ = std::move(font);
  displayChanged();
}

void XVMeterX::setCaptionColor(std::uint32_t color) {
  if (color == captionColor_) return;
  captionColor_ = color;
  displayChanged();
}

void XVMeterX::setBitLength(int bits) {
  if (bits != 16) throw std::invalid_argument("the meter reads 16-bit samples only");
}

void XVMeterX::setSamples(int samples) {
  if (samples < 1 || samples > kMaxSamples)
    throw std::invalid_argument("meter sample count out of range");
  if (samples == samples_) return;
  samples_ = samples;
  ring_.assign(static_cast<std::size_t>(samples), 0);
  reset();
}

void XVMeterX::setMinDb(double db) {
  if (!(db < 0) || !std::isfinite(db))
    throw std::invalid_argument("meter range must be below 0 dB");
  if (db == minDb_) return;
  minDb_ = db;
  displayChanged();
}

void XVMeterX::reset() {
  std::fill(ring_.begin(), ring_.end(), std::int16_t{0});
  next_ = 0;
  filled_ = 0;
  sumSquares_ = 0;
  levelDb_ = kFloorDb;
  displayChanged();
}

void XVMeterX::bufferFilled(WAVEHDR* hdr) {
  if (hdr == nullptr || hdr->lpData == nullptr) return;
  const std::size_t count = std::min(hdr->dwBytesRecorded, hdr->dwBufferLength) / 2;
  const std::size_t size = ring_.size();
  for (std::size_t i = 0; i < count; ++i) {
    std::int16_t s;
    std::memcpy(&s, hdr->lpData + 2 * i, sizeof s);  // the buffer need not be aligned
    const std::int16_t old = ring_[next_];
    sumSquares_ += std::int64_t{s} * s - std::int64_t{old} * old;
    ring_[next_] = s;
    next_ = next_ + 1 == size ? 0 : next_ + 1;
  }
  filled_ = std::min(size, filled_ + count);
  if (count == 0) return;
  const double meanSquare = static_cast<double>(sumSquares_) / static_cast<double>(filled_);
  levelDb_ = meanSquare > 0
                 ? std::max(kFloorDb, 10.0 * std::log10(meanSquare / kFullScaleSineSquare))
                 : kFloorDb;
  displayChanged();
}

double XVMeterX::barFraction() const { return std::clamp((levelDb_ - minDb_) / -minDb_, 0.0, 1.0); }

void XVMeterX::onDisplayChanged(std::function<void()> handler) {
  displayChanged_ = std::move(handler);
}

void XVMeterX::displayChanged() {
  if (displayChanged_) displayChanged_();
}

}  // namespace xvtools
