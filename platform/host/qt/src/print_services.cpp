#include "host/qt/print_services.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <cmath>

#include "abort_dialog.h"
#include "host/printers.h"
#include "printer_queue.h"

namespace host::qt {

std::optional<ocx::PrinterEntry> QtPrintServices::defaultPrinter() {
  return host::defaultPrinter(std::nullopt);
}

std::unique_ptr<ocx::PrinterDC> QtPrintServices::createPrinterDC(const ocx::PrinterEntry& printer) {
  return openPrinter(printer);
}

std::unique_ptr<ocx::AbortDialog> QtPrintServices::createAbortDialog(
    std::function<void()> onCancel) {
  QWidget* focus = QApplication::focusWidget();
  return std::make_unique<AbortDialog>(focus ? focus->window() : nullptr, std::move(onCancel));
}

bool QtPrintServices::dispatchOneMessage() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return false;
}

// Capture works in the screen's own pixels, as the window system keeps them: on a desktop scaled
// by 2 a window of 600 x 400 logical pixels shows as 1200 x 800 and is captured and printed so.
std::optional<gdi::Rect> QtPrintServices::windowRect(std::uintptr_t window, ocx::CaptureArea area) {
  const QWidget* widget = QWidget::find(static_cast<WId>(window));
  if (widget == nullptr || !widget->isVisible()) return std::nullopt;
  QRect rect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
  // Only a top-level window has a frame of the window system's around it.
  if (area == ocx::CaptureArea::kWindow && widget->isWindow()) rect = widget->frameGeometry();
  const qreal ratio = widget->devicePixelRatioF();
  const auto device = [ratio](int logical) {
    return static_cast<int>(std::lround(logical * ratio));
  };
  return gdi::Rect{device(rect.left()), device(rect.top()), device(rect.left() + rect.width()),
                   device(rect.top() + rect.height())};
}

std::optional<gdi::Bitmap> QtPrintServices::grabScreen(const gdi::Rect& rect) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr || rect.isEmpty()) return std::nullopt;
  // Qt grabs by logical pixels: take the logical rectangle that covers the one asked for, then
  // the asked-for device pixels out of it.
  const qreal ratio = screen->devicePixelRatio();
  const int left = static_cast<int>(std::floor(rect.left / ratio));
  const int top = static_cast<int>(std::floor(rect.top / ratio));
  const int right = static_cast<int>(std::ceil(rect.right / ratio));
  const int bottom = static_cast<int>(std::ceil(rect.bottom / ratio));
  const QImage image = screen->grabWindow(0, left, top, right - left, bottom - top)
                           .toImage()
                           .convertToFormat(QImage::Format_RGBX8888);
  const int offsetX = rect.left - static_cast<int>(std::lround(left * ratio));
  const int offsetY = rect.top - static_cast<int>(std::lround(top * ratio));
  if (offsetX < 0 || offsetY < 0 || image.width() < offsetX + rect.width() ||
      image.height() < offsetY + rect.height())
    return std::nullopt;
  gdi::Bitmap picture(rect.width(), rect.height());
  for (int y = 0; y < rect.height(); ++y) {
    // R, G, B, X bytes are 0x00BBGGRR read as one number.
    const auto* from =
        reinterpret_cast<const std::uint32_t*>(image.constScanLine(offsetY + y)) + offsetX;
    std::uint32_t* to = picture.row(y);
    for (int x = 0; x < rect.width(); ++x) to[x] = from[x] & 0x00FFFFFF;
  }
  return picture;
}

gdi::Point QtPrintServices::screenSize() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {0, 0};
  const QSize size = screen->geometry().size() * screen->devicePixelRatio();
  return {size.width(), size.height()};
}

std::string printFailureText(int code) {
  constexpr int kNoPrinter = 6, kNoWindow = 20, kNoCapture = 21;
  const std::string number = " (error " + std::to_string(code) + ")";
  switch (code) {
    case kNoPrinter:
      return "Not printed: there is no printer to print on" + number;
    case kNoWindow:
    case kNoCapture:
      return "Not printed: the window could not be captured from the screen" + number;
    default:
      return "Not printed: the printer did not take the page" + number;
  }
}

void installQueuePrinters() {
  static CupsQueuePrinters printers;
  setQueuePrinters(&printers);
}

}  // namespace host::qt
