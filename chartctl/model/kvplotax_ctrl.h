// The chart control: one flat dispatch interface over the chart state.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "chart_state.h"
#include "ocx/control.h"

namespace kvplotax {

// The off-screen drawing surface, made by the output layer once the control has a window.
class DrawSurface;

class CKvplotaxCtrl : public ocx::Control {
 public:
  CKvplotaxCtrl();
  ~CKvplotaxCtrl() override;

  // Number of control objects alive in this module.
  static int liveCount();

  automation::DispId idOfName(std::string_view name) const override;
  automation::Variant get(automation::DispId id) override;
  void put(automation::DispId id, const automation::Variant& value) override;
  automation::Variant call(automation::DispId id, std::span<automation::Variant> args) override;
  using automation::Dispatch::call;
  using automation::Dispatch::get;
  using automation::Dispatch::put;

  void initNew() override;
  void onWindowCreated(std::uintptr_t hwnd) override;
  void onResize(int width, int height) override;
  void onPaint(gdi::DeviceContext& dc, const gdi::Rect& bounds, const gdi::Rect& invalid) override;

  CChartState& state() { return state_; }
  const CChartState& state() const { return state_; }
  bool hasSurface() const { return surface_ != nullptr; }
  // The output layer attaches the drawing surface once the window exists, and detaches it (null)
  // before the window goes.
  void setSurface(DrawSurface* surface) { surface_ = surface; }
  bool firstPaintPending() const { return firstPaintPending_; }

  // Side effects shared by the property handlers.
  void changed(automation::DispId id);  // marks modified and tells the container
  void relayout();                      // plot area and viewports for the current client size
  void repaint();                       // the whole control, unless painting is disabled
  void invalidateArea(const gdi::Rect& area);  // a part of the control, unless painting is disabled
  void repaintAtDesignTime();  // pen, window and similar writes show at once while designing
  void autoSizeIfNeeded();
  // Shows the cursor of MousePointer when the mouse is over the control at run time.
  void refreshCursor();

  // Commands.
  void doAction(std::int16_t action);
  void doChannelAction(std::int16_t action);
  void doScaleAction(std::int16_t action);
  automation::Variant chartData(std::span<automation::Variant> args);
  automation::Variant printWindow(std::span<automation::Variant> args);
  void aboutBox();

  std::shared_ptr<automation::Dispatch> mouseIcon;

 protected:
  void onFontChanged() override;

 private:
  void firstPaint();
  void applyNewControlSetup();
  // While designing, every scale is laid out again after the geometry changed.
  void reinitScalesWhileDesigning();

  CChartState state_;
  DrawSurface* surface_ = nullptr;
  bool firstPaintPending_ = true;
  bool reset_ = false;
  bool autoSizing_ = false;
  static std::atomic<int> liveCount_;
};

}  // namespace kvplotax
