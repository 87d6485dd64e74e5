// The chart's surface, its life with the control's size and colour depth, the full and bezel
// redraws, invalidation, paint disabling, the paint routine and the frame rate. The control
// owns one; the drawing layers reach the surface through it.
#pragma once

#include <cstdint>
#include <string>

#include "gdi/device_context.h"
#include "gdi/geometry.h"
#include "output/draw_surface.h"
#include "output/frame_timer.h"
#include "output/viewport_object.h"

namespace ocx {
class Clipboard;
class PrintServices;
}  // namespace ocx

namespace kvplotax::output {

class ViewportVisitor {
 public:
  virtual void visit(ViewportObject& viewport) = 0;

 protected:
  ~ViewportVisitor() = default;
};

// What the painter asks of the control and of the other drawing layers.
class PaintHost : public SurfaceOwner {
 public:
  virtual void forEachViewport(ViewportVisitor& visitor) = 0;
  // The background inside the bezel, as the screen shows it.
  virtual gdi::ColorRef backColor() const = 0;
  // Outline, bevels and border; each shrinks work by what it drew.
  virtual void drawBezel(DrawSurface& /*surface*/, gdi::Rect& /*work*/) {}
  // Plot area and viewport rectangles for the area inside the bezel.
  virtual void layoutViewports(const gdi::Rect& /*work*/) {}
  virtual void layoutGraticule(const gdi::Rect& /*work*/) {}
  virtual void drawGraticule(DrawSurface& /*surface*/, const gdi::Rect& /*clip*/) {}
  // The surface is about to be made for a new size (a chance to fit the control to its chart).
  virtual void beforeSurfaceResize() {}
  // Paints what is invalid now instead of at the next round of the message loop.
  virtual void paintNow() {}
  // A full redraw has reached the screen.
  virtual void fullRedrawShown() {}
};

class ChartPainter {
 public:
  // What an output command came to.
  enum class OutputResult { kNoSurface, kNoImage, kInvalidFileName, kFailed, kDone };

  explicit ChartPainter(PaintHost& host);
  ~ChartPainter();
  ChartPainter(const ChartPainter&) = delete;
  ChartPainter& operator=(const ChartPainter&) = delete;

  // Surface.
  void createSurface(int width, int height);
  void destroySurface();
  void resize(int width, int height);
  DrawSurface& surface() { return surface_; }
  bool hasSurface() const { return static_cast<bool>(surface_); }
  // 256 for a 256-colour depth, else 16: what pens are built for.
  int colorCount() const { return colorDepth_ == kColor256 ? 256 : 16; }

  // Redraws.
  void fullRedraw();
  void bezelRedraw();
  // Redraws what erases left in every viewport, then the graticule over the whole surface when
  // anything was redrawn.
  void flushForOutput();
  // After a change of the whole picture: paints at once when the frame rate asks for it.
  void paintIfImmediate();

  // Invalidation and painting.
  void invalidate(const gdi::Rect& rect);
  // The end of a data delivery: area changed, shown at once for a negative frame rate.
  void dataDelivered(const gdi::Rect& area);
  // The control's paint entry. bounds is the control's rectangle on dc, invalid the part to
  // paint (empty: all of it); window is the control's window in run mode, 0 in design mode.
  void paint(gdi::DeviceContext& dc, const gdi::Rect& bounds, const gdi::Rect& invalid,
             std::uint32_t window);
  void disablePaint();
  // True when painting is enabled again (the caller then shows everything at once).
  bool enablePaint();
  bool paintDisabled() const { return (flags_ & kPaintDisabled) != 0; }
  bool fullRedrawPending() const { return (flags_ & kFullRedrawPending) != 0; }
  void markFullRedrawPending() { flags_ |= kFullRedrawPending; }
  int paintDisableCount() const { return disableCount_; }
  const gdi::Rect& pendingRect() const { return pending_; }
  const gdi::Rect& lastBounds() const { return lastBounds_; }

  // Output commands.
  OutputResult copyToClipboard(ocx::Clipboard& clipboard, bool append);
  OutputResult writeToDisk(const std::string& path);
  // Prints the chart: the window as the screen shows it once everything drawn has reached it,
  // or the surface's image when the control has no window. A DibErrorCode, 0 for success.
  std::uint16_t print(ocx::PrintServices* services);

  // Settings.
  static constexpr std::int32_t kColor256 = 2;
  // False when the value is the current one (nothing happens).
  bool setColorDepth(std::int32_t depth);
  std::int32_t colorDepth() const { return colorDepth_; }
  // A value restored from saved settings: recorded without a surface rebuild.
  void restoreColorDepth(std::int32_t depth) { colorDepth_ = depth; }
  // Through the property: recorded and applied to the frame timer.
  void setFramesPerSec(std::int32_t rate);
  // Restored from saved settings: recorded (a negative value paints at once) without starting
  // the timer.
  void restoreFramesPerSec(std::int32_t rate) { framesPerSec_ = rate; }
  std::int32_t framesPerSec() const { return framesPerSec_; }
  FrameTimer& frameTimer() { return timer_; }

 private:
  static constexpr std::uint32_t kFullRedrawPending = 1;
  static constexpr std::uint32_t kPaintDisabled = 2;

  bool flushViewports();
  DrawSurface snapshot(bool shareable);

  PaintHost& host_;
  DrawSurface surface_;
  gdi::Rect lastBounds_;
  std::uint32_t flags_ = 0;
  int disableCount_ = 0;
  gdi::Rect pending_;
  FrameTimer timer_;
  std::int32_t colorDepth_ = 0;
  std::int32_t framesPerSec_ = 0;
};

}  // namespace kvplotax::output
