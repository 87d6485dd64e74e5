// The frame timer: a periodic timer whose callback, on the timer's own thread, posts a paint
// request to the control's window at most once until the control has painted. Ticks that come
// while a request is outstanding are counted and dropped, never queued.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "ocx/services.h"

namespace kvplotax::output {

// The record the timer thread and the user-interface thread share. Each field is one aligned
// 32-bit word read and written atomically; the only effect of a race is one extra or one
// skipped post.
struct FramePost {
  std::atomic<std::uint32_t> window{0};
  std::atomic<std::uint32_t> message{0x000F};  // WM_PAINT
  std::atomic<std::uint32_t> wParam{0};
  std::atomic<std::uint32_t> lParam{0};
  std::atomic<std::uint32_t> pending{0};  // a posted request has not been painted yet
  std::atomic<std::uint32_t> missed{0};   // ticks that did not post
};
static_assert(std::atomic<std::uint32_t>::is_always_lock_free);

// The timer service and the window's message queue, as the container offers them.
class FrameTimerDevice {
 public:
  virtual ~FrameTimerDevice() = default;
  // The period range of the timer device; none when it cannot be asked.
  virtual bool caps(ocx::TimerCaps& caps) const = 0;
  // A periodic timer calling back every periodMs; null when none could be started.
  virtual std::unique_ptr<ocx::PeriodicTimer> start(unsigned periodMs, unsigned resolutionMs,
                                                    std::function<void()> callback) = 0;
  // Called on the timer thread. False when the message could not be posted (no window yet).
  virtual bool post(std::uint32_t window, std::uint32_t message, std::uint32_t wParam,
                    std::uint32_t lParam) = 0;
};

class FrameTimer {
 public:
  static constexpr int kMaxRate = 30;
  enum StartResult : int { kStarted = 0, kStartFailed = 1, kNoCallback = 2 };

  explicit FrameTimer(FrameTimerDevice* device = nullptr);
  // Stops the timer before the shared record goes.
  ~FrameTimer();
  FrameTimer(const FrameTimer&) = delete;
  FrameTimer& operator=(const FrameTimer&) = delete;

  // Attaching a device reads its period range; a running timer is stopped first, and a rate
  // set before starts the timer on the new device.
  void setDevice(FrameTimerDevice* device);

  // Clamped to 0..30; 0 stops the timer, otherwise it runs every trunc(1000 / rate) ms.
  void setRate(int framesPerSec);
  int rate() const { return rate_; }
  unsigned delay() const { return delay_; }
  unsigned resolution() const { return resolution_; }
  bool running() const { return timer_ != nullptr; }

  StartResult start();
  void stop();

  // The window paint requests go to; set at every run-mode paint.
  void setWindow(std::uint32_t window) { post_.window.store(window); }
  // The control has painted: the next tick may post again.
  void acknowledgeFrame() { post_.pending.store(0); }

  // One tick of the timer thread's callback.
  static void tick(FramePost& post, FrameTimerDevice& device);

  const FramePost& framePost() const { return post_; }

 private:
  FrameTimerDevice* device_;
  FramePost post_;
  std::unique_ptr<ocx::PeriodicTimer> timer_;
  unsigned delay_ = 0;
  unsigned resolution_ = 0;
  unsigned periodMin_ = 0;
  unsigned periodMax_ = 0;
  int rate_ = 0;
};

}  // namespace kvplotax::output
