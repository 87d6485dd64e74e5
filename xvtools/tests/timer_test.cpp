#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "xvtools/form_thread.h"
#include "xvtools/xv_hi_timer.h"

namespace xvtools {
namespace {

using namespace std::chrono_literals;

TEST(VirtualTimer, TicksOnlyWhileEnabledOncePerInterval) {
  XVHiTimerX timer;
  int ticks = 0;
  timer.onTimer([&] { ++ticks; });
  EXPECT_EQ(timer.Interval(), 1000);
  EXPECT_FALSE(timer.tick()) << "stored disabled";
  EXPECT_FALSE(timer.advance(5000));
  timer.setEnabled(true);
  EXPECT_TRUE(timer.tick());
  EXPECT_FALSE(timer.advance(500));
  EXPECT_TRUE(timer.advance(500));  // the interval counts from the last tick
  EXPECT_TRUE(timer.advance(2700));
  EXPECT_EQ(ticks, 4);
  EXPECT_TRUE(timer.advance(300));
  EXPECT_EQ(ticks, 5);
  EXPECT_THROW(timer.setInterval(0), std::invalid_argument);
  EXPECT_EQ(timer.ticks(), 5u);
}

TEST(VirtualTimer, DisablingInsideTheHandlerStopsFurtherTicks) {
  XVHiTimerX timer;
  int ticks = 0;
  timer.onTimer([&] {
    if (++ticks == 2) timer.setEnabled(false);
  });
  timer.setEnabled(true);
  timer.advance(10000);
  EXPECT_EQ(ticks, 2);
}

TEST(VirtualTimer, WaitForTerminateRefusesATickInsideTheHandler) {
  for (bool wait : {true, false}) {
    XVHiTimerX timer;
    timer.setWaitForTerminate(wait);
    timer.setEnabled(true);
    int depth = 0, maxDepth = 0, ticks = 0;
    timer.onTimer([&] {
      ++ticks;
      maxDepth = std::max(maxDepth, ++depth);
      if (ticks < 3) timer.tick();  // a handler that lets pending events run
      --depth;
    });
    timer.tick();
    EXPECT_EQ(maxDepth, wait ? 1 : 3) << "wait " << wait;
    EXPECT_EQ(ticks, wait ? 1 : 3);
  }
}

TEST(RealTimeTimer, TicksOnTheFormThreadAtItsInterval) {
  FormQueue form;
  XVHiTimerX timer;
  timer.setFormThread(&form);
  timer.setInterval(20);
  int ticks = 0;
  const auto formThread = std::this_thread::get_id();
  timer.onTimer([&] {
    ++ticks;
    EXPECT_EQ(std::this_thread::get_id(), formThread);
  });
  timer.setEnabled(true);
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < 300ms) form.waitAndRun(5ms);
  EXPECT_GE(ticks, 8);
  EXPECT_LE(ticks, 15);

  timer.setEnabled(false);
  const int atDisable = ticks;
  std::this_thread::sleep_for(60ms);
  form.runPending();
  EXPECT_EQ(ticks, atDisable) << "ticks posted before disabling are dropped";
}

TEST(RealTimeTimer, WaitForTerminateDropsTicksWhileTheHandlerRuns) {
  FormQueue form;
  XVHiTimerX timer;
  timer.setFormThread(&form);
  timer.setInterval(5);
  timer.setWaitForTerminate(true);
  int ticks = 0;
  std::size_t mostQueued = 0;
  timer.onTimer([&] {
    ++ticks;
    std::this_thread::sleep_for(40ms);  // eight intervals
    mostQueued = std::max(mostQueued, form.pending());
  });
  timer.setEnabled(true);
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < 300ms) form.waitAndRun(5ms);
  timer.setEnabled(false);
  EXPECT_EQ(mostQueued, 0u) << "no tick queued behind a running handler";
  EXPECT_GE(ticks, 3);
  EXPECT_LE(ticks, 8);
}

TEST(RealTimeTimer, DestroyedWhileTicksArePendingIsSafe) {
  FormQueue form;
  std::atomic<int> ticks = 0;
  {
    XVHiTimerX timer;
    timer.setFormThread(&form);
    timer.setInterval(1);
    timer.onTimer([&] { ++ticks; });
    timer.setEnabled(true);
    std::this_thread::sleep_for(30ms);
  }
  form.runPending();
  EXPECT_EQ(ticks, 0);
}

}  // namespace
}  // namespace xvtools
