#include "xvtools/qt/meter_widget.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "led_segments.h"

namespace xvtools::qt {

namespace {

constexpr int kMargin = 4;
constexpr int kCaptionHeight = 16;
constexpr int kBarHeight = 14;
constexpr int kTickLength = 3;
constexpr double kScaleStepDb = 10.0;
// Figures on every other tick: five characters wide each, more would run together.
constexpr int kLabelEvery = 2;

}  // namespace

MeterWidget::MeterWidget(XVMeterX& model, QWidget* parent) : QWidget(parent), model_(model) {
  model_.onDisplayChanged([this] { update(); });
}

QSize MeterWidget::sizeHint() const { return QSize(121, 65); }

QRect MeterWidget::barRect() const {
  return QRect(kMargin, kCaptionHeight, std::max(1, width() - 2 * kMargin), kBarHeight);
}

int MeterWidget::xOf(double db) const {
  const QRect bar = barRect();
  const double f = std::clamp((db - model_.MinDb()) / -model_.MinDb(), 0.0, 1.0);
  return bar.left() + static_cast<int>(std::lround(f * bar.width()));
}

void MeterWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(rect(), QColor::fromRgb(kPanelColor));

  const CaptionFont& f = model_.Font();
  QFont captionFont(QString::fromStdString(f.name), f.points, f.bold ? QFont::Bold : QFont::Normal);
  painter.setFont(captionFont);
  painter.setPen(QColor::fromRgb(toRgb(model_.CaptionColor())));
  painter.drawText(QRect(0, 0, width(), kCaptionHeight), Qt::AlignCenter,
                   QString::fromStdString(model_.Caption()));

  // The lit part runs from the bar's left edge to the level, coloured by the zone it crosses.
  const QRect bar = barRect();
  painter.fillRect(bar, QColor::fromRgb(kBarBackColor));
  const int lit = xOf(model_.level());
  struct Zone {
    double fromDb;
    QRgb colour;
  };
  const Zone zones[] = {{model_.MinDb(), kGreen}, {kYellowDb, kYellow}, {kRedDb, kRed}};
  for (std::size_t i = 0; i < std::size(zones); ++i) {
    const int from = xOf(zones[i].fromDb);
    const int to =
        std::min(lit, i + 1 < std::size(zones) ? xOf(zones[i + 1].fromDb) : bar.right() + 1);
    if (to > from) {
      painter.fillRect(QRect(from, bar.top(), to - from, bar.height()),
                       QColor::fromRgb(zones[i].colour));
    }
  }

  QFont scaleFont = font();
  scaleFont.setPixelSize(9);
  painter.setFont(scaleFont);
  painter.setPen(QColor::fromRgb(kScaleColor));
  const int tickTop = bar.bottom() + 1;
  int tick = 0;
  for (double db = 0; db >= model_.MinDb() - 1e-9; db -= kScaleStepDb, ++tick) {
    const int x = std::min(xOf(db), bar.right());
    painter.drawLine(x, tickTop, x, tickTop + kTickLength - 1);
    if (tick % kLabelEvery != 0) continue;
    const QString label = QString::number(static_cast<int>(db));
    // Figures at the ends stay inside the widget.
    const QRect box(std::clamp(x - 15, 0, std::max(0, width() - 30)), tickTop + kTickLength, 30,
                    12);
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, label);
  }
}

// The model outlives the view: leave it no handler pointing here.
MeterWidget::~MeterWidget() { model_.onDisplayChanged(nullptr); }

}  // namespace xvtools::qt
