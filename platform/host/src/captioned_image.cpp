#include "host/captioned_image.h"

#include <algorithm>

#include "gdi/bitmap.h"
#include "gdi/device_context.h"
#include "gdi/font.h"
#include "gdi/text_align.h"

namespace host {
namespace {

std::uint32_t alignment(CaptionAlign align) {
  switch (align) {
    case CaptionAlign::Centre:
      return gdi::TA_CENTER | gdi::TA_TOP;
    case CaptionAlign::Right:
      return gdi::TA_RIGHT | gdi::TA_TOP;
    case CaptionAlign::Left:
      break;
  }
  return gdi::TA_LEFT | gdi::TA_TOP;
}

}  // namespace

namespace {

// Empty (0 by 0) when the picture or the strip is unusable.
gdi::Bitmap captioned(const PixelView& picture, std::span<const Caption> captions,
                      CaptionStrip strip) {
  if (picture.pixels == nullptr || picture.width < 1 || picture.height < 1 || strip.rows < 0) {
    return gdi::Bitmap();
  }
  gdi::Bitmap out(picture.width, picture.height + strip.rows, strip.colour);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint32_t* from = picture.pixels + static_cast<std::size_t>(y) * picture.stride;
    std::copy(from, from + picture.width, out.row(y));
  }
  gdi::DeviceContext dc(&out);
  dc.selectFont(gdi::Font::create(gdi::logFontFromPoints("Arial", 8, 96)));
  dc.setBkMode(gdi::TRANSPARENT);
  for (const Caption& caption : captions) {
    dc.setTextColor(caption.colour);
    dc.setTextAlign(alignment(caption.align));
    dc.textOut(caption.x, caption.y, caption.text);
  }
  return out;
}

PixelView viewOf(const gdi::Bitmap& bitmap) {
  const auto pixels = bitmap.pixels();
  return {pixels.data(), bitmap.width(), bitmap.height(), static_cast<std::size_t>(bitmap.width())};
}

}  // namespace

bool writeCaptionedImage(const std::filesystem::path& path, const PixelView& picture,
                         std::span<const Caption> captions, CaptionStrip strip) {
  const gdi::Bitmap out = captioned(picture, captions, strip);
  if (out.width() < 1) return false;
  return writeImageFile(path, viewOf(out));
}

std::string captionedPng(const PixelView& picture, std::span<const Caption> captions,
                         CaptionStrip strip) {
  const gdi::Bitmap out = captioned(picture, captions, strip);
  if (out.width() < 1) return {};
  return encodePng(viewOf(out));
}

}  // namespace host
