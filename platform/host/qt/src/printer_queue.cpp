#include "printer_queue.h"

#include <QImage>
#include <QPrinterInfo>
#include <cstdlib>

#include "gdi/device_context.h"
#include "gdi/packed_dib.h"

namespace host::qt {

namespace {

constexpr char kCupsDriver[] = "CUPS";

// The printing system's answer to a call on a job the abort procedure stopped.
constexpr int kAppAbort = -2;

// Where the queue lives, as the printing system addresses it.
std::string queueAddress(const std::string& name) {
  const char* server = std::getenv("CUPS_SERVER");
  const std::string host = server && *server && *server != '/' ? server : "localhost";
  return "ipp://" + host + "/printers/" + name;
}

}  // namespace

QueuePrinterDC::QueuePrinterDC(const QString& queue) {
  printer_.setPrinterName(queue);
  printer_.setFullPage(false);
}

QueuePrinterDC::~QueuePrinterDC() {
  // A document that never ended is dropped, not printed.
  if (painter_.isActive()) abortDoc();
}

int QueuePrinterDC::getDeviceCaps(int index) const {
  const int resolution = printer_.resolution();
  const QRect printable = printer_.pageLayout().paintRectPixels(resolution);
  switch (index) {
    case gdi::HORZRES:
      return printable.width();
    case gdi::VERTRES:
      return printable.height();
    case gdi::LOGPIXELSX:
    case gdi::LOGPIXELSY:
      return resolution;
    case gdi::BITSPIXEL:
      return 24;
    case gdi::PLANES:
      return 1;
    default:
      return 0;
  }
}

bool QueuePrinterDC::setAbortProc(std::function<bool()> proc) {
  abortProc_ = std::move(proc);
  return true;
}

int QueuePrinterDC::startDoc(const std::string& documentName) {
  if (painter_.isActive() || abandoned_) return -1;
  printer_.setDocName(QString::fromStdString(documentName));
  return painter_.begin(&printer_) ? 1 : -1;
}

int QueuePrinterDC::startPage() {
  if (abandoned_) return kAppAbort;
  if (!painter_.isActive()) return -1;
  // The painter starts on the first page; later pages are asked for.
  if (pages_ > 0 && !printer_.newPage()) return -1;
  ++pages_;
  return 1;
}

int QueuePrinterDC::stretchDIBits(int x, int y, int width, int height, int srcX, int srcY,
                                  int srcWidth, int srcHeight, const gdi::PackedDib& dib) {
  if (!painter_.isActive() || abandoned_ || width <= 0 || height <= 0) return 0;
  const QRect page(0, 0, getDeviceCaps(gdi::HORZRES), getDeviceCaps(gdi::VERTRES));
  const QRect target = QRect(x, y, width, height).intersected(page);
  if (target.isEmpty()) return height;
  // Only the part on the page is stretched, at the printer's own pixels.
  gdi::Bitmap part(target.width(), target.height(), 0x00FFFFFF);
  gdi::DeviceContext dc(&part);
  if (dc.stretchDIBits(x - target.x(), y - target.y(), width, height, srcX, srcY, srcWidth,
                       srcHeight, dib) == 0)
    return 0;
  // 0x00BBGGRR pixels are the bytes R, G, B, X in memory.
  const QImage image(reinterpret_cast<const uchar*>(part.pixels().data()), part.width(),
                     part.height(), part.width() * 4, QImage::Format_RGBX8888);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_.drawImage(target.topLeft(), image);
  return height;
}

int QueuePrinterDC::endPage() {
  if (abandoned_) return kAppAbort;
  if (!painter_.isActive()) return -1;
  if (abortProc_ && !abortProc_()) {
    abortDoc();
    return kAppAbort;
  }
  return 1;
}

int QueuePrinterDC::endDoc() {
  if (abandoned_) return kAppAbort;
  if (!painter_.isActive()) return -1;
  return painter_.end() && printer_.printerState() != QPrinter::Error ? 1 : -1;
}

int QueuePrinterDC::abortDoc() {
  abandoned_ = true;
  printer_.abort();
  if (painter_.isActive()) painter_.end();
  return 1;
}

std::optional<std::string> CupsQueuePrinters::defaultQueue() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return std::nullopt;
  return info.printerName().toStdString();
}

std::optional<ocx::PrinterEntry> CupsQueuePrinters::queue(const std::string& name) {
  const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
  if (info.isNull()) return std::nullopt;
  const std::string model = info.makeAndModel().toStdString();
  return ocx::PrinterEntry{name, model.empty() ? kCupsDriver : model, queueAddress(name)};
}

std::unique_ptr<ocx::PrinterDC> CupsQueuePrinters::open(const ocx::PrinterEntry& printer) {
  if (QPrinterInfo::printerInfo(QString::fromStdString(printer.device)).isNull()) return nullptr;
  return std::make_unique<QueuePrinterDC>(QString::fromStdString(printer.device));
}

}  // namespace host::qt
