#include "headless_print_services.h"

#include <algorithm>
#include <cstdio>

#include "host/printers.h"

namespace host {

namespace {

constexpr char kCaption[] = "Print Bitmap";

// The dialog's texts carry job names, which come from files and callers: control characters
// are shown as \xNN so none reaches the terminal as a command.
std::string printable(const std::string& text) {
  std::string shown;
  shown.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    } else {
      shown += c;
    }
  }
  return shown;
}

void show(const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", kCaption, printable(text).c_str());
}

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

void HeadlessPrintServices::showPicture(std::uintptr_t handle, gdi::Bitmap picture) {
  pictureHandle_ = picture.width() > 0 && picture.height() > 0 ? handle : 0;
  picture_ = std::move(picture);
}

gdi::Rect HeadlessPrintServices::pictureRect() const {
  const int left = window_.screen().width();
  return {left, 0, left + picture_.width(), picture_.height()};
}

std::optional<gdi::Rect> HeadlessPrintServices::windowRect(std::uintptr_t window,
                                                           ocx::CaptureArea) {
  if (window == 0) return std::nullopt;
  if (window == window_.handle()) return window_.screen().bounds();
  if (window == pictureHandle_) return pictureRect();
  return std::nullopt;
}

std::optional<gdi::Bitmap> HeadlessPrintServices::grabScreen(const gdi::Rect& rect) {
  // Each window is a screen of its own side by side; a rectangle spanning both is not read.
  const gdi::Bitmap& control = window_.screen();
  const bool onPicture = pictureHandle_ != 0 && rect.intersect(pictureRect()) == rect;
  const gdi::Bitmap& screen = onPicture ? picture_ : control;
  const int left = onPicture ? control.width() : 0;
  const gdi::Rect local{rect.left - left, rect.top, rect.right - left, rect.bottom};
  if (rect.isEmpty() || local.intersect(screen.bounds()) != local) return std::nullopt;
  gdi::Bitmap picture(rect.width(), rect.height());
  for (int y = 0; y < rect.height(); ++y) {
    const std::uint32_t* from = screen.row(local.top + y) + local.left;
    std::copy(from, from + rect.width(), picture.row(y));
  }
  return picture;
}

gdi::Point HeadlessPrintServices::screenSize() {
  const gdi::Bitmap& screen = window_.screen();
  if (pictureHandle_ == 0) return {screen.width(), screen.height()};
  return {screen.width() + picture_.width(), std::max(screen.height(), picture_.height())};
}

}  // namespace host
