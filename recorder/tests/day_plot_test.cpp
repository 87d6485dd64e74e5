// Day plots through the run the program calls: points at their clock times' columns, logs
// overlaid by time of day, sun marks where the sun rises, and logs that stop the plot.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "day_plot_run.h"
#include "png_picture.h"
#include "scratch_folder.h"

namespace recorder::app {
namespace {

constexpr std::uint32_t kFirstPen = 0xC00000;   // red, as RGB
constexpr std::uint32_t kSecondPen = 0x0000C0;  // blue
constexpr std::uint32_t kSunPen = 0xFFA000;
constexpr std::uint32_t kFrame = 0x404040;

struct Picture : zelk::test::RgbPicture {
  std::uint32_t at(int x, int y) const {
    const std::uint8_t* p = &rgb[(std::size_t(y) * width + x) * 3];
    return std::uint32_t(p[0]) << 16 | p[1] << 8 | p[2];
  }
  // The plot's frame lines across the middle row.
  std::pair<int, int> frame() const {
    int left = -1, right = -1;
    for (int x = 0; x < width; ++x) {
      if (at(x, height / 2) == kFrame) {
        if (left < 0) left = x;
        right = x;
      }
    }
    return {left, right};
  }
  // The column showing fraction f of the span.
  double column(double f) const {
    const auto [left, right] = frame();
    return left + f * (right - left);
  }
  // The first column from `from` whose highest pixel of the colour lies above row `above`.
  int firstAbove(std::uint32_t colour, int above, int from = 0) const {
    const std::vector<int> top = topRows(colour);
    for (int x = from; x < width; ++x) {
      if (top[std::size_t(x)] > 40 && top[std::size_t(x)] < above) return x;
    }
    return -1;
  }
  // Per column the highest row holding the colour.
  std::vector<int> topRows(std::uint32_t colour) const {
    std::vector<int> top(std::size_t(width), -1);
    for (int x = 0; x < width; ++x) {
      // Below the legend, which stands over the plot.
      for (int y = 40; y < height && top[std::size_t(x)] < 0; ++y) {
        if (at(x, y) == colour) top[std::size_t(x)] = y;
      }
    }
    return top;
  }
};

Picture readPng(const std::string& path) { return {zelk::test::readPng(path)}; }

class DayPlotTest : public zelk::test::ScratchFolder {
 protected:
  // A log from startSecond (seconds into the day) for seconds, 20 points a second of level(t).
  std::string log(const std::string& name, int startSecond, int seconds,
                  const std::function<float(int)>& level) {
    std::ofstream out(p(name), std::ios::binary);
    auto clock = [](int s) {
      char text[16];
      std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600 % 24, s / 60 % 60, s % 60);
      return std::string(text);
    };
    out << "\"T\"," << '#' << clock(startSecond) << "#,4\r\n";
    for (int s = startSecond + 1; s <= startSecond + seconds; ++s) {
      for (int i = 0; i < 20; ++i) out << "\"D\"," << level(s - 1) << "\r\n";
      out << "\"T\"," << '#' << clock(s) << "#,4\r\n";
    }
    return p(name);
  }

  int run(const DayPlotOptions& o) {
    err.str("");
    return runDayPlot(o, err);
  }

