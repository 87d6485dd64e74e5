// The site a QtContainer gives its control: the sited control's window living inside the widget,
// which shows its screen image, wakes the GUI thread for posted messages and draws its cursors.
#pragma once

#include <QCursor>
#include <QEvent>
#include <atomic>
#include <map>
#include <memory>
#include <string>

#include "host/internal/sited_control.h"
#include "host/qt/qt_container.h"
#include "qt_clipboard.h"

namespace host::qt {

// The event that tells the GUI thread messages are waiting in the queue.
inline const QEvent::Type kMessagesPosted = static_cast<QEvent::Type>(QEvent::User + 0x5A1);

class QtContainer::Site final : public SitedControl {
 public:
  explicit Site(QtContainer& widget);
  ~Site() override;

  // Runs the messages queued now (GUI thread).
  void runPosted();

  // ocx::ControlSite
  int logPixelsX() const override;
  int logPixelsY() const override;
  void requestResize(int width, int height) override;
  ocx::Clipboard& clipboard() override { return clipboard_; }
  bool isAltDown() const override;
  void setCapture() override;
  void releaseCapture() override;
  void setCursor(int shape) override;
  void setCustomCursor(int shape, const ocx::CursorImage& image) override;
  void showMessage(const std::string& title, const std::string& text) override;
#ifdef ZELK_QT_PRINT
  // Printing and window capture through Qt: CUPS queues and the file printer, the screen read
  // from the X server.
  ocx::PrintServices* printServices() override;
#endif

 private:
  void screenChanged(const gdi::Rect& rect) override;
  void messagePosted() override;
  void windowDestroyed() override;

  QtContainer& widget_;
  // One wake-up event at a time is enough: it drains the whole queue.
  std::atomic<bool> wakePending_{false};
  QtSiteClipboard clipboard_{clipboardStore(), handleSlot()};
  // The pictures of the control's own cursors as it handed them over, by number.
  std::map<int, QCursor> ownCursors_;
#ifdef ZELK_QT_PRINT
  std::unique_ptr<ocx::PrintServices> print_;
#endif
};

}  // namespace host::qt
