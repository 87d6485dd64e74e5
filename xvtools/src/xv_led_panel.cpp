#include "xvtools/xv_led_panel.h"

#include <algorithm>
#include <stdexcept>

namespace xvtools {

void XVLEDPanelX::setValue(std::int32_t v) {
  const std::int32_t clamped = std::clamp(v, min_, max_);
  if (clamped == value_) return;
  value_ = clamped;
  displayChanged();
}

void XVLEDPanelX::setMinValue(std::int32_t v) {
  if (v == min_) return;
  min_ = v;
  max_ = std::max(max_, v);
  value_ = std::clamp(value_, min_, max_);
  displayChanged();
}

void XVLEDPanelX::setMaxValue(std::int32_t v) {
  if (v == max_) return;
  max_ = v;
  min_ = std::min(min_, v);
  value_ = std::clamp(value_, min_, max_);
  displayChanged();
}

void XVLEDPanelX::setDigits(int digits) {
  if (digits < 1 || digits > kMaxDigits)
    throw std::invalid_argument("LED digit count out of range");
  if (digits == digits_) return;
  digits_ = digits;
  displayChanged();
}

void XVLEDPanelX::setBlankLeadingZeros(bool blank) {
  if (blank == blank_) return;
  blank_ = blank;
  displayChanged();
}

void XVLEDPanelX::setFillColor(std::uint32_t color) {
  if (color == fill_) return;
  fill_ = color;
  displayChanged();
}

void XVLEDPanelX::setBackColor(std::uint32_t color) {
  if (color == back_) return;
  back_ = color;
  displayChanged();
}

std::string XVLEDPanelX::text() const {
  const bool negative = value_ < 0;
  // Magnitude in 64 bits: the most negative value has no 32-bit positive counterpart.
  std::string digits = std::to_string(negative ? -std::int64_t{value_} : std::int64_t{value_});
  const std::size_t width = static_cast<std::size_t>(digits_);
  const std::size_t needed = digits.size() + (negative ? 1 : 0);
  // Showing only the low digits would display a different number.
  if (needed > width) return std::string(width, '-');
  std::string shown(width, blank_ ? ' ' : '0');
  shown.replace(width - digits.size(), digits.size(), digits);
  if (negative) {
    // The sign stands just before the number when zeros are blank, in the first digit otherwise.
    shown[blank_ ? width - digits.size() - 1 : 0] = '-';
  }
  return shown;
}

void XVLEDPanelX::onDisplayChanged(std::function<void()> handler) {
  displayChanged_ = std::move(handler);
}

void XVLEDPanelX::displayChanged() {
  if (displayChanged_) displayChanged_();
}

}  // namespace xvtools
