#include "output/frame_timer.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace kvplotax::output {
namespace {

using testing::ManualTimerDevice;

TEST(FrameTimerTest, RatesClampAndGiveTruncatedPeriods) {
  ManualTimerDevice device;
  FrameTimer timer(&device);
  timer.setRate(45);
  EXPECT_TRUE(timer.running());
  EXPECT_EQ(timer.rate(), 30);
  EXPECT_EQ(device.lastPeriod, 33u);
  timer.setRate(1);
  EXPECT_EQ(device.lastPeriod, 1000u);
  EXPECT_EQ(device.alive, 1) << "restarting stops the old timer first";
  timer.setRate(7);
  EXPECT_EQ(device.lastPeriod, 142u);
  for (int off : {0, -1, -100}) {
    timer.setRate(30);
    ASSERT_TRUE(timer.running());
    timer.setRate(off);
    EXPECT_FALSE(timer.running()) << off;
    EXPECT_EQ(device.alive, 0);
    EXPECT_EQ(timer.rate(), 0);
  }
}

TEST(FrameTimerTest, ResolutionIsTenWithinTheDeviceRangeElseItsMinimum) {
  ManualTimerDevice device;
  FrameTimer timer(&device);
  timer.setRate(10);
  EXPECT_EQ(device.lastResolution, 10u);

  ManualTimerDevice coarse;
  coarse.timerCaps = {16, 1000};
  FrameTimer coarseTimer(&coarse);
  EXPECT_EQ(coarseTimer.resolution(), 16u);

  ManualTimerDevice mute;
  mute.capsAnswer = false;
  FrameTimer muteTimer(&mute);
  EXPECT_EQ(muteTimer.resolution(), 0u);
}

TEST(FrameTimerTest, FailuresLeaveTheTimerStopped) {
  FrameTimer noDevice;
  noDevice.setRate(20);
  EXPECT_FALSE(noDevice.running());
  EXPECT_EQ(noDevice.start(), FrameTimer::kNoCallback);
  // The rate set meanwhile starts the timer once the device arrives.
  ManualTimerDevice late;
  noDevice.setDevice(&late);
  EXPECT_TRUE(noDevice.running());
  EXPECT_EQ(late.lastPeriod, 50u);
  noDevice.setDevice(nullptr);
  EXPECT_EQ(late.alive, 0);

  ManualTimerDevice device;
  device.startWorks = false;
  FrameTimer timer(&device);
  timer.setRate(20);
  EXPECT_FALSE(timer.running());
  EXPECT_EQ(timer.start(), FrameTimer::kStartFailed);
}

TEST(FrameTimerTest, OnePostOutstandingMissedTicksCounted) {
  ManualTimerDevice device;
  FrameTimer timer(&device);
  timer.setRate(30);
  ASSERT_TRUE(device.callback);

  // Before the window is known posting fails: each tick is a missed one, the next tries again.
  device.callback();
  device.callback();
  EXPECT_TRUE(device.posts.empty());
  EXPECT_EQ(timer.framePost().missed.load(), 2u);
  EXPECT_EQ(timer.framePost().pending.load(), 0u);

  timer.setWindow(42);
  device.callback();
  device.callback();
  EXPECT_EQ(device.posts, (std::vector<std::uint32_t>{0x000F}));
  EXPECT_EQ(timer.framePost().missed.load(), 1u);

  timer.acknowledgeFrame();
  device.callback();
  EXPECT_EQ(device.posts.size(), 2u);
  EXPECT_EQ(timer.framePost().missed.load(), 0u) << "a successful post clears the count";
}

}  // namespace
}  // namespace kvplotax::output
