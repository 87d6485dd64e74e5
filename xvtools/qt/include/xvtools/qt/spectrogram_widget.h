// Shows an XVSpectrogramX at its own size, pixel for pixel as the model renders it. Columns
// arriving between two paints cost one repaint.
#pragma once

#include <QImage>
#include <QWidget>

#include "xvtools/xv_spectrogram.h"

namespace xvtools::qt {

class SpectrogramWidget final : public QWidget {
 public:
  // The widget takes the model's display-changed event; model must outlive it.
  explicit SpectrogramWidget(XVSpectrogramX& model, QWidget* parent = nullptr);
  ~SpectrogramWidget() override;
  QSize sizeHint() const override;
  // What the next paint shows.
  const QImage& image();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  XVSpectrogramX& model_;
  QImage image_;
  bool stale_ = true;
};

}  // namespace xvtools::qt
