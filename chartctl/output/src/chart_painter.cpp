#include "output/chart_painter.h"

#include "output/printing.h"

#include "ocx/services.h"

namespace kvplotax::output {

namespace {

class SurfaceHandOut final : public ViewportVisitor {
 public:
  explicit SurfaceHandOut(const DrawSurface& surface) : surface_(surface) {}
  void visit(ViewportObject& viewport) override { viewport.setSurface(surface_); }

 private:
  const DrawSurface& surface_;
};

class RedrawAll final : public ViewportVisitor {
 public:
  void visit(ViewportObject& viewport) override { viewport.redrawAll(); }
};

class Flush final : public ViewportVisitor {
 public:
  void visit(ViewportObject& viewport) override { drew = viewport.flush() || drew; }
  bool drew = false;
};

}  // namespace

ChartPainter::ChartPainter(PaintHost& host) : host_(host) {}

ChartPainter::~ChartPainter() {
  destroySurface();
  timer_.setRate(0);
}

void ChartPainter::createSurface(int width, int height) {
  // The colour count is for the pens; a screen-compatible bitmap takes the screen's depth.
  surface_ = DrawSurface::createBitmapSurface(width, height, &host_);
  SurfaceHandOut handOut(surface_);
  host_.forEachViewport(handOut);
}

void ChartPainter::destroySurface() {
  const DrawSurface none;
  SurfaceHandOut takeAway(none);
  host_.forEachViewport(takeAway);
  surface_ = DrawSurface();
}

void ChartPainter::resize(int width, int height) {
  if (surface_ && surface_.width() == width && surface_.height() == height) {
    fullRedraw();
    return;
  }
  destroySurface();
  host_.beforeSurfaceResize();
  createSurface(width, height);
  fullRedraw();
}

void ChartPainter::fullRedraw() {
  if (!surface_) return;
  gdi::Rect work = surface_.bounds();
  surface_.selectClipRegion(nullptr);
  host_.drawBezel(surface_, work);
  surface_.fillRect(work, gdi::Brush::solid(host_.backColor()));
  host_.layoutViewports(work);
  RedrawAll redraw;
  host_.forEachViewport(redraw);
  host_.layoutGraticule(work);
  host_.drawGraticule(surface_, work);
  invalidate(surface_.bounds());
  flags_ |= kFullRedrawPending;
}

void ChartPainter::bezelRedraw() {
  if (!surface_) return;
  gdi::Rect work = surface_.bounds();
  surface_.selectClipRegion(nullptr);
  host_.drawBezel(surface_, work);
  host_.layoutGraticule(work);
  host_.drawGraticule(surface_, work);
  invalidate(surface_.bounds());
  flags_ |= kFullRedrawPending;
}

bool ChartPainter::flushViewports() {
  Flush flush;
  host_.forEachViewport(flush);
  return flush.drew;
}

void ChartPainter::flushForOutput() {
  if (!surface_) return;
  if (flushViewports()) host_.drawGraticule(surface_, surface_.bounds());
}

void ChartPainter::paintIfImmediate() {
  if (framesPerSec_ < 0 && !paintDisabled()) host_.paintNow();
}

void ChartPainter::invalidate(const gdi::Rect& rect) {
  if (rect.isEmpty()) return;
  if (paintDisabled()) {
    pending_ = pending_.unite(rect);
    return;
  }
  if (!surface_) return;
  surface_.invalidate(rect, true);
}

void ChartPainter::dataDelivered(const gdi::Rect& area) {
  invalidate(area);
  flags_ |= kFullRedrawPending;
  paintIfImmediate();
}

void ChartPainter::paint(gdi::DeviceContext& dc, const gdi::Rect& bounds, const gdi::Rect& invalid,
                         std::uint32_t window) {
  if (window != 0) timer_.setWindow(window);
  if (bounds != lastBounds_) {
    // The full redraw that follows invalidates the control, which paints again.
    lastBounds_ = bounds;
    resize(bounds.width(), bounds.height());
    return;
  }
  const gdi::Rect show = (invalid.isEmpty() ? bounds : invalid).offset(-bounds.left, -bounds.top);
  if (!show.isEmpty()) {
    if (paintDisabled()) {
      pending_ = pending_.unite(show);
    } else if (surface_) {
      flushViewports();
      const bool full = fullRedrawPending();
      if (full) host_.drawGraticule(surface_, show);
      surface_.copyToDc(dc, show, {bounds.left + show.left, bounds.top + show.top});
      if (full) {
        host_.fullRedrawShown();
        flags_ &= ~kFullRedrawPending;
      }
    }
  }
  timer_.acknowledgeFrame();
}

void ChartPainter::disablePaint() {
  if (++disableCount_ == 1) {
    flags_ |= kPaintDisabled;
    pending_ = {};
  }
}

bool ChartPainter::enablePaint() {
  if (--disableCount_ > 0) return false;
  disableCount_ = 0;
  flags_ &= ~kPaintDisabled;
  const gdi::Rect pending = pending_;
  pending_ = {};
  invalidate(pending);
  return true;
}

DrawSurface ChartPainter::snapshot(bool shareable) {
  return surface_.makeCopy(kCopyAsDib, shareable);
}

ChartPainter::OutputResult ChartPainter::copyToClipboard(ocx::Clipboard& clipboard, bool append) {
  if (!surface_) return OutputResult::kNoSurface;
  flushForOutput();
  DrawSurface copy = snapshot(true);
  if (!copy) return OutputResult::kNoImage;
  if (!clipboard.open()) return OutputResult::kFailed;
  // Replacing empties the clipboard; adding keeps the other formats (an image is replaced).
  const bool ready = append || clipboard.empty();
  const bool put = ready && copy.putOnClipboard(clipboard);
  clipboard.close();
  return put ? OutputResult::kDone : OutputResult::kFailed;
}

ChartPainter::OutputResult ChartPainter::writeToDisk(const std::string& path) {
  if (!surface_) return OutputResult::kNoSurface;
  flushForOutput();
  DrawSurface copy = snapshot(false);
  if (!copy) return OutputResult::kNoImage;
  if (path.empty()) return OutputResult::kInvalidFileName;
  return copy.writeToFile(path) ? OutputResult::kDone : OutputResult::kFailed;
}

std::uint16_t ChartPainter::print(ocx::PrintServices* services) {
  if (!surface_) return kPrintNotDone;
  flushForOutput();
  host_.paintNow();
  return surface_.print(services);
}

bool ChartPainter::setColorDepth(std::int32_t depth) {
  if (depth == colorDepth_) return false;
  colorDepth_ = depth;
  if (surface_) {
    const int width = surface_.width();
    const int height = surface_.height();
    destroySurface();
    createSurface(width, height);
    fullRedraw();
  }
  return true;
}

void ChartPainter::setFramesPerSec(std::int32_t rate) {
  framesPerSec_ = rate;
  timer_.setRate(rate);
}

}  // namespace kvplotax::output
