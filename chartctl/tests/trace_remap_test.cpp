// Traces that follow a changed window, a resized control or another viewport, through the
// control's dispatch interface in the headless container, with the Refresh request in between.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "automation/automation.h"
#include "host/headless.h"

namespace kvplotax {
namespace {

using automation::SafeArray;
using automation::Variant;

const automation::Guid kClsid = *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");
constexpr std::uint32_t kRed = 0x0000FF;

Variant i2(int v) { return Variant(static_cast<std::int16_t>(v)); }
Variant i4(int v) { return Variant(static_cast<std::int32_t>(v)); }
Variant r4(float v) { return Variant(v); }

Variant floats(const std::vector<float>& values) {
  auto a = SafeArray::create(automation::VT_R4, values.size());
  std::copy(values.begin(), values.end(), static_cast<float*>(a->data()));
  return Variant::array(automation::VT_R4, a);
}

// The pixels in the pen's colour.
struct Extent {
  int left = std::numeric_limits<int>::max();
  int top = std::numeric_limits<int>::max();
  int right = -1;
  int bottom = -1;
  int count = 0;
};

class TraceRemap : public ::testing::Test {
 protected:
  TraceRemap() : form_(500, 300), chart_(form_.create(kClsid)) { form_.pump(); }

  // Channel 1 in window 1 and viewport 1 (plot area 25..475 x 30..270 at this size): float X
  // and Y, points in red.
  void initialise(int style = 0) {
    chart_.put("Pen_Select", i2(1));
    chart_.put("PenColor", i4(kRed));
    chart_.put("Chn_Select", i2(1));
    chart_.put("ChnDspMode", i2(0));
    chart_.put("ChnDspStyle", i2(style));
    chart_.put("ChnDspBufLen", i4(100));
    chart_.put("ChnData_Dimension", i2(0));
    chart_.put("ChnDataShape", i2(0));
    chart_.put("ChnDataType", i2(6));
    chart_.put("ChnDspAction", i2(1));
  }

  // Points at X = 0.25, 1.25, ... (count of them), all at Y = 4.5: off the grid lines.
  std::int32_t deliver(int count) {
    std::vector<float> x(count), y(count, 4.5f);
    for (int i = 0; i < count; ++i) x[i] = static_cast<float>(i) + 0.25f;
    std::vector<Variant> args{i2(1), i4(count), floats(y), i4(0), floats(x), i4(0)};
    return chart_.call("ChartData", args).toI4();
  }

  Extent red() {
    form_.pump();
    Extent e;
    for (int y = 0; y < form_.height(); ++y) {
      for (int x = 0; x < form_.width(); ++x) {
        if (form_.pixel(x, y) != kRed) continue;
        e.left = std::min(e.left, x);
        e.right = std::max(e.right, x);
        e.top = std::min(e.top, y);
        e.bottom = std::max(e.bottom, y);
        ++e.count;
      }
    }
    return e;
  }

  void rescaleWidth(float width) {
    chart_.put("Wnd_Select", i2(1));
    chart_.put("WndWidth", r4(width));
    chart_.put("Action", i2(0));
  }

  // The Refresh events fired so far, as (Chn, Samples).
  std::vector<std::pair<int, int>> refreshes() const {
    std::vector<std::pair<int, int>> out;
    for (const auto& e : form_.events()) {
      if (e.id == 4 && e.args.size() == 2)
        out.push_back({e.args[0].deref().toI4(), e.args[1].deref().toI4()});
    }
    return out;
  }

