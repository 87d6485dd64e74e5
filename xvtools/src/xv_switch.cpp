#include "xvtools/xv_switch.h"

#include <stdexcept>

namespace xvtools {

namespace {

int checkedPosition(int position) {
  if (position != 0 && position != 1) throw std::invalid_argument("switch position must be 0 or 1");
  return position;
}

}  // namespace

XVSwitchX::XVSwitchX(int position) : position_(checkedPosition(position)) {}

void XVSwitchX::setPosition(int position) {
  if (checkedPosition(position) == position_) return;
  position_ = position;
  if (displayChanged_) displayChanged_();
  if (change_) change_();
}

void XVSwitchX::toggle() {
  if (enabled_) setPosition(1 - position_);
}

void XVSwitchX::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (displayChanged_) displayChanged_();
}

void XVSwitchX::onChange(std::function<void()> handler) { change_ = std::move(handler); }

void XVSwitchX::onDisplayChanged(std::function<void()> handler) {
  displayChanged_ = std::move(handler);
}

}  // namespace xvtools
