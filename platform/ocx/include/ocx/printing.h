// What a container offers a control for printing and window capture: the default printer, a
// printer device context, the progress dialog shown while a job is sent, the thread's message
// pump and the screen. The control reaches these through its site only; the desktop's printing
// system and window system stay on the container's side.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "gdi/bitmap.h"
#include "gdi/geometry.h"

namespace gdi {
class PackedDib;
}

namespace ocx {

// The default printer as the desktop names it: device name, driver and port. A part that is
// empty means the entry is incomplete and no device context can be made for it.
struct PrinterEntry {
  std::string device;
  std::string driver;
  std::string port;
  bool complete() const { return !device.empty() && !driver.empty() && !port.empty(); }
};

// A printer device context. The calls follow the printing system's order: abort procedure,
// start of document, start of page, drawing, end of page, end of document. Results below 1 are
// failures, as the platform reports them.
class PrinterDC {
 public:
  virtual ~PrinterDC();
  // HORZRES and VERTRES (the printable area in printer pixels), LOGPIXELSX and LOGPIXELSY
  // (printer pixels per inch); 0 for any other index.
  virtual int getDeviceCaps(int index) const = 0;
  // The printing system calls the procedure while it sends the job; once it returns false the
  // job is abandoned and nothing of it reaches the printer.
  virtual bool setAbortProc(std::function<bool()> proc) = 0;
  virtual int startDoc(const std::string& documentName) = 0;
  virtual int startPage() = 0;
  // Nearest-neighbour stretch of a DIB rectangle (srcY counted from the DIB's bottom row, as the
  // platform counts) onto the page. Returns the rows drawn, 0 on failure.
  virtual int stretchDIBits(int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                            int srcHeight, const gdi::PackedDib& dib) = 0;
  virtual int endPage() = 0;
  virtual int endDoc() = 0;
  // Drops the job: nothing of it is printed or left behind.
  virtual int abortDoc() = 0;
  // No banding escapes: every printer here takes whole pages.
};

// The modeless progress dialog shown while a job is sent. Cancel (or closing it) calls the
// cancel function given when it was made; it then goes away at once.
class AbortDialog {
 public:
  virtual ~AbortDialog();
  // Items: 401 the job line, 402 the printer line, 403 the progress line.
  virtual void setItemText(int item, const std::string& text) = 0;
};

inline constexpr int kAbortItemJob = 401;
inline constexpr int kAbortItemPrinter = 402;
inline constexpr int kAbortItemProgress = 403;

// Which part of a window a capture covers.
enum class CaptureArea { kWindow, kClient };

class PrintServices {
 public:
  virtual ~PrintServices();
  // The default printer; nothing when there is none.
  virtual std::optional<PrinterEntry> defaultPrinter() = 0;
  // A device context on the printer; null when it cannot be opened.
  virtual std::unique_ptr<PrinterDC> createPrinterDC(const PrinterEntry& printer) = 0;
  // Shows the progress dialog with its initial texts; null when none can be shown.
  virtual std::unique_ptr<AbortDialog> createAbortDialog(std::function<void()> onCancel) = 0;
  // Handles one waiting message of the user-interface thread; false when none was waiting.
  virtual bool dispatchOneMessage() = 0;
  // The window's rectangle (with its frame, or its client area) in screen coordinates;
  // nothing for a window that does not exist.
  virtual std::optional<gdi::Rect> windowRect(std::uintptr_t window, CaptureArea area) = 0;
  // What the screen shows in rect, which lies within the screen; nothing when it cannot be read.
  virtual std::optional<gdi::Bitmap> grabScreen(const gdi::Rect& rect) = 0;
  // The screen's size in pixels.
  virtual gdi::Point screenSize() = 0;
};

}  // namespace ocx
