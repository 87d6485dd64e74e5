// Converters given a new window or viewport keep their place in the buffer and carry on with
// the next block through the new mapping.
#include <gtest/gtest.h>

#include <vector>

#include "converter_test_support.h"

namespace kvplotax {
namespace {

using testing::bytesOf;
using testing::Channel;
using testing::xParams;
using testing::yParams;

constexpr std::int32_t kU8 = 0, kF64 = 7;

TEST(ConverterRemap, SweepContinuesAtItsWritePositionThroughTheNewMapping) {
  // Unsigned bytes with a transform: the transform must survive the new mapping.
  ConverterParams p = yParams(kU8, 100.0f, 300, 100);  // 2 rows per unit upward
  p.transform = SampleTransform{0.5f, -10.0f, -1, -1};
  Channel channel(p, 10);
  const std::vector<std::uint8_t> block{200, 120};
  ASSERT_EQ(channel.converter->append(bytesOf(block), 2, 0), kAppendOk);
  EXPECT_EQ(channel.coordinates(0, 2, Axis::Y), (std::vector<std::int32_t>{120, 200}));

  channel.converter->remap(0.0f, 200.0f, 300, 100);  // 1 row per unit
  EXPECT_EQ(channel.converter->writePosition(), 2);
  // The held points are the caller's to move.
  EXPECT_EQ(channel.coordinates(0, 2, Axis::Y), (std::vector<std::int32_t>{120, 200}));
  ASSERT_EQ(channel.converter->append(bytesOf(block), 2, 0), kAppendOk);
  EXPECT_EQ(channel.coordinates(2, 2, Axis::Y), (std::vector<std::int32_t>{210, 250}));
  EXPECT_EQ(channel.converter->writePosition(), 4);
}

TEST(ConverterRemap, DisplayOffsetFollowsTheNewScale) {
  ConverterParams p = xParams(kF64, 10.0f, 0, 100);
  p.displayOffset = 1.0f;  // 10 pixels
  Channel channel(p, 4);
  channel.converter->remap(0.0f, 10.0f, 0, 200);  // 20 pixels per unit
  EXPECT_EQ(channel.converter->mapping().displayOffset(), 20);
  const std::vector<double> x{2.0};
  ASSERT_EQ(channel.converter->append(bytesOf(x), 1, 0), kAppendOk);
  EXPECT_EQ(channel.at(0, Axis::X), 60);
}

TEST(ConverterRemap, StripChartKeepsItsNewestXAndCarriedFraction) {
  ConverterParams p = xParams(kF64, 10.0f, 0, 100);  // 10 pixels per unit
  p.scrollRight = true;
  Channel channel(p, 6);
  const std::vector<double> first{1.0, 2.0};
  ASSERT_EQ(channel.converter->append(bytesOf(first), 2, 0), kAppendOk);
  channel.converter->remap(0.0f, 5.0f, 0, 100);  // 20 pixels per unit
  EXPECT_EQ(channel.converter->firstIndex(), 4);
  // X going back by less than a new pixel is still measured against the newest X kept.
  const std::vector<double> back{1.9};
  EXPECT_EQ(channel.converter->append(bytesOf(back), 1, 0), kAppendInvalidScroll);
  const std::vector<double> next{3.0};
  ASSERT_EQ(channel.converter->append(bytesOf(next), 1, 0), kAppendOk);
  EXPECT_EQ(channel.converter->firstIndex(), 3);
  // The held points moved by one unit at the new scale.
  EXPECT_EQ(channel.coordinates(3, 3, Axis::X), (std::vector<std::int32_t>{70, 80, 100}));
}

TEST(ConverterRemap, SavedStateComesBackAfterAReset) {
  ConverterParams p = xParams(kF64, 10.0f, 0, 100);
  p.scrollRight = true;
  Channel channel(p, 6);
  const std::vector<double> first{1.0, 1.25};  // a quarter of a unit: 2.5 pixels
  ASSERT_EQ(channel.converter->append(bytesOf(first), 2, 0), kAppendOk);
  const ConverterState saved = channel.converter->saveState();
  channel.converter->reset();
  EXPECT_EQ(channel.converter->firstIndex(), 6);
  channel.converter->restoreState(saved);
  EXPECT_EQ(channel.converter->firstIndex(), 4);
  // The newest X came back with it: 2.5 pixels back is refused.
  const std::vector<double> back{1.0};
  EXPECT_EQ(channel.converter->append(bytesOf(back), 1, 0), kAppendInvalidScroll);
}

TEST(ConverterRemap, GeneratedPositionsAreWrittenAgain) {
  ConverterParams p = xParams(kF64, 10.0f, 0, 100);
  p.shape = static_cast<std::int32_t>(SampleShape::AutoIncr);
  Channel channel(p, 4);
  ASSERT_EQ(channel.converter->append({}, 2, 0), kAppendOk);
  channel.converter->remap(0.0f, 10.0f, 50, 250);
  EXPECT_EQ(channel.coordinates(0, 4, Axis::X), (std::vector<std::int32_t>{50, 70, 90, 110}));
  EXPECT_EQ(channel.converter->writePosition(), 2);
}

}  // namespace
}  // namespace kvplotax
