// The periodic timers a control starts through its site. The container keeps track of them so
// that none can outlive it and post into a window that no longer exists.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "host/multimedia_timer.h"
#include "ocx/services.h"

namespace host {

class SiteTimers {
 public:
  SiteTimers() = default;
  SiteTimers(const SiteTimers&) = delete;
  SiteTimers& operator=(const SiteTimers&) = delete;

  // Null when the timer cannot be started (period 0 or beyond the device's range).
  std::unique_ptr<ocx::PeriodicTimer> start(unsigned periodMs, std::function<void()> callback);

  // Stops every timer still running; their handles stay valid and stopping them again is
  // harmless.
  void killAll();

 private:
  std::mutex mutex_;
  std::vector<std::weak_ptr<MultimediaTimer>> timers_;
};

}  // namespace host
