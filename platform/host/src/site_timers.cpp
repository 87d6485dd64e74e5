#include "host/internal/site_timers.h"

#include <algorithm>

namespace host {

namespace {

class TimerHandle : public ocx::PeriodicTimer {
 public:
  explicit TimerHandle(std::shared_ptr<MultimediaTimer> timer) : timer_(std::move(timer)) {}
  ~TimerHandle() override { timer_->kill(); }

 private:
  std::shared_ptr<MultimediaTimer> timer_;
};

}  // namespace

std::unique_ptr<ocx::PeriodicTimer> SiteTimers::start(unsigned periodMs,
                                                      std::function<void()> callback) {
  std::shared_ptr<MultimediaTimer> timer =
      MultimediaTimer::start(periodMs, kTimePeriodic, std::move(callback));
  if (!timer) return nullptr;
  std::lock_guard lock(mutex_);
  std::erase_if(timers_, [](const auto& weak) { return weak.expired(); });
  timers_.push_back(timer);
  return std::make_unique<TimerHandle>(std::move(timer));
}

void SiteTimers::killAll() {
  std::vector<std::shared_ptr<MultimediaTimer>> live;
  {
    std::lock_guard lock(mutex_);
    for (const auto& weak : timers_) {
      if (auto timer = weak.lock()) live.push_back(std::move(timer));
    }
    timers_.clear();
  }
  for (const auto& timer : live) timer->kill();
}

}  // namespace host
