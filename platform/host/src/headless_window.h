// The headless container's window: the control it holds, the site it gives the control, the
// window's message queue and paint cycle.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "headless_print_services.h"
#include "host/clipboard.h"
#include "host/headless.h"
#include "host/message_queue.h"
#include "ocx/control.h"
#include "ocx/control_site.h"
#include "paint_cycle.h"
#include "site_clipboard.h"
#include "site_timers.h"

namespace host {

class HeadlessContainer::Window : public ocx::ControlSite {
 public:
  Window(int width, int height, bool userMode, int logPixels);
  ~Window() override;

  // init starts the control: a new one (initNew) unless the caller loads saved state.
  automation::Dispatch& create(const automation::Guid& clsid,
                               const std::function<void(ocx::Control&)>& init = {});
  automation::Dispatch& object();
  void destroyControl();

  void resize(int width, int height);
  int width() const { return paint_.width(); }
  int height() const { return paint_.height(); }
  void setUserMode(bool userMode);
  bool userMode() const { return userMode_; }

  void pump();
  bool waitForMessage(std::chrono::milliseconds timeout) { return queue_.waitForMessage(timeout); }
  bool post(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);

  const gdi::Bitmap& screen() const { return paint_.screen(); }

  const std::vector<Event>& events() const { return events_; }
  void clearEvents() { events_.clear(); }
  void setEventHandler(EventHandler handler) { eventHandler_ = std::move(handler); }

  void mouse(int message, int x, int y, unsigned keys);
  void key(int message, int virtualKey, unsigned keys);
  std::vector<std::uint8_t> saveStream();
  std::string saveBag();
  void setAltDown(bool down) { altDown_ = down; }
  int cursor() const { return cursor_; }

  Clipboard& clipboardStore() { return clipboardStore_; }
  std::uintptr_t handle() const { return hwnd_; }
  const std::vector<std::string>& messageBoxes() const { return messageBoxes_; }

  // ocx::ControlSite
  bool ambientUserMode() const override { return userMode_; }
  int logPixelsX() const override { return logPixels_; }
  int logPixelsY() const override { return logPixels_; }
  gdi::Point clientSize() const override { return {paint_.width(), paint_.height()}; }
  void onPropertyChanged(automation::DispId) override {}
  void fireEvent(automation::DispId id, std::vector<automation::Variant> args) override;
  void invalidate(const gdi::Rect& rect) override { paint_.invalidate(rect); }
  void invalidateAll() override { paint_.invalidateAll(); }
  void updateWindow() override;
  bool postMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) override {
    return post(msg, wParam, lParam);
  }
  void requestResize(int width, int height) override;
  std::unique_ptr<ocx::PeriodicTimer> startPeriodicTimer(unsigned periodMs,
                                                         std::function<void()> callback) override {
    return timers_.start(periodMs, std::move(callback));
  }
  ocx::TimerCaps timerCaps() const override { return {kTimerPeriodMin, kTimerPeriodMax}; }
  ocx::Clipboard& clipboard() override { return siteClipboard_; }
  gdi::ColorRef systemColor(int index) const override;
  bool isAltDown() const override { return altDown_; }
  void setCapture() override { captured_ = true; }
  void releaseCapture() override { captured_ = false; }
  void setCursor(int shape) override { cursor_ = shape; }
  bool cursorPosition(gdi::Point& where) const override;
  void showMessage(const std::string& title, const std::string& text) override;
  ocx::PrintServices* printServices() override { return &print_; }

  HeadlessPrintServices& print() { return print_; }

 private:
  void dispatch(const Message& message);
  // One round of pump(): false when nothing was waiting.
  bool pumpOne();
  void paintNow();
  bool applyRequestedResize();

  bool userMode_;
  int logPixels_;
  PaintCycle paint_;
  MessageQueue queue_;
  Clipboard clipboardStore_;
  std::uintptr_t hwnd_ = 0;
  // Read by posting threads; written on the UI thread around the window's life.
  std::atomic<std::uintptr_t> postTarget_{0};
  SiteClipboard siteClipboard_{clipboardStore_, hwnd_};
  SiteTimers timers_;
  std::shared_ptr<automation::Dispatch> object_;
  std::shared_ptr<ocx::Control> control_;  // the same object, when it is a control
  automation::Guid clsid_;
  bool painting_ = false;
  std::optional<gdi::Point> requestedSize_;
  std::vector<Event> events_;
  EventHandler eventHandler_;
  bool altDown_ = false;
  bool captured_ = false;
  int cursor_ = 0;
  std::optional<gdi::Point> lastMouse_;
  std::vector<std::string> messageBoxes_;
  HeadlessPrintServices print_{{[this] { return hwnd_; },
                                [this]() -> const gdi::Bitmap& { return paint_.screen(); },
                                [this] { return pumpOne(); }}};
};

}  // namespace host
