#include "xvtools/xv_hi_timer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace xvtools {

// The real-time ticker of one enabled period: it sleeps on a steady clock and posts ticks.
struct Ticker {
  std::mutex mutex;
  std::condition_variable wake;
  bool stopping = false;
  std::thread thread;

  void stop() {
    {
      std::lock_guard lock(mutex);
      stopping = true;
    }
    wake.notify_all();
    if (thread.joinable()) thread.join();
  }
  ~Ticker() { stop(); }
};

struct XVHiTimerX::Impl : std::enable_shared_from_this<XVHiTimerX::Impl> {
  bool enabled = false;
  int interval = kDefaultInterval;
  std::atomic<bool> waitForTerminate{false};
  FormThread* formThread = nullptr;
  std::function<void()> handler;
  std::atomic<std::uint64_t> ticks{0};
  // Bumped whenever ticks already posted must be dropped (disable, new interval).
  std::atomic<std::uint64_t> generation{0};
  // A tick posted and not yet run, or a handler running: with WaitForTerminate no other tick
  // is posted meanwhile.
  std::atomic<bool> busy{false};
  bool inHandler = false;
  std::int64_t virtualElapsed = 0;  // ms of virtual time since the last tick
  std::unique_ptr<Ticker> ticker;

  bool deliver() {
    if (!enabled) return false;
    if (waitForTerminate && inHandler) return false;
    ++ticks;
    if (!handler) return true;
    // A handler may itself run queued work (a message pump) that delivers a nested tick.
    const bool outer = !inHandler;
    inHandler = true;
    struct Reset {
      bool& flag;
      bool outer;
      ~Reset() {
        if (outer) flag = false;
      }
    } reset{inHandler, outer};
    handler();
    return true;
  }

  void stopTicker() {
    ++generation;
    if (ticker) {
      ticker->stop();
      ticker.reset();
    }
    busy = false;
  }

  void startTicker();

  void restart() {
    stopTicker();
    virtualElapsed = 0;
    if (enabled && formThread != nullptr) startTicker();
  }
};

void XVHiTimerX::Impl::startTicker() {
  ticker = std::make_unique<Ticker>();
  Ticker* t = ticker.get();
  const auto period = std::chrono::milliseconds(interval);
  const std::uint64_t gen = generation;
  std::weak_ptr<Impl> owner = weak_from_this();
  FormThread* thread = formThread;
  t->thread = std::thread([t, period, gen, owner, thread] {
    auto due = std::chrono::steady_clock::now() + period;
    std::unique_lock lock(t->mutex);
    while (!t->wake.wait_until(lock, due, [t] { return t->stopping; })) {
      auto impl = owner.lock();
      if (!impl) return;
      // With WaitForTerminate a tick that falls due while one is pending or running is dropped.
      if (!impl->waitForTerminate || !impl->busy.exchange(true)) {
        thread->post([owner, gen] {
          auto self = owner.lock();
          if (!self || self->generation != gen) return;
          self->deliver();
          self->busy = false;
        });
      }
      // Deadlines advance by whole periods, so ticks do not drift; a long stall skips the
      // periods it missed instead of bursting.
      due += period;
      const auto now = std::chrono::steady_clock::now();
      if (due < now) due += ((now - due) / period + 1) * period;
    }
  });
}

XVHiTimerX::XVHiTimerX() : impl_(std::make_shared<Impl>()) {}

XVHiTimerX::~XVHiTimerX() { impl_->stopTicker(); }

bool XVHiTimerX::Enabled() const { return impl_->enabled; }

void XVHiTimerX::setEnabled(bool enabled) {
  if (enabled == impl_->enabled) return;
  impl_->enabled = enabled;
  impl_->restart();
}

int XVHiTimerX::Interval() const { return impl_->interval; }

void XVHiTimerX::setInterval(int milliseconds) {
  if (milliseconds < 1) throw std::invalid_argument("timer interval must be at least 1 ms");
  if (milliseconds == impl_->interval) return;
  impl_->interval = milliseconds;
  impl_->restart();
}

bool XVHiTimerX::WaitForTerminate() const { return impl_->waitForTerminate; }

void XVHiTimerX::setWaitForTerminate(bool wait) { impl_->waitForTerminate = wait; }

void XVHiTimerX::setFormThread(FormThread* thread) {
  if (thread == impl_->formThread) return;
  impl_->formThread = thread;
  impl_->restart();
}

void XVHiTimerX::onTimer(std::function<void()> handler) { impl_->handler = std::move(handler); }

bool XVHiTimerX::tick() {
  impl_->virtualElapsed = 0;
  return impl_->deliver();
}

bool XVHiTimerX::advance(int milliseconds) {
  Impl& impl = *impl_;
  if (!impl.enabled || milliseconds <= 0) return false;
  bool any = false;
  // Whole intervals of virtual time, counted from the last tick or from enabling.
  impl.virtualElapsed += milliseconds;
  while (impl.enabled && impl.virtualElapsed >= impl.interval) {
    impl.virtualElapsed -= impl.interval;
    any = impl.deliver() || any;
  }
  return any;
}

std::uint64_t XVHiTimerX::ticks() const { return impl_->ticks; }

}  // namespace xvtools
