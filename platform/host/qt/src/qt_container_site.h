// The site a QtContainer gives its control: the control's window (screen image, paint cycle,
// message queue, timers, clipboard) living inside the widget.
#pragma once

#include <QCursor>
#include <QEvent>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/clipboard.h"
#include "host/message_queue.h"
#include "host/qt/qt_container.h"
#include "ocx/control.h"
#include "ocx/control_site.h"
#include "paint_cycle.h"
#include "qt_clipboard.h"
#include "site_timers.h"

namespace host::qt {

// The event that tells the GUI thread messages are waiting in the queue.
inline const QEvent::Type kMessagesPosted = static_cast<QEvent::Type>(QEvent::User + 0x5A1);

class QtContainer::Site final : public ocx::ControlSite {
 public:
  explicit Site(QtContainer& widget);
  ~Site() override;

  // init starts the control: initNew() when empty, or a load of its saved state.
  automation::Dispatch& create(const automation::Guid& clsid,
                               const std::function<void(ocx::Control&)>& init = {});
  automation::Dispatch& object();
  void destroyControl();

  void resize(int width, int height);
  // Runs the queued messages (GUI thread).
  void runPosted();
  bool needsPaint() const { return paint_.needsPaint(); }
  void paintControl();
  const gdi::Bitmap& screen() const { return paint_.screen(); }
  std::uintptr_t handle() const { return hwnd_; }
  int cursorShape() const { return cursor_; }
  void setEventHandler(EventHandler handler) { eventHandler_ = std::move(handler); }

  void mouse(unsigned message, int x, int y, unsigned keys);
  void mouseLeft() { lastMouse_.reset(); }
  void key(unsigned message, int virtualKey, unsigned keys);
  std::vector<std::uint8_t> saveStream();
  std::string saveBag();

  // ocx::ControlSite
  bool ambientUserMode() const override { return userMode_; }
  void setUserMode(bool userMode);
  int logPixelsX() const override;
  int logPixelsY() const override;
  gdi::Point clientSize() const override { return {paint_.width(), paint_.height()}; }
  void onPropertyChanged(automation::DispId) override {}
  void fireEvent(automation::DispId id, std::vector<automation::Variant> args) override;
  void invalidate(const gdi::Rect& rect) override;
  void invalidateAll() override;
  void updateWindow() override;
  bool postMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) override;
  void requestResize(int width, int height) override;
  std::unique_ptr<ocx::PeriodicTimer> startPeriodicTimer(unsigned periodMs,
                                                         std::function<void()> callback) override {
    return timers_.start(periodMs, std::move(callback));
  }
  ocx::TimerCaps timerCaps() const override { return {kTimerPeriodMin, kTimerPeriodMax}; }
  ocx::Clipboard& clipboard() override { return clipboard_; }
  bool isAltDown() const override;
  void setCapture() override;
  void releaseCapture() override;
  void setCursor(int shape) override;
  void setCustomCursor(int shape, const ocx::CursorImage& image) override;
  bool cursorPosition(gdi::Point& where) const override;
  void showMessage(const std::string& title, const std::string& text) override;
#ifdef ZELK_QT_PRINT
  // Printing and window capture through Qt: CUPS queues and the file printer, the screen read
  // from the X server.
  ocx::PrintServices* printServices() override;
#endif

 private:
  QtContainer& widget_;
  PaintCycle paint_;
  MessageQueue queue_;
  host::Clipboard store_;
  std::uintptr_t hwnd_ = 0;
  // Read by posting threads; written on the GUI thread around the window's life.
  std::atomic<std::uintptr_t> postTarget_{0};
  // One wake-up event at a time is enough: it drains the whole queue.
  std::atomic<bool> wakePending_{false};
  QtSiteClipboard clipboard_{store_, hwnd_};
  SiteTimers timers_;
  std::shared_ptr<automation::Dispatch> object_;
  std::shared_ptr<ocx::Control> control_;
  bool painting_ = false;
  std::optional<gdi::Point> lastMouse_;
  int cursor_ = 0;
  bool userMode_ = true;
  // The pictures of the control's own cursors as it handed them over, by number.
  std::map<int, QCursor> ownCursors_;
  automation::Guid clsid_{};
  EventHandler eventHandler_;
#ifdef ZELK_QT_PRINT
  std::unique_ptr<ocx::PrintServices> print_;
#endif
};

}  // namespace host::qt
