#include "live_image.h"

#include <array>
#include <cstdio>

#include "host/captioned_image.h"

namespace recorder::app {
namespace {

// The labels stand under the plot area's left edge, its middle and its right edge (the
// recorder's margins are 20 and 25).
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
  const std::array<host::Caption, 3> labels = {
      host::Caption{form_.Text2(), kLeftMargin, host::CaptionAlign::Left},
      host::Caption{form_.Text1(), (kLeftMargin + chart.width - kRightMargin) / 2,
                    host::CaptionAlign::Centre},
      host::Caption{form_.TimeDisp(), chart.width - kRightMargin, host::CaptionAlign::Right}};
  return host::writeCaptionedImage(options_.imagePath, chart, labels);
}

}  // namespace recorder::app
