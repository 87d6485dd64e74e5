// Text output of the device context, handed to the text layer with the context's colours,
// background mode, alignment, current position and drawable area.
#include <utility>

#include "gdi/device_context.h"
#include "gdi/font.h"
#include "gdi/system_font.h"
#include "gdi/text_align.h"
#include "gdi/text_output.h"

namespace gdi {

const Font& DeviceContext::textFont() const {
  if (textFont_) return *textFont_;
  static const std::shared_ptr<const Font> system = systemFont();
  return *system;
}

std::uint32_t DeviceContext::setTextAlign(std::uint32_t align) {
  return std::exchange(textAlign_,
                       align & (kTextAlignHorizontalMask | kTextAlignVerticalMask | TA_UPDATECP));
}

void DeviceContext::textOut(int x, int y, std::string_view utf8) {
  if (target_ == nullptr || target_->isEmpty()) return;
  const bool fromPosition = (textAlign_ & TA_UPDATECP) != 0;
  const PixelBufferView buffer{target_->pixels().data(), target_->width(), target_->width(),
                               target_->height()};
  TextStyle style;
  style.textPixel = textColor_;
  style.backgroundPixel = bkColor_;
  style.opaque = bkMode_ == OPAQUE;
  style.align = textAlign_;
  const Point reference = fromPosition ? position_ : Point{x, y};
  const Point next = drawText(buffer, drawableRects(), textFont(), reference, utf8, style);
  if (fromPosition) position_ = next;
}

TextExtent DeviceContext::getTextExtent(std::string_view utf8) const {
  return textFont().extent(utf8);
}

const TextMetrics& DeviceContext::getTextMetrics() const { return textFont().metrics(); }

}  // namespace gdi
