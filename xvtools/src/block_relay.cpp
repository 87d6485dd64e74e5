#include "block_relay.h"

#include <algorithm>

namespace xvtools {

BlockRelay::BlockRelay(std::size_t blocks, std::size_t blockSize, Producer produce)
    : produce_(std::move(produce)), blocks_(std::max<std::size_t>(blocks, 2)) {
  for (auto& block : blocks_) block.reserve(blockSize);
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
    std::vector<float>* block = nullptr;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return made_ - returned_ < blocks_.size() || cancelled_; });
      if (cancelled_) return;
      block = &blocks_[made_ % blocks_.size()];
    }
    block->clear();
    bool more = false;
    std::exception_ptr error;
    try {
      more = produce_(*block);
    } catch (...) {
      error = std::current_exception();
      more = false;
      block->clear();
    }
    {
      std::lock_guard lock(mutex_);
      error_ = error;
      ++made_;
      ended_ = !more;
    }
    changed_.notify_all();
    if (!more) return;
  }
}

const std::vector<float>& BlockRelay::next(bool& last) {
  std::unique_lock lock(mutex_);
  last = true;
  if (done_) return none_;
  // The block handed out before goes back to the producer.
  if (returned_ < taken_) {
    returned_ = taken_;
    changed_.notify_all();
  }
  changed_.wait(lock, [this] { return made_ > taken_; });
  const std::vector<float>& block = blocks_[taken_ % blocks_.size()];
  ++taken_;
  last = done_ = ended_ && made_ == taken_;
  if (last && error_) {
    const std::exception_ptr error = error_;
    error_ = nullptr;
    std::rethrow_exception(error);
  }
  return block;
}

}  // namespace xvtools
