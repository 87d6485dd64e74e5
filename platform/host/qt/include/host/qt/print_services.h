// Printing and window capture for a Qt container: CUPS queues through Qt PrintSupport, the print
// progress dialog as a modeless Qt dialog, the GUI thread's events pumped while a job is sent,
// and the screen read through Qt. A container's site hands a QtPrintServices to its control.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "ocx/printing.h"

class QWidget;

namespace host::qt {

// Window handles are native window identifiers (QWidget::winId()).
class QtPrintServices : public ocx::PrintServices {
 public:
  std::optional<ocx::PrinterEntry> defaultPrinter() override;
  std::unique_ptr<ocx::PrinterDC> createPrinterDC(const ocx::PrinterEntry& printer) override;
  // Owned by the window that has the keyboard focus.
  std::unique_ptr<ocx::AbortDialog> createAbortDialog(std::function<void()> onCancel) override;
  // Runs every event waiting on the GUI thread at once, so it never reports more waiting.
  bool dispatchOneMessage() override;
  // The frame as the window system draws it (area kWindow) or the widget itself, on screen.
  std::optional<gdi::Rect> windowRect(std::uintptr_t window, ocx::CaptureArea area) override;
  std::optional<gdi::Bitmap> grabScreen(const gdi::Rect& rect) override;
  gdi::Point screenSize() override;
};

// What the operator is told of a print that returned code (not 0): the programs that print show
// it, since the chart's printing itself reports failures only by their code.
std::string printFailureText(int code);

// Makes the printing system's queues (CUPS, through Qt PrintSupport) the process's printers
// besides the file printer. Needs a QGuiApplication; call once after it exists.
void installQueuePrinters();

// The printer dialog: the printer the operator picks becomes the default printer for later
// prints (a "print to file" choice becomes the file printer). False when cancelled.
bool showPrinterSetup(QWidget* parent);

}  // namespace host::qt
