#include "output/draw_surface.h"

#include <new>

#include "bitmap_surface.h"
#include "ocx/printing.h"
#include "output/printing.h"

namespace kvplotax::output {

SurfaceBody::SurfaceBody(std::unique_ptr<TrackingDC> dc, const gdi::Rect& bounds,
                         SurfaceOwner* owner)
    : dc_(std::move(dc)), bounds_(bounds), owner_(owner) {}

SurfaceBody::~SurfaceBody() {
  dc_->selectBrush(gdi::Brush::null());
  dc_->selectPen(gdi::Pen::null());
  dc_->selectFont(nullptr);
}

bool SurfaceBody::putOnClipboard(ocx::Clipboard&) { return false; }

bool SurfaceBody::writeToFile(const std::string&) { return false; }

std::uint16_t SurfaceBody::printImage(ocx::PrintServices*) { return kPrintNotDone; }

std::uint16_t SurfaceBody::print(ocx::PrintServices* services) {
  const std::uintptr_t window = owner_ ? owner_->surfaceWindow() : 0;
  if (window == 0) return printImage(services);
  if (!services || !services->windowRect(window, ocx::CaptureArea::kWindow)) return kPrintNotDone;
  return CaptureAndPrintWindow(services, window, kPrintWindow, kPrintBestFit, 0, 0, "Plotrex");
}

DrawSurface DrawSurface::createBitmapSurface(int width, int height, SurfaceOwner* owner) {
  try {
    auto body = std::make_shared<BitmapSurface>(width, height, owner);
    // A size the bitmap cannot be made for is no surface: the output commands then report the
    // missing surface instead of drawing into nothing.
    if (width > 0 && height > 0 && body->bitmap().isEmpty()) return {};
    return DrawSurface(std::move(body));
  } catch (const std::bad_alloc&) {
    return {};
  }
}

DrawSurface DrawSurface::makeCopy(int kind, bool shareable) const {
  if (!body_) return {};
  return DrawSurface(body_->makeCopy(kind, shareable));
}

void DrawSurface::line(int x1, int y1, int x2, int y2) {
  gdi::DeviceContext& context = dc();
  const int oldMode = context.setBkMode(gdi::TRANSPARENT);
  const gdi::Point points[2] = {{x1, y1}, {x2, y2}};
  context.polyline(points);
  context.setBkMode(oldMode);
}

void DrawSurface::polyline(std::span<const gdi::Point> points) { dc().polyline(points); }

void DrawSurface::polygon(std::span<const gdi::Point> points) { dc().polygon(points); }

void DrawSurface::rectangle(const gdi::Rect& r) {
  dc().rectangle(r.left, r.top, r.right, r.bottom);
}

void DrawSurface::fillRect(const gdi::Rect& rect, const gdi::Brush& brush) {
  dc().fillRect(rect, brush);
}

int DrawSurface::excludeClipRect(const gdi::Rect& rect) {
  return trackingDc().excludeClipRect(rect);
}

int DrawSurface::selectClipRegion(const gdi::Region* region) {
  return trackingDc().selectClipRegion(region);
}

int DrawSurface::selectClipRect(const gdi::Rect& rect) { return trackingDc().selectClipRect(rect); }

int DrawSurface::setBkMode(int mode) { return dc().setBkMode(mode); }

void DrawSurface::invalidate(const gdi::Rect& rect, bool erase) {
  if (!body_ || !body_->owner()) return;
  const gdi::Rect clipped = rect.intersect(bounds());
  if (clipped.isEmpty()) return;
  body_->owner()->invalidateSurfaceRect(clipped, erase);
}

}  // namespace kvplotax::output
