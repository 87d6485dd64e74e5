#include "printer_queue.h"

#include <QImage>
#include <QPrinterInfo>
#include <QRect>
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
  return printerDeviceCaps(index, printable.width(), printable.height(), resolution);
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
  if (!painter_.isActive() || abandoned_ || width <= 0 || height <= 0 || srcWidth <= 0 ||
      srcHeight <= 0)
    return 0;
  // The source rectangle goes to the printer at its own size, scaled onto the target without
  // smoothing and without lossy compression: the job stays small at any printer resolution, and
  // every printer pixel shows one source pixel. Source rows count from the DIB's bottom; the
  // image's from its top.
  const int top = dib.height() - srcY - srcHeight;
  QImage image(srcWidth, srcHeight, QImage::Format_RGB32);
  for (int row = 0; row < srcHeight; ++row) {
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(row));
    // Outside the DIB stays black: nothing is there to read.
    for (int column = 0; column < srcWidth; ++column) {
      const gdi::ColorRef c = dib.pixel(srcX + column, top + row);
      out[column] = c == gdi::kInvalidColor ? qRgb(0, 0, 0)
                                            : qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    }
  }
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_.setRenderHint(QPainter::LosslessImageRendering, true);
  painter_.drawImage(QRect(x, y, width, height), image);
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
