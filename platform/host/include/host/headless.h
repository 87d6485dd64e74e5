// A form holding one control, without a screen of its own: the headless container used by
// tests, fuzzers, benchmarks and unattended runs. It owns the control's window (an image in
// memory), the window's message queue and paint cycle, and answers the control's site.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automation/automation.h"
#include "host/clipboard.h"
#include "host/image_file.h"

namespace host {

// postMessage() and waitForMessage() may be called from any thread, and the clipboard store is
// thread-safe; everything else belongs to the container's user-interface thread, the one that
// pumps.
class HeadlessContainer {
 public:
  // Sizes below 0 count as 0 and sides above 16384 (the largest square surface there is) as
  // 16384; logical pixels per inch below 1 as 96.
  HeadlessContainer(int width, int height, bool userMode = true, int logPixels = 96);
  ~HeadlessContainer();
  HeadlessContainer(const HeadlessContainer&) = delete;
  HeadlessContainer& operator=(const HeadlessContainer&) = delete;

  // Loads the control by class identifier, gives it this site, initialises it as a new
  // control, creates its window and sizes it; the first pump() paints it. A control created
  // before is destroyed first. Raises error 429 when no module provides the class.
  automation::Dispatch& create(const automation::Guid& clsid);
  // Raises error 91 before create().
  automation::Dispatch& control();

  // Bounded as by the constructor, also when the control asks for its size.
  void resize(int width, int height);
  int width() const;
  int height() const;

  // Run mode (true) or design mode; the control is told when it changes.
  void setUserMode(bool userMode);
  bool userMode() const;

  // Runs posted messages and pending paints, like a message loop, until neither is left. Paints
  // come after the posted messages, as on the platform. A control that keeps posting or
  // invalidating forever is cut off after a bounded number of rounds.
  void pump();
  // Blocks until a message is posted (e.g. by a timer) or the timeout passes; true when one is
  // waiting. Does not run it.
  bool waitForMessage(std::chrono::milliseconds timeout);
  // What a timer thread or another thread may call: posts to the control's window.
  // False when there is no window or the queue is full.
  bool postMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);

  // What the screen shows, 0x00BBGGRR; 0xFFFFFFFF outside the window.
  std::uint32_t pixel(int x, int y) const;
  PixelView screen() const;
  // .bmp or .png by the extension. False, with nothing half-written, on failure.
  bool writeScreen(const std::string& path) const;

  // Events the control fired, in order, with the values of their arguments at firing time.
  struct Event {
    automation::DispId id;
    std::vector<automation::Variant> args;
  };
  const std::vector<Event>& events() const;
  void clearEvents();
  // Called for every event after it is recorded, inside the control's firing call;
  // by-reference arguments may be written back.
  using EventHandler = std::function<void(automation::DispId, std::span<automation::Variant>)>;
  void setEventHandler(EventHandler handler);

  // Delivers WM_MOUSEMOVE, WM_*BUTTONDOWN, WM_*BUTTONUP and double-clicks with MK_* key flags.
  void mouse(int message, int x, int y, unsigned keys);
  // The Alt key's state, which mouse messages do not carry.
  void setAltDown(bool down);
  // The cursor shown at the last mouse position: a system IDC_* number, the control's own cursor
  // number (201-207), -1 for its MouseIcon picture, 0 for the container's own.
  int cursor() const;

  // The desktop's clipboard as this container's programs and control share it.
  Clipboard& clipboard();
  // The control's window handle, 0 before create().
  std::uintptr_t windowHandle() const;
  // Texts of the message boxes the control showed (answered at once).
  const std::vector<std::string>& messageBoxes() const;

  // Delivers WM_KEYDOWN, WM_KEYUP and WM_CHAR with MK_SHIFT / MK_CONTROL key flags.
  void key(int message, int virtualKey, unsigned keys = 0);
  // The control's persisted state, in the stream form and in the property-bag text form; empty
  // when the object is not a control.
  std::vector<std::uint8_t> saveStream();
  std::string saveBag();
  // Like create(), but the control loads saved state instead of starting as a new control.
  // Damaged data never fail the load: what cannot be read keeps its default.
  automation::Dispatch& load(const automation::Guid& clsid, std::span<const std::uint8_t> stream);
  automation::Dispatch& loadBag(const automation::Guid& clsid, std::string_view bag);
  // The default printer: "pdf:FILE" or a printer queue; "" for none. Without it the desktop's
  // default printer is used (host/printers.h).
  void setPrinter(const std::string& printer);
  // Answers every print progress dialog with Cancel, as an operator pressing it at once.
  void setCancelPrinting(bool cancel);
  // Shows a picture of the program's own as a window beside the control's, which window capture
  // and printing reach by the handle returned (never 0, never the control's). A program without
  // a window system shows there what its window would. A picture larger than a window can be
  // shows its top left part.
  std::uintptr_t showPicture(const PixelView& picture);

 private:
  class Window;
  std::unique_ptr<Window> window_;
};

}  // namespace host
