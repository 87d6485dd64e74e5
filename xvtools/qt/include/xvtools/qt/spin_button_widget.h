// The up and down arrows of an XVSpinButtonX. Tab stops on the pair as one control, whose up
// and down arrow keys step it as its arrows do.
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

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  XVSpinButtonX& model_;
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace xvtools::qt
