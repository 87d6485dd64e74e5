// Blocks and channel commands through the control's dispatch interface: sweeps of areas, refused
// blocks, translated traces, absent arrays and channels that draw a scale.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include "headless_chart.h"
#include "recorder_chart_settings.h"

namespace kvplotax {
namespace {

using automation::Variant;
using testing::differences;
using testing::floatArray;
using testing::i2;
using testing::i4;

Variant noArray() { return Variant::array(automation::VT_R4, nullptr); }

constexpr std::uint32_t kPen = 0x0000FF;

class BlockChart {
 public:
  explicit BlockChart(int width = 400, int height = 240)
      : form(width, height), chart(form.create(testing::kChartClsid)) {
    form.pump();
  }

  // Channel 1: float y of 0..10 against an autoincrementing x, one-pixel pen.
  void initialise(int mode, int style, int bufLen) {
    chart.put("Pen_Select", i2(1));
    chart.put("PenColor", i4(kPen));
    chart.put("Chn_Select", i2(1));
    chart.put("ChnDspMode", i2(mode));
    chart.put("ChnDspStyle", i2(style));
    chart.put("ChnDspBufLen", i4(bufLen));
    chart.put("ChnDspAction", i2(1));
  }

  std::int32_t deliver(std::int32_t n, Variant y, Variant x = noArray()) {
    std::vector<Variant> args{i2(1), i4(n), std::move(y), i4(0), std::move(x), i4(0)};
    return chart.call("ChartData", args).toI4();
  }
  std::int32_t deliver(const std::vector<float>& y) {
    return deliver(static_cast<std::int32_t>(y.size()), floatArray(y));
  }

  std::vector<std::uint32_t> screen() { return testing::screenPixels(form); }
  int count(std::uint32_t colour) {
    int n = 0;
    for (std::uint32_t p : screen()) n += p == colour;
    return n;
  }

