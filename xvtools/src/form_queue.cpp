#include "xvtools/form_thread.h"

namespace xvtools {

void FormQueue::post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  posted_.notify_one();
}

std::size_t FormQueue::runPending() {
  std::deque<std::function<void()>> batch;
  {
    std::lock_guard lock(mutex_);
    batch.swap(tasks_);
  }
  // Tasks run without the lock, so they may post again; those wait for the next call.
  for (auto& task : batch) task();
  return batch.size();
}

std::size_t FormQueue::waitAndRun(std::chrono::milliseconds timeout) {
  {
    std::unique_lock lock(mutex_);
    posted_.wait_for(lock, timeout, [this] { return !tasks_.empty(); });
  }
  return runPending();
}

std::size_t FormQueue::pending() const {
  std::lock_guard lock(mutex_);
  return tasks_.size();
}

}  // namespace xvtools
