// Printing for the headless container: the default printer it was given (or the desktop's),
// the progress dialog's texts on standard error, one message of its queue at a time, and its
// screen, which shows only the control's window (a window without a frame).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "gdi/bitmap.h"
#include "ocx/printing.h"

namespace host {

class HeadlessPrintServices : public ocx::PrintServices {
 public:
  struct Window {
    std::function<std::uintptr_t()> handle;
    std::function<const gdi::Bitmap&()> screen;
    std::function<bool()> dispatchOne;  // one posted message or paint; false when none
  };
  explicit HeadlessPrintServices(Window window) : window_(std::move(window)) {}

  void setPrinter(std::string printer) { printer_ = std::move(printer); }
  // Every progress dialog is answered with Cancel as soon as the job pumps messages.
  void setCancelJobs(bool cancel) { cancelJobs_ = cancel; }
  // A window of the program's beside the control's (to its right on the screen) showing picture.
  // Its handle is never the control's; an empty picture takes it away.
  void showPicture(std::uintptr_t handle, gdi::Bitmap picture);

  std::optional<ocx::PrinterEntry> defaultPrinter() override;
  std::unique_ptr<ocx::PrinterDC> createPrinterDC(const ocx::PrinterEntry& printer) override;
  std::unique_ptr<ocx::AbortDialog> createAbortDialog(std::function<void()> onCancel) override;
  bool dispatchOneMessage() override;
  std::optional<gdi::Rect> windowRect(std::uintptr_t window, ocx::CaptureArea area) override;
  std::optional<gdi::Bitmap> grabScreen(const gdi::Rect& rect) override;
  gdi::Point screenSize() override;

 private:
  class Dialog;
  // Where the program's window stands on the screen: right of the control's window.
  gdi::Rect pictureRect() const;

  Window window_;
  std::uintptr_t pictureHandle_ = 0;
  gdi::Bitmap picture_;
  std::optional<std::string> printer_;
  bool cancelJobs_ = false;
  Dialog* dialog_ = nullptr;  // the dialog shown, while it is
};

}  // namespace host