  host::HeadlessContainer form;
  automation::Dispatch& chart;
};

TEST(CrtArea, ClosingPointsLeaveTheLaterPositionsAlone) {
  BlockChart c;
  // Points half-way between the grid lines, which are drawn over what lies beneath them.
  c.chart.put("Wnd_Select", i2(1));
  c.chart.put("WndWidth", Variant(20.0f));
  c.chart.put("Chn_Select", i2(1));
  c.chart.put("ChnDspOffsetX", Variant(0.5f));
  c.initialise(0, 2, 50);
  ASSERT_EQ(c.deliver(std::vector<float>(10, 3.0f)), 10);
  c.chart.put("ChnDspAction", i2(2));
  c.chart.put("ChnDspStyle", i2(0));
  // Twelve points ten pixels apart: each shows as a pixel of its own.
  ASSERT_EQ(c.deliver(std::vector<float>(12, 7.3f)), 12);
  EXPECT_EQ(c.count(kPen), 12);
}

TEST(CrtRefusal, ARefusedBlockErasesNothing) {
  BlockChart c;
  c.initialise(0, 1, 30);
  ASSERT_EQ(c.deliver(std::vector<float>(25, 6.0f)), 25);
  const std::vector<std::uint32_t> shown = c.screen();
  // Ten points would wrap the sweep, but the array holds only four.
  EXPECT_EQ(c.deliver(10, floatArray({1.0f, 2.0f, 3.0f, 4.0f})), -10);
  EXPECT_EQ(differences(c.screen(), shown), 0);
  // The held points are still there: five more fit before the sweep wraps.
  EXPECT_EQ(c.deliver(std::vector<float>(5, 6.0f)), 30);
}

struct TranslateCase {
  const char* name;
  float offsetX;
  float offsetY;
};
void PrintTo(const TranslateCase& c, std::ostream* os) { *os << c.name; }

class CrtTranslate : public ::testing::TestWithParam<TranslateCase> {};

// A translated sweep shows what a sweep drawn with the offsets from the start shows, and erases
// without leaving pieces.
TEST_P(CrtTranslate, MovesTheWholeSweep) {
  const TranslateCase& t = GetParam();
  const std::vector<std::vector<float>> blocks{
      std::vector<float>(20, 2.0f), std::vector<float>(20, 5.0f), std::vector<float>(20, 8.0f)};
  BlockChart moved;
  const std::vector<std::uint32_t> empty = moved.screen();
  moved.initialise(0, 1, 100);
  for (const auto& b : blocks) ASSERT_GT(moved.deliver(b), 0);
  moved.chart.put("ChnDspOffsetX", Variant(t.offsetX));
  moved.chart.put("ChnDspOffsetY", Variant(t.offsetY));
  moved.chart.put("ChnDspAction", i2(9));
  BlockChart direct;
  direct.chart.put("Chn_Select", i2(1));
  direct.chart.put("ChnDspOffsetX", Variant(t.offsetX));
  direct.chart.put("ChnDspOffsetY", Variant(t.offsetY));
  direct.initialise(0, 1, 100);
  for (const auto& b : blocks) ASSERT_GT(direct.deliver(b), 0);
  EXPECT_EQ(differences(moved.screen(), direct.screen()), 0);
  moved.chart.put("ChnDspAction", i2(2));
  EXPECT_EQ(differences(moved.screen(), empty), 0);
}

INSTANTIATE_TEST_SUITE_P(Offsets, CrtTranslate,
                         ::testing::Values(TranslateCase{"XOnly", 1.5f, 0.0f},
                                           TranslateCase{"YOnly", 0.0f, -1.0f},
                                           TranslateCase{"Both", 1.0f, 1.0f}),
                         [](const ::testing::TestParamInfo<TranslateCase>& info) {
                           return info.param.name;
                         });

struct AbsentArray {
  const char* name;
  int xShape;  // the horizontal ChnDataShape
  bool emptyY;
  std::int32_t result;
};
void PrintTo(const AbsentArray& c, std::ostream* os) { *os << c.name; }

class EmptyVariants : public ::testing::TestWithParam<AbsentArray> {};

// An Empty variant is no array at all, exactly like an array variant without an array.
TEST_P(EmptyVariants, CountAsNoArray) {
  const AbsentArray& a = GetParam();
  BlockChart c;
  c.chart.put("Chn_Select", i2(1));
  c.chart.put("ChnData_Dimension", i2(0));
  c.chart.put("ChnDataShape", i2(a.xShape));
  c.initialise(0, 0, 100);
  const Variant y = a.emptyY ? Variant() : floatArray({4.0f, 5.0f, 6.0f});
  EXPECT_EQ(c.deliver(3, y, Variant()), a.result);
  EXPECT_EQ(c.deliver(3, a.emptyY ? noArray() : y, noArray()), a.result == 3 ? 6 : a.result);
}

INSTANTIATE_TEST_SUITE_P(Shapes, EmptyVariants,
                         ::testing::Values(AbsentArray{"AutoIncrementX", 2, false, 3},
                                           AbsentArray{"ScalarX", 0, false, -9},
                                           AbsentArray{"NoY", 2, true, -6}),
                         [](const ::testing::TestParamInfo<AbsentArray>& info) {
                           return info.param.name;
                         });

// A channel of the scale kind takes the channel commands on its scale item.
class ScaleChannel : public ::testing::Test {
 protected:
  ScaleChannel() : c(601, 257) {
    for (const auto& [name, value] : testing::recorderChartSettings()) c.chart.put(name, value);
    c.chart.put("Pen_Select", i2(4));
    c.chart.put("PenIntenseColor", i4(0x0000FF));
    c.chart.put("Chn_Select", i2(1));
    c.chart.put("ChnDspPen", i2(4));
    c.chart.put("ChnDspMode", i2(101));
    c.chart.put("ChnDspAction", i2(1));
    c.form.pump();
  }

  // Pixels of a colour right of the frame, where the vertical scale's numbers go.
  int ink(std::uint32_t colour) {
    c.form.pump();
    int n = 0;
    for (int y = 1; y < 256; ++y)
      for (int x = 570; x < 597; ++x) n += c.form.pixel(x, y) == colour;
    return n;
  }

  BlockChart c;
};

TEST_F(ScaleChannel, TakesEveryChannelCommand) {
  const int numbers = ink(0);
  ASSERT_GT(numbers, 100);
  struct Step {
    int action;
    int black;
    int red;
  };
  const Step steps[] = {
      {2, 0, 0},        // erase
      {4, numbers, 0},  // normal colour: drawn again
      {3, 0, numbers},  // intense colour
      {4, numbers, 0},  //
      {5, numbers, 0},  // change pen: built again from the scale's pens
      {6, numbers, 0},  // change viewport and window: laid out again
      {7, numbers, 0},  //
      {8, numbers, 0},  // flush and translate: nothing to move
      {9, numbers, 0},  //
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.action);
    c.chart.put("ChnDspAction", i2(s.action));
    EXPECT_EQ(ink(0), s.black);
    EXPECT_EQ(ink(0x0000FF), s.red);
  }
}

}  // namespace
}  // namespace kvplotax
