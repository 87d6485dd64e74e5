// A vertical two-position XVSwitchX: the lever stands up at position 1 and down at position 0;
// a click or the space bar flips it, the up and down arrow keys set it. Tab stops on it. Drawn
// without anti-aliasing.
#pragma once

#include <QWidget>

#include "xvtools/xv_switch.h"

namespace xvtools::qt {

class SwitchWidget final : public QWidget {
 public:
  static constexpr QRgb kSlotColor = 0xFF404040;
  static constexpr QRgb kLeverColor = 0xFFC0C0C0;

  // The widget takes the model's display-changed event; model must outlive it.
  explicit SwitchWidget(XVSwitchX& model, QWidget* parent = nullptr);
  ~SwitchWidget() override;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  XVSwitchX& model_;
};

}  // namespace xvtools::qt
