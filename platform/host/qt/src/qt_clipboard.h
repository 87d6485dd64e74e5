// The clipboard as a control in a Qt window uses it: the host's store, opened and owned in the
// window's name, and on close the bitmap put there is handed to the desktop's clipboard as a
// bitmap file (image/bmp) and as an image (application/x-qt-image).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "host/clipboard.h"
#include "ocx/services.h"

namespace host::qt {

// A packed device-independent bitmap with a "BM" file header in front; nullopt when the header
// does not describe a bitmap that fits the bytes.
std::optional<std::vector<std::uint8_t>> bitmapFileOf(const std::vector<std::uint8_t>& dib);

class QtSiteClipboard final : public ocx::Clipboard {
 public:
  QtSiteClipboard(host::Clipboard& store, const std::uintptr_t& window)
      : store_(store), window_(window) {}

  bool open() override { return store_.open(window_); }
  bool empty() override;
  bool setData(unsigned format, std::vector<std::uint8_t> data) override;
  bool close() override;
  bool hasFormat(unsigned format) const override { return store_.hasFormat(format); }
  std::vector<std::uint8_t> data(unsigned format) const override {
    return store_.data(format).value_or(std::vector<std::uint8_t>{});
  }
  bool ownedByCaller() const override { return window_ != 0 && store_.owner() == window_; }

 private:
  void publish();

  host::Clipboard& store_;
  const std::uintptr_t& window_;  // follows the window as it is created and destroyed
  bool changed_ = false;
};

}  // namespace host::qt
