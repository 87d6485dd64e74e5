// The chart control: one flat dispatch interface over the chart state.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "chart_state.h"
#include "ocx/control.h"
#include "ocx/dde_link.h"
#include "ocx/page_support.h"
#include "output/chart_painter.h"
#include "output/site_timer_device.h"
#include "scale/scale_item_set.h"

namespace kvplotax {

class CKvplotaxCtrl : public ocx::Control,
                      public output::PaintHost,
                      public scale::ScaleHost,
                      public ocx::PageSupport,
                      public ocx::DdeDataSource {
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
  void onWindowDestroyed() override;
  void onResize(int width, int height) override;
  void onPaint(gdi::DeviceContext& dc, const gdi::Rect& bounds, const gdi::Rect& invalid) override;
  // The chart's mouse routine (events with hit detection), then the framework's handling.
  void onMouse(unsigned message, int x, int y, unsigned keys) override;
  bool onSetCursor(gdi::Point where) override;

  CChartState& state() { return state_; }
  const CChartState& state() const { return state_; }
  // The drawing surface exists from the first paint after the window was created.
  bool hasSurface() const { return painter_.hasSurface(); }
  output::ChartPainter& painter() { return painter_; }
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
  // Traces and scales erase in the current BackColor and ViewportStorageColor.
  void eraseColorsChanged();
  // A new ChnDspStyle shows at once on the channel's trace at run time.
  void applyChannelStyle(std::int32_t channel, std::int32_t style);
  automation::Variant chartData(std::span<automation::Variant> args);
  automation::Variant printWindow(std::span<automation::Variant> args);
  void aboutBox();

  std::shared_ptr<automation::Dispatch> mouseIcon;

  // ocx::PageSupport: the selector lists and selectors of the property pages.
  std::int32_t List(automation::DispId selector, std::int32_t* buffer,
                    std::int32_t* count) override;
  std::int32_t Set(automation::DispId selector, std::int32_t value) override;
  std::int32_t Get(automation::DispId selector, std::int32_t* value) override;
  // ocx::DdeDataSource: the picture in the bitmap and device-independent bitmap formats.
  ocx::DdeDataSource* ddeDataSource() override { return this; }
  std::int32_t formatFlags(unsigned format, std::int32_t mode) override;
  std::int32_t getData(unsigned format, std::vector<std::uint8_t>& data) override;
  std::int32_t setData(unsigned format, std::span<const std::uint8_t> data) override;
  std::int32_t linkAdvise(std::int32_t link) override;
  std::int32_t linkUnadvise(std::int32_t link) override;

  // output::PaintHost
  void invalidateSurfaceRect(const gdi::Rect& rect, bool erase) override;
  std::uintptr_t surfaceWindow() const override { return hWnd(); }
  void forEachViewport(output::ViewportVisitor& visitor) override;
  gdi::ColorRef backColor() const override;
  void drawBezel(output::DrawSurface& surface, gdi::Rect& work) override;
  void layoutViewports(const gdi::Rect& work) override;
  void drawGraticule(output::DrawSurface& surface, const gdi::Rect& clip) override;
  void paintNow() override;

  // scale::ScaleHost
  output::ViewportObject* scaleViewport(int number) override;
  gdi::Rect scaleViewportRect(int number) override;
  bool scaleWindowRange(int window, int dimension, float& min, float& extent) override;
  bool scalePenColors(int pen, gdi::ColorRef& normal, gdi::ColorRef& intense) override;
  scale::ScaleGraticule scaleGraticule() override;
  gdi::ColorRef scaleBackColor() override;
  gdi::ColorRef scaleStorageColor() override;
  bool scaleStorageOn(int viewport) override;
  output::DrawSurface* scaleSurface() override;
  void scaleAreaChanged(const gdi::Rect& area) override;

  // While designing, a changed scale is drawn again at once: the current dimension, or both
  // when the scale's window or viewport changed.
  void scaleChangedWhileDesigning(bool bothDimensions = false);
  // The items of a deleted scale leave the picture.
  void removeScaleItems(std::int16_t number);
  // Every scale item is laid out again, with the fonts as they are now.
  void relayoutScaleItems();
  // So are the scale items that channels of kind 101 own.
  void relayoutChannelScaleItems();

 protected:
  void onFontChanged() override;
  void doPropExchange(ocx::PropExchange& px) override;

 private:
  void chartMouse(unsigned message, int x, int y, unsigned keys);
  // The exchange of the control's own entries and, when loading, the rebuild after it.
  void exchangeEntries(ocx::PropExchange& px);
  void exchangeSettingMaps(ocx::PropExchange& px);
  void rebuildAfterLoad(std::int16_t pen, std::int16_t window, std::int16_t viewports,
                        std::int16_t viewport, std::int16_t xform, std::int16_t channel,
                        std::int16_t scale);
  void firstPaint();
  void handOutSurface();
  void applyNewControlSetup();
  // While designing, every scale is laid out again after the geometry changed.
  void reinitScalesWhileDesigning();
  // Initialises both axes of every scale but the one numbered except, keeping each scale's
  // dimension and the selection.
  void initializeEveryScale(std::int16_t except);
  // Channel commands on the selected channel c, already validated.
  void initializeChannel(std::int32_t c);
  trace::PenDrawing* buildPen(std::int32_t n);
  // The scale item of a channel of kind 101, for the scale numbered like it; home receives the
  // viewport object it belongs in.
  std::unique_ptr<output::ChartItem> makeChannelScale(std::int16_t number,
                                                      output::ViewportObject*& home);
  // A channel command on a channel of kind 101; returns the area it changed.
  gdi::Rect channelScaleAction(std::int32_t c, scale::ScaleItem& item, std::int16_t action);
  // Asks the client for a channel's samples again (the Refresh event).
  void fireRefresh(std::int16_t channel, std::int32_t samples);
  // Every trace follows its window's current world rectangle; scales are laid out again.
  void rescaleTraces();
  const scale::ScaleFonts& scaleFonts();
  const scale::ScaleFonts& fontsFor(const scale::ScaleRequest& request);
  scale::ScaleRequest scaleRequest(const ScaleObject& scale) const;

  CChartState state_;
  // The timer device outlives the painter, whose frame timer uses it; the painter goes before
  // the viewports it hands the surface to.
  std::unique_ptr<output::SiteTimerDevice> timerDevice_;
  output::ChartPainter painter_{*this};
  // Scale items sit in the viewports and are drawn on the painter's surface.
  scale::ScaleItemSet scales_;
  scale::ScaleFonts fonts_;
  bool firstPaintPending_ = true;
  bool reset_ = false;
  bool autoSizing_ = false;
  // While the client answers a Refresh event only ChartData reaches the items: a command that
  // rebuilt or moved items would pull them from under the re-mapping that asked.
  bool refreshing_ = false;
  // The last position a mouse event reported, in client pixels.
  std::optional<gdi::Point> lastMouse_;
  static std::atomic<int> liveCount_;
};

}  // namespace kvplotax
