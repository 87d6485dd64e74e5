#include "recorder/station_chart.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "recorder/chart_setup.h"

namespace recorder {
namespace {

using automation::Dispatch;
using automation::Variant;

// Channels, pens and the window the form does not use.
constexpr int kFirstChannel = 11;
constexpr int kFirstPen = 11;
constexpr int kWindow = 2;
constexpr int kBufferPoints = 16000;
// The legend's place and the width the caption font gives a character.
constexpr int kLegendLeft = 20;
constexpr int kLegendRight = 25;
constexpr int kCharWidth = 7;
constexpr int kEntryGap = 14;

constexpr std::uint32_t kColours[kMaxStations] = {0xC00000, 0x008000, 0x800080, 0x0080FF,
                                                  0x808000, 0x004080, 0xC000C0, 0x404040};

Variant i2(int v) { return Variant(static_cast<std::int16_t>(v)); }

void selectFormObjects(Dispatch& chart) {
  chart.put("Pen_Select", i2(1));
  chart.put("Wnd_Select", i2(1));
  chart.put("Chn_Select", i2(1));
}

}  // namespace

std::uint32_t stationColour(std::size_t i) { return kColours[i % kMaxStations]; }

void StationTraces::setUp(Dispatch& chart) {
  for (std::size_t i = 0; i < stations_.size(); ++i) {
    chart.put("Pen_Select", i2(kFirstPen + int(i)));
    chart.put("PenColor", Variant(static_cast<std::int32_t>(stationColour(i))));
    chart.put("PenIntenseColor", Variant(static_cast<std::int32_t>(stationColour(i))));
    chart.put("PenWidth", i2(1));
    chart.put("PenStyle", i2(0));
  }
  chart.put("Wnd_Select", i2(kWindow));
  chart.put("WndXmin", i2(0));
  chart.put("WndWidth", i2(9600));
  chart.put("WndYmin", Variant(kStationBottomDb));
  chart.put("WndHeight", Variant(kStationTopDb - kStationBottomDb));
  for (std::size_t i = 0; i < stations_.size(); ++i) {
    chart.put("Chn_Select", i2(kFirstChannel + int(i)));
    chart.put("ChnDspViewport", i2(1));
    chart.put("ChnDspWindow", i2(kWindow));
    chart.put("ChnDspPen", i2(kFirstPen + int(i)));
    chart.put("ChnDspBufLen", i2(kBufferPoints));
    chart.put("ChnDspMode", i2(1));
    chart.put("ChnDspStyle", i2(1));
    chart.put("ChnDspOffsetX", i2(0));
    chart.put("ChnDspOffsetY", i2(0));
    // Levels in 32-bit floats, X in 64-bit floats as the form's own trace.
    for (const auto& [dimension, type] : {std::pair{1, 6}, std::pair{0, 7}}) {
      chart.put("ChnData_Dimension", i2(dimension));
      chart.put("ChnDataShape", i2(0));
      chart.put("ChnDataType", i2(type));
      chart.put("ChnDataOffset", i2(0));
      chart.put("ChnDataIncr", i2(1));
      chart.put("ChnDataXform", i2(0));
    }
    chart.put("ChnDspAction", i2(kChannelInitialize));
  }
  selectFormObjects(chart);
  lastX_ = -1.0;
}

void StationTraces::initialise(Dispatch& chart) {
  for (std::size_t i = 0; i < stations_.size(); ++i) {
    chart.put("Chn_Select", i2(kFirstChannel + int(i)));
    chart.put("ChnDspAction", i2(kChannelInitialize));
  }
}

void StationTraces::clear(Dispatch& chart) {
  initialise(chart);
  chart.put("Chn_Select", i2(1));
  lastX_ = -1.0;
}

void StationTraces::plot(Dispatch& chart, std::span<const double> levels, double x) {
  // A stopped recording puts the form's next point back at 0: its traces stay until it starts
  // again.
  if (x <= 0.0 || x == lastX_) return;
  bool selected = x < lastX_;  // a station's channel is selected: the form's must be again
  if (selected) initialise(chart);
  lastX_ = x;
  const std::size_t n = std::min(levels.size(), stations_.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (!(levels[i] > 0.0)) continue;
    const double db = std::max(10.0 * std::log10(levels[i]), kStationBottomDb);
    call_.values()[0] = static_cast<float>(std::min(db, kStationTopDb));
    call_.xs()[0] = x;
    call_.send(chart, static_cast<std::int16_t>(kFirstChannel + int(i)), 1);
  }
  if (selected) chart.put("Chn_Select", i2(1));
}

StationLegend stationLegend(std::span<const Station> stations, int pictureWidth, int top) {
  StationLegend legend;
  if (stations.empty()) return legend;
  const int right = pictureWidth - kLegendRight;
  int x = kLegendLeft;
  legend.rows = 1;
  auto place = [&](const std::string& text, std::uint32_t colour) {
    const int width = kCharWidth * static_cast<int>(text.size());
    if (x > kLegendLeft && x + width > right) {
      x = kLegendLeft;
      ++legend.rows;
    }
    legend.captions.push_back(
        {text, x, top + (legend.rows - 1) * kLegendRowHeight, host::CaptionAlign::Left, colour});
    x += width + kEntryGap;
  };
  place(std::to_string(static_cast<int>(kStationBottomDb)) + ".." +
            std::to_string(static_cast<int>(kStationTopDb)) + " dB:",
        0x000000);
  for (std::size_t i = 0; i < stations.size(); ++i)
    place(stationLabel(stations[i]), stationColour(i));
  return legend;
}

}  // namespace recorder
