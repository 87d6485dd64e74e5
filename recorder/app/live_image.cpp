#include "live_image.h"

#include <array>
#include <cstdio>

#include "host/captioned_image.h"

namespace recorder::app {
namespace {

// The strip under the chart that carries the labels, in the form's button face, and where they
// stand in it: under the plot area's left edge, its middle and its right edge (the recorder's
// margins are 20 and 25).
constexpr host::CaptionStrip kLabelStrip{18, 0xC0C0C0};
constexpr int kLeftMargin = 20;
constexpr int kRightMargin = 25;

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
  const int top = chart.height + 2;
  const std::array<host::Caption, 3> labels = {
      host::Caption{form_.Text2(), kLeftMargin, top, host::CaptionAlign::Left},
      host::Caption{form_.Text1(), (kLeftMargin + chart.width - kRightMargin) / 2, top,
                    host::CaptionAlign::Centre},
      host::Caption{form_.TimeDisp(), chart.width - kRightMargin, top, host::CaptionAlign::Right}};
  return host::writeCaptionedImage(options_.imagePath, chart, labels, kLabelStrip);
}

}  // namespace recorder::app
