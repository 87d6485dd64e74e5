#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gdi/log_font.h"
#include "scale/alignment_code.h"
#include "scale/scale_layout.h"
#include "scale/scale_number_text.h"

namespace kvplotax::scale {
namespace {

std::string text(float value, int places) {
  return std::string(formatScaleNumber(value, places).view());
}

const ScaleFonts& arial8() {
  static const ScaleFonts fonts = ScaleFonts::fromLogFont(gdi::logFontFromPoints("Arial", 8, 96));
  return fonts;
}

std::vector<std::string> shownTexts(const ScaleLayout& l) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < l.numbers.size(); ++i) {
    if (l.numbers[i].shown) out.emplace_back(l.texts[i].view());
  }
  return out;
}

TEST(ScaleNumbers, FixedPointTextsWithAnExactZeroAlone) {
  EXPECT_EQ(text(0.0f, 2), "0");
  EXPECT_EQ(text(-0.0f, 3), "0");
  EXPECT_EQ(text(0.05f, 2), "0.05");
  EXPECT_EQ(text(1234.5f, 1), "1234.5");
  EXPECT_EQ(text(-0.25f, 2), "-0.25");
  EXPECT_EQ(text(-12.0f, 0), "-12");
  EXPECT_EQ(text(7.0f, 1), "7.0");
  // Rounded away to nothing: a plain 0, whatever the sign.
  EXPECT_EQ(text(0.001f, 2), "0");
  EXPECT_EQ(text(-0.001f, 2), "0");
  EXPECT_EQ(text(0.4f, 0), "0");
  EXPECT_EQ(text(0.6f, 0), "1");
  EXPECT_EQ(text(3.0e38f, 0).size(), 39u);
  EXPECT_EQ(text(1.0f, 99), "1.000000000000000");
  EXPECT_EQ(text(1.0f, -3), "1");
}

TEST(ScaleNumbers, HalvesRoundAwayFromZero) {
  const struct {
    float value;
    int places;
    const char* text;
  } kCases[] = {
      {0.5f, 0, "1"},      {1.5f, 0, "2"},          {2.5f, 0, "3"},      {-2.5f, 0, "-3"},
      {0.625f, 2, "0.63"}, {-0.375f, 2, "-0.38"},   {0.125f, 2, "0.13"}, {9.995f, 2, "9.99"},
      {9.5f, 0, "10"},     {99.96875f, 1, "100.0"}, {-0.5f, 0, "-1"},    {0.49999997f, 0, "0"},
  };
  for (const auto& c : kCases) EXPECT_EQ(text(c.value, c.places), c.text) << c.value;
}

// Values accumulated in single precision along a scale, written as people read them.
TEST(ScaleNumbers, AccumulatedStepsGiveTheTextsPeopleRead) {
  const struct {
    float end;
    int intervals;
    int places;
    std::vector<std::string> texts;
  } kScales[] = {
      {1.0f, 4, 2, {"0", "0.25", "0.50", "0.75", "1.00"}},
      {5.0f, 10, 0, {"0", "1", "1", "2", "2", "3", "3", "4", "4", "5", "5"}},
  };
  for (const auto& c : kScales) {
    ScaleStyle style;
    style.places = c.places;
    style.visibility = kScaleOnly;
    style.location = kFrameRightBottom;  // outside: nothing crosses an axis
    ScaleFrame frame;
    frame.viewport = {20, 50, 580, 350};
    frame.intervals = c.intervals;
    frame.majorTick = 9;
    frame.axesType = 3;
    frame.start = 0.0f;
    frame.end = c.end;
    ScaleLayout layout;
    layoutScale(kHorz, style, frame, arial8(), layout);
    EXPECT_EQ(shownTexts(layout), c.texts);
  }
}

