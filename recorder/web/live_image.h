// The chart's picture as an unattended run keeps it: written at the end, and every N seconds of
// signal when asked, each time to a scratch file that replaces the picture only once complete,
// so a viewer never reads half a picture. With labels, the clock's three times (left edge,
// middle, right edge) stand under the chart, so the picture alone says when it was taken.
#pragma once

#include <array>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "host/captioned_image.h"
#include "host/headless.h"
#include "recorder/stations.h"
#include "recorder/zelk_chrt_form.h"

namespace recorder::web {

// The strip under the chart that carries the labels, in the form's button face.
inline constexpr host::CaptionStrip kLabelStrip{18, 0xC0C0C0};

// The clock's three times under the plot area's left edge, middle and right edge of a chart
// picture, as the labelled image and the web view show them.
std::array<host::Caption, 3> clockCaptions(const host::PixelView& chart, const ZelkChrtForm& form);

// What is written on a chart picture: the clock's times when asked, and under them the
// stations' legend when there are stations, each with the strip that carries it.
struct ChartPictureText {
  std::vector<host::Caption> captions;
  host::CaptionStrip strip;
};
ChartPictureText chartPictureText(const host::PixelView& chart, const ZelkChrtForm& form,
                                  bool clock, std::span<const Station> stations);

// Where the picture is written, how often and whether with the clock's labels.
struct LiveImageSettings {
  std::string path;
  int every = 0;  // rewrite it every N seconds of signal; 0: only when write() is called
  bool labels = false;
};

class LiveImage {
 public:
  LiveImage(const host::HeadlessContainer& container, const ZelkChrtForm& form,
            LiveImageSettings settings)
      : container_(container), form_(form), settings_(std::move(settings)) {}

  // Called after each second of signal. False when a due picture could not be written.
  bool secondPassed(long seconds);
  // Writes the picture now; reports a failure on stderr.
  bool write();
  // The stations the picture's legend names.
  void setStations(std::vector<Station> stations) { stations_ = std::move(stations); }

 private:
  bool writeWithLabels() const;

  const host::HeadlessContainer& container_;
  const ZelkChrtForm& form_;
  LiveImageSettings settings_;
  std::vector<Station> stations_;
};

}  // namespace recorder::web
