// A control sited in a container's window: the control created by class identifier, the window
// it is given (handle, screen image and paint cycle, posted-message queue, timers, clipboard
// store) and the site's answers that do not depend on how the window reaches a screen. The
// headless container and the Qt widget derive their windows from it and add only what their
// screens do differently.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "automation/automation.h"
#include "host/clipboard.h"
#include "host/image_file.h"
#include "host/internal/paint_cycle.h"
#include "host/internal/site_timers.h"
#include "host/message_queue.h"
#include "ocx/control.h"
#include "ocx/control_site.h"

namespace host {

// Window handles are never 0 and never reused within a process, so a message posted to a window
// that has gone cannot reach its successor. Every window of every container takes its handle
// here.
std::uintptr_t newWindowHandle();

class SitedControl : public ocx::ControlSite {
 public:
  using EventHandler = std::function<void(automation::DispId, std::span<automation::Variant>)>;

  // Sizes below 0 count as 0, sides above PaintCycle::kMaxSide as that side.
  SitedControl(int width, int height, bool userMode);
  ~SitedControl() override;
  SitedControl(const SitedControl&) = delete;
  SitedControl& operator=(const SitedControl&) = delete;

  // Loads the control, gives it this site and a window of the current size. init starts it:
  // a new control (initNew) unless the caller loads saved state. A control created before is
  // destroyed first; a plain automation object gets no window. Raises error 429 when no module
  // provides the class.
  automation::Dispatch& create(const automation::Guid& clsid,
                               const std::function<void(ocx::Control&)>& init = {});
  // Raises error 91 before create().
  automation::Dispatch& object();
  // Stops the control's timers and takes its window away. A derived window calls it in its own
  // destructor, while its answers to the control still work.
  void destroyControl();

  // The control hears of a new size once it is in force.
  void resize(int width, int height);
  int width() const { return paint_.width(); }
  int height() const { return paint_.height(); }
  void setUserMode(bool userMode);
  bool userMode() const { return userMode_; }

  bool waitForMessage(std::chrono::milliseconds timeout) { return queue_.waitForMessage(timeout); }
  std::size_t messagesWaiting() const { return queue_.size(); }
  // Delivers the oldest posted message (a paint request paints); false when none waits.
  bool dispatchOne();
  // Paints the invalid area through the control's paint entry; nothing while a paint runs.
  void paintNow();
  bool needsPaint() const { return paint_.needsPaint(); }
  bool painting() const { return painting_; }

  const gdi::Bitmap& screen() const { return paint_.screen(); }
  PixelView screenView() const;
  std::uintptr_t handle() const { return hwnd_; }
  // The cursor shown at the last mouse position (see ocx::ControlSite::setCursor).
  int cursor() const { return cursor_; }
  void setEventHandler(EventHandler handler) { eventHandler_ = std::move(handler); }

  void mouse(unsigned message, int x, int y, unsigned keys);
  void mouseLeft() { lastMouse_.reset(); }
  void key(unsigned message, int virtualKey, unsigned keys);
  // Empty when the object is not a control.
  std::vector<std::uint8_t> saveStream();
  std::string saveBag();
  Clipboard& clipboardStore() { return store_; }

  // ocx::ControlSite
  bool ambientUserMode() const override { return userMode_; }
  gdi::Point clientSize() const override { return {paint_.width(), paint_.height()}; }
  void onPropertyChanged(automation::DispId) override {}
  void fireEvent(automation::DispId id, std::vector<automation::Variant> args) override;
  void invalidate(const gdi::Rect& rect) override;
  void invalidateAll() override;
  void updateWindow() override;
  bool postMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) override;
  std::unique_ptr<ocx::PeriodicTimer> startPeriodicTimer(unsigned periodMs,
                                                         std::function<void()> callback) override {
    return timers_.start(periodMs, std::move(callback));
  }
  ocx::TimerCaps timerCaps() const override { return {kTimerPeriodMin, kTimerPeriodMax}; }
  gdi::ColorRef systemColor(int index) const override;
  void setCursor(int shape) override { cursor_ = shape; }
  bool cursorPosition(gdi::Point& where) const override;

 protected:
  // What the screen shows in rect has changed or is about to: a window on a real screen shows it
  // again.
  virtual void screenChanged(const gdi::Rect& /*rect*/) {}
  // A message was queued. Called on the posting thread, which may be a timer's.
  virtual void messagePosted() {}
  // The control's window has gone.
  virtual void windowDestroyed() {}
  // The window handle as it changes, for services that act in the window's name.
  const std::uintptr_t& handleSlot() const { return hwnd_; }

 private:
  bool userMode_;
  PaintCycle paint_;
  MessageQueue queue_;
  Clipboard store_;
  std::uintptr_t hwnd_ = 0;
  // Read by posting threads; written on the window's thread around the window's life.
  std::atomic<std::uintptr_t> postTarget_{0};
  SiteTimers timers_;
  std::shared_ptr<automation::Dispatch> object_;
  std::shared_ptr<ocx::Control> control_;  // the same object, when it is a control
  automation::Guid clsid_{};
  bool painting_ = false;
  std::optional<gdi::Point> lastMouse_;
  int cursor_ = 0;
  EventHandler eventHandler_;
};

}  // namespace host