TEST(AlignmentCodes, TableCornersDecode) {
  const AlignmentCode first = alignmentCode(kHorz, 0, kBelowRight, kRightPath, 0);
  EXPECT_EQ(first.raw, 0x201);
  EXPECT_TRUE(first.updatesPosition());
  EXPECT_EQ(first.horizontal(), Horizontal::kLeft);
  EXPECT_EQ(first.vertical(), Vertical::kTop);
  EXPECT_EQ(first.acrossShift(), 2);
  const AlignmentCode up = alignmentCode(kHorz, 0, kBelowRight, kUpPath, 0);
  EXPECT_EQ(up.raw, 0x53A);
  EXPECT_EQ(up.horizontal(), Horizontal::kCentre);
  EXPECT_EQ(up.vertical(), Vertical::kBaselineOrBottom);
  EXPECT_EQ(up.alongShift(), 1);
  EXPECT_EQ(up.acrossShift(), 5);
  EXPECT_EQ(alignmentCode(kVert, 1, kAboveLeft, kDownPath, 2).raw, 0x042);
  EXPECT_EQ(alignmentCode(kVert, 0, kAboveLeft, kRightPath, 1).raw, 0x11B);
  EXPECT_EQ(alignmentCode(kHorz, 1, kBelowRight, kLeftPath, 2).raw, 0x01D);
  // Out-of-range arguments stay inside the table.
  EXPECT_EQ(alignmentCode(7, 9, -1, 12, 5).raw, alignmentCode(1, 1, 0, 3, 2).raw);
}

class ScaleLayoutTest : public ::testing::Test {
 protected:
  ScaleLayoutTest() {
    style.visibility = kScaleOnly;
    frame.viewport = {25, 20, 475, 380};
    frame.intervals = 10;
    frame.majorTick = 9;
    frame.axesType = 0;
    frame.start = 0.0f;
    frame.end = 10.0f;
  }
  void lay(int d) { layoutScale(d, style, frame, arial8(), layout); }
  ScaleStyle style;
  ScaleFrame frame;
  ScaleLayout layout;
};

TEST_F(ScaleLayoutTest, HorizontalOnTheAxisSitsGapAndTickBelowWithTheEndsPulledIn) {
  lay(kHorz);
  ASSERT_EQ(layout.numbers.size(), 11u);
  const int mid = 20 + 360 / 2;
  for (const PlacedText& p : layout.numbers) EXPECT_EQ(p.base.y, mid + 14);
  EXPECT_EQ(layout.numbers[0].base.x, 25 + 14);
  EXPECT_EQ(layout.numbers[5].base.x, 25 + 5 * 45);
  EXPECT_EQ(layout.numbers[10].base.x, 475 - 14);
  // Top-aligned below the axis: the digits' cells start at the anchor less the leading.
  const int leading = arial8().normal->metrics().tmInternalLeading;
  EXPECT_EQ(layout.numbers[3].rect.top, mid + 14 - leading);
  EXPECT_EQ(layout.numbers[0].rect.left, 25 + 14);
  EXPECT_EQ(layout.numbers[10].rect.right, 475 - 14);
  // Eleven numbers: the middle one is where the vertical axis crosses.
  EXPECT_FALSE(layout.numbers[5].shown);
  EXPECT_EQ(shownTexts(layout).size(), 10u);
  EXPECT_TRUE(layout.inOwnViewport);
}

TEST_F(ScaleLayoutTest, VerticalOutsideTheFrameOnTheLeft) {
  style.location = kFrameLeftTop;
  style.position = kAboveLeft;
  style.orientation = 1;  // upright digits on a vertical scale
  lay(kVert);
  ASSERT_EQ(layout.numbers.size(), 11u);
  for (const PlacedText& p : layout.numbers) EXPECT_EQ(p.base.x, 25 - 6);
  // Outside the plot the end numbers move one pixel in, not the gap and tick.
  EXPECT_EQ(layout.numbers[0].base.y, 380 + 1);
  EXPECT_EQ(layout.numbers[1].base.y, 380 - 36);
  EXPECT_EQ(layout.numbers[10].base.y, 20 - 1);
  // Right-aligned to the left of the frame.
  for (const PlacedText& p : layout.numbers) EXPECT_EQ(p.rect.right, 25 - 6);
  EXPECT_FALSE(layout.inOwnViewport);
  EXPECT_EQ(shownTexts(layout).size(), 11u);  // in viewport 0 nothing crosses
}

TEST_F(ScaleLayoutTest, TwoViewportsShowFiveNumbersEach) {
  EXPECT_EQ(scaleIntervals(kVert, 10, 8, 2), 4);
  EXPECT_EQ(scaleIntervals(kVert, 10, 8, 1), 8);
  EXPECT_EQ(scaleIntervals(kHorz, 10, 8, 2), 10);
  style.location = kFrameRightBottom;
  style.orientation = 1;
  frame.viewport = {25, 20, 475, 200};
  frame.intervals = scaleIntervals(kVert, 10, 8, 2);
  lay(kVert);
  EXPECT_EQ(shownTexts(layout).size(), 5u);
}

