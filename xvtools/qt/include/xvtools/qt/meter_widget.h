// Shows an XVMeterX: the caption in its font and colour at the top, a horizontal bar lit from
// the left up to the level (green, yellow from -12 dB, red from -3 dB), and a dB scale under
// it every 10 dB down to MinDb, on a black panel. The bar is drawn without anti-aliasing, so its
// pixels are exact.
#pragma once

#include <QRect>
#include <QWidget>

#include "xvtools/xv_meter.h"

namespace xvtools::qt {

class MeterWidget final : public QWidget {
 public:
  static constexpr QRgb kPanelColor = 0xFF000000;
  static constexpr QRgb kScaleColor = 0xFFC0C0C0;
  static constexpr QRgb kBarBackColor = 0xFF303030;
  static constexpr QRgb kGreen = 0xFF00C000;
  static constexpr QRgb kYellow = 0xFFE0E000;
  static constexpr QRgb kRed = 0xFFE00000;
  static constexpr double kYellowDb = -12.0;
  static constexpr double kRedDb = -3.0;

  // The widget takes the model's display-changed event; model must outlive it.
  explicit MeterWidget(XVMeterX& model, QWidget* parent = nullptr);
  ~MeterWidget() override;
  QSize sizeHint() const override;
  // Where the bar is drawn, for the scale and for tests.
  QRect barRect() const;
  // The bar's x for a level in dB.
  int xOf(double db) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  XVMeterX& model_;
};

}  // namespace xvtools::qt
