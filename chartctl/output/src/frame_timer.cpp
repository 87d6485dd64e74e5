#include "output/frame_timer.h"

#include <algorithm>

namespace kvplotax::output {

namespace {

constexpr unsigned kPreferredResolutionMs = 10;

}  // namespace

FrameTimer::FrameTimer(FrameTimerDevice* device) : device_(nullptr) { setDevice(device); }

FrameTimer::~FrameTimer() { setRate(0); }

void FrameTimer::setDevice(FrameTimerDevice* device) {
  stop();
  device_ = device;
  ocx::TimerCaps caps{0, 0};
  if (!device_ || !device_->caps(caps)) caps = {0, 0};
  periodMin_ = caps.periodMin;
  periodMax_ = caps.periodMax;
  resolution_ = periodMin_;
  if (kPreferredResolutionMs >= periodMin_ && kPreferredResolutionMs <= periodMax_)
    resolution_ = kPreferredResolutionMs;
  // A rate set before the device was there takes effect now.
  if (device_ && rate_ > 0) start();
}

void FrameTimer::setRate(int framesPerSec) {
  rate_ = std::clamp(framesPerSec, 0, kMaxRate);
  if (rate_ == 0) {
    stop();
    return;
  }
  delay_ = 1000u / static_cast<unsigned>(rate_);
  start();
}

FrameTimer::StartResult FrameTimer::start() {
  stop();
  if (!device_) return kNoCallback;
  if (delay_ == 0) return kStartFailed;
  FramePost* post = &post_;
  FrameTimerDevice* device = device_;
  timer_ = device_->start(delay_, resolution_, [post, device] { tick(*post, *device); });
  return timer_ ? kStarted : kStartFailed;
}

void FrameTimer::stop() {
  // Destroying the handle waits for a callback in progress; none runs afterwards.
  timer_.reset();
}

void FrameTimer::tick(FramePost& post, FrameTimerDevice& device) {
  if (post.pending.load() != 0) {
    post.missed.fetch_add(1);
    return;
  }
  const bool posted =
      device.post(post.window.load(), post.message.load(), post.wParam.load(), post.lParam.load());
  post.pending.store(posted ? 1 : 0);
  if (posted)
    post.missed.store(0);
  else
    post.missed.fetch_add(1);
}

}  // namespace kvplotax::output
