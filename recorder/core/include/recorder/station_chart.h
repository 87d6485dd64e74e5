// The stations on the recorder's chart: each station a strip-chart trace of its own colour in a
// window of its own, in dB, beside the form's trace, and the legend that names them under the
// chart's picture. Nothing here is set up in a run without stations, so such a chart is drawn
// exactly as before.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "automation/automation.h"
#include "host/captioned_image.h"
#include "recorder/chart_data_call.h"
#include "recorder/stations.h"

namespace recorder {

// The stations' window spans these levels; a lower level is drawn on its bottom edge.
inline constexpr double kStationBottomDb = -100.0;
inline constexpr double kStationTopDb = 0.0;

// Station i's trace colour, 0x00BBGGRR.
std::uint32_t stationColour(std::size_t i);

class StationTraces {
 public:
  explicit StationTraces(std::vector<Station> stations) : stations_(std::move(stations)) {}
  StationTraces(const StationTraces&) = delete;
  StationTraces& operator=(const StationTraces&) = delete;

  // The stations' pens, window and channels, after the form's own set-up. The form's selectors
  // (window 1, pen 1, channel 1) are selected again afterwards: the form's later writes assume
  // them.
  void setUp(automation::Dispatch& chart);

  // One point per station that has a level (mean square, 0 for none yet) at the position x of
  // the form's newest point, so the stations scroll with the form's trace. Nothing before the
  // form's first point; a position moved back (the recording started again) clears the
  // stations' traces first.
  void plot(automation::Dispatch& chart, std::span<const double> levels, double x);

  // Takes the stations' traces off the chart (their list is about to change).
  void clear(automation::Dispatch& chart);

  const std::vector<Station>& stations() const { return stations_; }

 private:
  void initialise(automation::Dispatch& chart);

  std::vector<Station> stations_;
  ChartDataCall call_;
  double lastX_ = -1.0;
};

// The legend: "NAA 24.0 kHz" in each station's colour after the window's span in dB, in rows of
// the picture's width starting at top. rows tells how many rows it takes (0 without stations).
struct StationLegend {
  std::vector<host::Caption> captions;
  int rows = 0;
};
inline constexpr int kLegendRowHeight = 14;
StationLegend stationLegend(std::span<const Station> stations, int pictureWidth, int top);

}  // namespace recorder
