// The frame timer's device as a control's container offers it: the container's periodic timers
// and its thread-safe posting to the control's window.
#pragma once

#include "ocx/control_site.h"
#include "output/frame_timer.h"

namespace kvplotax::output {

class SiteTimerDevice : public FrameTimerDevice {
 public:
  explicit SiteTimerDevice(ocx::ControlSite& site) : site_(site) {}

  bool caps(ocx::TimerCaps& caps) const override;
  std::unique_ptr<ocx::PeriodicTimer> start(unsigned periodMs, unsigned resolutionMs,
                                            std::function<void()> callback) override;
  // Nothing is posted before the window is known.
  bool post(std::uint32_t window, std::uint32_t message, std::uint32_t wParam,
            std::uint32_t lParam) override;

 private:
  ocx::ControlSite& site_;
};

}  // namespace kvplotax::output