  std::ostringstream err;
};

TEST_F(DayPlotTest, PointsStandAtTheirClockTimesColumnsAndLogsOverlayByTimeOfDay) {
  // Steps at 10:10 in the first log and 10:15 in the second (recorded from 10:05 on another day).
  DayPlotOptions o;
  o.logs = {
      log("first.log", 10 * 3600, 1200, [](int s) { return s < 36600 ? 110.0f : 690.0f; }),
      log("second.log", 10 * 3600 + 300, 900, [](int s) { return s < 36900 ? 310.0f : 490.0f; })};
  o.imagePath = p("day.png");
  ASSERT_EQ(run(o), 0) << err.str();
  const Picture pic = readPng(o.imagePath);
  ASSERT_EQ(pic.width, 1200);
  ASSERT_EQ(pic.height, 400);
  // The first log spans the picture, 10:00 to 10:20: its high level begins half-way, the second
  // log's at three quarters; the second log itself begins at a quarter.
  const int middle = pic.height / 2;
  EXPECT_NEAR(pic.firstAbove(kFirstPen, middle), pic.column(0.5), 2);
  EXPECT_NEAR(pic.firstAbove(kSecondPen, 200), pic.column(0.75), 2);
  EXPECT_NEAR(pic.firstAbove(kSecondPen, pic.height), pic.column(0.25), 2);

  // Asked for a span, the picture shows that span: 10:10 to 10:20 is now the first half.
  o.from = "10:10";
  o.to = "10:30";
  o.logs.pop_back();
  o.imagePath = p("narrow.png");
  ASSERT_EQ(run(o), 0) << err.str();
  const Picture narrow = readPng(o.imagePath);
  const std::vector<int> top = narrow.topRows(kFirstPen);
  int end = -1;
  for (int x = 0; x < narrow.width; ++x) {
    if (top[std::size_t(x)] > 40) end = x;
  }
  EXPECT_NEAR(end, narrow.column(0.5), 2);
  EXPECT_EQ(narrow.firstAbove(kFirstPen, middle), narrow.frame().first + 1);
}

TEST_F(DayPlotTest, DbDrawsALogsLevelsOnALogarithmicScaleLeavingOutZeros) {
  // 0, then 10 (10 dB), then 500 (27 dB): the scale runs 10..50 dB, so 500 stands 17/40 of the
  // way up; the zeros have no level in dB and are left out.
  DayPlotOptions o;
  o.logs = {log("db.log", 10 * 3600, 1200, [](int s) {
    return s < 36100 ? 0.0f : s < 36600 ? 10.0f : 500.0f;
  })};
  {
    o.db = true;
    o.imagePath = p("db.png");
    ASSERT_EQ(run(o), 0) << err.str();
    const Picture pic = readPng(o.imagePath);
    const int x = static_cast<int>(pic.column(0.9));
    // The frame's left edge spans the plot's rows.
    int top = -1, bottom = -1;
    for (int y = 40; y < pic.height; ++y) {
      if (pic.at(pic.frame().first, y) == kFrame) (top < 0 ? top : bottom) = y;
    }
    ASSERT_GT(bottom, top);
    const int high = pic.topRows(kFirstPen)[std::size_t(x)];
    EXPECT_NEAR(high, bottom - 10.0 * std::log10(50.0) / 40.0 * (bottom - top), 3);
  }
}

TEST_F(DayPlotTest, SunMarksStandAtSunriseAndSunset) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  // Paris, 2026-01-15: sunrise 07:38:44 UTC. A log from 07:00 to 08:00 and the date in its name.
  DayPlotOptions o;
  o.logs = {log("Zelk-2026-01-15.log", 7 * 3600, 3600, [](int) { return 47.0f; })};
  o.imagePath = p("sun.png");
  o.site = "48.8566,2.3522";
  ASSERT_EQ(run(o), 0) << err.str();
  const Picture pic = readPng(o.imagePath);
  std::vector<int> sunColumns;
  for (int x = 0; x < pic.width; ++x) {
    int dashes = 0;
    for (int y = 40; y < pic.height - 40; ++y) dashes += pic.at(x, y) == kSunPen;
    if (dashes > 100) sunColumns.push_back(x);
  }
  ASSERT_EQ(sunColumns.size(), 1u);
  EXPECT_NEAR(sunColumns[0], pic.column((38.0 * 60 + 44) / 3600), 2);
  ::unsetenv("TZ");
  ::tzset();
}

TEST_F(DayPlotTest, ABadLogOrOptionStopsThePlotAndWritesNothing) {
  const std::string good = log("good.log", 3600, 10, [](int) { return 1.0f; });
  std::ofstream(p("invalid.log")) << "\"T\",#01:00:00#,4\r\n\"D\",5\r\n\"X\",5\r\n";
  std::ofstream(p("cut.log")) << "\"T\",#01:00:00#,4\r\n\"D\",5\r\n\"D\",\r\n";
  std::ofstream(p("untimed.log")) << "\"D\",5\r\n\"D\",6\r\n";
  struct Case {
    std::function<void(DayPlotOptions&)> change;
    int code;
    const char* says;
  };
  for (const Case& c : std::vector<Case>{
           {[this](auto& o) { o.logs.push_back(p("invalid.log")); }, 1, "Invalid log file format!"},
           {[this](auto& o) { o.logs.push_back(p("cut.log")); }, 1, "Line 3 of"},
           {[this](auto& o) { o.logs.push_back(p("untimed.log")); }, 1, "no time record"},
           {[this](auto& o) { o.logs.push_back(p("missing.log")); }, 1, "cannot be read"},
           {[](auto& o) { o.from = "25:00"; }, 2, "--from"},
           {[](auto& o) { o.size = "100000x5"; }, 2, "--size"},
           {[](auto& o) { o.site = "48,2"; }, 2, "--date"},
           {[](auto& o) { o.imagePath += ".jpg"; }, 2, "--image"},
       }) {
    DayPlotOptions o;
    o.logs = {good};
    o.imagePath = p("refused.png");
    c.change(o);
    EXPECT_EQ(run(o), c.code) << c.says;
    EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(p("refused.png"))) << c.says;
  }
}

}  // namespace
}  // namespace recorder::app
