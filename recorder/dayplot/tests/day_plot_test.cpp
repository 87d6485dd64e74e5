// Day plots through the run the program calls: points at their clock times' columns, logs
// overlaid by time of day, sun marks where the sun rises, and logs that stop the plot.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <vector>

#include "apps/sun_options.h"
#include "day_plot_run.h"
#include "png_picture.h"
#include "recorder/log_rotation.h"
#include "scratch_folder.h"

namespace recorder::dayplot {
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
  // A log from startSecond (seconds from 00:00 of the clock's day 0) for seconds, perSecond
  // points a second of level(t); the clock writes the date from the next day on, as the
  // recorder's does. Seconds for which skip(t) holds are missing (a gap).
  std::string log(
      const std::string& name, int startSecond, int seconds, const std::function<float(int)>& level,
      int perSecond = 20, const std::function<bool(int)>& skip = [](int) { return false; }) {
    std::ofstream out(p(name), std::ios::binary);
    auto clock = [](int s) {
      char text[32];
      if (s < 86400) {
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
      } else {
        std::snprintf(text, sizeof text, "1899-12-%02d %02d:%02d:%02d", 30 + s / 86400,
                      s / 3600 % 24, s / 60 % 60, s % 60);
      }
      return std::string(text);
    };
    out << "\"T\"," << '#' << clock(startSecond) << "#,4\r\n";
    for (int s = startSecond + 1; s <= startSecond + seconds; ++s) {
      if (skip(s)) continue;
      for (int i = 0; i < perSecond; ++i) out << "\"D\"," << level(s - 1) << "\r\n";
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

// What each input draws, column by column: spans of the picture (as fractions of the plot's
// width) where the first pen must be drawn and where it must not, what standard error names,
// and the exit status.
TEST_F(DayPlotTest, DrawsWhatTheLogsHoldAcrossMidnightGapsAndDamage) {
  const auto flat = [](int) { return 47.0f; };
  log("night.log", 22 * 3600, 2 * 3600, flat, 1);
  log("night-2026-03-20.log", 24 * 3600, 2 * 3600, flat, 1);
  // A restart after midnight begins its clock at day 0 again; its name places it.
  log("night-2026-03-20-2.log", 2 * 3600, 1800, flat, 1);
  log("gap.log", 10 * 3600, 1200, flat, 20, [](int s) { return s > 36300 && s <= 36600; });
  log("ten.log", 10 * 3600, 1200, flat);
  log("cut.log", 10 * 3600, 1200, flat);
  std::ofstream(p("cut.log"), std::ios::app | std::ios::binary) << "\"D\",9000";
  log("nul.log", 10 * 3600, 1200, flat);
  std::ofstream(p("nul.log"), std::ios::app | std::ios::binary) << std::string(300, '\0');
  log("bad.log", 10 * 3600, 1200, flat);
  std::ofstream(p("bad.log"), std::ios::app | std::ios::binary)
      << "\"X\",5\r\n\"D\",\r\n\"D\",50\r\n\"T\",#10:20:01#,4\r\n";
  std::ofstream(p("untimed.log")) << "\"D\",5\r\n\"D\",6\r\n";

  using Span = std::pair<double, double>;
  struct Case {
    const char* what;
    std::vector<std::string> logs;
    const char* from;
    const char* to;
    int code;
    std::vector<const char*> says;
    std::vector<Span> drawn, blank;
  };
  const std::vector<Case> cases = {
      {"a rotation through midnight is one night",
       {"night.log", "night-2026-03-20.log"},
       "22:00",
       "02:00",
       0,
       {},
       {{0.005, 0.995}},
       {}},
      {"the same night without a span",
       {"night-2026-03-20.log", "night.log"},
       "",
       "",
       0,
       {},
       {{0.005, 0.995}},
       {}},
      {"a restart's file continues the night",
       {"night.log", "night-2026-03-20.log", "night-2026-03-20-2.log"},
       "22:00",
       "03:00",
       0,
       {},
       {{0.005, 0.895}},
       {{0.905, 0.995}}},
      {"a gap stops the line",
       {"gap.log"},
       "",
       "",
       0,
       {},
       {{0.005, 0.245}, {0.505, 0.995}},
       {{0.26, 0.49}}},
      {"a cut last value is skipped",
       {"cut.log"},
       "",
       "",
       0,
       {"cut.log:25202: cut short"},
       {{0.005, 0.995}},
       {}},
      {"a tail of NUL bytes is skipped",
       {"nul.log"},
       "",
       "",
       0,
       {"nul.log:25202:"},
       {{0.005, 0.995}},
       {}},
      {"damaged records are skipped and reading goes on",
       {"bad.log"},
       "",
       "",
       0,
       {"bad.log:25202: not a log record", "bad.log:25203: cannot be read"},
       {{0.005, 0.995}},
       {}},
      {"a missing or untimed log is named and skipped",
       {"missing.log", "untimed.log", "ten.log"},
       "",
       "",
       0,
       {"missing.log cannot be read", "untimed.log holds no time record"},
       {{0.005, 0.995}},
       {}},
      {"a span without points is drawn empty",
       {"ten.log"},
       "12:00",
       "13:00",
       0,
       {"no point lies between 12:00 and 13:00"},
       {},
       {{0.005, 0.995}}},
      {"nothing to draw writes nothing",
       {"missing.log", "untimed.log"},
       "",
       "",
       1,
       {"no log holds a point"},
       {},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DayPlotOptions o;
    for (const std::string& name : c.logs) o.logs.push_back(p(name));
    o.from = c.from;
    o.to = c.to;
    o.imagePath = p("case.png");
    std::filesystem::remove(o.imagePath);
    ASSERT_EQ(run(o), c.code) << err.str();
    for (const char* text : c.says) EXPECT_NE(err.str().find(text), std::string::npos) << err.str();
    if (c.code != 0) {
      EXPECT_FALSE(std::filesystem::exists(o.imagePath));
      continue;
    }
    if (c.says.empty()) {
      EXPECT_EQ(err.str(), "");
    }
    const Picture pic = readPng(o.imagePath);
    const std::vector<int> top = pic.topRows(kFirstPen);
    std::vector<int> rows;  // the line's rows: one level, so one row (a cut value would be higher)
    for (const Span& span : c.drawn) {
      for (int x = int(std::ceil(pic.column(span.first))); x <= int(pic.column(span.second)); ++x) {
        // A grid line crossing the trace covers it in that column.
        const int row =
            std::max({top[std::size_t(x - 1)], top[std::size_t(x)], top[std::size_t(x + 1)]});
        EXPECT_GT(row, 40) << "column " << x << " is not drawn";
        if (top[std::size_t(x)] > 40) rows.push_back(top[std::size_t(x)]);
      }
    }
    for (const Span& span : c.blank) {
      for (int x = int(std::ceil(pic.column(span.first))); x <= int(pic.column(span.second)); ++x)
        EXPECT_LT(top[std::size_t(x)], 40) << "column " << x << " is drawn";
    }
    if (!rows.empty()) {
      EXPECT_LE(
          *std::max_element(rows.begin(), rows.end()) - *std::min_element(rows.begin(), rows.end()),
          1);
    }
  }
}

TEST_F(DayPlotTest, AnUnusableOptionStopsThePlotAndWritesNothing) {
  const std::string good = log("good.log", 3600, 10, [](int) { return 1.0f; });
  struct Case {
    std::function<void(DayPlotOptions&)> change;
    const char* says;
  };
  for (const Case& c : std::vector<Case>{
           {[](auto& o) { o.from = "25:00"; }, "--from"},
           {[](auto& o) { o.size = "100000x5"; }, "--size"},
           {[](auto& o) { o.site = "48,2"; }, "--date"},
           {[](auto& o) { o.imagePath += ".jpg"; }, "--image"},
       }) {
    DayPlotOptions o;
    o.logs = {good};
    o.imagePath = p("refused.png");
    c.change(o);
    EXPECT_EQ(run(o), 2) << c.says;
    EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(p("refused.png"))) << c.says;
  }
}

// Seconds since 1970 of "YYYY-MM-DDTHH:MM:SSZ".
std::int64_t utcMoment(const std::string& text) {
  std::tm t{};
  std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%dZ", &t.tm_year, &t.tm_mon, &t.tm_mday, &t.tm_hour,
              &t.tm_min, &t.tm_sec);
  t.tm_year -= 1900;
  t.tm_mon -= 1;
  return ::timegm(&t);
}

// A two-day picture from noon of the day before each reference date: each day has its own
// marks, on a UTC clock at the reference's UTC times, on a local one at its local times.
TEST_F(DayPlotTest, SunMarksOfEveryDayAgreeWithTheReferenceWithinAMinute) {
  std::ifstream reference(ZELK_SUN_REFERENCE);
  if (!reference) GTEST_SKIP() << "no " << ZELK_SUN_REFERENCE << " beside this tree";
  const std::map<std::string, const char*> zones = {
      {"Paris", "Europe/Paris"}, {"New York", "America/New_York"}, {"Tokyo", "Asia/Tokyo"}};
  constexpr std::int64_t kUnixDay0 = 25569;  // 1970-01-01 as days since 1899-12-30
  std::string line;
  std::getline(reference, line);
  int rows = 0;
  while (std::getline(reference, line)) {
    std::vector<std::string> f;
    std::stringstream fields(line);
    for (std::string field; std::getline(fields, field, ',');) f.push_back(field);
    ASSERT_EQ(f.size(), 6u) << line;
    SCOPED_TRACE(line);
    ++rows;
    const xvtools::Site site{std::stod(f[1]), std::stod(f[2])};
    const std::int64_t date = *parseIsoDay(f[3]);
    const std::int64_t day0 = date - 1;
    const std::int64_t origin = (day0 - kUnixDay0) * 86400;  // 00:00 UTC of day 0
    std::vector<std::pair<const char*, std::string>> clocks = {{"UTC", ""}};
    if (zones.count(f[0])) clocks.emplace_back(zones.at(f[0]), "");
    for (const auto& [zone, unused] : clocks) {
      ::setenv("TZ", zone, 1);
      ::tzset();
      const bool utc = std::string(zone) == "UTC";
      const auto marks = apps::sunMarks(site, dateOfDay(day0), 43200, 43200 + 2 * 86400.0, utc);
      EXPECT_EQ(marks.size(), 4u) << zone;
      for (const auto& [name, text] : {std::pair{"sunrise", f[4]}, std::pair{"sunset", f[5]}}) {
        const std::int64_t moment = utcMoment(text);
        double expected = double(moment - origin);
        if (!utc) {
          // The moment on the local clock, counted from 00:00 local time of day 0.
          const std::time_t m = moment;
          std::tm local{};
          ::localtime_r(&m, &local);
          const std::int64_t localDay =
              (::timegm(&local) - local.tm_hour * 3600 - local.tm_min * 60 - local.tm_sec) / 86400 +
              kUnixDay0;
          expected = double((localDay - day0) * 86400 + local.tm_hour * 3600 + local.tm_min * 60 +
                            local.tm_sec);
        }
        const auto near = std::find_if(marks.begin(), marks.end(), [&](const apps::SunMark& m) {
          return m.text.rfind(name, 0) == 0 && std::abs(m.time - expected) <= 60;
        });
        EXPECT_NE(near, marks.end()) << zone << " " << name << " at " << expected;
      }
    }
  }
  ::unsetenv("TZ");
  ::tzset();
  EXPECT_EQ(rows, 30);

  // Drawn: a night's rotation over two days in Paris, on a UTC clock, has the four marks.
  DayPlotOptions o;
  o.logs = {log(
                "paris.log", 0, 86400, [](int) { return 5.0f; }, 1),
            log(
                "paris-2026-04-11.log", 86400, 86399, [](int) { return 5.0f; }, 1)};
  o.imagePath = p("two-days.png");
  o.site = "48.8566,2.3522";
  o.clock = "utc";
  ASSERT_EQ(run(o), 0) << err.str();
  const Picture pic = readPng(o.imagePath);
  std::vector<int> sunColumns;
  for (int x = 0; x < pic.width; ++x) {
    int dashes = 0;
    for (int y = 40; y < pic.height - 40; ++y) dashes += pic.at(x, y) == kSunPen;
    if (dashes > 100) sunColumns.push_back(x);
  }
  const auto expected =
      apps::sunMarks(*apps::parseSite(o.site), {2026, 4, 10}, 0, 2 * 86400.0, true);
  ASSERT_EQ(sunColumns.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_NEAR(sunColumns[i], pic.column(expected[i].time / (2 * 86400)), 2);
}

}  // namespace
}  // namespace recorder::dayplot
