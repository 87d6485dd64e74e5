// How blocks enter the buffer: sweep restarts, strip-chart growth and trimming, return codes,
// and refused blocks leaving the picture alone.
#include <numeric>

#include "trace/channel_item.h"
#include "trace_fixture.h"

namespace kvplotax::trace::testing {
namespace {

std::vector<float> ramp(int n, float from) {
  std::vector<float> v(static_cast<std::size_t>(n));
  std::iota(v.begin(), v.end(), from);
  return v;
}

std::vector<float> level(int n, float y) {
  return std::vector<float>(static_cast<std::size_t>(n), y);
}

using SweepTest = TraceTest;

TEST_F(SweepTest, CrtRestartKeepsOnlyTheTailOfTheOverflowingBlock) {
  auto item = make(setup(kModeCrt, kStylePoints, 500));
  EXPECT_EQ(item->addBlock(400, bytes(level(400, 10.0f)), {}), 400);
  // 400 + 200 on 500: the first 100 samples would have finished the sweep and are dropped.
  std::vector<float> block(200);
  for (int i = 0; i < 200; ++i)
    block[i] = i < 100 ? 20.0f : 30.0f + static_cast<float>((i - 100) % 7);
  EXPECT_EQ(item->addBlock(200, bytes(block), {}), 100);
  ASSERT_EQ(item->count(), 100);
  EXPECT_EQ(item->shownPoints()[0], (gdi::Point{0, row(30.0f)}));
  EXPECT_EQ(item->shownPoints()[99], (gdi::Point{99, row(30.0f + 99 % 7)}));
  // The old sweep is gone from the picture, the new one is there.
  EXPECT_EQ(pixel(300, row(10.0f)), kBlack);
  EXPECT_EQ(pixel(0, row(30.0f)), kRed);
}

TEST_F(SweepTest, CrtBlockLongerThanTheBufferShowsItsLastPartialSweep) {
  auto item = make(setup(kModeCrt, kStylePoints, 500));
  const auto data = ramp(1200, 0.0f);
  EXPECT_EQ(item->addBlock(1200, bytes(data), {}), 200);
  // The last 200 samples (1000..1199) sit at positions 0..199.
  EXPECT_EQ(item->shownPoints()[0].y, -700);  // 300 - 1000
  EXPECT_EQ(item->shownPoints()[199].y, -899);
}

TEST_F(SweepTest, CrtBlockOfWholeSweepsFillsTheBufferInsteadOfFailing) {
  auto item = make(setup(kModeCrt, kStylePoints, 500));
  const auto data = level(1500, 5.0f);
  EXPECT_EQ(item->addBlock(1500, bytes(data), {}), 500);
  EXPECT_EQ(pixel(499, row(5.0f)), kRed);
}

TEST_F(SweepTest, CrtBlocksAppendUntilTheBufferIsFull) {
  auto item = make(setup(kModeCrt, kStylePoints, 100));
  const auto data = level(30, 50.0f);
  EXPECT_EQ(item->addBlock(30, bytes(data), {}), 30);
  EXPECT_EQ(item->addBlock(30, bytes(data), {}), 60);
  EXPECT_EQ(item->addBlock(30, bytes(data), {}), 90);
  EXPECT_EQ(pixel(89, row(50.0f)), kRed);
  EXPECT_EQ(item->addBlock(30, bytes(data), {}), 20);
  EXPECT_EQ(pixel(19, row(50.0f)), kRed);
  EXPECT_EQ(pixel(20, row(50.0f)), kBlack);
  EXPECT_EQ(pixel(89, row(50.0f)), kBlack);
}

TEST_F(SweepTest, ScrollRightGrowsToTheBufferThenDropsTheOldest) {
  auto s = setup(kModeScrollRight, kStylePoints, 100);
  s.x = DataDescription{6, 0, 0, 1, {}};
  auto item = make(s);
  float t = 0.0f;
  for (int block = 1; block <= 12; ++block) {
    std::vector<float> x(10), y(10);
    for (int i = 0; i < 10; ++i) {
      x[i] = t++;
      y[i] = static_cast<float>(block * 10);
    }
    EXPECT_EQ(item->addBlock(10, bytes(y), bytes(x)), std::min(block * 10, 100));
  }
  ASSERT_EQ(item->count(), 100);
  EXPECT_EQ(item->start(), 0);
  // The newest point is on the right edge, the oldest shown is from block 3.
  EXPECT_EQ(item->shownPoints()[99], (gdi::Point{600, row(120.0f)}));
  EXPECT_EQ(item->shownPoints()[0], (gdi::Point{501, row(30.0f)}));
  EXPECT_EQ(pixel(599, row(120.0f)), kRed);
  EXPECT_EQ(pixel(599, row(110.0f)), kBlack);  // erased before the shift
}

TEST_F(SweepTest, ScrollRightKeepsTheLastBufferLengthOfALongBlock) {
  auto s = setup(kModeScrollRight, kStylePoints, 500);
  s.x = DataDescription{6, 0, 0, 1, {}};
  auto item = make(s);
  const auto x = ramp(800, 0.0f);
  const auto y = ramp(800, 0.0f);
  EXPECT_EQ(item->addBlock(800, bytes(y), bytes(x)), 500);
  EXPECT_EQ(item->shownPoints()[0].y, row(300.0f));
}

TEST_F(SweepTest, ScrollRightRefusesXMovingLeftAndKeepsThePicture) {
  auto s = setup(kModeScrollRight, kStylePoints, 50);
  s.x = DataDescription{6, 0, 0, 1, {}};
  auto item = make(s);
  const std::vector<float> x1{10.0f, 11.0f}, y{40.0f, 40.0f};
  EXPECT_EQ(item->addBlock(2, bytes(y), bytes(x1)), 2);
  // Half a pixel back is not a move; a whole pixel is.
  const std::vector<float> half{10.0f, 10.5f};
  EXPECT_EQ(item->addBlock(2, bytes(y), bytes(half)), 4);
  const std::vector<float> back{8.0f, 9.0f};
  EXPECT_EQ(item->addBlock(2, bytes(y), bytes(back)), kInvalidScroll);
  EXPECT_EQ(item->count(), 4);
  EXPECT_EQ(pixel(600, row(40.0f)), gdi::kInvalidColor);
  // Points at 599 and 600 (the right edge, outside the surface) are still drawn.
  EXPECT_EQ(pixel(599, row(40.0f)), kRed);
  EXPECT_EQ(pixel(598, row(40.0f)), kBlack);
}

TEST_F(SweepTest, ReturnCodesLeaveBufferAndPictureUnchanged) {
  auto item = make(setup(kModeCrt, kStylePoints, 10));
  const auto y = level(8, 20.0f);
  ASSERT_EQ(item->addBlock(8, bytes(y), {}), 8);
  EXPECT_EQ(item->addBlock(0, bytes(y), {}), kBounds);
  // Missing array of a block that would restart the sweep: the old sweep stays.
  EXPECT_EQ(item->addBlock(5, {}, {}), kNullY);
  EXPECT_EQ(item->count(), 8);
  EXPECT_EQ(pixel(7, row(20.0f)), kRed);
  // Fewer elements than points: unreadable.
  EXPECT_EQ(item->addBlock(2, bytes(level(1, 1.0f)), {}), kBounds);
  EXPECT_EQ(item->count(), 8);

  auto s = setup(kModeCrt, kStylePoints, 10);
  s.y.type = 9;
  EXPECT_EQ(make(s)->addBlock(1, bytes(y), {}), kNoYConverter);
  s = setup(kModeCrt, kStylePoints, 10);
  s.y.shape = 5;
  EXPECT_EQ(make(s)->addBlock(1, bytes(y), {}), kBadShape);
  s = setup(kModeCrt, kStylePoints, 10);
  s.x = DataDescription{12, 0, 0, 1, {}};
  EXPECT_EQ(make(s)->addBlock(1, bytes(y), {}), kNoXConverter);
  s.x.type = 6;
  EXPECT_EQ(make(s)->addBlock(1, bytes(y), {}), kNullX);
}

TEST_F(SweepTest, PairsReadXAndYFromTheVerticalArray) {
  auto s = setup(kModeCrt, kStylePoints, 10);
  s.y.shape = 1;
  auto item = make(s);
  const std::vector<float> pairs{5.0f, 50.0f, 7.0f, 70.0f};
  EXPECT_EQ(item->addBlock(2, bytes(pairs), {}), 2);
  EXPECT_EQ(item->shownPoints()[1], (gdi::Point{7, row(70.0f)}));
  EXPECT_EQ(item->addBlock(1, {}, {}), kNullY);
}

TEST_F(SweepTest, ItemsWithoutViewportOrWindowAreNotBuilt) {
  auto s = setup(kModeCrt, kStylePoints, 10);
  s.window.reset();
  EXPECT_EQ(createTraceItem(s), nullptr);
  s = setup(kModeCrt, kStylePoints, 10);
  s.viewport = nullptr;
  EXPECT_EQ(createTraceItem(s), nullptr);
  s = setup(7, kStylePoints, 10);
  EXPECT_EQ(createTraceItem(s), nullptr);
}

TEST_F(SweepTest, KindOneHundredOneAsksTheScalesForTheScaleNumberedLikeTheChannel) {
  auto s = setup(kModeScaleItem, kStylePoints, 10);
  std::int16_t asked = 0;
  auto scales = [&](std::int16_t n) -> std::unique_ptr<output::ChartItem> {
    asked = n;
    return nullptr;  // no such scale
  };
  EXPECT_EQ(createChannelItem(s, scales), nullptr);
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(createChannelItem(s, {}), nullptr);
  s.mode = kModeScrollRight;
  EXPECT_NE(createChannelItem(s, scales), nullptr);
}

TEST_F(SweepTest, AHugeBufferThatCannotBeHadLeavesAnEmptyItem) {
  auto s = setup(kModeCrt, kStylePoints, 0x1FFFFFFF);
  s.x = DataDescription{6, 0, 0, 1, {}};
  auto item = make(s);
  // Whether or not the address space was granted, delivery works within the buffer.
  const auto y = level(3, 1.0f);
  const std::int32_t r = item->addBlock(3, bytes(y), bytes(y));
  EXPECT_TRUE(r == 3 || r == kBounds);
}

}  // namespace
}  // namespace kvplotax::trace::testing
