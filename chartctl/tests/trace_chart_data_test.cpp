// ChartData and the channel commands through the control's dispatch interface in the headless
// container: sweep restarts, strip-chart refusals, array acceptance and offsets, pixels shown.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "automation/automation.h"
#include "host/headless.h"

namespace kvplotax {
namespace {

using automation::SafeArray;
using automation::Variant;

const automation::Guid kClsid = *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");

Variant i2(int v) { return Variant(static_cast<std::int16_t>(v)); }
Variant i4(int v) { return Variant(static_cast<std::int32_t>(v)); }

std::shared_ptr<SafeArray> floats(const std::vector<float>& values) {
  auto a = SafeArray::create(automation::VT_R4, values.size());
  std::copy(values.begin(), values.end(), static_cast<float*>(a->data()));
  return a;
}

class TraceChartData : public ::testing::Test {
 protected:
  TraceChartData() : form_(500, 300), chart_(form_.create(kClsid)) { form_.pump(); }

  // Channel 1: float y, autoincrementing x, the given mode, style and buffer length.
  void initialise(int mode, int style, int bufLen) {
    chart_.put("Pen_Select", i2(1));
    chart_.put("PenColor", i4(0x0000FF));
    chart_.put("Chn_Select", i2(1));
    chart_.put("ChnDspMode", i2(mode));
    chart_.put("ChnDspStyle", i2(style));
    chart_.put("ChnDspBufLen", i4(bufLen));
    chart_.put("ChnDspAction", i2(1));
  }

  std::int32_t deliver(int n, Variant y, int yOffset = 0,
                       Variant x = Variant::array(automation::VT_R4, nullptr), int xOffset = 0) {
    std::vector<Variant> args{i2(1), i4(n), std::move(y), i4(yOffset), std::move(x), i4(xOffset)};
    return chart_.call("ChartData", args).toI4();
  }
  std::int32_t deliver(const std::vector<float>& y) {
    return deliver(static_cast<int>(y.size()), Variant::array(automation::VT_R4, floats(y)));
  }

