// The chart's off-screen drawing surface. Every drawing layer draws through a DrawSurface; the
// screen only ever receives copies of its rectangles. A DrawSurface is a handle onto a shared
// SurfaceBody: copies of the handle share the body, which goes away with the last handle.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "gdi/bitmap.h"
#include "gdi/device_context.h"
#include "gdi/geometry.h"
#include "output/surface_owner.h"
#include "output/tracking_dc.h"

namespace ocx {
class Clipboard;
class PrintServices;
}  // namespace ocx

namespace kvplotax::output {

// Kinds of copy a surface can make of itself.
enum SurfaceCopyKind : int { kCopyAsDib = 0, kCopyAsBitmap = 1 };

// The pixels a surface hands over: a device bitmap or a packed DIB block.
struct SurfaceImage {
  gdi::Bitmap bitmap;
  std::vector<std::uint8_t> dib;
};

class SurfaceBody {
 public:
  SurfaceBody(std::unique_ptr<TrackingDC> dc, const gdi::Rect& bounds, SurfaceOwner* owner);
  // Selects the null brush, the null pen and the system font first, so that no chart object is
  // still selected when the context goes back to the pool.
  virtual ~SurfaceBody();
  SurfaceBody(const SurfaceBody&) = delete;
  SurfaceBody& operator=(const SurfaceBody&) = delete;

  // A copy of kind kCopyAsDib or kCopyAsBitmap; null for other kinds or when it cannot be made.
  virtual std::shared_ptr<SurfaceBody> makeCopy(int kind, bool shareable) const = 0;
  // Hands the image to an open clipboard as CF_DIB; false when this kind cannot.
  virtual bool putOnClipboard(ocx::Clipboard& clipboard);
  // Writes a bitmap file; false when this kind cannot or the file could not be written.
  virtual bool writeToFile(const std::string& path);
  // The caller takes the pixels; the surface keeps an empty image.
  virtual SurfaceImage detachImage() = 0;
  // Copies the surface rectangle src to dest on dc.
  virtual bool copyToDc(gdi::DeviceContext& dc, const gdi::Rect& src, gdi::Point dest) = 0;
  // The palette of the image, or null.
  virtual const gdi::Palette* palette() const { return nullptr; }
  // Prints the image best fit as the job "Plotrex"; kPrintNotDone when there is none.
  virtual std::uint16_t printImage(ocx::PrintServices* services);
  // Prints the owner's window as the screen shows it, or the image for an owner without a
  // window; kPrintNotDone when the owner's window has gone.
  std::uint16_t print(ocx::PrintServices* services);

  TrackingDC& dc() { return *dc_; }
  const gdi::Rect& bounds() const { return bounds_; }
  int width() const { return bounds_.right - bounds_.left; }
  int height() const { return bounds_.bottom - bounds_.top; }
  SurfaceOwner* owner() const { return owner_; }

 private:
  std::unique_ptr<TrackingDC> dc_;
  gdi::Rect bounds_;
  SurfaceOwner* owner_;
};

class DrawSurface {
 public:
  DrawSurface() = default;
  explicit DrawSurface(std::shared_ptr<SurfaceBody> body) : body_(std::move(body)) {}

  // The screen-compatible surface the chart draws into, width x height. A size that is not
  // positive gives a surface that shows nothing; one whose bitmap cannot be made gives none.
  static DrawSurface createBitmapSurface(int width, int height, SurfaceOwner* owner);

  explicit operator bool() const { return body_ != nullptr; }
  SurfaceBody* body() const { return body_.get(); }
  long references() const { return body_.use_count(); }

  DrawSurface makeCopy(int kind, bool shareable) const;
  bool putOnClipboard(ocx::Clipboard& clipboard) { return body_->putOnClipboard(clipboard); }
  bool writeToFile(const std::string& path) { return body_->writeToFile(path); }
  std::uint16_t print(ocx::PrintServices* services) { return body_->print(services); }
  SurfaceImage detachImage() { return body_->detachImage(); }

  // Drawing, all in surface pixels.
  void line(int x1, int y1, int x2, int y2);  // transparent background, end pixel excluded
  void polyline(std::span<const gdi::Point> points);
  void polygon(std::span<const gdi::Point> points);
  void rectangle(const gdi::Rect& rect);
  void fillRect(const gdi::Rect& rect, const gdi::Brush& brush);
  int excludeClipRect(const gdi::Rect& rect);
  int selectClipRegion(const gdi::Region* region);  // null removes clipping
  int selectClipRect(const gdi::Rect& rect);
  int setBkMode(int mode);

  // Asks the owner to show rect (clipped to the surface) at its next paint.
  void invalidate(const gdi::Rect& rect, bool erase);
  bool copyToDc(gdi::DeviceContext& dc, const gdi::Rect& src, gdi::Point dest) {
    return body_->copyToDc(dc, src, dest);
  }

  const gdi::Rect& bounds() const { return body_->bounds(); }
  int width() const { return body_->width(); }
  int height() const { return body_->height(); }
  const gdi::Palette* palette() const { return body_->palette(); }
  TrackingDC& trackingDc() { return body_->dc(); }
  gdi::DeviceContext& dc() { return body_->dc().dc(); }
  SurfaceOwner* owner() const { return body_->owner(); }

 private:
  std::shared_ptr<SurfaceBody> body_;
};

}  // namespace kvplotax::output
