// The clipboard as one window sees it: the desktop's store, opened and owned in that window's
// name.
#pragma once

#include <cstdint>

#include "host/clipboard.h"
#include "ocx/services.h"

namespace host {

class SiteClipboard : public ocx::Clipboard {
 public:
  SiteClipboard(host::Clipboard& store, const std::uintptr_t& window)
      : store_(store), window_(window) {}

  bool open() override { return store_.open(window_); }
  bool empty() override { return store_.empty(); }
  bool setData(unsigned format, std::vector<std::uint8_t> data) override {
    return store_.setData(format, std::move(data));
  }
  bool close() override { return store_.close(); }
  bool hasFormat(unsigned format) const override { return store_.hasFormat(format); }
  std::vector<std::uint8_t> data(unsigned format) const override {
    return store_.data(format).value_or(std::vector<std::uint8_t>{});
  }
  bool ownedByCaller() const override { return window_ != 0 && store_.owner() == window_; }

 private:
  host::Clipboard& store_;
  const std::uintptr_t& window_;  // follows the window as it is created and destroyed
};

}  // namespace host
