#include "live_image.h"

#include <cstdio>

#include "gdi/bitmap.h"
#include "gdi/device_context.h"
#include "gdi/font.h"
#include "gdi/text_align.h"
#include "host/image_file.h"

namespace recorder::app {
namespace {

// The strip under the chart that carries the labels, and where they stand in it: under the
// plot area's left edge, its middle and its right edge (the recorder's margins are 20 and 25).
constexpr int kLabelStrip = 18;
constexpr int kLeftMargin = 20;
constexpr int kRightMargin = 25;
constexpr gdi::ColorRef kStripColour = 0xC0C0C0;  // the form's button face

}  // namespace

bool LiveImage::secondPassed(long seconds) {
  if (options_.imageEvery <= 0 || seconds % options_.imageEvery != 0) return true;
  return write();
}

bool LiveImage::write() {
  const bool ok =
      options_.imageLabels ? writeWithLabels() : container_.writeScreen(options_.imagePath);
  if (!ok)
    std::fprintf(stderr, "zelkchart: cannot write the image %s\n", options_.imagePath.c_str());
  return ok;
}

bool LiveImage::writeWithLabels() const {
  const host::PixelView chart = container_.screen();
  if (chart.pixels == nullptr || chart.width < 1 || chart.height < 1) return false;
  gdi::Bitmap picture(chart.width, chart.height + kLabelStrip, kStripColour);
  for (int y = 0; y < chart.height; ++y) {
    const std::uint32_t* from = chart.pixels + static_cast<std::size_t>(y) * chart.stride;
    std::copy(from, from + chart.width, picture.row(y));
  }
  gdi::DeviceContext dc(&picture);
  dc.selectFont(gdi::Font::create(gdi::logFontFromPoints("Arial", 8, 96)));
  dc.setBkMode(gdi::TRANSPARENT);
  dc.setTextColor(0x000000);
  const int top = chart.height + 2;
  dc.setTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
  dc.textOut(kLeftMargin, top, form_.Text2());
  dc.setTextAlign(gdi::TA_CENTER | gdi::TA_TOP);
  dc.textOut((kLeftMargin + chart.width - kRightMargin) / 2, top, form_.Text1());
  dc.setTextAlign(gdi::TA_RIGHT | gdi::TA_TOP);
  dc.textOut(chart.width - kRightMargin, top, form_.TimeDisp());
  const auto pixels = picture.pixels();
  return host::writeImageFile(options_.imagePath, {pixels.data(), picture.width(), picture.height(),
                                                   static_cast<std::size_t>(picture.width())});
}

}  // namespace recorder::app
