// Plot area, viewport strips, pixels to twips, and the window coordinates of twips positions.
#include "chart_fixture.h"
#include "kvplotax_ctrl.h"
#include "render/layout/plot_layout.h"

namespace kvplotax::test {
namespace {

using layout::GraticuleCounts;
using layout::PlotGeometry;

PlotGeometry plotFor(const gdi::Rect& drawable, GraticuleCounts counts = {}) {
  PlotGeometry g;
  layout::computePlotArea(drawable, counts, g);
  return g;
}

TEST(PlotLayout, WholeDivisionsCentredInsideTheMargins) {
  const PlotGeometry g = plotFor({0, 0, 500, 400});
  EXPECT_EQ(g.minorPitchX, 9);  // 460 / 50
  EXPECT_EQ(g.majorPitchX, 45);
  EXPECT_EQ(g.plot.width(), 450);
  EXPECT_EQ(g.plot.left, 25);
  EXPECT_EQ(g.minorPitchY, 9);  // 360 / 40
  EXPECT_EQ(g.plot, (gdi::Rect{25, 20, 475, 380}));
}

TEST(PlotLayout, MinorPitchOfOneFallsBackToMajorDivisions) {
  const PlotGeometry g = plotFor({0, 0, 100, 400});  // inner width 60 over 50 minor divisions
  EXPECT_EQ(g.minorPitchX, 1);
  EXPECT_EQ(g.majorPitchX, 6);
  EXPECT_EQ(g.plot.width(), 60);
}

TEST(PlotLayout, IsotropicGridTakesTheSmallerPitch) {
  GraticuleCounts c;
  c.isotropic = true;
  const PlotGeometry g = plotFor({0, 0, 1000, 300}, c);
  EXPECT_EQ(g.minorPitchX, 6);
  EXPECT_EQ(g.majorPitchX, 30);
  EXPECT_EQ(g.majorPitchY, 30);
  EXPECT_EQ(g.plot, (gdi::Rect{350, 30, 650, 270}));
}

TEST(PlotLayout, NoRoomKeepsThePreviousPlotAndZeroesThePitches) {
  PlotGeometry g = plotFor({0, 0, 500, 400});
  const gdi::Rect before = g.plot;
  layout::computePlotArea({0, 0, 30, 400}, {}, g);
  EXPECT_EQ(g.plot, before);
  EXPECT_EQ(g.majorPitchX, 0);
  EXPECT_EQ(g.minorPitchY, 0);
}

TEST(PlotLayout, TooFewPixelsForTheDivisionsGiveAnEmptyPlot) {
  const PlotGeometry g = plotFor({0, 0, 45, 400});  // inner width 5 over 10 major divisions
  EXPECT_EQ(g.plot.width(), 0);
  EXPECT_EQ(g.majorPitchX, 0);
  EXPECT_EQ(g.majorPitchY, 0);
}

TEST(PlotLayout, ViewportStrips) {
  const gdi::Rect drawable{5, 5, 495, 495};
  const gdi::Rect plot{20, 50, 470, 450};  // 400 high
  EXPECT_EQ(layout::viewportRect(drawable, plot, 0, 3), drawable);
  EXPECT_EQ(layout::viewportRect(drawable, plot, 1, 3), (gdi::Rect{20, 50, 470, 183}));
  EXPECT_EQ(layout::viewportRect(drawable, plot, 3, 3), (gdi::Rect{20, 316, 470, 449}));
  EXPECT_TRUE(layout::viewportRect(drawable, plot, 4, 3).isEmpty());
  EXPECT_TRUE(layout::viewportRect(drawable, plot, -1, 3).isEmpty());
}

TEST(PlotLayout, BezelThickness) {
  layout::BezelGeometry b;  // raised outer bevel of 1, border 3
  EXPECT_EQ(layout::bezelThickness(b), 4);
  b.bevelInner = 1;
  EXPECT_EQ(layout::bezelThickness(b), 8);
  b.bevelWidthInner = b.bevelWidthOuter = 0;
  EXPECT_EQ(layout::bezelThickness(b), 3);
  b = {};
  b.bevelOuter = 0;
  EXPECT_EQ(layout::bezelThickness(b), 3);
  EXPECT_EQ(layout::drawableArea({0, 0, 100, 50}, 4), (gdi::Rect{5, 5, 95, 45}));
}

TEST(PlotLayout, CountsThatCannotBeLaidOutAreCorrected) {
  GraticuleCounts c;
  c.majorDivHorz = 0;
  c.majorDivVert = -2;
  c.minorDiv = 0;
  c.marginTop = -4;
  EXPECT_TRUE(layout::correctCounts(c));
  EXPECT_EQ(c.majorDivHorz, 1);
  EXPECT_EQ(c.majorDivVert, 1);
  EXPECT_EQ(c.minorDiv, 1);
  EXPECT_EQ(c.marginTop, 0);
  GraticuleCounts fine;
  EXPECT_FALSE(layout::correctCounts(fine));
}

TEST(PlotLayout, PixelsToTwips) {
  EXPECT_EQ(layout::pixelsToTwips(25, 96), 375);
  EXPECT_EQ(layout::pixelsToTwips(10, 120), 120);
  EXPECT_EQ(layout::pixelsToTwips(1, 72), 20);
  EXPECT_EQ(layout::pixelsToTwips(7, 100), 100);  // 100.8 truncated
  EXPECT_EQ(layout::pixelsToTwips(-7, 100), -100);
}

using ChartLayoutTest = ChartTest;

// A 500 x 300 control: drawable (5,5)-(495,295), plot (25,30)-(475,270).
TEST_F(ChartLayoutTest, SelectedViewportReportsItsEdgesInTwips) {
  put("Viewport_Select", I2(1));
  EXPECT_EQ(i4("ViewportLeft"), 375);
  EXPECT_EQ(i4("ViewportRight"), 7125);
  EXPECT_EQ(i4("ViewportTop"), 450);
  EXPECT_EQ(i4("ViewportBottom"), 4050);
}

TEST_F(ChartLayoutTest, EdgesFollowTheScreenResolution) {
  create(true, 500, 300, 120);
  put("Viewport_Select", I2(1));
  EXPECT_EQ(i4("ViewportLeft"), 300);  // 25 px at 120 per inch
  EXPECT_EQ(i4("ViewportBottom"), 3240);
}

TEST_F(ChartLayoutTest, EdgesAreTakenOnlyAtSelection) {
  put("Viewport_Select", I2(1));
  control_->onResize(800, 600);
  EXPECT_EQ(i4("ViewportBottom"), 4050);
  put("Viewport_Select", I2(1));
  EXPECT_NE(i4("ViewportBottom"), 4050);
}

TEST_F(ChartLayoutTest, WindowCoordinatesOfTwipsPositions) {
  put("Wnd_Select", I2(1));
  put("Viewport_Select", I2(1));
  put("WndX", automation::Variant(static_cast<float>(i4("ViewportRight"))));
  EXPECT_FLOAT_EQ(r4("WndX"), 1.0f);
  put("WndX", automation::Variant(static_cast<float>(i4("ViewportLeft"))));
  EXPECT_FLOAT_EQ(r4("WndX"), 0.0f);
  put("WndYmin", automation::Variant(-5.0f));
  put("WndHeight", automation::Variant(10.0f));
  put("WndY", automation::Variant(static_cast<float>(i4("ViewportTop"))));
  EXPECT_FLOAT_EQ(r4("WndY"), 5.0f);
  put("WndY", automation::Variant(static_cast<float>(i4("ViewportBottom"))));
  EXPECT_FLOAT_EQ(r4("WndY"), -5.0f);
}

TEST_F(ChartLayoutTest, ZeroWidthViewportLeavesWndXUnchanged) {
  create(true, 20, 20);
  put("Wnd_Select", I2(1));
  put("Viewport_Select", I2(1));
  EXPECT_EQ(i4("ViewportRight"), i4("ViewportLeft"));
  put("WndX", automation::Variant(100.0f));
  put("WndY", automation::Variant(100.0f));
  EXPECT_FLOAT_EQ(r4("WndX"), 0.0f);
  EXPECT_FLOAT_EQ(r4("WndY"), 0.0f);
}

TEST_F(ChartLayoutTest, EmptyStripsAreHidden) {
  create(true, 500, 57);  // 7 pixels for 8 divisions: an empty plot
  put("Viewports", I2(8));
  auto& ctrl = dynamic_cast<CKvplotaxCtrl&>(*control_);
  const ViewportObject* strip = ctrl.state().live().viewport(8);
  ASSERT_NE(strip, nullptr);
  EXPECT_FALSE(strip->visible());
  EXPECT_TRUE(ctrl.state().live().viewport(0)->visible());
}

TEST_F(ChartLayoutTest, AutoSizeAsksForTheExtentThatFitsThePlot) {
  control_->onWindowCreated(1);
  put("AutoSize", automation::Variant(true));
  ASSERT_EQ(site_->resizeRequests.size(), 1u);
  EXPECT_EQ(site_->resizeRequests[0], (gdi::Point{500, 290}));
  control_->onResize(500, 290);  // the container answers: the extent fits, nothing more asked
  EXPECT_EQ(site_->resizeRequests.size(), 1u);
}

TEST_F(ChartLayoutTest, MarginsMoveThePlotOnceThereIsAWindow) {
  control_->onWindowCreated(1);
  put("MarginLeft", I2(40));
  put("Viewport_Select", I2(1));
  auto& ctrl = dynamic_cast<CKvplotaxCtrl&>(*control_);
  EXPECT_EQ(ctrl.state().geometry().plot.left, 60);  // inner 430 wide: pitch 8, plot 400
  EXPECT_EQ(i4("ViewportLeft"), 60 * 15);
}

}  // namespace
}  // namespace kvplotax::test
