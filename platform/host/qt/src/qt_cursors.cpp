#include "qt_cursors.h"

#include <QBitmap>
#include <QPainter>
#include <QPixmap>

namespace host::qt {

namespace {

constexpr int kSide = 32;
constexpr int kCentre = kSide / 2;

// The control's own shapes, drawn black with a white outline so they show on any background.
enum class Own { Bar, PushLeft, PushRight, CrossHair, Target, Disc };

QCursor ownCursor(Own shape) {
  QPixmap picture(kSide, kSide);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing, false);
  const auto draw = [&](const QColor& colour, int width) {
    painter.setPen(QPen(colour, width));
    painter.setBrush(Qt::NoBrush);
    switch (shape) {
      case Own::Bar:
        painter.fillRect(QRect(kCentre - 1 - width / 2, 4, 3 + width - 1, kSide - 8), colour);
        break;
      case Own::PushLeft:
      case Own::PushRight: {
        const int dir = shape == Own::PushLeft ? -1 : 1;
        const QPolygon arrow({QPoint(kCentre + dir * 10, kCentre), QPoint(kCentre, kCentre - 8),
                              QPoint(kCentre, kCentre + 8)});
        painter.setBrush(colour);
        painter.drawPolygon(arrow);
        painter.drawLine(kCentre - dir * 8, kCentre, kCentre, kCentre);
        break;
      }
      case Own::CrossHair:
        painter.drawLine(kCentre, 2, kCentre, kSide - 3);
        painter.drawLine(2, kCentre, kSide - 3, kCentre);
        break;
      case Own::Target:
        painter.drawEllipse(QPoint(kCentre, kCentre), 9, 9);
        painter.drawLine(kCentre, 4, kCentre, kSide - 5);
        painter.drawLine(4, kCentre, kSide - 5, kCentre);
        break;
      case Own::Disc:
        painter.setBrush(colour);
        painter.drawEllipse(QPoint(kCentre, kCentre), 6, 6);
        break;
    }
  };
  draw(Qt::white, 3);
  draw(Qt::black, 1);
  painter.end();
  return QCursor(picture, kCentre, kCentre);
}

std::optional<Qt::CursorShape> systemShape(int shape) {
  switch (shape) {
    case 1:
    case 4:  // icon: the platform shows an arrow today
    case 32512:
      return Qt::ArrowCursor;
    case 2:
    case 32515:
      return Qt::CrossCursor;
    case 3:
    case 32513:
      return Qt::IBeamCursor;
    case 5:
    case 15:
    case 32646:
      return Qt::SizeAllCursor;
    case 6:
    case 32643:
      return Qt::SizeBDiagCursor;
    case 7:
    case 32645:
      return Qt::SizeVerCursor;
    case 8:
    case 32642:
      return Qt::SizeFDiagCursor;
    case 9:
    case 32644:
      return Qt::SizeHorCursor;
    case 10:
    case 32516:
      return Qt::UpArrowCursor;
    case 11:
    case 32514:
      return Qt::WaitCursor;
    case 12:
    case 32648:
      return Qt::ForbiddenCursor;
    case 13:
    case 32650:
      return Qt::BusyCursor;
    case 14:
    case 32651:
      return Qt::WhatsThisCursor;
    case 16:
    case 201:
      return Qt::PointingHandCursor;
    default:
      return std::nullopt;
  }
}

std::optional<Own> ownShape(int shape) {
  switch (shape) {
    case 17:
    case 202:
      return Own::Bar;
    case 18:
    case 203:
      return Own::PushLeft;
    case 19:
    case 204:
      return Own::PushRight;
    case 20:
    case 205:
      return Own::CrossHair;
    case 21:
    case 206:
      return Own::Target;
    case 22:
    case 207:
      return Own::Disc;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<QCursor> cursorForShape(int shape) {
  if (const auto system = systemShape(shape)) return QCursor(*system);
  if (const auto own = ownShape(shape)) return ownCursor(*own);
  return std::nullopt;
}

}  // namespace host::qt
