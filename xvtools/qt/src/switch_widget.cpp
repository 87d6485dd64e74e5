#include "xvtools/qt/switch_widget.h"

#include <QMouseEvent>
#include <QPainter>

namespace xvtools::qt {

SwitchWidget::SwitchWidget(XVSwitchX& model, QWidget* parent) : QWidget(parent), model_(model) {
  model_.onDisplayChanged([this] { update(); });
}

QSize SwitchWidget::sizeHint() const { return QSize(24, 48); }

void SwitchWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(rect(), palette().window());
  // The slot runs down the middle third; the lever covers its upper or lower half.
  const QRect slot(width() / 3, 0, width() - 2 * (width() / 3), height());
  painter.fillRect(slot, QColor::fromRgb(kSlotColor));
  const int half = height() / 2;
  const QRect lever = model_.Position() == 1 ? QRect(0, 0, width(), half)
                                             : QRect(0, height() - half, width(), half);
  painter.fillRect(lever, QColor::fromRgb(kLeverColor));
}

void SwitchWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) model_.toggle();
}

// The model outlives the view: leave it no handler pointing here.
SwitchWidget::~SwitchWidget() { model_.onDisplayChanged(nullptr); }

}  // namespace xvtools::qt
