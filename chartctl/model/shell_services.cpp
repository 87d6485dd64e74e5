// What the control offers its container beyond properties: the About box and the picture for a
// development environment's DDE links.
#include <string>

#include "kvplotax_ctrl.h"
#include "ocx/messages.h"

namespace kvplotax {

namespace {

// Receives what the clipboard copy of the picture puts there, instead of the desktop's
// clipboard.
class PictureCapture final : public ocx::Clipboard {
 public:
  bool open() override { return true; }
  bool empty() override { return true; }
  bool setData(unsigned format, std::vector<std::uint8_t> data) override {
    if (format == ocx::kCfDib) dib = std::move(data);
    return true;
  }
  bool close() override { return true; }
  bool hasFormat(unsigned format) const override { return format == ocx::kCfDib && !dib.empty(); }
  std::vector<std::uint8_t> data(unsigned format) const override {
    return format == ocx::kCfDib ? dib : std::vector<std::uint8_t>();
  }
  bool ownedByCaller() const override { return true; }
  std::vector<std::uint8_t> dib;
};

}  // namespace

void CKvplotaxCtrl::aboutBox() {
  if (!site()) return;
  site()->showMessage("About KVPLOTAX", std::string("KVPLOTAX real-time chart control\nVersion ") +
                                            KVPLOTAX_VERSION +
                                            "\nCopyright (C) 2026 The Zelk developers");
}

std::int32_t CKvplotaxCtrl::formatFlags(unsigned format, std::int32_t mode) {
  if (format != ocx::kCfBitmap) return 0;
  return mode == 0 ? 8 : mode == 1 ? 2 : 0;
}

std::int32_t CKvplotaxCtrl::getData(unsigned format, std::vector<std::uint8_t>& data) {
  if (format != ocx::kCfBitmap && format != ocx::kCfDib) return ocx::kDdeFormatNotSupported;
  if (!hasSurface()) return ocx::kDdeNoData;
  // The bitmap format stands for the same device-independent bytes on this platform.
  PictureCapture capture;
  if (painter_.copyToClipboard(capture, false) != output::ChartPainter::OutputResult::kDone ||
      capture.dib.empty())
    return ocx::kDdeNoData;
  data = std::move(capture.dib);
  return ocx::kDdeOk;
}

std::int32_t CKvplotaxCtrl::setData(unsigned, std::span<const std::uint8_t>) {
  return ocx::kDdeFormatNotSupported;
}

std::int32_t CKvplotaxCtrl::linkAdvise(std::int32_t link) {
  ocx::DdeSite* dde = site() ? site()->ddeSite() : nullptr;
  return dde ? dde->linkAdvise(link) : 0;
}

std::int32_t CKvplotaxCtrl::linkUnadvise(std::int32_t link) {
  ocx::DdeSite* dde = site() ? site()->ddeSite() : nullptr;
  return dde ? dde->linkUnadvise(link) : 0;
}

}  // namespace kvplotax
