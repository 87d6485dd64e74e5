#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "converter_test_support.h"

namespace kvplotax {
namespace {

using testing::bytesOf;
using testing::Channel;
using testing::xParams;
using testing::yParams;

constexpr std::int32_t kI16 = 3, kF32 = 6, kF64 = 7;

ConverterParams scrollX(float width, std::int32_t right) {
  ConverterParams p = xParams(kF64, width, 0, right);
  p.scrollRight = true;
  return p;
}

int feed(Channel& channel, std::vector<double> xs) {
  return channel.converter->append(bytesOf(xs), static_cast<std::int32_t>(xs.size()), 0);
}

TEST(ScrollRight, NewestSampleSitsAtTheRightEdgeAndOlderOnesBehindIt) {
  Channel channel(scrollX(10.0f, 100), 6);  // 10 pixels per unit
  EXPECT_EQ(channel.converter->firstIndex(), 6);
  ASSERT_EQ(feed(channel, {1.0, 1.5, 2.0}), kAppendOk);
  EXPECT_EQ(channel.converter->firstIndex(), 3);
  EXPECT_EQ(channel.coordinates(3, 3, Axis::X), (std::vector<std::int32_t>{90, 95, 100}));
  // X advanced by 1 unit: the held points move 10 pixels left as they move to the front.
  ASSERT_EQ(feed(channel, {2.5, 3.0}), kAppendOk);
  EXPECT_EQ(channel.converter->firstIndex(), 1);
  EXPECT_EQ(channel.coordinates(1, 5, Axis::X), (std::vector<std::int32_t>{80, 85, 90, 95, 100}));
  EXPECT_EQ(channel.converter->minimum(), 80);
  EXPECT_EQ(channel.converter->maximum(), 100);
  ASSERT_EQ(feed(channel, {3.5, 4.0}), kAppendOk);  // the oldest point falls off the front
  EXPECT_EQ(channel.converter->firstIndex(), 0);
  EXPECT_EQ(channel.coordinates(0, 6, Axis::X),
            (std::vector<std::int32_t>{75, 80, 85, 90, 95, 100}));
}

TEST(ScrollRight, GoingBackOnePixelIsRefusedAndLessIsAccepted) {
  Channel channel(scrollX(10.0f, 100), 4);
  ASSERT_EQ(feed(channel, {1.0}), kAppendOk);
  const auto held = channel.points;
  EXPECT_EQ(feed(channel, {0.5}), kAppendInvalidScroll);
  EXPECT_EQ(channel.points, held);
  EXPECT_EQ(channel.converter->firstIndex(), 3);
  EXPECT_EQ(feed(channel, {0.95}), kAppendOk);  // half a pixel back
  EXPECT_EQ(channel.coordinates(2, 2, Axis::X), (std::vector<std::int32_t>{100, 100}));
  // The half pixel is owed: half a pixel forward pays it back and nothing moves.
  EXPECT_EQ(feed(channel, {1.0}), kAppendOk);
  EXPECT_EQ(channel.coordinates(1, 3, Axis::X), (std::vector<std::int32_t>{100, 100, 100}));
  // Half a pixel more is carried, not shown.
  EXPECT_EQ(feed(channel, {1.05}), kAppendOk);
  EXPECT_EQ(channel.coordinates(1, 3, Axis::X), (std::vector<std::int32_t>{100, 100, 100}));
}

TEST(ScrollRight, FirstBlockIsMeasuredFromZero) {
  Channel back(scrollX(10.0f, 100), 4);
  EXPECT_EQ(back.converter->check(bytesOf(std::vector<double>{-0.1}), 1, 0), kAppendInvalidScroll);
  EXPECT_EQ(feed(back, {-0.1}), kAppendInvalidScroll);
  Channel nearly(scrollX(10.0f, 100), 4);
  EXPECT_EQ(feed(nearly, {-0.05}), kAppendOk);
}

TEST(ScrollRight, FractionsOfAPixelAreCarriedUntilTheyMakeAWholeOne) {
  Channel channel(scrollX(250.0f, 100), 16);  // 0.4 pixels per unit
  std::vector<std::int32_t> oldest;
  for (int block = 1; block <= 10; ++block) {
    ASSERT_EQ(feed(channel, {static_cast<double>(block)}), kAppendOk);
    oldest.push_back(channel.at(channel.converter->firstIndex(), Axis::X));
  }
  EXPECT_EQ(oldest, (std::vector<std::int32_t>{100, 100, 99, 99, 98, 98, 98, 97, 97, 96}));
}

TEST(ScrollRight, ResetForgetsTheLastXAndEmptiesTheTrace) {
  Channel channel(scrollX(10.0f, 100), 4);
  ASSERT_EQ(feed(channel, {5.0}), kAppendOk);
  EXPECT_EQ(feed(channel, {1.0}), kAppendInvalidScroll);
  channel.converter->reset();
  EXPECT_EQ(channel.converter->firstIndex(), 4);
  EXPECT_EQ(feed(channel, {1.0}), kAppendOk);
}

TEST(ScrollRight, NewestXThatIsNotANumberIsRefused) {
  Channel channel(scrollX(10.0f, 100), 4);
  EXPECT_EQ(feed(channel, {std::nan("")}), kAppendInvalidScroll);
  EXPECT_EQ(feed(channel, {std::numeric_limits<double>::infinity()}), kAppendInvalidScroll);
  ASSERT_EQ(feed(channel, {std::nan(""), 1.0}), kAppendOk);  // only the newest decides
  EXPECT_EQ(channel.coordinates(2, 2, Axis::X), (std::vector<std::int32_t>{-32768, 100}));
  // A jump far beyond the viewport pushes the old trace to the edge and carries nothing.
  ASSERT_EQ(feed(channel, {1.0e9}), kAppendOk);
  EXPECT_EQ(channel.coordinates(1, 3, Axis::X), (std::vector<std::int32_t>{-32768, -32668, 100}));
  ASSERT_EQ(feed(channel, {1.0e9 + 0.05}), kAppendOk);
  EXPECT_EQ(channel.coordinates(1, 3, Axis::X), (std::vector<std::int32_t>{-32668, 100, 100}));
}

TEST(ScrollRight, VerticalPointsMoveWithTheirBlockWithoutShifting) {
  ConverterParams p = yParams(kI16, 100.0f, 200, 0);  // s = -2
  p.scrollRight = true;
  Channel channel(p, 4);
  const std::vector<std::int16_t> block{10, 20, 30};
  ASSERT_EQ(channel.converter->append(bytesOf(block), 3, 0), kAppendOk);
  EXPECT_EQ(channel.coordinates(1, 3, Axis::Y), (std::vector<std::int32_t>{180, 160, 140}));
  ASSERT_EQ(channel.converter->append(bytesOf(block), 2, 0), kAppendOk);
  EXPECT_EQ(channel.coordinates(0, 4, Axis::Y), (std::vector<std::int32_t>{160, 140, 180, 160}));
  EXPECT_EQ(channel.converter->minimum(), 140);
  EXPECT_EQ(channel.converter->maximum(), 180);
  EXPECT_EQ(channel.converter->firstIndex(), 0);
}

TEST(ScrollRight, BlockLongerThanTheBufferKeepsItsLastSamples) {
  ConverterParams p = yParams(kF32, 100.0f, 0, 100);
  p.scrollRight = true;
  Channel channel(p, 3);
  const std::vector<float> block{1, 2, 3, 4, 5};
  ASSERT_EQ(channel.converter->append(bytesOf(block), 5, 0), kAppendOk);
  EXPECT_EQ(channel.coordinates(0, 3, Axis::Y), (std::vector<std::int32_t>{3, 4, 5}));
  EXPECT_EQ(channel.at(3, Axis::Y), -1);  // the spare entries are not touched
  // The kept tail must still lie inside the array.
  EXPECT_EQ(channel.converter->append(bytesOf(block), 6, 0), kAppendBounds);
  Channel none(p, 0);
  EXPECT_EQ(none.converter->append(bytesOf(block), 1, 0), kAppendBounds);
}

TEST(ScrollRight, TransformAppliesToTheTimeAxis) {
  // Eighths of a second in 16-bit words with gain 0.125, at 10 pixels per second.
  ConverterParams p = xParams(kI16, 10.0f, 0, 100);
  p.scrollRight = true;
  p.transform = SampleTransform{0.125f, 0.0f, -1, -1};
  Channel channel(p, 4);
  const std::vector<std::int16_t> first{4, 8};
  ASSERT_EQ(channel.converter->append(bytesOf(first), 2, 0), kAppendOk);
  EXPECT_EQ(channel.coordinates(2, 2, Axis::X), (std::vector<std::int32_t>{95, 100}));
  const std::vector<std::int16_t> back{7};
  EXPECT_EQ(channel.converter->append(bytesOf(back), 1, 0), kAppendInvalidScroll);
  const std::vector<std::int16_t> on{12};
  ASSERT_EQ(channel.converter->append(bytesOf(on), 1, 0), kAppendOk);
  EXPECT_EQ(channel.coordinates(1, 3, Axis::X), (std::vector<std::int32_t>{90, 95, 100}));
}

}  // namespace
}  // namespace kvplotax
