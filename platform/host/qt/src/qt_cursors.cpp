#include "qt_cursors.h"

#include <QImage>
#include <QPixmap>
#include <algorithm>

namespace host::qt {

namespace {

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
      return Qt::PointingHandCursor;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<QCursor> cursorForShape(int shape) {
  if (const auto system = systemShape(shape)) return QCursor(*system);
  return std::nullopt;
}

std::optional<QCursor> cursorFromImage(const ocx::CursorImage& image) {
  QImage picture;
  if (!image.png.empty()) {
    picture = QImage::fromData(image.png.data(), static_cast<int>(image.png.size()), "PNG");
  } else if (image.width > 0 && image.height > 0 &&
             image.argb.size() ==
                 static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
    // 0xAARRGGBB words are Qt's ARGB32; the copy lets the picture outlive the control's data.
    picture = QImage(reinterpret_cast<const uchar*>(image.argb.data()), image.width, image.height,
                     image.width * 4, QImage::Format_ARGB32)
                  .copy();
  }
  if (picture.isNull()) return std::nullopt;
  const int hotX = std::clamp(image.hotX, 0, picture.width() - 1);
  const int hotY = std::clamp(image.hotY, 0, picture.height() - 1);
  return QCursor(QPixmap::fromImage(picture), hotX, hotY);
}

}  // namespace host::qt
