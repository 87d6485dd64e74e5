#include "host/printers.h"

#include <cstdlib>
#include <mutex>

#include "gdi/device_context.h"
#include "pdf_file_printer.h"

namespace host {

namespace {

std::mutex gMutex;
QueuePrinters* gQueues = nullptr;
std::optional<std::string> gChosen;

QueuePrinters* queues() {
  const std::lock_guard lock(gMutex);
  return gQueues;
}

}  // namespace

QueuePrinters::~QueuePrinters() = default;

void setQueuePrinters(QueuePrinters* printers) {
  const std::lock_guard lock(gMutex);
  gQueues = printers;
}

void setChosenPrinter(std::optional<std::string> name) {
  const std::lock_guard lock(gMutex);
  gChosen = std::move(name);
}

std::optional<std::string> chosenPrinter() {
  const std::lock_guard lock(gMutex);
  return gChosen;
}

std::optional<ocx::PrinterEntry> printerNamed(const std::string& name) {
  if (name.empty()) return std::nullopt;
  if (name.starts_with(kPdfPrefix)) {
    // An empty file name leaves the entry without a port: no device context can be made.
    return ocx::PrinterEntry{kPdfDevice, kPdfDriver, name.substr(sizeof kPdfPrefix - 1)};
  }
  QueuePrinters* backend = queues();
  return backend ? backend->queue(name) : std::nullopt;
}

std::optional<ocx::PrinterEntry> defaultPrinter(const std::optional<std::string>& containerChoice) {
  if (containerChoice) return printerNamed(*containerChoice);
  if (const auto chosen = chosenPrinter()) return printerNamed(*chosen);
  if (const char* environment = std::getenv("ZELK_PRINTER")) return printerNamed(environment);
  QueuePrinters* backend = queues();
  if (!backend) return std::nullopt;
  const std::optional<std::string> queue = backend->defaultQueue();
  return queue ? backend->queue(*queue) : std::nullopt;
}

int printerDeviceCaps(int index, int width, int height, int dotsPerInch) {
  switch (index) {
    case gdi::HORZRES:
      return width;
    case gdi::VERTRES:
      return height;
    case gdi::LOGPIXELSX:
    case gdi::LOGPIXELSY:
      return dotsPerInch;
    case gdi::BITSPIXEL:
      return 24;
    case gdi::PLANES:
      return 1;
    default:
      return 0;
  }
}

std::unique_ptr<ocx::PrinterDC> openPrinter(const ocx::PrinterEntry& printer) {
  if (!printer.complete()) return nullptr;
  if (printer.driver == kPdfDriver) return std::make_unique<PdfFilePrinter>(printer.port);
  QueuePrinters* backend = queues();
  return backend ? backend->open(printer) : nullptr;
}

}  // namespace host
