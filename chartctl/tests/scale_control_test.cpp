// Scales of the control in the headless container: built, erased and re-laid out through the
// automation interface, as a form drives them.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "automation/automation.h"
#include "host/headless.h"
#include "recorder_chart_settings.h"

namespace kvplotax {
namespace {

using automation::Variant;

const automation::Guid kClsid = *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");

Variant i2(int v) { return Variant(static_cast<std::int16_t>(v)); }

void writeRecorderSettings(automation::Dispatch& chart) {
  for (const auto& [name, value] : testing::recorderChartSettings()) chart.put(name, value);
}

class RecorderScale : public ::testing::Test {
 protected:
  RecorderScale() : form(601, 257), chart(form.create(kClsid)) {
    form.pump();
    writeRecorderSettings(chart);
    form.pump();
  }

  // Black pixels right of the frame, where the vertical scale's numbers go.
  int scaleInk() const {
    int n = 0;
    for (int y = 1; y < 256; ++y)
      for (int x = 570; x < 597; ++x) n += form.pixel(x, y) == 0;
    return n;
  }
  host::HeadlessContainer form;
  automation::Dispatch& chart;
};

TEST_F(RecorderScale, InitialiseShowsTheNumbersAndEraseTakesThemAway) {
  EXPECT_EQ(scaleInk(), 0);
  chart.put("ScaleAction", i2(1));
  form.pump();
  const int ink = scaleInk();
  EXPECT_GT(ink, 100);
  chart.put("ScaleAction", i2(2));
  form.pump();
  EXPECT_EQ(scaleInk(), 0);
  // Normal colour draws the same numbers again.
  chart.put("ScaleAction", i2(4));
  form.pump();
  EXPECT_EQ(scaleInk(), ink);
}

TEST_F(RecorderScale, AResizeAtRunTimeLaysTheScaleOutAgain) {
  chart.put("ScaleAction", i2(1));
  form.pump();
  form.resize(701, 300);
  form.pump();
  // The same chart laid out at that size from the start.
  host::HeadlessContainer fresh(701, 300);
  automation::Dispatch& other = fresh.create(kClsid);
  fresh.pump();
  writeRecorderSettings(other);
  other.put("ScaleAction", i2(1));
  fresh.pump();
  int different = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 701; ++x) different += form.pixel(x, y) != fresh.pixel(x, y);
  EXPECT_EQ(different, 0);
}

TEST_F(RecorderScale, AMarginChangeAtRunTimeLaysTheScaleOutAgain) {
  chart.put("ScaleAction", i2(1));
  chart.put("MarginRight", i2(45));
  form.pump();
  host::HeadlessContainer fresh(601, 257);
  automation::Dispatch& other = fresh.create(kClsid);
  fresh.pump();
  writeRecorderSettings(other);
  other.put("MarginRight", i2(45));
  other.put("ScaleAction", i2(1));
  fresh.pump();
  int different = 0;
  for (int y = 0; y < 257; ++y)
    for (int x = 0; x < 601; ++x) different += form.pixel(x, y) != fresh.pixel(x, y);
  EXPECT_EQ(different, 0);
}

TEST_F(RecorderScale, AChannelOfTheScaleKindDrawsTheScaleNumberedLikeIt) {
  chart.put("ScaleAction", i2(1));
  form.pump();
  const int ink = scaleInk();
  chart.put("ScaleAction", i2(2));
  form.pump();
  ASSERT_EQ(scaleInk(), 0);
  chart.put("Chn_Select", i2(1));
  chart.put("ChnDspMode", i2(101));
  chart.put("ChnDspAction", i2(1));
  form.pump();
  EXPECT_EQ(scaleInk(), ink);
  // Initialised again as a trace, the scale item leaves the picture.
  chart.put("ChnDspMode", i2(0));
  chart.put("ChnDspAction", i2(1));
  form.pump();
  EXPECT_EQ(scaleInk(), 0);
  // No scale numbered 2: nothing to build.
  chart.put("ErrBase", Variant(std::int32_t{1000}));
  chart.put("Chn_Select", i2(2));
  chart.put("ChnDspViewport", i2(1));
  chart.put("ChnDspWindow", i2(1));
  chart.put("ChnDspPen", i2(4));
  chart.put("ChnDspBufLen", Variant(std::int32_t{10}));
  chart.put("ChnDspMode", i2(101));
  try {
    chart.put("ChnDspAction", i2(1));
    ADD_FAILURE() << "a channel without its scale accepted";
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.number(), 1007);
  }
}

TEST_F(RecorderScale, CommandsWithoutAnItemAreRefused) {
  try {
    chart.put("ScaleAction", i2(2));
    FAIL() << "no error";
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.number() % 1000, 21);
  }
  chart.put("ScaleAction", i2(9));  // unknown: ignored
}

TEST_F(RecorderScale, AFontChangeLaysTheScaleOutAgain) {
  chart.put("ScaleAction", i2(1));
  form.pump();
  const int ink = scaleInk();
  chart.put("FontSize", Variant(12.0f));
  form.pump();
  // Larger digits: more ink right of the frame, and none of the old numbers left over.
  EXPECT_GT(scaleInk(), ink * 3 / 2);
  chart.put("ScaleAction", i2(2));
  form.pump();
  EXPECT_EQ(scaleInk(), 0);
}

// A scale on the horizontal axis lies over grid lines and ticks: erasing it brings them back.
TEST(ScaleInPlotArea, ErasingRestoresTheGraticuleBeneath) {
  host::HeadlessContainer form(500, 400);
  automation::Dispatch& chart = form.create(kClsid);
  form.pump();
  std::vector<std::uint32_t> before;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 500; ++x) before.push_back(form.pixel(x, y));
  chart.put("Scale_Select", i2(1));
  chart.put("ScaleDimension", i2(0));
  chart.put("ScaleLocation", i2(0));
  chart.put("ScaleVisibility", i2(1));
  chart.put("ScaleAction", i2(1));
  form.pump();
  int changed = 0;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 500; ++x) changed += form.pixel(x, y) != before[y * 500 + x];
  ASSERT_GT(changed, 0) << "the scale was not drawn";
  chart.put("ScaleAction", i2(2));
  form.pump();
  int left = 0;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 500; ++x) left += form.pixel(x, y) != before[y * 500 + x];
  EXPECT_EQ(left, 0);
}

}  // namespace
}  // namespace kvplotax
