// What a trace puts on the surface: the three styles, erasing in the background or storage
// colour, the intense colour, translation, and hit testing.
#include "gdi/system_colors.h"
#include "trace_fixture.h"

namespace kvplotax::trace::testing {
namespace {

using DrawingTest = TraceTest;

TEST_F(DrawingTest, PointsAreSinglePixelsAndEraseToBackgroundOrStorage) {
  auto item = make(setup(kModeCrt, kStylePoints, 100));
  const std::vector<float> y{100.0f, 101.0f, 102.0f};
  ASSERT_EQ(item->addBlock(3, bytes(y), {}), 3);
  EXPECT_EQ(pixel(0, 200), kRed);
  EXPECT_EQ(pixel(1, 199), kRed);
  EXPECT_EQ(pixel(2, 198), kRed);
  EXPECT_EQ(pixel(1, 200), kBlack);
  item->eraseTrace();
  EXPECT_EQ(pixel(1, 199), kBlack);
  EXPECT_EQ(item->count(), 0);

  viewport_.applyStorage(true);
  ASSERT_EQ(item->addBlock(3, bytes(y), {}), 3);  // starts again at position 0
  EXPECT_EQ(pixel(0, 200), kRed);
  item->eraseTrace();
  EXPECT_EQ(pixel(0, 200), kGrey);
  EXPECT_EQ(pixel(2, 198), kGrey);
}

TEST_F(DrawingTest, WidePointsAreSquaresEndingAtThePoint) {
  pen_ = PenDrawing(0, 3, {kRed, kGreen, kBlack, kGrey}, 0);
  auto item = make(setup(kModeCrt, kStylePoints, 10));
  const std::vector<float> y{100.0f};
  const std::vector<float> x;
  auto s = setup(kModeCrt, kStylePoints, 10);
  s.x = DataDescription{6, 0, 0, 1, {}};
  auto placed = make(s);
  const std::vector<float> px{50.0f};
  ASSERT_EQ(placed->addBlock(1, bytes(y), bytes(px)), 1);
  // h = 2: the rectangle (48, 198)-(50, 200) drawn with a 3-pixel pen.
  EXPECT_EQ(pixel(49, 199), kRed);
  EXPECT_EQ(pixel(44, 199), kBlack);
  EXPECT_EQ(pixel(53, 199), kBlack);
}

TEST_F(DrawingTest, LinesJoinTheFirstPointOfABlockToThePreviousBlock) {
  auto item = make(setup(kModeCrt, kStyleLines, 100));
  const std::vector<float> a{100.0f, 100.0f};
  const std::vector<float> b{120.0f};
  ASSERT_EQ(item->addBlock(2, bytes(a), {}), 2);
  EXPECT_EQ(pixel(0, 200), kRed);
  EXPECT_EQ(pixel(1, 200), kBlack);  // the end point of a line is not drawn
  ASSERT_EQ(item->addBlock(1, bytes(b), {}), 3);
  // The segment (1, 200) -> (2, 180) is drawn now.
  EXPECT_EQ(pixel(1, 200), kRed);
  int lit = 0;
  for (int yy = 181; yy < 200; ++yy) lit += pixel(1, yy) == kRed || pixel(2, yy) == kRed;
  EXPECT_GT(lit, 5);
  // One-sample blocks draw a segment each.
  for (int i = 0; i < 5; ++i) ASSERT_EQ(item->addBlock(1, bytes(b), {}), 4 + i);
  for (int xx = 2; xx < 7; ++xx) EXPECT_EQ(pixel(xx, 180), kRed) << xx;
}

TEST_F(DrawingTest, AreaIsFilledToTheBaselineAboveOrBelow) {
  auto s = setup(kModeCrt, kStyleArea, 100);
  s.window = WorldRect{0.0f, -150.0f, 600.0f, 300.0f};  // y = 0 on row 150
  auto item = make(s);
  const std::vector<float> above{50.0f, 50.0f, 50.0f, 50.0f, 50.0f, 50.0f};
  ASSERT_EQ(item->addBlock(6, bytes(above), {}), 6);
  for (int yy = 100; yy <= 150; ++yy) EXPECT_EQ(pixel(2, yy), kRed) << yy;
  EXPECT_EQ(pixel(2, 99), kBlack);
  EXPECT_EQ(pixel(2, 151), kBlack);
  EXPECT_EQ(item->bounds().bottom, 151);
  const std::vector<float> below{-40.0f, -40.0f, -40.0f, -40.0f};
  ASSERT_EQ(item->addBlock(4, bytes(below), {}), 10);
  for (int yy = 150; yy <= 190; ++yy) EXPECT_EQ(pixel(8, yy), kRed) << yy;
  EXPECT_EQ(pixel(8, 191), kBlack);
  item->eraseTrace();
  EXPECT_EQ(pixel(2, 120), kBlack);
  EXPECT_EQ(pixel(8, 170), kBlack);
}

TEST_F(DrawingTest, IntenseColourRedrawsTheHeldPoints) {
  auto item = make(setup(kModeCrt, kStylePoints, 10));
  const std::vector<float> y{100.0f, 100.0f};
  ASSERT_EQ(item->addBlock(2, bytes(y), {}), 2);
  item->setIntense(true);
  EXPECT_EQ(pixel(1, 200), kGreen);
  ASSERT_EQ(item->addBlock(1, bytes(y), {}), 3);
  EXPECT_EQ(pixel(2, 200), kGreen);
  item->setIntense(false);
  EXPECT_EQ(pixel(0, 200), kRed);
  EXPECT_EQ(pixel(2, 200), kRed);
}

TEST_F(DrawingTest, TranslateMovesTheTraceByTheOffsetInPixels) {
  auto item = make(setup(kModeCrt, kStylePoints, 10));
  const std::vector<float> y{100.0f, 100.0f};
  ASSERT_EQ(item->addBlock(2, bytes(y), {}), 2);
  item->translate(5.0f, 10.0f);
  EXPECT_EQ(pixel(0, 200), kBlack);
  EXPECT_EQ(pixel(5, 190), kRed);
  EXPECT_EQ(pixel(6, 190), kRed);
  EXPECT_EQ(item->bounds(), (gdi::Rect{5, 190, 7, 191}));
  // Later blocks land with the same offset.
  ASSERT_EQ(item->addBlock(1, bytes(y), {}), 3);
  EXPECT_EQ(pixel(7, 190), kRed);
}

TEST_F(DrawingTest, FlushForgetsThePointsButLeavesThePixels) {
  auto item = make(setup(kModeCrt, kStylePoints, 10));
  const std::vector<float> y{100.0f, 100.0f};
  ASSERT_EQ(item->addBlock(2, bytes(y), {}), 2);
  item->forget();
  EXPECT_EQ(item->count(), 0);
  EXPECT_TRUE(item->bounds().isEmpty());
  EXPECT_EQ(pixel(1, 200), kRed);
  const std::vector<float> z{50.0f};
  ASSERT_EQ(item->addBlock(1, bytes(z), {}), 1);
  EXPECT_EQ(item->shownPoints()[0], (gdi::Point{0, 250}));
}

TEST_F(DrawingTest, StyleChangeErasesInTheOldStyleAndDrawsInTheNew) {
  auto item = make(setup(kModeCrt, kStyleLines, 10));
  const std::vector<float> y{100.0f, 100.0f, 100.0f, 100.0f, 110.0f};
  ASSERT_EQ(item->addBlock(5, bytes(y), {}), 5);
  EXPECT_EQ(pixel(2, 200), kRed);
  item->changeStyle(kStylePoints);
  EXPECT_EQ(pixel(3, 199), kBlack);
  EXPECT_EQ(pixel(4, 190), kRed);
}

TEST_F(DrawingTest, HitTestFindsPointsWithinTheChartDistance) {
  auto s = setup(kModeCrt, kStylePoints, 10);
  s.x = DataDescription{6, 0, 0, 1, {}};
  auto item = make(s);
  const std::vector<float> x{100.0f, 110.0f, 120.0f}, y{100.0f, 110.0f, 120.0f};
  ASSERT_EQ(item->addBlock(3, bytes(y), bytes(x)), 3);  // rows 200, 190, 180
  output::HitInfo hit;
  EXPECT_TRUE(item->hitTest({110, 193}, hit));
  EXPECT_EQ(hit.obj, 3);
  EXPECT_EQ(hit.position, 1);
  EXPECT_EQ(hit.objType, 1);
  EXPECT_FALSE(item->hitTest({110, 195}, hit));
  EXPECT_TRUE(item->hitTest({118, 182}, hit));  // 2 + 2 - 1 = 3
  EXPECT_EQ(hit.position, 2);
  // Outside the trace's bounds nothing is hit, however near a point.
  EXPECT_FALSE(item->hitTest({100, 202}, hit));
}

TEST_F(DrawingTest, HitTestOnASegmentReportsTheNearerEnd) {
  auto s = setup(kModeCrt, kStyleLines, 10);
  s.x = DataDescription{6, 0, 0, 1, {}};
  auto item = make(s);
  const std::vector<float> x{100.0f, 140.0f}, y{100.0f, 100.0f};
  ASSERT_EQ(item->addBlock(2, bytes(y), bytes(x)), 2);
  output::HitInfo hit;
  EXPECT_TRUE(item->hitTest({131, 204}, hit));
  EXPECT_EQ(hit.position, 1);
  EXPECT_TRUE(item->hitTest({120, 196}, hit));
  EXPECT_EQ(hit.position, 0);  // a tie goes to the first end
  EXPECT_FALSE(item->hitTest({120, 205}, hit));
}

// Presses near a two-point trace hit it only within the chart distance of 4 from the segment
// itself: beyond either end the distance is to that end, not to the line through both.
TEST_F(DrawingTest, HitTestOnASegmentStopsAtItsEnds) {
  struct Case {
    gdi::Point a, b, press;
    int position;  // -1: no hit
  };
  const Case kCases[] = {
      {{100, 200}, {140, 200}, {96, 200}, 0},    // 4 before the start
      {{100, 200}, {140, 200}, {95, 200}, -1},   // 5 before the start
      {{100, 200}, {140, 200}, {15, 200}, -1},   // far out on the line's extension
      {{100, 200}, {140, 200}, {144, 200}, 1},   // 4 past the end
      {{100, 200}, {140, 200}, {200, 200}, -1},  // far past the end
      {{100, 200}, {140, 200}, {142, 202}, 1},   // 2 + 2 - 1 = 3 from the end
      {{100, 200}, {140, 200}, {143, 203}, -1},  // 3 + 3 - 1 = 5 from the end
      {{100, 200}, {140, 160}, {120, 181}, 0},   // beside the middle of a diagonal
      {{100, 200}, {140, 160}, {160, 140}, -1},  // on the diagonal's extension
      {{100, 200}, {100, 200}, {103, 201}, 0},   // both points in one place
      {{100, 200}, {100, 200}, {104, 202}, -1},
  };
  auto s = setup(kModeCrt, kStyleLines, 10);
  s.x = DataDescription{6, 0, 0, 1, {}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(::testing::Message() << "press " << c.press.x << "," << c.press.y);
    auto item = make(s);
    const std::vector<float> x{static_cast<float>(c.a.x), static_cast<float>(c.b.x)};
    const std::vector<float> y{static_cast<float>(row(static_cast<float>(c.a.y))),
                               static_cast<float>(row(static_cast<float>(c.b.y)))};
    ASSERT_EQ(item->addBlock(2, bytes(y), bytes(x)), 2);
    output::HitInfo hit;
    EXPECT_EQ(item->hitTest(c.press, hit), c.position >= 0);
    if (c.position >= 0) {
      EXPECT_EQ(hit.position, c.position);
    }
  }
}

TEST(PenDrawingTest, SystemColoursAndRebuilds) {
  // A set top bit names a system colour (here the window colour, index 5).
  PenDrawing pen(2, 1, {0x80000005u, 0x00FF00, 0, 0x808080}, 0);
  EXPECT_EQ(pen.color(kPenNormal), gdi::GetSysColor(5));
  EXPECT_EQ(pen.pen(kPenIntense).style(), gdi::PS_DOT);
  EXPECT_FALSE(pen.update(2, 1, {0x80000005u, 0x00FF00, 0, 0x808080}, 0));
  EXPECT_TRUE(pen.update(2, 1, {0x80000005u, 0x0000FF, 0, 0x808080}, 0));
  EXPECT_EQ(pen.color(kPenIntense), 0x0000FFu);
  // Style and width reach all four pens, the erase pens too.
  EXPECT_TRUE(pen.update(0, 3, {0x80000005u, 0x0000FF, 0, 0x808080}, 0));
  EXPECT_EQ(pen.pen(kPenStorage).width(), 3);
  EXPECT_EQ(pen.pen(kPenBackground).style(), gdi::PS_SOLID);
  // Sixteen colours: matched to the nearest of the VGA palette.
  PenDrawing vga(0, 1, {0x0101FE, 0, 0, 0}, 16);
  EXPECT_EQ(vga.color(kPenNormal), 0x0000FFu);
}

}  // namespace
}  // namespace kvplotax::trace::testing
