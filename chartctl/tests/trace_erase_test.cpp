// Erasing through the control's dispatch interface: what an erased trace leaves on the screen at
// every colour depth, after colour changes at run time, and across storage-mode writes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "headless_chart.h"

namespace kvplotax {
namespace {

using automation::Variant;
using testing::i2;
using testing::i4;

class ErasedChart {
 public:
  ErasedChart() : chart(form.create(testing::kChartClsid)) { form.pump(); }

  std::vector<std::uint32_t> screen() { return testing::screenPixels(form); }

  // Channel 1 in viewport 1: float y of 0..10 against an autoincrementing x, the whole
  // buffer of 60 points across the window.
  void initialise(int mode, int style, int penColor) {
    chart.put("Wnd_Select", i2(1));
    chart.put("WndWidth", Variant(60.0f));
    chart.put("Pen_Select", i2(1));
    chart.put("PenColor", i4(penColor));
    chart.put("PenWidth", i2(2));
    chart.put("Chn_Select", i2(1));
    chart.put("ChnDspViewport", i2(1));
    chart.put("ChnDspMode", i2(mode));
    chart.put("ChnDspStyle", i2(style));
    chart.put("ChnDspBufLen", i4(60));
    chart.put("ChnDspAction", i2(1));
  }

  // A block of a wave whose phase moves with the block, so that every block draws elsewhere.
  void deliver(int block, int n = 12) {
    std::vector<float> y(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
      y[i] = 5.0f + 4.0f * static_cast<float>(std::sin(0.7 * (i + 3 * block)));
    std::vector<Variant> args{
        i2(1), i4(n), testing::floatArray(y), i4(0), Variant::array(automation::VT_R4, nullptr),
        i4(0)};
    ASSERT_GT(chart.call("ChartData", args).toI4(), 0);
  }

  host::HeadlessContainer form{400, 240};
  automation::Dispatch& chart;
};

struct EraseCase {
  const char* name;
  int colorDepth;
  std::uint32_t backColor;
  std::uint32_t storageColor;  // 0: storage off
  std::uint32_t penColor;
  int mode;
  int style;
  // A colour written after the channel was initialised, before any data.
  const char* recolour;
  std::uint32_t recolourValue;
};
void PrintTo(const EraseCase& c, std::ostream* os) { *os << c.name; }

class EraseRestores : public ::testing::TestWithParam<EraseCase> {};

// Colours away from the 16 of the VGA palette and the 256 of the halftone palette: a pen
// matched to either would differ from the background or storage colour it erases into.
TEST_P(EraseRestores, TheErasedTraceLeavesOnlyWhatWasBeneath) {
  const EraseCase& c = GetParam();
  ErasedChart chart;
  auto& ctl = chart.chart;
  ctl.put("ColorDepth", i2(c.colorDepth));
  ctl.put("BackColor", i4(c.backColor));
  if (c.storageColor != 0) {
    ctl.put("ViewportStorageColor", i4(c.storageColor));
    ctl.put("Viewport_Select", i2(1));
    ctl.put("ViewportStorageOn", Variant(true));
  }
  chart.initialise(c.mode, c.style, static_cast<int>(c.penColor));
  std::uint32_t eraseColour = c.storageColor;
  if (c.recolour != nullptr) {
    ctl.put(c.recolour, i4(c.recolourValue));
    if (std::string(c.recolour) == "ViewportStorageColor") eraseColour = c.recolourValue;
  }
  const std::vector<std::uint32_t> before = chart.screen();
  for (int block = 0; block < 5; ++block) {
    chart.deliver(block);
    chart.form.pump();
  }
  const std::vector<std::uint32_t> drawn = chart.screen();
  ASSERT_NE(drawn, before) << "no trace was drawn";
  ctl.put("Chn_Select", i2(1));
  ctl.put("ChnDspAction", i2(2));
  const std::vector<std::uint32_t> after = chart.screen();
  int wrong = 0;
  int stored = 0;
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (after[i] == before[i]) continue;
    // With storage on, an erased trace stays in the storage colour and nothing else.
    if (c.storageColor != 0 && after[i] == eraseColour) {
      ++stored;
      continue;
    }
    ++wrong;
  }
  EXPECT_EQ(wrong, 0) << "pixels neither as before nor in the storage colour";
  if (c.storageColor != 0) {
    EXPECT_GT(stored, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Depths, EraseRestores,
    ::testing::Values(
        EraseCase{"ScrollDefaultDepth", 0, 0x203040, 0, 0x336699, 1, 1, nullptr, 0},
        EraseCase{"Scroll16", 1, 0x203040, 0, 0x336699, 1, 1, nullptr, 0},
        EraseCase{"Scroll256", 2, 0x203040, 0, 0x336699, 1, 1, nullptr, 0},
        EraseCase{"CrtArea256", 2, 0x123456, 0, 0x654321, 0, 2, nullptr, 0},
        EraseCase{"CrtPoints16", 1, 0x0A0B0C, 0, 0xFAFBFC, 0, 0, nullptr, 0},
        EraseCase{"ScrollStorage16", 1, 0x203040, 0x2A5D11, 0x336699, 1, 1, nullptr, 0},
        EraseCase{"ScrollStorage256", 2, 0x203040, 0x2A5D11, 0x336699, 1, 1, nullptr, 0},
        EraseCase{"BackColourChanged", 0, 0x203040, 0, 0x336699, 1, 1, "BackColor", 0x405060},
        EraseCase{"StorageColourChanged", 0, 0x203040, 0x2A5D11, 0x336699, 1, 1,
                  "ViewportStorageColor", 0x7F1F3F}),
    [](const ::testing::TestParamInfo<EraseCase>& info) { return info.param.name; });

// A scale erased after a run-time colour change is written over in the new background colour.
TEST(EraseColours, AScaleErasedAfterABackColourChangeLeavesNoOldColour) {
  ErasedChart chart;
  auto& ctl = chart.chart;
  ctl.put("Scale_Select", i2(1));
  ctl.put("ScaleDimension", i2(0));
  ctl.put("ScaleLocation", i2(0));
  ctl.put("ScaleVisibility", i2(1));
  ctl.put("ScaleAction", i2(1));
  ctl.put("BackColor", i4(0x405060));
  const std::vector<std::uint32_t> shown = chart.screen();
  ctl.put("ScaleAction", i2(2));
  const std::vector<std::uint32_t> erased = chart.screen();
  ASSERT_NE(shown, erased);
  int old = 0;
  for (std::uint32_t p : erased) old += p == 0x808000u;  // the default background colour
  EXPECT_EQ(old, 0);
}

struct StorageWrite {
  const char* name;
  int viewports;
  int viewport;  // the viewport whose ViewportStorageOn is written
  bool value;
};
void PrintTo(const StorageWrite& c, std::ostream* os) { *os << c.name; }

class StorageWrites : public ::testing::TestWithParam<StorageWrite> {};

TEST_P(StorageWrites, KeepTheStoredPicture) {
  const StorageWrite& w = GetParam();
  ErasedChart chart;
  auto& ctl = chart.chart;
  ctl.put("Viewports", i2(w.viewports));
  ctl.put("ViewportStorageColor", i4(0x2A5D11));
  ctl.put("Viewport_Select", i2(1));
  ctl.put("ViewportStorageOn", Variant(true));
  chart.initialise(0, 1, 0x0000FF);
  chart.deliver(0);
  ctl.put("ChnDspAction", i2(2));  // the trace stays in the storage colour
  const std::vector<std::uint32_t> stored = chart.screen();
  ctl.put("Viewport_Select", i2(w.viewport));
  ctl.put("ViewportStorageOn", Variant(w.value));
  EXPECT_EQ(testing::differences(chart.screen(), stored), 0);
  EXPECT_EQ(ctl.get("ViewportStorageOn").toBool(), w.value);
}

INSTANTIATE_TEST_SUITE_P(Writes, StorageWrites,
                         ::testing::Values(StorageWrite{"SameValue", 1, 1, true},
                                           StorageWrite{"Off", 1, 1, false},
                                           StorageWrite{"OtherViewportOn", 2, 2, true},
                                           StorageWrite{"OtherViewportOff", 2, 2, false}),
                         [](const ::testing::TestParamInfo<StorageWrite>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace kvplotax
