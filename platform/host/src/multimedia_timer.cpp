#include "host/multimedia_timer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>

namespace host {

// Shared by the handle and the thread, so a thread left running by a kill from inside its own
// callback still owns everything it touches.
struct MultimediaTimer::State {
  std::mutex mutex;
  std::condition_variable wake;
  bool stopRequested = false;
  std::thread::id timerThread;
  std::chrono::milliseconds period{0};
  bool periodic = true;
  Callback callback;
  std::atomic<std::uint64_t> calls{0};
  std::atomic<bool> running{true};
};

void MultimediaTimer::run(const std::shared_ptr<State>& state) {
  using Clock = std::chrono::steady_clock;
  State& s = *state;
  std::unique_lock lock(s.mutex);
  auto due = Clock::now() + s.period;
  while (!s.stopRequested) {
    if (s.wake.wait_until(lock, due, [&] { return s.stopRequested; })) break;
    lock.unlock();
    s.callback();
    s.calls.fetch_add(1, std::memory_order_release);
    lock.lock();
    if (!s.periodic) break;
    due += s.period;
    const auto now = Clock::now();
    if (due < now) due = now;
  }
  s.running.store(false, std::memory_order_release);
}

std::unique_ptr<MultimediaTimer> MultimediaTimer::start(unsigned periodMs, unsigned mode,
                                                        Callback callback) {
  if (periodMs < kTimerPeriodMin || periodMs > kTimerPeriodMax) return nullptr;
  if (mode != kTimeOneShot && mode != kTimePeriodic) return nullptr;
  if (!callback) return nullptr;
  auto state = std::make_shared<State>();
  state->period = std::chrono::milliseconds(periodMs);
  state->periodic = mode == kTimePeriodic;
  state->callback = std::move(callback);
  return std::unique_ptr<MultimediaTimer>(new MultimediaTimer(std::move(state)));
}

MultimediaTimer::MultimediaTimer(std::shared_ptr<State> state) : state_(std::move(state)) {
  State& s = *state_;
  // The thread cannot look at its own id before this lock is released.
  std::lock_guard lock(s.mutex);
  thread_ = std::thread([keep = state_] { run(keep); });
  s.timerThread = thread_.get_id();
}

MultimediaTimer::~MultimediaTimer() {
  kill();
  std::lock_guard lock(joinMutex_);
  // Only left joinable when the timer was destroyed from inside its own callback.
  if (thread_.joinable()) thread_.detach();
}

bool MultimediaTimer::onTimerThread() const {
  std::lock_guard lock(state_->mutex);
  return std::this_thread::get_id() == state_->timerThread;
}

void MultimediaTimer::kill() {
  {
    std::lock_guard lock(state_->mutex);
    state_->stopRequested = true;
  }
  state_->wake.notify_all();
  if (onTimerThread()) return;
  std::lock_guard lock(joinMutex_);
  if (thread_.joinable()) thread_.join();
}

unsigned MultimediaTimer::period() const { return static_cast<unsigned>(state_->period.count()); }

std::uint64_t MultimediaTimer::calls() const {
  return state_->calls.load(std::memory_order_acquire);
}

bool MultimediaTimer::running() const {
  if (!state_->running.load(std::memory_order_acquire)) return false;
  std::lock_guard lock(state_->mutex);
  return !state_->stopRequested;
}

}  // namespace host
