#include "block_relay.h"

namespace xvtools {

BlockRelay::BlockRelay(std::size_t blocks, std::size_t blockSize, Producer produce)
    : produce_(std::move(produce)) {
  for (std::size_t i = 0; i < blocks; ++i) {
    spare_.emplace_back();
    spare_.back().reserve(blockSize);
  }
  thread_ = std::thread([this] { run(); });
}

BlockRelay::~BlockRelay() {
  {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void BlockRelay::run() {
  for (;;) {
    std::vector<float> block;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return !spare_.empty() || cancelled_; });
      if (cancelled_) return;
      block = std::move(spare_.front());
      spare_.pop_front();
    }
    block.clear();
    bool more = false;
    try {
      more = produce_(block);
    } catch (...) {
      std::lock_guard lock(mutex_);
      error_ = std::current_exception();
      more = false;
      block.clear();
    }
    {
      std::lock_guard lock(mutex_);
      ready_.push_back(std::move(block));
      ended_ = !more;
    }
    changed_.notify_all();
    if (!more) return;
  }
}

const std::vector<float>& BlockRelay::next(bool& last) {
  std::unique_lock lock(mutex_);
  last = true;
  if (done_) {
    current_.clear();
    return current_;
  }
  // The block handed out before goes back to the producer.
  if (current_.capacity() > 0) {
    spare_.push_back(std::move(current_));
    current_ = {};
    changed_.notify_all();
  }
  changed_.wait(lock, [this] { return !ready_.empty(); });
  current_ = std::move(ready_.front());
  ready_.pop_front();
  last = done_ = ended_ && ready_.empty();
  if (last && error_) {
    const std::exception_ptr error = error_;
    error_ = nullptr;
    std::rethrow_exception(error);
  }
  return current_;
}

}  // namespace xvtools
