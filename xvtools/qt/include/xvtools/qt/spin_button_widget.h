// The up and down arrows of an XVSpinButtonX.
#pragma once

#include <QToolButton>
#include <QWidget>

#include "xvtools/xv_spin_button.h"

namespace xvtools::qt {

class SpinButtonWidget final : public QWidget {
 public:
  // The widget takes the model's display-changed event; model must outlive it.
  explicit SpinButtonWidget(XVSpinButtonX& model, QWidget* parent = nullptr);
  ~SpinButtonWidget() override;
  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 private:
  XVSpinButtonX& model_;
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace xvtools::qt
