#include "xvtools/qt/spin_button_widget.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QVBoxLayout>

namespace xvtools::qt {

namespace {

// An arrow that shows the focus of the spin button it belongs to, since it covers the button.
class ArrowButton final : public QToolButton {
 public:
  explicit ArrowButton(QWidget* spin) : QToolButton(spin) { setFocusPolicy(Qt::NoFocus); }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QToolButton::paintEvent(event);
    if (!parentWidget()->hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(1, 1, -1, -1);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
};

}  // namespace

SpinButtonWidget::SpinButtonWidget(XVSpinButtonX& model, QWidget* parent)
    : QWidget(parent), model_(model), up_(new ArrowButton(this)), down_(new ArrowButton(this)) {
  setFocusPolicy(Qt::StrongFocus);
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

void SpinButtonWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up) {
    model_.up();
  } else if (event->key() == Qt::Key_Down) {
    model_.down();
  } else {
    QWidget::keyPressEvent(event);
  }
}

void SpinButtonWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  up_->update();
  down_->update();
}

void SpinButtonWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  up_->update();
  down_->update();
}

// The model outlives the view: leave it no handler pointing here.
SpinButtonWidget::~SpinButtonWidget() { model_.onDisplayChanged(nullptr); }

}  // namespace xvtools::qt
