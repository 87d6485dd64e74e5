// A multimedia-style timer: a thread of its own calls back every period, or once.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace host {

constexpr unsigned kTimeOneShot = 0;
constexpr unsigned kTimePeriodic = 1;

// The period range the timer device accepts, in milliseconds.
constexpr unsigned kTimerPeriodMin = 1;
constexpr unsigned kTimerPeriodMax = 1000000;

// What is allowed, and from where:
// - The callback runs on the timer's own thread, never on the thread that started it, and never
//   twice at once. A periodic timer's k-th call starts no earlier than k periods after the start;
//   a call that comes late is not repeated to catch up.
// - kill() and the destructor may be called from any thread. From any thread but the timer's,
//   they wait for a running callback to finish: once they return, the callback is not running
//   and will not run again. So a callback must not wait for a lock that the killing thread holds
//   while it kills.
// - From inside its own callback, kill() and the destructor stop the timer and return at once;
//   the current call finishes (its callable stays alive until then) and no further call starts.
//   Code after such a call must not touch the destroyed owner.
class MultimediaTimer {
 public:
  using Callback = std::function<void()>;

  // Null when the period is outside kTimerPeriodMin..kTimerPeriodMax, the mode is not one of
  // kTimeOneShot and kTimePeriodic, or there is no callback.
  static std::unique_ptr<MultimediaTimer> start(unsigned periodMs, unsigned mode,
                                                Callback callback);

  ~MultimediaTimer();
  MultimediaTimer(const MultimediaTimer&) = delete;
  MultimediaTimer& operator=(const MultimediaTimer&) = delete;

  void kill();

  unsigned period() const;
  // Callbacks completed so far.
  std::uint64_t calls() const;
  // False once killed or once a one-shot timer has fired.
  bool running() const;

 private:
  struct State;
  explicit MultimediaTimer(std::shared_ptr<State> state);
  static void run(const std::shared_ptr<State>& state);
  bool onTimerThread() const;

  std::shared_ptr<State> state_;
  std::mutex joinMutex_;
  std::thread thread_;
};

}  // namespace host
