#include "output/site_timer_device.h"

namespace kvplotax::output {

bool SiteTimerDevice::caps(ocx::TimerCaps& caps) const {
  caps = site_.timerCaps();
  return true;
}

std::unique_ptr<ocx::PeriodicTimer> SiteTimerDevice::start(unsigned periodMs, unsigned,
                                                           std::function<void()> callback) {
  // The container's timers keep their own resolution; the requested one is only recorded.
  return site_.startPeriodicTimer(periodMs, std::move(callback));
}

bool SiteTimerDevice::post(std::uint32_t window, std::uint32_t message, std::uint32_t wParam,
                           std::uint32_t lParam) {
  if (window == 0) return false;
  return site_.postMessage(message, wParam, static_cast<std::intptr_t>(lParam));
}

}  // namespace kvplotax::output
