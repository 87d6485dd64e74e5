#include "xvtools/xv_spin_button.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace xvtools {

XVSpinButtonX::XVSpinButtonX(std::int32_t minValue, std::int32_t maxValue, std::int32_t value)
    : min_(minValue), max_(std::max(minValue, maxValue)), value_(std::clamp(value, min_, max_)) {}

void XVSpinButtonX::setMinValue(std::int32_t v) {
  if (v == min_) return;
  min_ = v;
  max_ = std::max(max_, v);
  rangeChanged();
}

void XVSpinButtonX::setMaxValue(std::int32_t v) {
  if (v == max_) return;
  max_ = v;
  min_ = std::min(min_, v);
  rangeChanged();
}

// One notice for the view, and Change only when the value had to move into the new range.
void XVSpinButtonX::rangeChanged() {
  const std::int32_t clamped = std::clamp(value_, min_, max_);
  const bool moved = clamped != value_;
  value_ = clamped;
  displayChanged();
  if (moved && change_) change_();
}

void XVSpinButtonX::setIncrement(std::int32_t step) {
  if (step < 1) throw std::invalid_argument("spin button increment must be at least 1");
  increment_ = step;
}

void XVSpinButtonX::setValue(std::int32_t v) { store(v); }

void XVSpinButtonX::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  displayChanged();
}

void XVSpinButtonX::up() {
  if (!enabled_) return;
  // Stepping in 64 bits keeps a step near the type's limits from wrapping round.
  const std::int64_t next = std::int64_t{value_} + increment_;
  store(static_cast<std::int32_t>(std::min<std::int64_t>(next, max_)));
}

void XVSpinButtonX::down() {
  if (!enabled_) return;
  const std::int64_t next = std::int64_t{value_} - increment_;
  store(static_cast<std::int32_t>(std::max<std::int64_t>(next, min_)));
}

void XVSpinButtonX::onChange(std::function<void()> handler) { change_ = std::move(handler); }

void XVSpinButtonX::onDisplayChanged(std::function<void()> handler) {
  displayChanged_ = std::move(handler);
}

void XVSpinButtonX::store(std::int32_t v) {
  const std::int32_t clamped = std::clamp(v, min_, max_);
  if (clamped == value_) return;
  value_ = clamped;
  displayChanged();
  if (change_) change_();
}

void XVSpinButtonX::displayChanged() {
  if (displayChanged_) displayChanged_();
}

}  // namespace xvtools
