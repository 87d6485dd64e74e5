// Once a sweeping trace has drawn inside its viewport, a data block allocates nothing, in any
// style and pen width, with restarted sweeps, colour changes and erases.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

#include "trace_fixture.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};
}  // namespace

// The replacements pair malloc with free; the compiler cannot see that through inlining.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

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
        counting = true;
        for (int round = 0; round < 12; ++round) block(40);  // sweeps restart on the way
        EXPECT_EQ(item->addBlock(10, {}, bytes(x)), kNullY);
        item->setIntense(true);
        block(10);
        viewport_.flush();
        item->eraseTrace();
        block(10);
        counting = false;
        EXPECT_EQ(allocations.exchange(0), 0) << "mode " << mode << " style " << style;
      }
}

}  // namespace
}  // namespace kvplotax::trace::testing
