#include "host/multimedia_timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace host {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Polls instead of sleeping a fixed time: the build machine is shared and slow.
template <typename Condition>
bool eventually(Condition condition, milliseconds limit = milliseconds(10000)) {
  const auto end = Clock::now() + limit;
  while (!condition()) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(milliseconds(1));
  }
  return true;
}

TEST(MultimediaTimer, RefusesWhatTheDeviceCannotDo) {
  auto callback = [] {};
  EXPECT_EQ(MultimediaTimer::start(0, kTimePeriodic, callback), nullptr);
  EXPECT_EQ(MultimediaTimer::start(kTimerPeriodMax + 1, kTimePeriodic, callback), nullptr);
  EXPECT_EQ(MultimediaTimer::start(10, 2, callback), nullptr);
  EXPECT_EQ(MultimediaTimer::start(10, kTimePeriodic, nullptr), nullptr);
  EXPECT_NE(MultimediaTimer::start(kTimerPeriodMax, kTimePeriodic, callback), nullptr);
}

TEST(MultimediaTimer, PeriodicCallsComeNoEarlierThanTheirPeriodAndStopWithKill) {
  std::mutex mutex;
  std::vector<Clock::time_point> calls;
  std::thread::id callbackThread;
  const auto started = Clock::now();
  auto timer = MultimediaTimer::start(15, kTimePeriodic, [&] {
    std::lock_guard lock(mutex);
    calls.push_back(Clock::now());
    callbackThread = std::this_thread::get_id();
  });
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->period(), 15u);
  ASSERT_TRUE(eventually([&] { return timer->calls() >= 5; }));
  timer->kill();
  EXPECT_FALSE(timer->running());
  const auto callsAtKill = timer->calls();
  std::this_thread::sleep_for(milliseconds(60));
  EXPECT_EQ(timer->calls(), callsAtKill);

  std::lock_guard lock(mutex);
  ASSERT_EQ(calls.size(), callsAtKill);
  EXPECT_NE(callbackThread, std::this_thread::get_id());
  for (std::size_t k = 0; k < calls.size(); ++k) {
    EXPECT_GE(calls[k] - started, milliseconds(15 * (k + 1))) << "call " << k + 1;
  }
}

TEST(MultimediaTimer, OneShotFiresOnce) {
  std::atomic<int> count{0};
  auto timer = MultimediaTimer::start(5, kTimeOneShot, [&] { ++count; });
  ASSERT_TRUE(eventually([&] { return !timer->running(); }));
  std::this_thread::sleep_for(milliseconds(30));
  EXPECT_EQ(count.load(), 1);
  EXPECT_EQ(timer->calls(), 1u);
}

TEST(MultimediaTimer, KillWaitsForTheCallbackInProgress) {
  std::atomic<bool> entered{false};
  std::atomic<bool> finished{false};
  auto timer = MultimediaTimer::start(1, kTimePeriodic, [&] {
    entered = true;
    std::this_thread::sleep_for(milliseconds(40));
    finished = true;
  });
  ASSERT_TRUE(eventually([&] { return entered.load(); }));
  timer->kill();
  EXPECT_TRUE(finished.load());
  timer.reset();  // a second stop is harmless
}

TEST(MultimediaTimer, KillOrDestructionFromInsideTheCallbackEndsTheTimer) {
  std::atomic<int> killedCount{0};
  std::unique_ptr<MultimediaTimer> killed;
  std::atomic<bool> armed{false};
  killed = MultimediaTimer::start(2, kTimePeriodic, [&] {
    while (!armed) std::this_thread::yield();
    ++killedCount;
    killed->kill();
  });
  armed = true;
  ASSERT_TRUE(eventually([&] { return !killed->running(); }));
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_EQ(killedCount.load(), 1);
  killed.reset();

  std::atomic<int> destroyedCount{0};
  std::unique_ptr<MultimediaTimer> destroyed;
  std::atomic<bool> gone{false};
  std::mutex owner;
  {
    std::lock_guard lock(owner);
    destroyed = MultimediaTimer::start(2, kTimePeriodic, [&] {
      {
        std::lock_guard inner(owner);
        ++destroyedCount;
        destroyed.reset();
      }
      gone = true;  // the last thing the callback touches in this frame
    });
  }
  ASSERT_TRUE(eventually([&] { return gone.load(); }));
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_EQ(destroyedCount.load(), 1);
}

}  // namespace
}  // namespace host
