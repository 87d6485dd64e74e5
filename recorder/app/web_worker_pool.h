// The web view's worker threads: a fixed number, a bounded queue, and a lower priority than the
// recording they serve.
#pragma once

#include <httplib.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace recorder::app {

// Answering runs at a lower priority than the recording: on a busy machine the clients wait,
// not the recorder. Applies to the calling thread.
void yieldToTheRecorder();

// httplib's own pool queues without limit; this one holds at most `queued` connections, and
// further ones wait in the listening thread and then in the kernel's backlog.
class BoundedPool final : public httplib::TaskQueue {
 public:
  BoundedPool(int workers, std::size_t queued) : queued_(queued) {
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
  }
  void enqueue(std::function<void()> job) override {
    std::unique_lock lock(mutex_);
    room_.wait(lock, [this] { return jobs_.size() < queued_ || shutdown_; });
    jobs_.push_back(std::move(job));
    ready_.notify_one();
  }
  // Runs what is queued (each ends at once once the server has stopped), then ends the workers.
  void shutdown() override {
    {
      std::lock_guard lock(mutex_);
      shutdown_ = true;
    }
    ready_.notify_all();
    room_.notify_all();
    for (std::thread& t : threads_) t.join();
  }

 private:
  void work() {
    yieldToTheRecorder();
    for (;;) {
      std::function<void()> job;
      {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return shutdown_ || !jobs_.empty(); });
        if (jobs_.empty()) return;
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      room_.notify_one();
      job();
    }
  }

  std::mutex mutex_;
  std::condition_variable ready_, room_;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::thread> threads_;
  const std::size_t queued_;
  bool shutdown_ = false;
};

}  // namespace recorder::app
