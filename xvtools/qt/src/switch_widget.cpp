#include "xvtools/qt/switch_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace xvtools::qt {

SwitchWidget::SwitchWidget(XVSwitchX& model, QWidget* parent) : QWidget(parent), model_(model) {
  setFocusPolicy(Qt::StrongFocus);
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
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

void SwitchWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) model_.toggle();
}

void SwitchWidget::keyPressEvent(QKeyEvent* event) {
  // Only a move to the other position changes the switch: its Change event follows moves.
  const int position = model_.Position();
  if (event->key() == Qt::Key_Space || (event->key() == Qt::Key_Up && position == 0) ||
      (event->key() == Qt::Key_Down && position == 1)) {
    model_.toggle();
  } else if (event->key() != Qt::Key_Up && event->key() != Qt::Key_Down) {
    QWidget::keyPressEvent(event);
  }
}

// The model outlives the view: leave it no handler pointing here.
SwitchWidget::~SwitchWidget() { model_.onDisplayChanged(nullptr); }

}  // namespace xvtools::qt
