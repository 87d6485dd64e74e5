#include "day_plot_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "apps/class_ids.h"
#include "apps/sun_options.h"
#include "day_plot_logs.h"
#include "host/captioned_image.h"
#include "host/headless.h"
#include "recorder/chart_setup.h"
#include "recorder/day_plot_data.h"
#include "recorder/log_rotation.h"
#include "recorder/sid_reader.h"
#include "xvtools/sun_times.h"

namespace recorder::dayplot {

namespace {

using apps::kChartClassId;
using automation::Dispatch;
using automation::Variant;

constexpr int kMarginLeft = 56;
constexpr int kMarginTop = 26;
constexpr int kLegendRowHeight = 14;
constexpr int kLegendCharWidth = 7;  // wide enough for the caption font's widest letters
constexpr int kMarginRight = 24;
constexpr int kMarginBottom = 30;
constexpr int kMaxSide = 8000;
constexpr int kVertDivisions = 8;
// Pens of the logs in turn (0x00BBGGRR), then the sun marks' and the scale's.
constexpr std::int32_t kLogColours[] = {0x0000C0, 0xC00000, 0x008000, 0x800080,
                                        0x008080, 0x808000, 0x404040, 0x0080FF};
constexpr int kSunPen = 9;
constexpr int kScalePen = 10;
constexpr std::int32_t kSunColour = 0x00A0FF;
constexpr double kSteps[] = {60,   120,   300,   600,   900,   1800, 3600,
                             7200, 10800, 14400, 21600, 43200, 86400};

Variant i2(int v) { return Variant(static_cast<std::int16_t>(v)); }

// A round top for the level scale: 8 divisions of a 1-2-5 step.
double levelTop(float highest) {
  for (double decade = 1;; decade *= 10) {
    for (double m : {1.0, 2.0, 2.5, 5.0}) {
      if (m * decade * kVertDivisions >= highest) return m * decade * kVertDivisions;
    }
  }
}

void drawChannel(Dispatch& chart, int channel, int pen, std::span<const double> x,
                 std::span<const float> y) {
  const auto n = static_cast<std::int32_t>(x.size());
  if (n < 1) return;
  describeChannel(chart, {.channel = static_cast<std::int16_t>(channel),
                          .pen = static_cast<std::int16_t>(pen),
                          .bufferLength = static_cast<std::int16_t>(n),
                          .mode = 0});
  auto ys = automation::SafeArray::create(automation::VT_R4, x.size());
  auto xs = automation::SafeArray::create(automation::VT_R8, x.size());
  std::copy(y.begin(), y.end(), static_cast<float*>(ys->data()));
  std::copy(x.begin(), x.end(), static_cast<double*>(xs->data()));
  std::array<Variant, 6> args = {i2(channel),
                                 Variant(n),
                                 Variant::array(automation::VT_R4, ys),
                                 Variant(std::int32_t{0}),
                                 Variant::array(automation::VT_R8, xs),
                                 Variant(std::int32_t{0})};
  chart.call("ChartData", args);
}

void setPen(Dispatch& chart, int pen, std::int32_t colour, int style) {
  chart.put("Pen_Select", i2(pen));
  chart.put("PenColor", Variant(colour));
  chart.put("PenIntenseColor", Variant(colour));
  chart.put("PenWidth", i2(1));
  chart.put("PenStyle", i2(style));
}

// 10 log10 of each level; a level of 0 (or less) has none and is left out, and a run left
// without points goes with it.
void inDecibels(LogSeries& s) {
  LogSeries kept;
  for (const auto& [from, to] : s.runs()) {
    bool started = false;
    for (std::size_t i = from; i < to; ++i) {
      if (!(s.value[i] > 0.0f)) continue;
      if (!started) kept.runStarts.push_back(kept.time.size());
      started = true;
      kept.time.push_back(s.time[i]);
      kept.value.push_back(static_cast<float>(10.0 * std::log10(s.value[i])));
    }
  }
  s = std::move(kept);
}

// Each station of each SID file is a recording of its own, named by call sign and frequency. A
// file that cannot be read is named on err and skipped, as a log is.
std::vector<Recording> readSidRecordings(const std::vector<std::string>& paths, std::ostream& err) {
  std::vector<Recording> recordings;
  for (const std::string& path : paths) {
    SidReadResult r = readSidFile(path);
    if (!r.error.empty()) {
      err << "zelkchart: " << r.error << '\n';
      continue;
    }
    for (SidStationSeries& station : r.stations) {
      if (station.series.time.empty()) continue;
      recordings.push_back(
          {std::move(station.label), std::move(station.series), parseIsoDay(r.firstDay)});
    }
  }
  return recordings;
}

}  // namespace

int runDayPlot(const DayPlotOptions& o, std::ostream& err) {
  auto refuse = [&err](const std::string& why) {
    err << "zelkchart: " << why << '\n';
    return 2;
  };
  if (o.logs.empty()) return refuse("--plot needs at least one log");
  if (o.imagePath.empty() && o.png == nullptr) return refuse("--plot needs --image FILE.png");
  const std::string ext = std::filesystem::path(o.imagePath).extension().string();
  if (o.png == nullptr && ext != ".png" && ext != ".bmp")
    return refuse("--image " + o.imagePath + " must end in .png or .bmp");
  int width = 1200, height = 400;
  if (!o.size.empty()) {
    int used = 0;
    if (std::sscanf(o.size.c_str(), "%dx%d%n", &width, &height, &used) != 2 ||
        used != static_cast<int>(o.size.size()) || width < 300 || height < 150 ||
        width > kMaxSide || height > kMaxSide) {
      return refuse("--size " + o.size + " is not WxH from 300x150 to " + std::to_string(kMaxSide) +
                    "x" + std::to_string(kMaxSide));
    }
  }
  std::optional<double> from, to;
  if (!o.from.empty()) {
    if (auto why = apps::readClockOption("--from", o.from, from); !why.empty()) return refuse(why);
  }
  if (!o.to.empty()) {
    if (auto why = apps::readClockOption("--to", o.to, to, true); !why.empty()) return refuse(why);
  }
  if (!o.clock.empty() && o.clock != "utc" && o.clock != "local")
    return refuse("--clock " + o.clock + " is not utc or local");
  // SID files (levels in dB, times in UTC) are drawn instead of logs, never beside them.
  const bool sid = o.streams.empty() && std::any_of(o.logs.begin(), o.logs.end(), isSidFile);
  if (sid && !std::all_of(o.logs.begin(), o.logs.end(), isSidFile))
    return refuse("--plot draws logs or SID files, not both");
  const bool utc = o.clock.empty() ? sid : o.clock == "utc";
  // A SID file's days are in it; a log's in its name.
  const bool dated = sid || std::any_of(o.logs.begin(), o.logs.end(), [](const std::string& path) {
                       return splitLogName(path).day.has_value();
                     });
  apps::SunPlace sun;
  if (auto why = apps::readSunOptions(o.site, o.date, dated, sun); !why.empty()) return refuse(why);

  std::vector<Recording> logs =
      sid ? readSidRecordings(o.logs, err) : readRecordings(o.logs, err, o.streams);
  const bool db = sid || o.db;  // SID files' readings are in dB already
  if (db && !sid) {
    for (Recording& r : logs) inDecibels(r.series);
    std::erase_if(logs, [](const Recording& r) { return r.series.time.empty(); });
  }
  if (logs.size() > std::size(kLogColours)) {
    return refuse("--plot overlays at most " + std::to_string(std::size(kLogColours)) +
                  " recordings");
  }
  double first = 1e300, last = -1e300;
  float highest = db ? -1e30f : 0.0f, lowest = 1e30f;
  for (const Recording& r : logs) {
    first = std::min(first, r.series.time.front());
    last = std::max(last, r.series.time.back());
    for (float v : r.series.value) {
      highest = std::max(highest, v);
      lowest = std::min(lowest, v);
    }
  }
  if (logs.empty()) {
    err << "zelkchart: no log holds a point to draw; no picture written\n";
    return 1;
  }
  // Grid lines stand at round clock times: the span is widened to whole steps unless given.
  const double plotWidthGuess = width - kMarginLeft - kMarginRight - 10;
  double begin = from.value_or(first);
  double end = to.value_or(last);
  if (to && from && *to <= *from) end += 86400;
  if (to && !from && end <= begin) end += 86400 * std::ceil((begin - end) / 86400 + 1e-9);
  if (end <= begin) end = begin + 60;
  double step = kSteps[std::size(kSteps) - 1];
  for (double s : kSteps) {
    if ((end - begin) / s <= std::max(2.0, plotWidthGuess / 70)) {
      step = s;
      break;
    }
  }
  if (!from) begin = std::floor(begin / step) * step;
  if (!to) end = std::ceil(end / step) * step;
  if (end <= begin) end = begin + step;
  const int divisions = std::max(1, static_cast<int>(std::lround((end - begin) / step)));
  double bottom = 0.0, top = levelTop(std::max(highest, 1.0f));
  if (db) {
    // dB: from a multiple of 10 under the lowest reading, in divisions of a multiple of 5 dB.
    bottom = std::floor(lowest / 10.0) * 10.0;
    top = bottom + kVertDivisions * 5.0 *
                       std::max(1.0, std::ceil((highest - bottom) / (5.0 * kVertDivisions)));
  }
  if (std::none_of(logs.begin(), logs.end(), [&](const Recording& r) {
        return std::any_of(r.series.time.begin(), r.series.time.end(),
                           [&](double t) { return t >= begin && t < end; });
      })) {
    err << "zelkchart: no point lies between " << xvtools::formatClockMinutes(begin) << " and "
        << xvtools::formatClockMinutes(end) << "; the picture shows the span empty\n";
  }

  // The legend names every recording, in as many rows as the width needs; the plot starts below.
  struct LegendPlace {
    int x;  // from the plot's left
    int row;
  };
  std::vector<LegendPlace> legend;
  int legendRows = 1;
  for (int x = 0; const Recording& r : logs) {
    const int w = 20 + kLegendCharWidth * static_cast<int>(r.name.size());
    if (x > 0 && kMarginLeft + x + w > width - kMarginRight) {
      ++legendRows;
      x = 0;
    }
    legend.push_back({x, legendRows - 1});
    x += w + 16;
  }
  const int marginTop = kMarginTop + kLegendRowHeight * (legendRows - 1);

  host::HeadlessContainer container(width, height);
  Dispatch* chart = nullptr;
  try {
    chart = &container.create(*automation::Guid::parse(kChartClassId));
    container.pump();
    Dispatch& c = *chart;
    for (std::size_t i = 0; i < logs.size(); ++i) setPen(c, int(i) + 1, kLogColours[i], 0);
    setPen(c, kSunPen, kSunColour, 1);
    setPen(c, kScalePen, 0x000000, 0);
    c.put("ColorDepth", i2(1));
    // Each delivery paints at once: nothing waits for the frame timer.
    c.put("FramesPerSec", i2(-1));
    c.put("BackColor", Variant(std::int32_t{0xFFFFFF}));
    c.put("GridOn", Variant(true));
    c.put("GridColor", Variant(std::int32_t{0xD0D0D0}));
    c.put("FrameOn", Variant(true));
    c.put("FrameColor", Variant(std::int32_t{0x404040}));
    c.put("AxesColor", Variant(std::int32_t{0x404040}));
    c.put("AxesType", i2(3));
    c.put("MajorDivHorz", i2(divisions));
    c.put("MajorDivVert", i2(kVertDivisions));
    c.put("MinorDiv", i2(1));
    c.put("MarginLeft", i2(kMarginLeft));
    c.put("MarginTop", i2(marginTop));
    c.put("MarginRight", i2(kMarginRight));
    c.put("MarginBottom", i2(kMarginBottom));
    c.put("Viewports", i2(1));
    c.put("Wnd_Select", i2(1));
    c.put("WndXmin", Variant(begin));
    c.put("WndWidth", Variant(end - begin));
    c.put("WndYmin", Variant(bottom));
    c.put("WndHeight", Variant(top - bottom));
    c.put("Scale_Select", i2(1));
    c.put("ScaleViewport", i2(1));
    c.put("ScaleWindow", i2(1));
    c.put("ScaleDimension", i2(0));
    c.put("ScaleVisibility", i2(0));
    c.put("ScaleAction", i2(1));
    c.put("ScaleDimension", i2(1));
    c.put("ScalePen", i2(kScalePen));
    c.put("LabelPen", i2(kScalePen));
    c.put("ScaleLocation", i2(1));
    c.put("ScalePosition", i2(1));
    c.put("ScaleOrientation", i2(1));
    c.put("ScalePlaces", i2(0));
    c.put("ScaleFactor", Variant(1.0));
    c.put("LabelCaption", Variant(std::string("")));
    c.put("ScaleVisibility", i2(1));
    c.put("ScaleAction", i2(1));
    container.pump();
    c.put("Viewport_Select", i2(1));
    const int plotLeft = c.get("ViewportLeft").toI4() / 15;
    const int plotRight = c.get("ViewportRight").toI4() / 15;
    const int plotTop = c.get("ViewportTop").toI4() / 15;
    const int plotBottom = c.get("ViewportBottom").toI4() / 15;
    // Each run of a log is a line of its own, so lines stop where the clock jumps; runs closer
    // than a column are drawn as one, since no gap could show between them.
    const int columns = std::max(1, plotRight - plotLeft);
    const double columnSeconds = (end - begin) / columns;
    int channel = 0;
    for (std::size_t i = 0; i < logs.size(); ++i) {
      const LogSeries& s = logs[i].series;
      const auto runs = s.runs();
      for (std::size_t r = 0; r < runs.size(); ++r) {
        const std::size_t from = runs[r].first;
        while (r + 1 < runs.size() && s.time[runs[r + 1].first] > s.time[runs[r].second - 1] &&
               s.time[runs[r + 1].first] - s.time[runs[r].second - 1] < columnSeconds) {
          ++r;
        }
        const std::size_t count = runs[r].second - from;
        const ColumnPoints points =
            reduceToColumns(std::span(s.time).subspan(from, count),
                            std::span(s.value).subspan(from, count), begin, end, columns);
        if (!points.time.empty()) drawChannel(c, ++channel, int(i) + 1, points.time, points.value);
      }
    }
    std::vector<apps::SunMark> marks;
    if (sun.site) {
      if (!sun.date) {
        // The first recording whose names date it; the others overlay it by time of day.
        for (const Recording& r : logs) {
          if (r.firstDate) {
            sun.date = dateOfDay(*r.firstDate);
            break;
          }
        }
      }
      if (sun.date) marks = apps::sunMarks(*sun.site, *sun.date, begin, end, utc);
    }
    for (const apps::SunMark& mark : marks) {
      const double x[] = {mark.time, mark.time};
      const float y[] = {static_cast<float>(bottom), static_cast<float>(top)};
      drawChannel(c, ++channel, kSunPen, x, y);
    }
    container.pump();

    // The clock labels under the grid lines and the legend above the plot, in the chart's font.
    const host::PixelView screen = container.screen();
    std::vector<std::uint32_t> picture(static_cast<std::size_t>(screen.width) * screen.height);
    for (int y = 0; y < screen.height; ++y) {
      const std::uint32_t* row = screen.pixels + static_cast<std::size_t>(y) * screen.stride;
      std::copy(row, row + screen.width, picture.begin() + std::ptrdiff_t(y) * screen.width);
    }
    std::vector<host::Caption> captions;
    for (int d = 0; d <= divisions; ++d) {
      const int x =
          plotLeft + static_cast<int>(std::lround(double(d) * (plotRight - plotLeft) / divisions));
      captions.push_back({xvtools::formatClockMinutes(begin + d * step), x, plotBottom + 4,
                          host::CaptionAlign::Centre});
    }
    for (std::size_t i = 0; i < logs.size(); ++i) {
      const int x = plotLeft + legend[i].x, y = 7 + kLegendRowHeight * legend[i].row;
      std::uint32_t* swatch = picture.data() + std::ptrdiff_t(y + 7) * screen.width + x;
      std::fill(swatch, swatch + 16, static_cast<std::uint32_t>(kLogColours[i]));
      captions.push_back({logs[i].name, x + 20, y, host::CaptionAlign::Left,
                          static_cast<std::uint32_t>(kLogColours[i])});
    }
    // Each mark is named at its line, just inside the plot's top.
    for (const apps::SunMark& mark : marks) {
      const int x = plotLeft + static_cast<int>(std::lround((mark.time - begin) / (end - begin) *
                                                            (plotRight - plotLeft)));
      captions.push_back({mark.text + (utc ? " UTC" : ""), x + 3, plotTop + 2,
                          host::CaptionAlign::Left, static_cast<std::uint32_t>(kSunColour)});
    }
    const host::PixelView view{picture.data(), screen.width, screen.height,
                               static_cast<std::size_t>(screen.width)};
    if (o.png != nullptr) {
      *o.png = host::captionedPng(view, captions);
      if (o.png->empty()) {
        err << "zelkchart: the picture cannot be encoded\n";
        return 1;
      }
    } else if (!host::writeCaptionedImage(o.imagePath, view, captions)) {
      err << "zelkchart: cannot write the image " << o.imagePath << '\n';
      return 1;
    }
  } catch (const std::exception& e) {
    err << "zelkchart: the chart control " << kChartClassId << " failed: " << e.what() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace recorder::dayplot
