#include "xvtools/qt/led_panel_widget.h"

#include <QPainter>

#include "led_segments.h"

namespace xvtools::qt {

LedPanelWidget::LedPanelWidget(XVLEDPanelX& model, QWidget* parent)
    : QWidget(parent), model_(model) {
  model_.onDisplayChanged([this] { update(); });
}

QSize LedPanelWidget::sizeHint() const { return QSize(16 * model_.Digits(), 28); }

void LedPanelWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(rect(), QColor::fromRgb(toRgb(model_.BackColor())));
  const QColor lit = QColor::fromRgb(toRgb(model_.FillColor()));
  const QColor unlit = QColor::fromRgb(toRgb(dimmed(model_.FillColor())));
  const std::string text = model_.text();
  const int count = static_cast<int>(text.size());
  for (int i = 0; i < count; ++i) {
    const std::uint8_t pattern = segmentPattern(text[static_cast<std::size_t>(i)]);
    const SegmentRects segments = segmentRects(digitCell(size(), count, i));
    for (int s = 0; s < 7; ++s) {
      painter.fillRect(segments[static_cast<std::size_t>(s)], (pattern >> s) & 1 ? lit : unlit);
    }
  }
}

// The model outlives the view: leave it no handler pointing here.
LedPanelWidget::~LedPanelWidget() { model_.onDisplayChanged(nullptr); }

}  // namespace xvtools::qt
