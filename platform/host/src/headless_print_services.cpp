#include "headless_print_services.h"

#include <cstdio>

#include "host/printers.h"

namespace host {

namespace {

constexpr char kCaption[] = "Print Bitmap";

void show(const std::string& text) { std::fprintf(stderr, "%s: %s\n", kCaption, text.c_str()); }

}  // namespace

class HeadlessPrintServices::Dialog : public ocx::AbortDialog {
 public:
  Dialog(Dialog*& shown, std::function<void()> onCancel)
      : shown_(shown), onCancel_(std::move(onCancel)) {
    shown_ = this;
  }
  ~Dialog() override {
    if (shown_ == this) shown_ = nullptr;
  }
  void setItemText(int, const std::string& text) override {
    if (shown_ == this) show(text);
  }
  // Like pressing Cancel: the dialog goes at once, then the job hears of it.
  void cancel() {
    shown_ = nullptr;
    show("Cancel");
    if (onCancel_) onCancel_();
  }

 private:
  Dialog*& shown_;
  std::function<void()> onCancel_;
};

std::optional<ocx::PrinterEntry> HeadlessPrintServices::defaultPrinter() {
  return host::defaultPrinter(printer_);
}

std::unique_ptr<ocx::PrinterDC> HeadlessPrintServices::createPrinterDC(
    const ocx::PrinterEntry& printer) {
  return openPrinter(printer);
}

std::unique_ptr<ocx::AbortDialog> HeadlessPrintServices::createAbortDialog(
    std::function<void()> onCancel) {
  return std::make_unique<Dialog>(dialog_, std::move(onCancel));
}

bool HeadlessPrintServices::dispatchOneMessage() {
  if (cancelJobs_ && dialog_) {
    dialog_->cancel();
    return true;
  }
  return window_.dispatchOne();
}

std::optional<gdi::Rect> HeadlessPrintServices::windowRect(std::uintptr_t window,
                                                           ocx::CaptureArea) {
  if (window == 0 || window != window_.handle()) return std::nullopt;
  return window_.screen().bounds();
}

std::optional<gdi::Bitmap> HeadlessPrintServices::grabScreen(const gdi::Rect& rect) {
  const gdi::Bitmap& screen = window_.screen();
  if (rect.isEmpty() || rect.intersect(screen.bounds()) != rect) return std::nullopt;
  gdi::Bitmap picture(rect.width(), rect.height());
  for (int y = 0; y < rect.height(); ++y) {
    const std::uint32_t* from = screen.row(rect.top + y) + rect.left;
    std::copy(from, from + rect.width(), picture.row(y));
  }
  return picture;
}

gdi::Point HeadlessPrintServices::screenSize() {
  const gdi::Bitmap& screen = window_.screen();
  return {screen.width(), screen.height()};
}

}  // namespace host