  host::HeadlessContainer form_;
  automation::Dispatch& chart_;
};

TEST_F(TraceRemap, RescaleAfterWiderWindowHalvesTheTrace) {
  initialise();
  ASSERT_EQ(deliver(9), 9);
  const Extent before = red();
  EXPECT_EQ(before.left, 36);
  EXPECT_EQ(before.right, 36 + 8 * 45);
  EXPECT_EQ(before.top, 162);
  EXPECT_EQ(before.count, 9);

  rescaleWidth(20.0f);
  const Extent after = red();
  EXPECT_EQ(after.left, 30);
  EXPECT_EQ(after.right, 30 + 8 * 45 / 2);
  EXPECT_EQ(after.top, 162);
  EXPECT_EQ(after.count, 9);
  // A coarser mapping is carried over without asking the client.
  EXPECT_TRUE(refreshes().empty());
}

TEST_F(TraceRemap, NarrowerWindowAsksForTheSamplesAndKeepsAnExactResend) {
  initialise();
  ASSERT_EQ(deliver(9), 9);
  rescaleWidth(20.0f);
  form_.clearEvents();
  form_.setEventHandler([this](automation::DispId id, std::span<Variant> args) {
    if (id != 4) return;
    ASSERT_EQ(args.size(), 2u);
    EXPECT_EQ(args[0].deref().toI4(), 1);
    deliver(args[1].deref().toI4());
  });
  rescaleWidth(10.0f);
  EXPECT_EQ(refreshes(), (std::vector<std::pair<int, int>>{{1, 9}}));
  const Extent e = red();
  EXPECT_EQ(e.left, 36);
  EXPECT_EQ(e.right, 36 + 8 * 45);
  EXPECT_EQ(e.count, 9);
}

TEST_F(TraceRemap, RefreshNotAnsweredInFullPutsTheHeldPointsBack) {
  for (int answered : {0, 3, 20}) {
    SCOPED_TRACE(answered);
    initialise();
    ASSERT_EQ(deliver(9), 9);
    rescaleWidth(20.0f);
    form_.clearEvents();
    form_.setEventHandler([this, answered](automation::DispId id, std::span<Variant>) {
      if (id == 4 && answered > 0) deliver(answered);
    });
    rescaleWidth(10.0f);
    form_.setEventHandler(nullptr);
    EXPECT_EQ(refreshes(), (std::vector<std::pair<int, int>>{{1, 9}}));
    // The nine points come back, carried over arithmetically; what the client did send is gone.
    const Extent e = red();
    EXPECT_EQ(e.count, 9);
    EXPECT_EQ(e.left, 36);
    EXPECT_NEAR(e.right, 36 + 8 * 45, 1);
    // The restored sweep continues where it was.
    EXPECT_EQ(deliver(1), 10);
  }
}

TEST_F(TraceRemap, CommandsInsideTheRefreshHandlerLeaveTheTraceAlone) {
  initialise();
  ASSERT_EQ(deliver(9), 9);
  rescaleWidth(20.0f);
  int calls = 0;
  form_.setEventHandler([this, &calls](automation::DispId id, std::span<Variant>) {
    if (id != 4) return;
    ++calls;
    // Rebuilding the channel or rescaling again now would pull the trace from under the
    // re-mapping; the handler's own failure stays with it.
    chart_.put("ChnDspAction", i2(1));
    chart_.put("ChnDspAction", i2(2));
    chart_.put("Action", i2(0));
    throw automation::AutomationError::custom(5, "handler failed");
  });
  rescaleWidth(10.0f);
  form_.setEventHandler(nullptr);
  EXPECT_EQ(calls, 1);
  const Extent e = red();
  EXPECT_EQ(e.count, 9);
  EXPECT_EQ(e.right, 36 + 8 * 45);
  EXPECT_EQ(deliver(1), 10);
}

TEST_F(TraceRemap, StripChartResizedKeepsItsNewestPointAtTheRightEdge) {
  initialise();
  chart_.put("ChnDspMode", i2(1));
  chart_.put("ChnDspAction", i2(1));
  // X = 0, 0.25, ... 2: 11.25 pixels apart, the newest on the right edge of the frame. The
  // graticule covers that one and the two on grid lines (k = 4 and 8 from the right).
  std::vector<float> x(9), y(9, 4.5f);
  for (int i = 0; i < 9; ++i) x[i] = 0.25f * static_cast<float>(i);
  std::vector<Variant> block{i2(1), i4(9), floats(y), i4(0), floats(x), i4(0)};
  ASSERT_EQ(chart_.call("ChartData", block).toI4(), 9);
  Extent e = red();
  EXPECT_EQ(e.count, 6);
  EXPECT_EQ(e.right, 463);  // 475 - 11.25
  EXPECT_EQ(e.left, 396);   // 475 - 7 x 11.25
  // 65 pixels per unit: 16.25 apart from the new right edge at 675.
  form_.clearEvents();
  form_.resize(700, 400);
  EXPECT_EQ(refreshes(), (std::vector<std::pair<int, int>>{{1, 9}}));
  e = red();
  EXPECT_EQ(e.count, 6);
  EXPECT_EQ(e.right, 658);
  EXPECT_EQ(e.left, 561);
  EXPECT_EQ(e.top, 216);
  // The next block scrolls on from the newest X it had: 16 pixels for a quarter unit.
  std::vector<Variant> next{i2(1), i4(1), floats({4.5f}), i4(0), floats({2.25f}), i4(0)};
  EXPECT_EQ(chart_.call("ChartData", next).toI4(), 10);
  e = red();
  EXPECT_EQ(e.count, 7);
  EXPECT_EQ(e.right, 659);
  EXPECT_EQ(e.left, 545 - 16);
}

TEST_F(TraceRemap, UnchangedWindowMovesNothing) {
  initialise();
  ASSERT_EQ(deliver(9), 9);
  form_.clearEvents();
  rescaleWidth(10.0f);
  EXPECT_TRUE(refreshes().empty());
  EXPECT_EQ(red().right, 36 + 8 * 45);
}

TEST_F(TraceRemap, RescaleRefusesWindowsWithoutExtent) {
  initialise();
  chart_.put("ErrBase", i4(1000));
  for (const char* property : {"WndWidth", "WndHeight"}) {
    chart_.put("Wnd_Select", i2(2));
    chart_.put("WndWidth", r4(5.0f));
    chart_.put("WndHeight", r4(5.0f));
    chart_.put(property, r4(0.0f));
    try {
      chart_.put("Action", i2(0));
      ADD_FAILURE() << property << " 0 accepted";
    } catch (const automation::AutomationError& e) {
      EXPECT_EQ(e.number(), std::string(property) == "WndWidth" ? 1003 : 1004);
    }
  }
  chart_.put("WndHeight", r4(5.0f));
  chart_.put("WndXmin", r4(std::numeric_limits<float>::quiet_NaN()));
  try {
    chart_.put("Action", i2(0));
    ADD_FAILURE() << "a window at no place accepted";
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.number(), 1000);
  }
}

TEST_F(TraceRemap, ResizeKeepsTheTraceOnItsWorldPositions) {
  initialise();
  ASSERT_EQ(deliver(9), 9);
  form_.clearEvents();
  // Plot area 25..675 x 40..360: 65 pixels per unit across, 32 down.
  form_.resize(700, 400);
  const Extent e = red();
  EXPECT_EQ(refreshes(), (std::vector<std::pair<int, int>>{{1, 9}}));
  EXPECT_EQ(e.count, 9);
  EXPECT_EQ(e.left, 41);
  EXPECT_EQ(e.right, 41 + 8 * 65);
  EXPECT_EQ(e.top, 216);
  // Smaller again: a coarser mapping, carried over without a request.
  form_.clearEvents();
  form_.resize(500, 300);
  const Extent back = red();
  EXPECT_TRUE(refreshes().empty());
  EXPECT_EQ(back.left, 36);
  EXPECT_EQ(back.right, 36 + 8 * 45);
  EXPECT_EQ(back.top, 162);
}

TEST_F(TraceRemap, ChangeWindowAndViewportCommandsMoveTheTrace) {
  initialise();
  ASSERT_EQ(deliver(9), 9);
  chart_.put("Wnd_Select", i2(2));
  chart_.put("WndWidth", r4(20.0f));
  chart_.put("WndHeight", r4(10.0f));
  chart_.put("Chn_Select", i2(1));
  chart_.put("ChnDspWindow", i2(2));
  chart_.put("ChnDspAction", i2(7));
  Extent e = red();
  EXPECT_EQ(e.right, 30 + 8 * 45 / 2);
  EXPECT_EQ(e.count, 9);

  // Two strips of 120 rows: the lower one is 150..270, Y = 4.5 at 12 rows per unit.
  chart_.put("Viewports", i2(2));
  e = red();
  EXPECT_EQ(e.top, 96);
  EXPECT_EQ(e.count, 9);
  chart_.put("ChnDspViewport", i2(2));
  chart_.put("ChnDspAction", i2(6));
  e = red();
  EXPECT_EQ(e.top, 216);
  EXPECT_EQ(e.bottom, 216);
  EXPECT_EQ(e.count, 9);
}

TEST_F(TraceRemap, StyleWrittenOnARunningChannelShowsAtOnce) {
  initialise(0);
  ASSERT_EQ(deliver(3), 3);
  EXPECT_EQ(red().count, 3);
  chart_.put("ChnDspStyle", i2(1));
  // A line now joins the three points along the row.
  const Extent line = red();
  // (less the two grid lines it crosses)
  EXPECT_GE(line.count, 2 * 45 - 2);
  EXPECT_EQ(line.top, 162);
  EXPECT_EQ(line.bottom, 162);
  chart_.put("ChnDspStyle", i2(0));
  EXPECT_EQ(red().count, 3);
}

}  // namespace
}  // namespace kvplotax