TEST_F(ScaleLayoutTest, CrowdedNumbersThinOutSymmetrically) {
  frame.viewport = {25, 20, 145, 380};  // 12 pixels a division
  frame.start = 1000.0f;
  frame.end = 1010.0f;
  frame.axesType = 3;
  lay(kHorz);
  const std::vector<std::string> shown = shownTexts(layout);
  ASSERT_GE(shown.size(), 2u);
  EXPECT_LT(shown.size(), 11u);
  std::vector<bool> kept;
  for (const PlacedText& p : layout.numbers) kept.push_back(p.shown);
  EXPECT_TRUE(std::equal(kept.begin(), kept.end(), kept.rbegin()));
  // What is left does not overlap.
  const PlacedText* previous = nullptr;
  for (const PlacedText& p : layout.numbers) {
    if (!p.shown) continue;
    if (previous) {
      EXPECT_TRUE(previous->rect.intersect(p.rect).isEmpty());
    }
    previous = &p;
  }
}

TEST_F(ScaleLayoutTest, CaptionStandsClearOfTheNumbersAndRemovesThoseItCovers) {
  style.visibility = kScaleAndLabel;
  style.caption = "Volts";
  style.labelLocation = kRightTop;
  lay(kHorz);
  ASSERT_TRUE(layout.labelShown);
  // Same side as the numbers: pushed out by their height plus the gap, and in from the end.
  EXPECT_EQ(layout.label.base.y, 200 + 14 + layout.numbersBounds.height() + 5);
  EXPECT_EQ(layout.label.base.x, 475 - 14);
  for (const PlacedText& p : layout.numbers) {
    if (p.shown) {
      EXPECT_TRUE(p.rect.intersect(layout.label.rect).isEmpty());
    }
  }
  // On the other side it only moves across.
  style.labelPosition = kAboveLeft;
  lay(kHorz);
  EXPECT_EQ(layout.label.base.y, 200 - 14);
  EXPECT_FALSE(layout.label.form.captionDescends);
  EXPECT_EQ(layout.label.form.code.vertical(), Vertical::kBaselineOrBottom);
  // A descender puts the caption on its bottom line instead of the baseline.
  style.caption = "Amps";
  lay(kHorz);
  EXPECT_TRUE(layout.label.form.captionDescends);
  EXPECT_EQ(layout.label.rect.bottom, layout.label.anchor.y);
}

TEST_F(ScaleLayoutTest, NothingForAnEmptyRectangleOrHiddenParts) {
  frame.viewport = {};
  lay(kHorz);
  EXPECT_TRUE(layout.numbers.empty());
  EXPECT_TRUE(layout.bounds.isEmpty());
  frame.viewport = {25, 20, 475, 380};
  style.visibility = kLabelOnly;  // no caption text: nothing either
  lay(kHorz);
  EXPECT_TRUE(layout.numbers.empty());
  EXPECT_FALSE(layout.labelShown);
}

TEST_F(ScaleLayoutTest, HugeGapsPutTheTextsOutOfSightWithoutOverflow) {
  style.gap = 2147483647;
  style.visibility = kScaleAndLabel;
  style.caption = "x";
  lay(kHorz);
  EXPECT_GT(layout.numbers[0].base.y, 380);
  EXPECT_GT(layout.label.base.y, layout.numbers[0].base.y);
  EXPECT_FALSE(layout.inOwnViewport);
}

TEST_F(ScaleLayoutTest, StackedCaptionGrowsOneCharacterAtATime) {
  style.visibility = kLabelOnly;
  style.caption = "AB";
  style.labelPath = kDownPath;
  lay(kHorz);
  const gdi::Font& font = *arial8().normal;
  const int step = font.extent("A").cy - font.metrics().tmDescent;
  EXPECT_EQ(layout.label.rect.height(), step + font.extent("B").cy);
  style.caption = "gB";  // a descender steps its full height
  lay(kHorz);
  EXPECT_EQ(layout.label.rect.height(), font.extent("g").cy + font.extent("B").cy);
}

}  // namespace
}  // namespace kvplotax::scale
