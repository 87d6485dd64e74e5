// XVSpinButtonX: an integer stepped up and down between MinValue and MaxValue.
#pragma once

#include <cstdint>
#include <functional>

namespace xvtools {

class XVSpinButtonX {
 public:
  XVSpinButtonX() = default;
  XVSpinButtonX(std::int32_t minValue, std::int32_t maxValue, std::int32_t value);

  std::int32_t MinValue() const { return min_; }
  std::int32_t MaxValue() const { return max_; }
  // Moving one bound past the other moves the other along; Value is clamped into the new range.
  void setMinValue(std::int32_t v);
  void setMaxValue(std::int32_t v);
  std::int32_t Increment() const { return increment_; }
  void setIncrement(std::int32_t step);  // at least 1, else std::invalid_argument
  std::int32_t Value() const { return value_; }
  // Clamps v into MinValue..MaxValue; raises Change once when the stored value changes, whether
  // the program or the operator changed it.
  void setValue(std::int32_t v);
  bool Enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // The operator's arrows: step by Increment, clamped. Ignored while disabled.
  void up();
  void down();

  void onChange(std::function<void()> handler);
  // For a view: any of the properties above changed.
  void onDisplayChanged(std::function<void()> handler);

 private:
  void store(std::int32_t v);
  void rangeChanged();
  void displayChanged();

  std::int32_t min_ = 0;
  std::int32_t max_ = 100;
  std::int32_t increment_ = 1;
  std::int32_t value_ = 0;
  bool enabled_ = true;
  std::function<void()> change_;
  std::function<void()> displayChanged_;
};

}  // namespace xvtools
