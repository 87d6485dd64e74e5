// A minimal container for tests: answers the ambient properties and records what the control
// asks of it.
#pragma once

#include <memory>
#include <vector>

#include "ocx/control_site.h"

namespace kvplotax::test {

class RecordingClipboard : public ocx::Clipboard {
 public:
  bool open() override { return true; }
  bool empty() override { return true; }
  bool setData(unsigned, std::vector<std::uint8_t>) override { return true; }
  bool close() override { return true; }
  bool hasFormat(unsigned) const override { return false; }
  std::vector<std::uint8_t> data(unsigned) const override { return {}; }
  bool ownedByCaller() const override { return false; }
};

class TestSite : public ocx::ControlSite {
 public:
  explicit TestSite(int width = 500, int height = 300, bool userMode = true, int dpi = 96)
      : width_(width), height_(height), userMode_(userMode), dpi_(dpi) {}

  bool ambientUserMode() const override { return userMode_; }
  int logPixelsX() const override { return dpi_; }
  int logPixelsY() const override { return dpi_; }
  gdi::Point clientSize() const override { return {width_, height_}; }
  void onPropertyChanged(automation::DispId id) override { changed.push_back(id); }
  void fireEvent(automation::DispId id, std::vector<automation::Variant>) override {
    events.push_back(id);
  }
  void invalidate(const gdi::Rect& rect) override { invalidated.push_back(rect); }
  void invalidateAll() override { ++wholeInvalidations; }
  void updateWindow() override { ++updates; }
  bool postMessage(unsigned, std::uintptr_t, std::intptr_t) override { return true; }
  void requestResize(int width, int height) override { resizeRequests.push_back({width, height}); }
  std::unique_ptr<ocx::PeriodicTimer> startPeriodicTimer(unsigned, std::function<void()>) override {
    return nullptr;
  }
  ocx::Clipboard& clipboard() override { return clipboard_; }
  bool cursorPosition(gdi::Point& where) const override {
    where = {10, 10};
    return mouseOver;
  }
  void setCursor(int shape) override { cursors.push_back(shape); }

  void setUserMode(bool userMode) { userMode_ = userMode; }

  std::vector<automation::DispId> changed;
  std::vector<automation::DispId> events;
  std::vector<gdi::Rect> invalidated;
  std::vector<gdi::Point> resizeRequests;
  std::vector<int> cursors;
  bool mouseOver = false;
  int wholeInvalidations = 0;
  int updates = 0;

 private:
  int width_;
  int height_;
  bool userMode_;
  int dpi_;
  RecordingClipboard clipboard_;
};

}  // namespace kvplotax::test
