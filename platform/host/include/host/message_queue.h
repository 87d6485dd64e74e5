// The posted-message queue of a window's thread: any thread posts, the window's thread takes.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace host {

struct Message {
  std::uintptr_t window = 0;
  unsigned msg = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

// A bounded first-in first-out queue. Its storage is reserved once, so posting never allocates
// and a timer thread can post at any rate; a full queue refuses the post, as the platform's
// does once a thread has 10000 messages waiting.
class MessageQueue {
 public:
  static constexpr std::size_t kDefaultCapacity = 10000;

  explicit MessageQueue(std::size_t capacity = kDefaultCapacity);
  MessageQueue(const MessageQueue&) = delete;
  MessageQueue& operator=(const MessageQueue&) = delete;

  // Thread-safe. False when the queue is full.
  bool post(const Message& message);

  // The oldest message, or nothing when the queue is empty. Thread-safe; meant for the thread
  // that owns the window.
  std::optional<Message> take();

  // Blocks until a message is waiting or the timeout passes; true when one is waiting.
  bool waitForMessage(std::chrono::milliseconds timeout);

  std::size_t size() const;
  std::size_t capacity() const { return ring_.size(); }

 private:
  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::vector<Message> ring_;
  std::size_t head_ = 0;  // index of the oldest message
  std::size_t count_ = 0;
};

}  // namespace host
