// Once a sweeping trace has drawn inside its viewport, a data block allocates nothing, in any
// style and pen width, with restarted sweeps, colour changes and erases.
#include <gtest/gtest.h>

#include <cmath>

#include "allocation_counter.h"
#include "trace_fixture.h"

namespace kvplotax::trace::testing {
namespace {

using BlockAllocation = TraceTest;

TEST_F(BlockAllocation, BlocksAllocateNothingOnceWarm) {
  std::vector<float> x(64), y(64);
  for (int i = 0; i < 64; ++i) y[i] = static_cast<float>(40 + (i * 7) % 50);
  for (int mode : {kModeCrt})
    for (int style : {kStylePoints, kStyleLines, kStyleArea})
      for (int width : {1, 3}) {
        pen_ = PenDrawing(1, width, {kRed, kGreen, kBlack, kGrey}, 0);
        auto s = setup(mode, style, 300);
        s.x = DataDescription{6, 0, 0, 1, {}};
        s.window = WorldRect{0.0f, -10.0f, 600.0f, 300.0f};  // the baseline inside, on row 290
        auto item = make(s);
        float t = 0.0f;
        auto block = [&](int n) {
          for (int i = 0; i < n; ++i) x[i] = 10.0f + std::fmod(t++, 500.0f);
          return item->addBlock(n, bytes(y), bytes(x));
        };
        // Warm: the largest polygon the trace can make is drawn and erased once.
        std::vector<float> fullX(300), fullY(300);
        for (int i = 0; i < 300; ++i) {
          fullX[i] = static_cast<float>(10 + i);
          fullY[i] = y[i % 64];
        }
        item->addBlock(300, bytes(fullY), bytes(fullX));
        item->setIntense(false);
        viewport_.flush();
        item->eraseTrace();
        block(64);
        zelk::testing::startCountingAllocations();
        for (int round = 0; round < 12; ++round) block(40);  // sweeps restart on the way
        EXPECT_EQ(item->addBlock(10, {}, bytes(x)), kNullY);
        item->setIntense(true);
        block(10);
        viewport_.flush();
        item->eraseTrace();
        block(10);
        EXPECT_EQ(zelk::testing::stopCountingAllocations(), 0)
            << "mode " << mode << " style " << style;
      }
}

// The recorder's chart: a 16000-point strip that takes 10 points a block for hours. Its trace
// runs past the top and bottom of the viewport, so every block selects a clip and removes it.
TEST_F(BlockAllocation, ClippedStripChartBlocksAllocateNothingOnceWarm) {
  auto s = setup(kModeScrollRight, kStyleLines, 16000);
  s.x = DataDescription{6, 0, 0, 1, {}};
  s.window = WorldRect{0.0f, 0.0f, 16000.0f, 300.0f};
  auto item = make(s);
  float t = 0.0f;
  const auto fill = [&](std::vector<float>& x, std::vector<float>& y) {
    for (std::size_t i = 0; i < x.size(); ++i) {
      x[i] = t;
      y[i] = static_cast<float>(-100 + static_cast<int>(t * 37.0f) % 500);
      t += 1.0f;
    }
  };
  std::vector<float> fullX(16000), fullY(16000), x(10), y(10);
  fill(fullX, fullY);
  ASSERT_EQ(item->addBlock(16000, bytes(fullY), bytes(fullX)), 16000);
  viewport_.flush();
  for (int warm = 0; warm < 3; ++warm) {
    fill(x, y);
    item->addBlock(10, bytes(y), bytes(x));
    viewport_.flush();
  }
  zelk::testing::startCountingAllocations();
  for (int block = 0; block < 20; ++block) {
    fill(x, y);
    item->addBlock(10, bytes(y), bytes(x));
    viewport_.flush();
  }
  EXPECT_EQ(zelk::testing::stopCountingAllocations(), 0);
  EXPECT_EQ(item->count(), 16000);
  EXPECT_EQ(surface_.dc().clipRegion(), nullptr);  // every block took its clip away again
}

}  // namespace
}  // namespace kvplotax::trace::testing
