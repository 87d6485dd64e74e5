// One block in, its points out: the mean absolute sample per run, x advancing per point.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "recorder/block_reducer.h"

namespace recorder {
namespace {

struct Points {
  std::array<float, 401> values{};
  std::array<double, 401> xs{};
};

TEST(BlockReducer, FourThousandSamplesAtFiftyMillisecondsGiveTenMeans) {
  std::vector<std::int16_t> block(4000);
  for (std::size_t i = 0; i < block.size(); ++i) {
    const int run = static_cast<int>(i / 400);
    block[i] = static_cast<std::int16_t>((i % 2 ? -1 : 1) * (run * 100 + static_cast<int>(i % 5)));
  }
  Points p;
  PointClock lastX;
  std::size_t consumed = 0;
  const int n = reduceBlock(block, 400, {0.05f, 26.5417f}, lastX, p.values, p.xs, &consumed);
  ASSERT_EQ(n, 10);
  EXPECT_EQ(consumed, 4000u);
  const double step = 0.05f * 26.5417f;
  for (int i = 0; i < n; ++i) {
    // |run*100 + (i%5)| averaged: the remainders 0..4 occur equally often, mean 2.
    EXPECT_FLOAT_EQ(p.values[i], i * 100.0f + 2.0f) << i;
    EXPECT_EQ(p.xs[i], (i + 1) * step) << i;
  }
  EXPECT_EQ(lastX.last(), 10 * step);
}

TEST(BlockReducer, SilenceAndTheMostNegativeSample) {
  Points p;
  PointClock lastX;
  std::vector<std::int16_t> zeros(4000, 0);
  ASSERT_EQ(reduceBlock(zeros, 400, {}, lastX, p.values, p.xs), 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(p.values[i], 0.0f);
  std::vector<std::int16_t> low(4000, -32768);
  ASSERT_EQ(reduceBlock(low, 800, {}, lastX, p.values, p.xs), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(p.values[i], 32768.0f);
}

TEST(BlockReducer, EverySampleSizeAdvancesXByHalfASecondPerBlock) {
  std::vector<std::int16_t> block(4000, 7);
  const std::pair<int, float> sizes[] = {{16, 0.002f}, {40, 0.005f}, {80, 0.01f},
                                         {160, 0.02f}, {400, 0.05f}, {800, 0.1f}};
  const int expected[] = {250, 100, 50, 25, 10, 5};
  for (int s = 0; s < 6; ++s) {
    Points p;
    PointClock lastX;
    EXPECT_EQ(
        reduceBlock(block, sizes[s].first, {sizes[s].second, 26.5417f}, lastX, p.values, p.xs),
        expected[s]);
    EXPECT_NEAR(lastX.last(), 0.5 * 26.5417, 1e-3) << sizes[s].first;
  }
}

TEST(BlockReducer, ShortRunsKeepTheirOwnMeanAndNothingOverflows) {
  Points p;
  PointClock lastX;
  std::vector<std::int16_t> block(1000, -10);  // 2.5 runs of 400
  ASSERT_EQ(reduceBlock(block, 400, {}, lastX, p.values, p.xs), 3);
  EXPECT_EQ(p.values[2], 10.0f);  // 200 samples of 10, not diluted to 5
  EXPECT_EQ(reduceBlock(block, 0, {}, lastX, p.values, p.xs), 0);
  std::vector<std::int16_t> many(5000, 1);
  std::array<float, 4> small{};
  std::array<double, 4> smallX{};
  std::size_t consumed = 0;
  EXPECT_EQ(reduceBlock(many, 16, {}, lastX, small, smallX, &consumed), 4);
  EXPECT_EQ(consumed, 64u);
}

}  // namespace
}  // namespace recorder
