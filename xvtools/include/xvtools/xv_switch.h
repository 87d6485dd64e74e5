// XVSwitchX: a two-position switch, Position 0 or 1.
#pragma once

#include <functional>

namespace xvtools {

class XVSwitchX {
 public:
  // The stored position; set without raising Change.
  explicit XVSwitchX(int position = 1);

  int Position() const { return position_; }
  // 0 or 1 (else std::invalid_argument); raises Change once when the position changes.
  void setPosition(int position);
  // The operator flips the switch; ignored while disabled.
  void toggle();
  bool Enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  void onChange(std::function<void()> handler);
  void onDisplayChanged(std::function<void()> handler);

 private:
  int position_ = 1;
  bool enabled_ = true;
  std::function<void()> change_;
  std::function<void()> displayChanged_;
};

}  // namespace xvtools
