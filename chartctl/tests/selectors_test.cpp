// The select protocol: staged values, commits, creation and deletion of numbered objects.
#include "chart_fixture.h"

namespace kvplotax::test {
namespace {

using SelectorTest = ChartTest;

TEST_F(SelectorTest, PenValuesLiveInTheStagedCopyUntilAPenIsSelected) {
  put("PenColor", automation::Variant(std::int32_t{0x123456}));
  EXPECT_EQ(i4("PenColor"), 0x123456);  // only the staged value changed
  put("Pen_Select", I2(2));
  EXPECT_EQ(i4("PenColor"), 0x00FFFF00);  // a new pen's colour
  EXPECT_EQ(i4("PenIntenseColor"), 0x00FFFF00);
}

TEST_F(SelectorTest, ReselectingAPenLoadsWhatWasCommitted) {
  put("Pen_Select", I2(3));
  put("PenWidth", I2(2));
  put("Pen_Select", I2(4));
  EXPECT_EQ(i4("PenWidth"), 0);
  put("Pen_Select", I2(3));
  EXPECT_EQ(i4("PenWidth"), 2);
}

TEST_F(SelectorTest, DeletingTheSelectedPenClearsTheSelectionButNotTheStagedValues) {
  put("Pen_Select", I2(3));
  put("PenWidth", I2(4));
  put("Pen_Select", I2(-3));
  EXPECT_EQ(i4("Pen_Select"), 0);
  EXPECT_EQ(i4("PenWidth"), 4);
  put("Pen_Select", I2(3));
  EXPECT_EQ(i4("PenWidth"), 0);  // a fresh pen
  EXPECT_EQ(i4("PenColor"), 0x00FFFF00);
}

TEST_F(SelectorTest, WritingZeroOnlyCommits) {
  put("Pen_Select", I2(5));
  put("Pen_Select", I2(0));
  EXPECT_EQ(i4("Pen_Select"), 5);
  put("Wnd_Select", I2(2));
  put("WndWidth", automation::Variant(7.5f));
  put("Wnd_Select", I2(0));
  EXPECT_EQ(i4("Wnd_Select"), 2);
  EXPECT_FLOAT_EQ(r4("WndWidth"), 7.5f);
}

TEST_F(SelectorTest, DeletingAnotherObjectKeepsTheSelection) {
  put("Pen_Select", I2(1));
  put("Pen_Select", I2(2));
  put("PenStyle", I2(3));
  put("Pen_Select", I2(-1));
  EXPECT_EQ(i4("Pen_Select"), 2);
  EXPECT_EQ(i4("PenStyle"), 3);
}

TEST_F(SelectorTest, MostNegativeNumberDeletesNothingAndKeepsTheSelection) {
  put("Pen_Select", I2(7));
  put("Pen_Select", I2(-32768));
  EXPECT_EQ(i4("Pen_Select"), 7);
}

TEST_F(SelectorTest, NewWindowIsTheUnitSquare) {
  put("Wnd_Select", I2(4));
  EXPECT_FLOAT_EQ(r4("WndXmin"), 0.0f);
  EXPECT_FLOAT_EQ(r4("WndYmin"), 0.0f);
  EXPECT_FLOAT_EQ(r4("WndWidth"), 1.0f);
  EXPECT_FLOAT_EQ(r4("WndHeight"), 1.0f);
}

TEST_F(SelectorTest, NewTransformDefaults) {
  put("ChnXform_Select", I2(2));
  EXPECT_FLOAT_EQ(r4("ChnXformGain"), 1.0f);
  EXPECT_FLOAT_EQ(r4("ChnXformOffset"), 0.0f);
  EXPECT_EQ(i4("ChnXformMSB"), -1);
  EXPECT_EQ(i4("ChnXformLSB"), -1);
}

TEST_F(SelectorTest, NewChannelReadsItsDefaultsAndBothDescriptions) {
  put("Chn_Select", I2(2));
  EXPECT_EQ(i4("ChnDspBufLen"), 500);
  EXPECT_EQ(i4("ChnDspPen"), 1);
  EXPECT_EQ(i4("ChnDspWindow"), 1);
  EXPECT_EQ(i4("ChnDspViewport"), 1);
  EXPECT_EQ(i4("ChnDspAction"), 1);
  EXPECT_EQ(i4("ChnData_Dimension"), 0);
  EXPECT_EQ(i4("ChnDataType"), 6);
  EXPECT_EQ(i4("ChnDataIncr"), 1);
  put("ChnData_Dimension", I2(1));
  EXPECT_EQ(i4("ChnDataType"), 6);
  EXPECT_EQ(i4("ChnDataIncr"), 1);
}

TEST_F(SelectorTest, DescriptionsSurviveDeletionOfTheirChannel) {
  put("Chn_Select", I2(5));
  put("ChnDspBufLen", I2(77));
  put("ChnDataShape", I2(2));  // horizontal
  put("ChnData_Dimension", I2(1));
  put("ChnDataType", I2(3));  // vertical
  put("Chn_Select", I2(-5));
  EXPECT_EQ(i4("Chn_Select"), 0);
  put("Chn_Select", I2(5));
  EXPECT_EQ(i4("ChnDspBufLen"), 500);  // display settings are new
  EXPECT_EQ(i4("ChnDataShape"), 2);
  put("ChnData_Dimension", I2(1));
  EXPECT_EQ(i4("ChnDataType"), 3);
}

TEST_F(SelectorTest, SwitchingChannelsCommitsTheStagedDescription) {
  put("Chn_Select", I2(1));
  put("ChnData_Dimension", I2(1));
  put("ChnDataOffset", I2(9));
  put("ChnDataXform", I2(4));  // staged only until the next commit
  put("Chn_Select", I2(2));
  EXPECT_EQ(i4("ChnDataXform"), 0);
  put("Chn_Select", I2(1));
  put("ChnData_Dimension", I2(1));
  EXPECT_EQ(i4("ChnDataOffset"), 9);
  EXPECT_EQ(i4("ChnDataXform"), 4);
}

TEST_F(SelectorTest, DimensionOtherThanHorzOrVertIsRefused) {
  put("Chn_Select", I2(1));
  EXPECT_EQ(errorOf([&] { put("ChnData_Dimension", I2(2)); }).number(), 380);
  EXPECT_EQ(i4("ChnData_Dimension"), 0);
}

TEST_F(SelectorTest, DimensionWithoutAChannelKeepsItsValue) {
  put("ChnData_Dimension", I2(1));
  EXPECT_EQ(i4("ChnData_Dimension"), 0);
}

TEST_F(SelectorTest, StyleChangeReselectsTheChannelLeavingTheVerticalDescriptionStaged) {
  put("Chn_Select", I2(3));
  put("ChnDspStyle", I2(1));
  EXPECT_EQ(i4("ChnDspStyle"), 1);
  EXPECT_EQ(i4("ChnData_Dimension"), 1);
  put("Chn_Select", I2(0));
  put("Chn_Select", I2(3));
  EXPECT_EQ(i4("ChnDspStyle"), 1);
}

TEST_F(SelectorTest, StyleWithoutAChannelChangesNothing) {
  put("ChnDspStyle", I2(2));
  EXPECT_EQ(i4("ChnDspStyle"), 0);
}

TEST_F(SelectorTest, ViewportSelection) {
  put("Viewport_Select", I2(1));
  EXPECT_EQ(i4("Viewport_Select"), 1);
  put("Viewport_Select", I2(0));  // accepted, nothing changes
  EXPECT_EQ(i4("Viewport_Select"), 1);
  EXPECT_EQ(errorOf([&] { put("Viewport_Select", I2(2)); }).number(), 380);
  EXPECT_EQ(errorOf([&] { put("Viewport_Select", I2(-1)); }).number(), 380);
  EXPECT_EQ(i4("Viewport_Select"), 1);
}

TEST_F(SelectorTest, ViewportCountOutsideTheDivisionsIsIgnored) {
  put("Viewports", I2(9));  // MajorDivVert is 8
  EXPECT_EQ(i4("Viewports"), 1);
  put("Viewports", I2(0));
  EXPECT_EQ(i4("Viewports"), 1);
}

TEST_F(SelectorTest, ShrinkingTheViewportCountMovesTheSelection) {
  put("Viewports", I2(4));
  put("Viewport_Select", I2(3));
  put("Viewports", I2(2));
  EXPECT_EQ(i4("Viewports"), 2);
  EXPECT_EQ(i4("Viewport_Select"), 2);
}

TEST_F(SelectorTest, StorageFlagReachesTheViewport) {
  put("ViewportStorageOn", automation::Variant(true));  // nothing selected: staged only
  EXPECT_TRUE(get("ViewportStorageOn").toBool());
  put("Viewport_Select", I2(1));
  EXPECT_FALSE(get("ViewportStorageOn").toBool());
  put("ViewportStorageOn", automation::Variant(true));
  put("Viewports", I2(2));
  put("Viewport_Select", I2(2));
  put("Viewport_Select", I2(1));
  EXPECT_TRUE(get("ViewportStorageOn").toBool());
}

TEST_F(SelectorTest, ScalesAreAddressedDirectly) {
  EXPECT_EQ(i4("ScaleGap"), 0);  // no scale: reads 0, writes nothing
  put("ScaleGap", I2(9));
  EXPECT_EQ(get("LabelCaption").toString(), "");
  put("Scale_Select", I2(2));
  EXPECT_EQ(i4("ScaleGap"), 5);
  EXPECT_EQ(i4("LabelLocation"), 2);
  EXPECT_EQ(i4("ScaleWindow"), 1);
  EXPECT_FLOAT_EQ(r4("ScaleFactor"), 1.0f);
  put("ScaleDimension", I2(1));
  put("LabelCaption", "Volts");
  put("ScaleDimension", I2(0));
  EXPECT_EQ(get("LabelCaption").toString(), "");
  put("ScaleDimension", I2(1));
  EXPECT_EQ(get("LabelCaption").toString(), "Volts");
  put("Scale_Select", I2(-2));
  EXPECT_EQ(i4("Scale_Select"), 0);
  EXPECT_EQ(get("LabelCaption").toString(), "");
  put("Scale_Select", I2(2));
  EXPECT_EQ(i4("ScaleDimension"), 0);  // a new scale
}

TEST_F(SelectorTest, SelectorWritesMarkTheControlModifiedAndNotify) {
  EXPECT_FALSE(control_->isModified());
  put("Scale_Select", I2(1));
  EXPECT_TRUE(control_->isModified());
  ASSERT_FALSE(site_->changed.empty());
  EXPECT_EQ(site_->changed.back(), 0x3d);
}

}  // namespace
}  // namespace kvplotax::test
