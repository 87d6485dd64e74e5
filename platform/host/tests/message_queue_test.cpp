#include "host/message_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace host {
namespace {

TEST(MessageQueue, KeepsOrderAndRefusesWhenFullAcrossTheWrap) {
  MessageQueue queue(3);
  EXPECT_FALSE(queue.take());
  for (unsigned i = 1; i <= 3; ++i) EXPECT_TRUE(queue.post({7, i, i * 10, -static_cast<int>(i)}));
  EXPECT_FALSE(queue.post({7, 4, 0, 0}));
  EXPECT_EQ(queue.take()->msg, 1u);
  EXPECT_TRUE(queue.post({7, 5, 50, -5}));  // lands at the start of the ring
  std::vector<unsigned> order;
  while (auto m = queue.take()) {
    EXPECT_EQ(m->window, 7u);
    EXPECT_EQ(m->wParam, m->msg * 10);
    EXPECT_EQ(m->lParam, -static_cast<std::intptr_t>(m->msg));
    order.push_back(m->msg);
  }
  EXPECT_EQ(order, (std::vector<unsigned>{2, 3, 5}));
  EXPECT_EQ(queue.size(), 0u);
}

TEST(MessageQueue, MessagesFromManyThreadsArriveOnceEachInPostingOrder) {
  constexpr int kThreads = 4;
  constexpr unsigned kPerThread = 5000;
  MessageQueue queue(64);  // small, so posters meet a full queue and retry
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t) {
    posters.emplace_back([&queue, t] {
      for (unsigned i = 0; i < kPerThread;) {
        if (queue.post({static_cast<std::uintptr_t>(t), 0x400, i, 0})) {
          ++i;
        } else {
          std::this_thread::yield();
        }
      }
    });
  }
  std::vector<unsigned> next(kThreads, 0);
  unsigned received = 0;
  while (received < kThreads * kPerThread) {
    auto m = queue.take();
    if (!m) {
      queue.waitForMessage(std::chrono::milliseconds(100));
      continue;
    }
    ASSERT_LT(m->window, static_cast<std::uintptr_t>(kThreads));
    ASSERT_EQ(m->wParam, next[m->window]) << "from thread " << m->window;
    ++next[m->window];
    ++received;
  }
  for (auto& poster : posters) poster.join();
  EXPECT_FALSE(queue.take());
}

TEST(MessageQueue, WaitingWakesOnAPostAndTimesOutWithout) {
  MessageQueue queue;
  EXPECT_FALSE(queue.waitForMessage(std::chrono::milliseconds(5)));
  std::thread poster([&queue] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    queue.post({1, 15, 0, 0});
  });
  EXPECT_TRUE(queue.waitForMessage(std::chrono::seconds(30)));
  poster.join();
  EXPECT_EQ(queue.take()->msg, 15u);
}

}  // namespace
}  // namespace host
