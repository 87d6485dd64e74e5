#include "host/message_queue.h"

namespace host {

MessageQueue::MessageQueue(std::size_t capacity) : ring_(capacity == 0 ? 1 : capacity) {}

bool MessageQueue::post(const Message& message) {
  {
    std::lock_guard lock(mutex_);
    if (count_ == ring_.size()) return false;
    ring_[(head_ + count_) % ring_.size()] = message;
    ++count_;
  }
  posted_.notify_one();
  return true;
}

std::optional<Message> MessageQueue::take() {
  std::lock_guard lock(mutex_);
  if (count_ == 0) return std::nullopt;
  Message message = ring_[head_];
  head_ = (head_ + 1) % ring_.size();
  --count_;
  return message;
}

bool MessageQueue::waitForMessage(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return posted_.wait_for(lock, timeout, [this] { return count_ != 0; });
}

std::size_t MessageQueue::size() const {
  std::lock_guard lock(mutex_);
  return count_;
}

}  // namespace host
