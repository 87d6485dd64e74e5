// The thread a form's handlers run on. Components raise their events there: a capture or timer
// thread never calls a handler itself, it posts the call to the form's thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace xvtools {

class FormThread {
 public:
  virtual ~FormThread() = default;
  // Queues task to run later on the form's thread, after the tasks queued before it.
  // Safe to call from any thread, including the form's thread itself.
  virtual void post(std::function<void()> task) = 0;
};

// A form thread for programs without an event loop of their own (the headless run, tests): the
// owner runs the queued tasks when it chooses, on its own thread.
class FormQueue final : public FormThread {
 public:
  void post(std::function<void()> task) override;
  // Runs the tasks queued so far (not those they queue themselves); returns how many ran.
  std::size_t runPending();
  // Waits up to timeout for a task, then runs the pending ones; returns how many ran.
  std::size_t waitAndRun(std::chrono::milliseconds timeout);
  std::size_t pending() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace xvtools
