#include "live_image.h"

#include <cstdio>

namespace recorder::app {
namespace {

// The recorder's margins, which the labels stand under.
constexpr int kLeftMargin = 20;
constexpr int kRightMargin = 25;

}  // namespace

std::array<host::Caption, 3> clockCaptions(const host::PixelView& chart, const ZelkChrtForm& form) {
  const int top = chart.height + 2;
  return {
      host::Caption{form.Text2(), kLeftMargin, top, host::CaptionAlign::Left},
      host::Caption{form.Text1(), (kLeftMargin + chart.width - kRightMargin) / 2, top,
                    host::CaptionAlign::Centre},
      host::Caption{form.TimeDisp(), chart.width - kRightMargin, top, host::CaptionAlign::Right}};
}

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
  return host::writeCaptionedImage(options_.imagePath, chart, clockCaptions(chart, form_),
                                   kLabelStrip);
}

}  // namespace recorder::app
