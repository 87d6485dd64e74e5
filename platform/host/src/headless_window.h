// The headless container's window: the sited control with a screen that exists only in memory,
// the events it fired and the message boxes it showed kept for the caller, and printing onto
// the default printer the container was given.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "headless_print_services.h"
#include "host/headless.h"
#include "host/internal/sited_control.h"
#include "site_clipboard.h"

namespace host {

class HeadlessContainer::Window final : public SitedControl {
 public:
  Window(int width, int height, bool userMode, int logPixels);
  ~Window() override;

  // Inside the control's paint entry the control hears of the new size after it returns.
  void resize(int width, int height);
  // Runs posted messages and pending paints until neither is left, within a bounded number of
  // rounds.
  void pump();

  const std::vector<Event>& events() const { return events_; }
  void clearEvents() { events_.clear(); }
  void setAltDown(bool down) { altDown_ = down; }
  const std::vector<std::string>& messageBoxes() const { return messageBoxes_; }
  HeadlessPrintServices& print() { return print_; }

  // ocx::ControlSite
  int logPixelsX() const override { return logPixels_; }
  int logPixelsY() const override { return logPixels_; }
  void fireEvent(automation::DispId id, std::vector<automation::Variant> args) override;
  void requestResize(int width, int height) override { resize(width, height); }
  ocx::Clipboard& clipboard() override { return siteClipboard_; }
  bool isAltDown() const override { return altDown_; }
  void showMessage(const std::string& title, const std::string& text) override;
  ocx::PrintServices* printServices() override { return &print_; }

 private:
  // One round of pump(): false when nothing was waiting.
  bool pumpOne();
  bool applyRequestedResize();

  int logPixels_;
  SiteClipboard siteClipboard_{clipboardStore(), handleSlot()};
  std::optional<gdi::Point> requestedSize_;
  std::vector<Event> events_;
  bool altDown_ = false;
  std::vector<std::string> messageBoxes_;
  HeadlessPrintServices print_{{[this] { return handle(); },
                                [this]() -> const gdi::Bitmap& { return screen(); },
                                [this] { return pumpOne(); }}};
};

}  // namespace host
