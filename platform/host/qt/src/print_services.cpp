#include "host/qt/print_services.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

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

std::optional<gdi::Rect> QtPrintServices::windowRect(std::uintptr_t window, ocx::CaptureArea area) {
  const QWidget* widget = QWidget::find(static_cast<WId>(window));
  if (widget == nullptr || !widget->isVisible()) return std::nullopt;
  QRect rect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
  // Only a top-level window has a frame of the window system's around it.
  if (area == ocx::CaptureArea::kWindow && widget->isWindow()) rect = widget->frameGeometry();
  return gdi::Rect{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

std::optional<gdi::Bitmap> QtPrintServices::grabScreen(const gdi::Rect& rect) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr || rect.isEmpty()) return std::nullopt;
  const QImage image = screen->grabWindow(0, rect.left, rect.top, rect.width(), rect.height())
                           .toImage()
                           .convertToFormat(QImage::Format_RGBX8888);
  if (image.width() != rect.width() || image.height() != rect.height()) return std::nullopt;
  gdi::Bitmap picture(rect.width(), rect.height());
  for (int y = 0; y < image.height(); ++y) {
    // R, G, B, X bytes are 0x00BBGGRR read as one number.
    const auto* from = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
    std::uint32_t* to = picture.row(y);
    for (int x = 0; x < image.width(); ++x) to[x] = from[x] & 0x00FFFFFF;
  }
  return picture;
}

gdi::Point QtPrintServices::screenSize() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {0, 0};
  const QSize size = screen->geometry().size();
  return {size.width(), size.height()};
}

void installQueuePrinters() {
  static CupsQueuePrinters printers;
  setQueuePrinters(&printers);
}

}  // namespace host::qt
