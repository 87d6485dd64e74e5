// What GUI tests read back from the X server and the host, and how they wait for it.
#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "host/image_file.h"

namespace zelk::test {

// A Qt colour as the desktop's 0x00BBGGRR word.
inline std::uint32_t colorRef(QRgb rgb) {
  return static_cast<std::uint32_t>(qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16);
}

// What the X server shows of the widget's area, once every request sent has been carried out.
inline QImage screenImageOf(QWidget& widget) {
  QGuiApplication::sync();
  const QPoint origin = widget.mapToGlobal(QPoint(0, 0));
  return widget.screen()
      ->grabWindow(0, origin.x(), origin.y(), widget.width(), widget.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

// The widget's area of the screen, rows from the top, as 0x00BBGGRR words.
inline std::vector<std::uint32_t> onScreen(QWidget& widget) {
  const QImage image = screenImageOf(widget);
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) pixels.push_back(colorRef(image.pixel(x, y)));
  return pixels;
}

// A picture the host holds, rows from the top, as 0x00BBGGRR words.
inline std::vector<std::uint32_t> pixelsOf(const host::PixelView& view) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < view.height; ++y)
    pixels.insert(pixels.end(), view.pixels + y * view.stride,
                  view.pixels + y * view.stride + view.width);
  return pixels;
}

// Runs the event loop until done() holds, false if it still does not after ms milliseconds.
inline bool waitFor(const std::function<bool()>& done, int ms = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QTest::qWait(10);
  }
  return true;
}

}  // namespace zelk::test
