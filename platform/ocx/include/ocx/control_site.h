// The container's side of an embedded control: ambient state, notifications and the desktop
// services the control reaches through its container.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "automation/automation.h"
#include "gdi/geometry.h"
#include "ocx/printing.h"
#include "ocx/services.h"

namespace ocx {

class DdeSite;

// A cursor's picture: 32-bit 0xAARRGGBB pixels row by row from the top, or PNG bytes.
struct CursorImage {
  int width = 0;
  int height = 0;
  int hotX = 0;
  int hotY = 0;
  std::vector<std::uint32_t> argb;
  std::vector<std::uint8_t> png;
};

class ControlSite {
 public:
  virtual ~ControlSite();

  // Ambient properties.
  virtual bool ambientUserMode() const = 0;  // true at run time, false in design mode
  virtual int logPixelsX() const = 0;        // the screen's logical pixels per inch
  virtual int logPixelsY() const = 0;
  virtual gdi::Point clientSize() const = 0;  // the control's current extent in pixels

  // Notifications.
  virtual void onPropertyChanged(automation::DispId id) = 0;
  virtual void onModifiedChanged(bool /*modified*/) {}
  // Event arguments passed by reference in the event interface are Variant::ref()s; the
  // container may write them back.
  virtual void fireEvent(automation::DispId id, std::vector<automation::Variant> args) = 0;

  // Painting: the container paints the invalid area through the control's paint entry.
  virtual void invalidate(const gdi::Rect& rect) = 0;
  virtual void invalidateAll() = 0;
  // Paints the pending invalid area now instead of at the next pump.
  virtual void updateWindow() {}

  // Thread-safe: may be called from any thread, e.g. a timer callback. The container delivers
  // the message to Control::onMessage on the UI thread. False when the message was not queued
  // (no window, or the queue is full): a caller waiting for it must not keep waiting.
  virtual bool postMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) = 0;

  // Asks the container to change the control's extent (the container answers with onResize).
  virtual void requestResize(int width, int height) = 0;

  // Periodic timer: the callback runs on a timer thread every periodMs milliseconds until the
  // returned handle is destroyed. Null when no timer could be started.
  virtual std::unique_ptr<PeriodicTimer> startPeriodicTimer(unsigned periodMs,
                                                            std::function<void()> callback) = 0;
  virtual TimerCaps timerCaps() const { return {}; }

  virtual Clipboard& clipboard() = 0;

  // The screen's colour of a system colour index (0 to 24, classic scheme by default).
  virtual gdi::ColorRef systemColor(int index) const;

  // Mouse and keyboard state for the mouse routine.
  virtual bool isAltDown() const { return false; }
  virtual void setCapture() {}
  virtual void releaseCapture() {}
  // Cursor shapes: 0 the container's own, a system IDC_* number, a control's own cursor number
  // (201 and up), -1 its custom picture.
  virtual void setCursor(int /*shape*/) {}
  // A cursor whose picture the control carries: a container that draws cursors uses the
  // image, others only the number.
  virtual void setCustomCursor(int shape, const CursorImage& /*image*/) { setCursor(shape); }
  // Whether the mouse is currently over the control, and where (client pixels).
  virtual bool cursorPosition(gdi::Point& /*where*/) const { return false; }

  // The container's part in DDE links to the control; null when it takes none.
  virtual DdeSite* ddeSite() { return nullptr; }

  // A modal message box (e.g. the About dialog).
  virtual void showMessage(const std::string& /*title*/, const std::string& /*text*/) {}

  // Printers, the print progress dialog and the screen; null where the container has none.
  virtual PrintServices* printServices() { return nullptr; }
};

}  // namespace ocx
