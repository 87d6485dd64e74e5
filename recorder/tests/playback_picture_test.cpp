// Playback drawn by the chart control itself: where the log's time records jump, the trace
// stops instead of bridging the hole with a line.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "automation/automation.h"
#include "fake_front_end.h"
#include "host/headless.h"
#include "recorder/log_number.h"
#include "recorder/zelk_chrt_form.h"

namespace recorder::testing {
namespace {

constexpr std::uint32_t kTrace = 0x0000FF;  // pen 1, red
constexpr std::uint32_t kGrid = 0xC0C0C0;
constexpr int kSeconds = 150;  // of each level: each fills half the chart or more
constexpr float kLow = 8000.0f;
constexpr float kHigh = 20000.0f;

std::string clock(int seconds) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02d:%02d:%02d#", seconds / 3600 % 24, seconds / 60 % 60,
                seconds % 60);
  return text;
}

// A log as the recorder writes it, starting with a time record: kSeconds seconds of 20 points at
// kLow, then kSeconds at kHigh whose clock starts `step` seconds after the last low second's.
std::string logWithStep(int step) {
  char number[kMaxNumberText];
  int t = 12 * 3600;
  std::string out = "\"T\"," + clock(t) + ",4\r\n";
  for (int s = 0; s < 2 * kSeconds; ++s) {
    const float value = s < kSeconds ? kLow : kHigh;
    for (int i = 0; i < 20; ++i)
      out += "\"D\"," + std::string(number, formatSingle(value, number)) + "\r\n";
    t += s == kSeconds ? step : 1;
    out += "\"T\"," + clock(t) + ",4\r\n";
  }
  return out;
}

struct Row {
  const char* what;
  int step;      // seconds between the last low and the first high time record
  bool bridged;  // a line joins the two levels
};

TEST(PlaybackPictureTest, TheTraceStopsWhereTheTimeRecordsJump) {
  const Row rows[] = {
      {"no gap", 1, true},
      {"a step of two log intervals", 2, true},
      {"a gap of ten minutes", 600, false},
      {"a step of three seconds", 3, false},
      {"the clock set back an hour", -3600, false},
      {"the clock stopped", 0, false},
  };
  const auto dir = std::filesystem::temp_directory_path() /
                   ("zelk_playback_picture_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string log = (dir / "gap.log").string();
    std::ofstream(log, std::ios::binary) << logWithStep(row.step);

    host::HeadlessContainer window(601, 257);
    automation::Dispatch& chart =
        window.create(*automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}"));
    window.pump();
    FakeHost host;
    ScriptedPrompter prompter;
    ZelkChrtForm form(chart, host, prompter);
    form.load();
    prompter.files.push_back(log);
    form.playbackButtonClick();
    ASSERT_TRUE(form.Playing());
    while (form.Playing()) {
      form.playBackTimerTick();
      window.pump();
    }
    ASSERT_TRUE(prompter.messages.empty()) << prompter.messages.front();

    // The rows of the two levels: the rows with the most trace pixels in each half.
    auto levelRow = [&](int from, int to) {
      int best = -1, bestCount = 0;
      for (int y = 0; y < window.height(); ++y) {
        int n = 0;
        for (int x = from; x < to; ++x) n += window.pixel(x, y) == kTrace;
        if (n > bestCount) best = y, bestCount = n;
      }
      return best;
    };
    const int high = levelRow(window.width() / 2, window.width());
    const int low = levelRow(0, window.width() / 2);
    ASSERT_GT(low - high, 20);
    // Trace pixels strictly between the levels: the line that joins them, one per row but for
    // the rows of horizontal grid lines, which are ruled over the traces.
    int between = 0;
    int gridRows = 0;
    const int x0 = window.width() / 4;
    for (int y = high + 1; y < low; ++y) {
      gridRows += window.pixel(x0, y) == kGrid && window.pixel(x0 + 1, y) == kGrid;
      for (int x = 0; x < window.width(); ++x) between += window.pixel(x, y) == kTrace;
    }
    EXPECT_EQ(between, row.bridged ? low - high - 1 - gridRows : 0);
    form.closeFiles();
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace recorder::testing
