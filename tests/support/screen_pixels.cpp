#include "screen_pixels.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace zelk::test {

std::vector<std::uint32_t> onScreen(QWidget& widget) {
  QGuiApplication::sync();
  const QPoint origin = widget.mapToGlobal(QPoint(0, 0));
  const QImage image = widget.screen()
                           ->grabWindow(0, origin.x(), origin.y(), widget.width(), widget.height())
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32);
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(image.width()) *
                 static_cast<std::size_t>(image.height()));
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      pixels.push_back(static_cast<std::uint32_t>(qRed(p) | qGreen(p) << 8 | qBlue(p) << 16));
    }
  }
  return pixels;
}

}  // namespace zelk::test
