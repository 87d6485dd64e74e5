// Shows an XVLEDPanelX in seven-segment digits: lit segments in its FillColor, unlit ones dimmed,
// on its BackColor. Drawn without anti-aliasing, so every pixel is predictable.
#pragma once

#include <QWidget>

#include "xvtools/xv_led_panel.h"

namespace xvtools::qt {

class LedPanelWidget final : public QWidget {
 public:
  // The widget takes the model's display-changed event; model must outlive it.
  explicit LedPanelWidget(XVLEDPanelX& model, QWidget* parent = nullptr);
  ~LedPanelWidget() override;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  XVLEDPanelX& model_;
};

}  // namespace xvtools::qt
