// Test doubles for the output layer: a recording chart item, a painter host with viewports, a
// clipboard and a timer device driven by hand.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "output/chart_painter.h"
#include "output/viewport_object.h"

namespace kvplotax::output::testing {

// Fills the rectangle it is asked to draw in its colour and logs each call.
class RecordingItem : public ChartItem {
 public:
  explicit RecordingItem(std::string name, gdi::ColorRef color = 0x0000FF)
      : name_(std::move(name)), color_(color) {}
  gdi::Rect drawnRect() const override { return area; }
  bool draw(DrawSurface& s, int first, int count, const gdi::Rect& clip) override {
    log.push_back("draw " + std::to_string(first) + "+" + std::to_string(count));
    s.fillRect(area.intersect(clip), gdi::Brush::solid(color_));
    return true;
  }
  bool redraw(DrawSurface& s, const gdi::Rect& clip) override {
    log.push_back("redraw");
    lastClip = clip;
    s.fillRect(area.intersect(clip), gdi::Brush::solid(color_));
    return true;
  }
  void erase(DrawSurface&, const gdi::Rect& clip) override {
    log.push_back("erase");
    lastClip = clip;
  }
  bool relayout(const gdi::Rect& oldBounds, const gdi::Rect& newBounds,
                gdi::Rect& changed) override {
    area = area.offset(newBounds.left - oldBounds.left, newBounds.top - oldBounds.top);
    changed = area;
    return true;
  }
  bool hitTest(gdi::Point p, HitInfo& hit) const override {
    if (!area.contains(p)) return false;
    hit.obj = 7;
    hit.objType = 1;
    return true;
  }
  void setVisible(bool v) override { visible = v; }
  void setStorage(bool on) override { storage = on; }

  gdi::Rect area{0, 0, 0, 0};
  gdi::Rect lastClip;
  std::vector<std::string> log;
  bool visible = false;
  bool storage = false;

 private:
  std::string name_;
  gdi::ColorRef color_;
};

class FakeHost : public PaintHost {
 public:
  explicit FakeHost(int viewports = 1) : viewports_(viewports) {}
  void invalidateSurfaceRect(const gdi::Rect& rect, bool) override { invalidated.push_back(rect); }
  void forEachViewport(ViewportVisitor& visitor) override {
    for (ViewportObject& v : viewports_) visitor.visit(v);
  }
  gdi::ColorRef backColor() const override { return back; }
  void layoutViewports(const gdi::Rect& work) override {
    for (ViewportObject& v : viewports_) v.setBounds(work);
  }
  void drawGraticule(DrawSurface&, const gdi::Rect& clip) override {
    graticuleClips.push_back(clip);
  }
  void paintNow() override { ++paintNowCalls; }
  void fullRedrawShown() override { ++shownCalls; }

  ViewportObject& viewport(int i) { return viewports_[i]; }

  gdi::ColorRef back = 0x808000;
  std::vector<gdi::Rect> invalidated;
  std::vector<gdi::Rect> graticuleClips;
  int paintNowCalls = 0;
  int shownCalls = 0;

 private:
  std::vector<ViewportObject> viewports_;
};

class FakeClipboard : public ocx::Clipboard {
 public:
  bool open() override {
    if (!canOpen) return false;
    isOpen = true;
    return true;
  }
  bool empty() override {
    entries.clear();
    ++empties;
    return isOpen;
  }
  bool setData(unsigned format, std::vector<std::uint8_t> data) override {
    if (!isOpen) return false;
    entries[format] = std::move(data);
    return true;
  }
  bool close() override {
    const bool was = isOpen;
    isOpen = false;
    return was;
  }
  bool hasFormat(unsigned format) const override { return entries.count(format) != 0; }
  std::vector<std::uint8_t> data(unsigned format) const override {
    auto it = entries.find(format);
    return it == entries.end() ? std::vector<std::uint8_t>{} : it->second;
  }
  bool ownedByCaller() const override { return true; }

  bool canOpen = true;
  bool isOpen = false;
  int empties = 0;
  std::map<unsigned, std::vector<std::uint8_t>> entries;
};

class ManualTimerDevice : public FrameTimerDevice {
 public:
  class Handle : public ocx::PeriodicTimer {
   public:
    explicit Handle(ManualTimerDevice& d) : device_(d) { ++device_.alive; }
    ~Handle() override { --device_.alive; }

   private:
    ManualTimerDevice& device_;
  };

  bool caps(ocx::TimerCaps& c) const override {
    c = timerCaps;
    return capsAnswer;
  }
  std::unique_ptr<ocx::PeriodicTimer> start(unsigned periodMs, unsigned resolutionMs,
                                            std::function<void()> cb) override {
    lastPeriod = periodMs;
    lastResolution = resolutionMs;
    callback = std::move(cb);
    if (!startWorks) return nullptr;
    return std::make_unique<Handle>(*this);
  }
  bool post(std::uint32_t window, std::uint32_t message, std::uint32_t, std::uint32_t) override {
    if (window == 0) return false;
    posts.push_back(message);
    return true;
  }

  ocx::TimerCaps timerCaps{1, 1000000};
  bool capsAnswer = true;
  bool startWorks = true;
  unsigned lastPeriod = 0;
  unsigned lastResolution = 0;
  int alive = 0;
  std::function<void()> callback;
  std::vector<std::uint32_t> posts;
};

}  // namespace kvplotax::output::testing
