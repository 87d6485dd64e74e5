// A CUPS queue as a printer device context: the page is drawn through a QPainter on a QPrinter
// at the printer's resolution, images scaled without smoothing.
#pragma once

#include <QPainter>
#include <QPrinter>
#include <functional>

#include "host/printers.h"
#include "ocx/printing.h"

namespace host::qt {

class QueuePrinterDC : public ocx::PrinterDC {
 public:
  explicit QueuePrinterDC(const QString& queue);
  ~QueuePrinterDC() override;

  int getDeviceCaps(int index) const override;
  bool setAbortProc(std::function<bool()> proc) override;
  int startDoc(const std::string& documentName) override;
  int startPage() override;
  int stretchDIBits(int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                    int srcHeight, const gdi::PackedDib& dib) override;
  int endPage() override;
  int endDoc() override;
  int abortDoc() override;

 private:
  QPrinter printer_{QPrinter::HighResolution};
  QPainter painter_;
  std::function<bool()> abortProc_;
  int pages_ = 0;
  bool abandoned_ = false;
};

// The scheduler's queues, as Qt PrintSupport lists them.
class CupsQueuePrinters : public QueuePrinters {
 public:
  std::optional<std::string> defaultQueue() override;
  std::optional<ocx::PrinterEntry> queue(const std::string& name) override;
  std::unique_ptr<ocx::PrinterDC> open(const ocx::PrinterEntry& printer) override;
};

}  // namespace host::qt