  host::HeadlessContainer form_;
  automation::Dispatch& chart_;
};

TEST_F(TraceChartData, CrtSweepRestartsKeepTheTail) {
  initialise(0, 0, 500);
  EXPECT_EQ(deliver(std::vector<float>(400, 5.0f)), 400);
  EXPECT_EQ(deliver(std::vector<float>(200, 5.0f)), 100);
  chart_.put("ChnDspAction", i2(1));  // a fresh, empty trace
  EXPECT_EQ(deliver(std::vector<float>(1200, 5.0f)), 200);
  chart_.put("ChnDspAction", i2(2));  // erased: the next block starts at position 0
  EXPECT_EQ(deliver(std::vector<float>(10, 5.0f)), 10);
  chart_.put("ChnDspAction", i2(8));  // flushed likewise
  EXPECT_EQ(deliver(std::vector<float>(10, 5.0f)), 10);
}

TEST_F(TraceChartData, ScrollRightTrimsLongBlocksAndRefusesXGoingBack) {
  initialise(1, 1, 500);
  chart_.put("ChnData_Dimension", i2(0));
  chart_.put("ChnDataShape", i2(0));
  chart_.put("ChnDataType", i2(6));
  chart_.put("ChnDspAction", i2(1));
  std::vector<float> x(800), y(800, 5.0f);
  for (int i = 0; i < 800; ++i) x[i] = static_cast<float>(i) / 100.0f;
  EXPECT_EQ(deliver(800, Variant::array(automation::VT_R4, floats(y)), 0,
                    Variant::array(automation::VT_R4, floats(x))),
            500);
  const std::vector<float> back{1.0f}, five{5.0f};
  EXPECT_EQ(deliver(1, Variant::array(automation::VT_R4, floats(five)), 0,
                    Variant::array(automation::VT_R4, floats(back))),
            -11);
  const std::vector<float> inf{std::numeric_limits<float>::infinity()};
  EXPECT_EQ(deliver(1, Variant::array(automation::VT_R4, floats(five)), 0,
                    Variant::array(automation::VT_R4, floats(inf))),
            -11);
  const std::vector<float> later{9.0f}, nan{std::nanf("")};
  EXPECT_EQ(deliver(1, Variant::array(automation::VT_R4, floats(nan)), 0,
                    Variant::array(automation::VT_R4, floats(later))),
            500);
}

TEST_F(TraceChartData, ANonArrayIsRefusedWithNoArrayLeftLocked) {
  initialise(0, 0, 500);
  auto x = floats({1.0f, 2.0f});
  std::vector<Variant> args{i2(1), i4(2), i4(7), i4(0), Variant::array(automation::VT_R4, x),
                            i4(0)};
  try {
    chart_.call("ChartData", args);
    FAIL() << "a number is not an array";
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.number(), 380);
    EXPECT_STREQ(e.what(), "OCX Error: Data Should be an array!");
  }
  EXPECT_EQ(x->locks(), 0u);
}

TEST_F(TraceChartData, OffsetsCountTheArraysOwnElements) {
  initialise(0, 1, 500);
  chart_.put("ChnData_Dimension", i2(1));
  chart_.put("ChnDataType", i2(3));  // 16-bit samples
  chart_.put("ChnDspAction", i2(1));
  // Bytes, read as 16-bit samples from the third byte on: 7 and 7. Counting the offset in
  // 16-bit samples would leave one sample for two points.
  auto bytes = SafeArray::create(automation::VT_UI1, 6);
  const std::uint8_t raw[6] = {9, 0, 7, 0, 7, 0};
  std::copy(raw, raw + 6, static_cast<std::uint8_t*>(bytes->data()));
  EXPECT_EQ(deliver(2, Variant::array(automation::VT_UI1, bytes), 2), 2);
  EXPECT_EQ(bytes->locks(), 0u);
  form_.pump();
  // World y 7 of 0..10 on the plot rows 30..270 is row 102; x 0 to 1 runs from column 25.
  EXPECT_EQ(form_.pixel(40, 102), 0x0000FFu);
  EXPECT_EQ(deliver(3, Variant::array(automation::VT_UI1, bytes), 2), -10);  // past the end
}

TEST_F(TraceChartData, IntenseColourAndStorageShowOnScreen) {
  chart_.put("Pen_Select", i2(1));
  chart_.put("PenIntenseColor", i4(0x00FF00));
  initialise(0, 1, 500);
  EXPECT_EQ(deliver({7.0f, 7.0f}), 2);
  form_.pump();
  EXPECT_EQ(form_.pixel(40, 102), 0x0000FFu);
  chart_.put("ChnDspAction", i2(3));
  form_.pump();
  EXPECT_EQ(form_.pixel(40, 102), 0x00FF00u);
  chart_.put("ChnDspAction", i2(4));
  form_.pump();
  EXPECT_EQ(form_.pixel(40, 102), 0x0000FFu);
  chart_.put("ChnDspAction", i2(2));
  form_.pump();
  EXPECT_NE(form_.pixel(40, 102), 0x0000FFu);
}

TEST_F(TraceChartData, StorageKeepsAnErasedTraceInTheStorageColour) {
  chart_.put("ViewportStorageColor", i4(0x808080));
  chart_.put("Viewport_Select", i2(1));
  chart_.put("ViewportStorageOn", Variant(true));
  initialise(0, 1, 500);
  EXPECT_EQ(deliver({7.0f, 7.0f}), 2);
  chart_.put("ChnDspAction", i2(2));
  form_.pump();
  EXPECT_EQ(form_.pixel(40, 102), 0x808080u);
  // The sweep starts again over the stored picture.
  EXPECT_EQ(deliver({7.0f, 7.0f}), 2);
  form_.pump();
  EXPECT_EQ(form_.pixel(40, 102), 0x0000FFu);
}

}  // namespace
}  // namespace kvplotax
