#include <gtest/gtest.h>

#include <vector>

#include "converter_test_support.h"

namespace kvplotax {
namespace {

using testing::Channel;
using testing::xParams;

ConverterParams autoX(bool scrollRight) {
  ConverterParams p = xParams(99, 100.0f, 0, 200);  // s = 2; the data type does not matter
  p.shape = 2;
  p.transform = SampleTransform{2.0f, 1.0f, -1, -1};
  p.scrollRight = scrollRight;
  return p;
}

TEST(AutoIncrement, PositionsComeFromTheBufferIndex) {
  Channel channel(autoX(false), 5);
  EXPECT_EQ(channel.coordinates(0, 5, Axis::X), (std::vector<std::int32_t>{2, 6, 10, 14, 18}));
  EXPECT_EQ(channel.at(5, Axis::X), -1);

  // Without a transform the points are one world unit apart.
  ConverterParams plain = autoX(false);
  plain.transform.reset();
  Channel unit(plain, 3);
  EXPECT_EQ(unit.coordinates(0, 3, Axis::X), (std::vector<std::int32_t>{0, 2, 4}));
}

TEST(AutoIncrement, AppendOnlyAdvancesAndReportsTheBlocksEnds) {
  Channel channel(autoX(false), 5);
  EXPECT_EQ(channel.converter->append({}, 2, 0), kAppendOk);
  EXPECT_EQ(channel.converter->writePosition(), 2);
  EXPECT_EQ(channel.converter->minimum(), 2);
  EXPECT_EQ(channel.converter->maximum(), 6);
  EXPECT_EQ(channel.converter->append({}, 4, 0), kAppendBounds);
  EXPECT_EQ(channel.converter->append({}, 3, 0), kAppendOk);
  EXPECT_EQ(channel.converter->writePosition(), 0);
  EXPECT_EQ(channel.converter->minimum(), 10);
  EXPECT_EQ(channel.converter->maximum(), 18);
  EXPECT_EQ(channel.converter->append({}, 0, 0), kAppendBounds);
}

TEST(AutoIncrement, TranslateMovesEveryPositionNotJustTheShownOnes) {
  Channel channel(autoX(false), 5);
  ASSERT_EQ(channel.converter->append({}, 2, 0), kAppendOk);
  EXPECT_TRUE(channel.converter->translate(-1.5f, 0, 2));  // -3 pixels
  EXPECT_EQ(channel.coordinates(0, 5, Axis::X), (std::vector<std::int32_t>{-1, 3, 7, 11, 15}));
  EXPECT_EQ(channel.converter->minimum(), -1);
  EXPECT_EQ(channel.converter->maximum(), 3);
  EXPECT_FALSE(channel.converter->translate(-1.5f, 0, 2));
  channel.converter->setTransform(std::nullopt);
  EXPECT_EQ(channel.coordinates(0, 3, Axis::X), (std::vector<std::int32_t>{-3, -1, 1}));
}

TEST(AutoIncrement, ScrollRightShowsTheLastPositions) {
  Channel channel(autoX(true), 5);
  EXPECT_EQ(channel.converter->firstIndex(), 5);
  ASSERT_EQ(channel.converter->append({}, 2, 0), kAppendOk);
  EXPECT_EQ(channel.converter->firstIndex(), 3);
  EXPECT_EQ(channel.converter->minimum(), 14);
  EXPECT_EQ(channel.converter->maximum(), 18);
  ASSERT_EQ(channel.converter->append({}, 9, 0), kAppendOk);
  EXPECT_EQ(channel.converter->firstIndex(), 0);
  EXPECT_EQ(channel.converter->minimum(), 2);
  channel.converter->reset();
  EXPECT_EQ(channel.converter->firstIndex(), 5);
}

}  // namespace
}  // namespace kvplotax
