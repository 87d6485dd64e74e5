#include <algorithm>

#include "gdi/device_context.h"
#include "ocx/printing.h"
#include "output/dib_conversions.h"
#include "output/dib_errors.h"
#include "output/printing.h"

namespace kvplotax::output {

gdi::Bitmap captureWindow(ocx::PrintServices& services, std::uintptr_t window, int area) {
  if (area != kPrintWindow && area != kPrintClientArea) return {};
  const auto rect = services.windowRect(
      window, area == kPrintWindow ? ocx::CaptureArea::kWindow : ocx::CaptureArea::kClient);
  if (!rect || rect->isEmpty()) return {};
  // Only what lies on the screen can be read from it.
  const gdi::Point screen = services.screenSize();
  const int left = std::max(rect->left, 0);
  const int top = std::max(rect->top, 0);
  const gdi::Rect clamped{left, top, std::min(screen.x, rect->right),
                          std::min(screen.y, rect->bottom)};
  if (clamped.isEmpty()) return {};
  std::optional<gdi::Bitmap> picture = services.grabScreen(clamped);
  if (!picture || picture->width() != clamped.width() || picture->height() != clamped.height())
    return {};
  return std::move(*picture);
}

std::uint16_t CaptureAndPrintWindow(ocx::PrintServices* services, std::uintptr_t window, int area,
                                    int option, std::uint16_t xScale, std::uint16_t yScale,
                                    std::string_view jobName) {
  if (window == 0) return ERR_INVALIDHANDLE;
  if (services == nullptr) return ERR_DIBFUNCTION;
  const gdi::Bitmap picture = captureWindow(*services, window, area);
  if (picture.isEmpty()) return ERR_DIBFUNCTION;
  // A true-colour screen has no system palette; the conversion then takes the default one.
  const gdi::DeviceContext screen;
  const std::optional<gdi::Palette> palette = CaptureSystemPalette(screen);
  const std::optional<gdi::PackedDib> dib =
      BitmapToPackedDib(&picture, palette ? &*palette : nullptr);
  if (!dib) return ERR_DIBFUNCTION;
  return PrintPackedDib(services, &*dib, option, xScale, yScale, jobName);
}

}  // namespace kvplotax::output
