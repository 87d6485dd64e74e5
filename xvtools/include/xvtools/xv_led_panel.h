// XVLEDPanelX: a number shown in seven-segment LED digits.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace xvtools {

class XVLEDPanelX {
 public:
  static constexpr std::uint32_t kDefaultFillColor = 0x0000FF00;  // green digits, 0x00BBGGRR
  static constexpr std::uint32_t kDefaultBackColor = 0x00000000;
  static constexpr int kMaxDigits = 10;

  std::int32_t Value() const { return value_; }
  // Clamped into MinValue..MaxValue.
  void setValue(std::int32_t v);
  std::int32_t MinValue() const { return min_; }
  std::int32_t MaxValue() const { return max_; }
  void setMinValue(std::int32_t v);  // moving one bound past the other moves the other along
  void setMaxValue(std::int32_t v);
  int Digits() const { return digits_; }
  void setDigits(int digits);  // 1..kMaxDigits, else std::invalid_argument
  bool BlankLeadingZeros() const { return blank_; }
  void setBlankLeadingZeros(bool blank);
  std::uint32_t FillColor() const { return fill_; }  // digit colour
  void setFillColor(std::uint32_t color);
  std::uint32_t BackColor() const { return back_; }
  void setBackColor(std::uint32_t color);

  // What the digits show: exactly Digits() characters, right-aligned, leading zeros as blanks or
  // '0', a '-' before a negative number; a number that does not fit shows '-' in every digit.
  std::string text() const;

  // For a view: the text or a colour changed.
  void onDisplayChanged(std::function<void()> handler);

 private:
  void displayChanged();

  std::int32_t value_ = 0;
  std::int32_t min_ = 0;
  std::int32_t max_ = 999;
  int digits_ = 3;
  bool blank_ = false;
  std::uint32_t fill_ = kDefaultFillColor;
  std::uint32_t back_ = kDefaultBackColor;
  std::function<void()> displayChanged_;
};

}  // namespace xvtools
