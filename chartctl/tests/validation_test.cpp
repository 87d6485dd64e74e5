// Group validation with rollback, design-mode refusals, commands and the control's own errors.
#include "chart_fixture.h"
#include "control_errors.h"
#include "kvplotax_ctrl.h"

namespace kvplotax::test {
namespace {

using ValidationTest = ChartTest;

TEST_F(ValidationTest, NegativeBezelWidthIsRefusedAndRolledBack) {
  const auto e = errorOf([&] { put("BorderWidth", I2(-1)); });
  EXPECT_EQ(e.number(), 380);
  EXPECT_EQ(e.scode(), static_cast<std::int32_t>(0x800A017C));
  EXPECT_EQ(i4("BorderWidth"), 3);
  EXPECT_EQ(errorOf([&] { put("BevelWidth_Inner", I2(-2)); }).number(), 380);
  EXPECT_EQ(i4("BevelWidth_Inner"), 1);
  put("BevelInner", I2(17));  // styles are not range-tested
  EXPECT_EQ(i4("BevelInner"), 17);
}

TEST_F(ValidationTest, NegativeMarginIsAcceptedUntilTheNextGraticuleWrite) {
  put("MarginLeft", I2(-5));
  EXPECT_EQ(i4("MarginLeft"), -5);
  EXPECT_EQ(errorOf([&] { put("GridOn", automation::Variant(false)); }).number(), 380);
  EXPECT_TRUE(get("GridOn").toBool());
  EXPECT_EQ(i4("MarginLeft"), 0);
  put("GridOn", automation::Variant(false));  // the group is sound again
  EXPECT_FALSE(get("GridOn").toBool());
}

TEST_F(ValidationTest, DivisionCounts) {
  EXPECT_EQ(errorOf([&] { put("MajorDivHorz", I2(0)); }).number(), 380);
  EXPECT_EQ(errorOf([&] { put("MajorDivVert", I2(0)); }).number(), 380);
  EXPECT_EQ(errorOf([&] { put("MajorDivVert", I2(-3)); }).number(), 380);
  EXPECT_EQ(i4("MajorDivVert"), 8);
  EXPECT_EQ(errorOf([&] { put("MinorDiv", I2(0)); }).number(), 380);
  EXPECT_EQ(i4("MinorDiv"), 5);
  put("MajorDivHorz", I2(4));
  EXPECT_EQ(i4("MajorDivHorz"), 4);
}

TEST_F(ValidationTest, GridSymmetryIsStoredInverted) {
  put("GridSymmetry", I2(0));
  EXPECT_EQ(i4("GridSymmetry"), 0);
  put("GridSymmetry", I2(7));
  EXPECT_EQ(i4("GridSymmetry"), 1);
  auto& ctrl = dynamic_cast<CKvplotaxCtrl&>(*control_);
  EXPECT_FALSE(ctrl.state().settings().isotropic);
}

TEST_F(ValidationTest, ViewportEdgesAndAutoSizeAreNotWritable) {
  for (const char* name : {"ViewportLeft", "ViewportRight", "ViewportTop", "ViewportBottom"})
    EXPECT_EQ(errorOf([&] { put(name, automation::Variant(std::int32_t{1})); }).number(), 383)
        << name;
  put("AutoSize", automation::Variant(true));  // allowed at run time
  EXPECT_TRUE(get("AutoSize").toBool());
}

TEST_F(ValidationTest, DesignModeRefusesAutoSizeAndFontReads) {
  create(false);
  EXPECT_EQ(errorOf([&] { get("AutoSize"); }).number(), 394);
  EXPECT_EQ(errorOf([&] { put("AutoSize", automation::Variant(true)); }).number(), 383);
  for (const char* name :
       {"FontBold", "FontItalic", "FontName", "FontSize", "FontStrikethru", "FontUnderline"})
    EXPECT_EQ(errorOf([&] { get(name); }).number(), 394) << name;
  put("FontBold", automation::Variant(true));  // writing is allowed
  site_->setUserMode(true);
  EXPECT_TRUE(get("FontBold").toBool());
}

TEST_F(ValidationTest, FontAttributesFollowTheStockFont) {
  put("FontSize", automation::Variant(12.0f));
  put("FontItalic", automation::Variant(true));
  EXPECT_FLOAT_EQ(control_->font().size, 12.0f);
  EXPECT_TRUE(control_->font().italic);
  auto font = get("Font").toDispatch();
  ASSERT_TRUE(font);
  EXPECT_EQ(font->get(std::string_view("Name")).toString(), "Arial");
  EXPECT_EQ(errorOf([&] { put("FontSize", automation::Variant(0.0f)); }).number(), 380);
}

TEST_F(ValidationTest, ErrorTextsOfTheControl) {
  EXPECT_EQ(controlErrorText(0), "Invalid/undefined window specified");
  EXPECT_EQ(controlErrorText(7), "Invalid # of points specified");
  EXPECT_EQ(controlErrorText(14), "Horz/vert shapes incompatible");
  EXPECT_EQ(controlErrorText(23), "Gain is zero");
  EXPECT_EQ(controlErrorText(8), "");
  EXPECT_EQ(controlErrorText(24), "");
  EXPECT_EQ(controlErrorText(-1), "");
}

TEST_F(ValidationTest, RescaleRefusesAnEmptyWindowWithTheErrorBase) {
  put("ErrBase", I2(1000));
  put("Wnd_Select", I2(1));
  put("WndWidth", automation::Variant(0.0f));
  auto e = errorOf([&] { put("Action", I2(0)); });
  EXPECT_EQ(e.number(), 1003);
  EXPECT_EQ(e.scode(), static_cast<std::int32_t>(0x800A0000 | 1003));
  EXPECT_STREQ(e.what(), "Window width <= 0");
  put("WndWidth", automation::Variant(2.0f));
  put("WndHeight", automation::Variant(-1.0f));
  e = errorOf([&] { put("Action", I2(0)); });
  EXPECT_EQ(e.number(), 1004);
  EXPECT_STREQ(e.what(), "Window height <= 0");
}

TEST_F(ValidationTest, OutputCommandsNeedADrawingSurface) {
  for (int action : {1, 2, 3, 4}) {
    const auto e = errorOf([&] { put("Action", I2(action)); });
    EXPECT_EQ(e.number(), 19) << action;
    EXPECT_STREQ(e.what(), "Invalid display surface");
  }
  put("Action", I2(7));  // unknown commands do nothing
  EXPECT_EQ(i4("Action"), 0);
}

TEST_F(ValidationTest, PaintDisableNests) {
  auto& ctrl = dynamic_cast<CKvplotaxCtrl&>(*control_);
  const output::ChartPainter& painter = ctrl.painter();
  put("Action", I2(5));
  put("Action", I2(5));
  put("Action", I2(6));
  EXPECT_TRUE(painter.paintDisabled());
  EXPECT_EQ(site_->updates, 0);
  put("Action", I2(6));
  EXPECT_FALSE(painter.paintDisabled());
  EXPECT_EQ(site_->updates, 1);
  put("Action", I2(6));
  EXPECT_EQ(painter.paintDisableCount(), 0);
  put("Action", I2(5));
  EXPECT_TRUE(painter.paintDisabled());
}

TEST_F(ValidationTest, ScalePropertiesRefuseValuesOutOfRange) {
  put("Scale_Select", I2(1));
  EXPECT_EQ(errorOf([&] { put("ScalePlaces", I2(16)); }).number(), 380);
  put("ScalePlaces", I2(15));
  EXPECT_EQ(errorOf([&] { put("ScaleGap", I2(-1)); }).number(), 380);
  EXPECT_EQ(errorOf([&] { put("ScalePosition", I2(2)); }).number(), 380);
  EXPECT_EQ(errorOf([&] { put("LabelPosition", I2(3)); }).number(), 380);
  put("LabelPosition", I2(2));
  EXPECT_EQ(errorOf([&] { put("ScalePath", I2(4)); }).number(), 380);
  EXPECT_EQ(errorOf([&] { put("ScaleFactor", automation::Variant(0.0f)); }).number(), 380);
  EXPECT_EQ(errorOf([&] { put("ScaleDimension", I2(2)); }).number(), 380);
  EXPECT_EQ(errorOf([&] { put("ScaleWindow", I2(3)); }).number(), 380);  // no such window
  EXPECT_EQ(errorOf([&] { put("ScaleViewport", I2(0)); }).number(), 380);
  EXPECT_EQ(i4("ScalePlaces"), 15);
  EXPECT_EQ(i4("LabelPosition"), 2);
  put("Wnd_Select", I2(3));
  put("ScaleWindow", I2(3));
  EXPECT_EQ(i4("ScaleWindow"), 3);
}

TEST_F(ValidationTest, UnknownNamesAndIdsAreNotSupported) {
  EXPECT_EQ(chart_->idOfName("nosuchproperty"), -1);
  EXPECT_EQ(chart_->idOfName("pen_select"), 0x14);
  EXPECT_EQ(chart_->idOfName("HWND"), -515);
  EXPECT_EQ(errorOf([&] { chart_->get(0x51); }).number(), 438);
  EXPECT_EQ(errorOf([&] { chart_->put(0x7777, I2(1)); }).number(), 438);
  EXPECT_EQ(errorOf([&] { put("hWnd", automation::Variant(std::int32_t{5})); }).number(), 383);
}

TEST_F(ValidationTest, OverflowingArgumentIsAnAutomationError) {
  EXPECT_EQ(errorOf([&] { put("Pen_Select", automation::Variant(std::int32_t{40000})); }).number(),
            6);
  EXPECT_EQ(errorOf([&] { put("Pen_Select", "abc"); }).number(), 13);
  EXPECT_EQ(i4("Pen_Select"), 0);
}

TEST_F(ValidationTest, MousePointerIsStoredUncheckedButShowsOnlyKnownCursors) {
  put("MousePointer", I2(2));  // the mouse is elsewhere: nothing to refresh
  EXPECT_TRUE(site_->cursors.empty());
  site_->mouseOver = true;
  put("MousePointer", I2(16));
  put("MousePointer", I2(99));
  put("MousePointer", I2(57));
  put("MousePointer", I2(-3));
  EXPECT_EQ(i4("MousePointer"), -3);
  // The hand is the control's own cursor 204; 99 has no MouseIcon to show.
  EXPECT_EQ(site_->cursors, (std::vector<int>{204, 0, 0, 0}));
}

TEST_F(ValidationTest, SettersNotifyOnlyOnChange) {
  const std::size_t before = site_->changed.size();
  put("CtlVersion", I2(101));
  put("BorderColor", automation::Variant(static_cast<std::int32_t>(0x8000000F)));
  EXPECT_EQ(site_->changed.size(), before);
  put("CtlVersion", I2(5));
  EXPECT_EQ(site_->changed.size(), before + 1);
  EXPECT_TRUE(control_->isModified());
}

}  // namespace
}  // namespace kvplotax::test
