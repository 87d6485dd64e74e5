// Scales while designing: after any write that moves, resizes, re-ranges or recolours them, a
// designed chart shows what a chart given that write before its scales were made shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <utility>
#include <vector>

#include "headless_chart.h"

namespace kvplotax {
namespace {

using automation::Variant;
using testing::i2;
using testing::i4;
using Write = std::pair<const char*, Variant>;

constexpr int kWidth = 480;
constexpr int kHeight = 320;

// Both dimensions of the new control's scale 1 shown, with one place so that every number has
// a text of its own.
void showScales(automation::Dispatch& chart) {
  chart.put("Scale_Select", i2(1));
  for (int d : {0, 1}) {
    chart.put("ScaleDimension", i2(d));
    chart.put("ScalePlaces", i2(1));
    chart.put("ScaleVisibility", i2(3));
  }
}

struct DesignCase {
  const char* name;
  std::vector<Write> writes;
};
void PrintTo(const DesignCase& c, std::ostream* os) { *os << c.name; }

class DesignedScales : public ::testing::TestWithParam<DesignCase> {};

TEST_P(DesignedScales, FollowEveryWrite) {
  const DesignCase& c = GetParam();
  host::HeadlessContainer designed(kWidth, kHeight, false);
  automation::Dispatch& chart = designed.create(testing::kChartClsid);
  designed.pump();
  showScales(chart);
  const std::vector<std::uint32_t> before = testing::screenPixels(designed);
  for (const auto& [name, value] : c.writes) chart.put(name, value);

  host::HeadlessContainer reference(kWidth, kHeight, false);
  automation::Dispatch& other = reference.create(testing::kChartClsid);
  reference.pump();
  for (const auto& [name, value] : c.writes) other.put(name, value);
  showScales(other);

  const std::vector<std::uint32_t> expected = testing::screenPixels(reference);
  ASSERT_NE(expected, before) << "the write changes nothing";
  EXPECT_EQ(testing::differences(testing::screenPixels(designed), expected), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, DesignedScales,
    ::testing::Values(
        DesignCase{"MarginLeft", {{"MarginLeft", i2(60)}}},
        DesignCase{"MarginBottom", {{"MarginBottom", i2(50)}}},
        DesignCase{"Viewports", {{"Viewports", i2(2)}}},
        DesignCase{"MajorDivVert", {{"MajorDivVert", i2(4)}}},
        DesignCase{"MajorDivHorz", {{"MajorDivHorz", i2(6)}}},
        DesignCase{"MinorDiv", {{"MinorDiv", i2(2)}}},
        DesignCase{"GridSymmetry", {{"GridSymmetry", i2(0)}}},
        DesignCase{"BevelWidthInner", {{"BevelInner", i2(2)}, {"BevelWidth_Inner", i2(20)}}},
        DesignCase{"BevelWidthOuter", {{"BevelOuter", i2(1)}, {"BevelWidth_Outer", i2(24)}}},
        DesignCase{"WndWidth", {{"Wnd_Select", i2(1)}, {"WndWidth", Variant(40.0f)}}},
        DesignCase{"WndYmin", {{"Wnd_Select", i2(1)}, {"WndYmin", Variant(-5.0f)}}},
        DesignCase{"PenColor", {{"Pen_Select", i2(1)}, {"PenColor", i4(0x0000FF)}}},
        // A scale moved to another viewport or window takes both dimensions along.
        DesignCase{"ScaleViewport",
                   {{"Viewports", i2(2)},
                    {"Scale_Select", i2(1)},
                    {"ScaleDimension", i2(0)},
                    {"ScaleLocation", i2(1)},
                    {"ScaleDimension", i2(1)},
                    {"ScaleViewport", i2(2)}}},
        DesignCase{"ScaleWindow",
                   {{"Wnd_Select", i2(2)},
                    {"WndXmin", Variant(-50.0f)},
                    {"WndWidth", Variant(100.0f)},
                    {"WndHeight", Variant(2.0f)},
                    {"Scale_Select", i2(1)},
                    {"ScaleWindow", i2(2)}}}),
    [](const ::testing::TestParamInfo<DesignCase>& info) { return info.param.name; });

}  // namespace
}  // namespace kvplotax
