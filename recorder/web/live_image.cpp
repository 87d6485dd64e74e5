#include "live_image.h"

#include <cstdio>

#include "recorder/station_chart.h"

namespace recorder::web {
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

ChartPictureText chartPictureText(const host::PixelView& chart, const ZelkChrtForm& form,
                                  bool clock, std::span<const Station> stations) {
  ChartPictureText text;
  if (clock) {
    const auto times = clockCaptions(chart, form);
    text.captions.assign(times.begin(), times.end());
    text.strip = kLabelStrip;
  }
  const StationLegend legend =
      stationLegend(stations, chart.width, chart.height + text.strip.rows + 1);
  if (legend.rows > 0) {
    text.captions.insert(text.captions.end(), legend.captions.begin(), legend.captions.end());
    text.strip.rows += legend.rows * kLegendRowHeight + 2;
  }
  return text;
}

bool LiveImage::secondPassed(long seconds) {
  if (settings_.every <= 0 || seconds % settings_.every != 0) return true;
  return write();
}

bool LiveImage::write() {
  const bool ok = settings_.labels || !stations_.empty() ? writeWithLabels()
                                                         : container_.writeScreen(settings_.path);
  if (!ok) std::fprintf(stderr, "zelkchart: cannot write the image %s\n", settings_.path.c_str());
  return ok;
}

bool LiveImage::writeWithLabels() const {
  const host::PixelView chart = container_.screen();
  const ChartPictureText text = chartPictureText(chart, form_, settings_.labels, stations_);
  return host::writeCaptionedImage(settings_.path, chart, text.captions, text.strip);
}

}  // namespace recorder::web
