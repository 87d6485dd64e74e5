#include "xvtools/qt/spin_button_widget.h"

#include <QVBoxLayout>

namespace xvtools::qt {

SpinButtonWidget::SpinButtonWidget(XVSpinButtonX& model, QWidget* parent)
    : QWidget(parent), model_(model), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (auto* button : {up_, down_}) {
    button->setAutoRepeat(true);  // holding an arrow keeps stepping, as spin buttons do
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(button);
  }
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  QObject::connect(up_, &QToolButton::clicked, this, [this] { model_.up(); });
  QObject::connect(down_, &QToolButton::clicked, this, [this] { model_.down(); });
  setEnabled(model_.Enabled());
  model_.onDisplayChanged([this] { setEnabled(model_.Enabled()); });
}

// The model outlives the view: leave it no handler pointing here.
SpinButtonWidget::~SpinButtonWidget() { model_.onDisplayChanged(nullptr); }

}  // namespace xvtools::qt
