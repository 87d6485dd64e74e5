#include "bitmap_surface.h"

#include "dib_snapshot.h"
#include "output/dib_conversions.h"
#include "output/printing.h"
#include "pooled_memory_dc.h"

namespace kvplotax::output {

namespace {

std::unique_ptr<TrackingDC> pooledContext() { return std::make_unique<PooledMemoryDC>(); }

}  // namespace

BitmapSurface::BitmapSurface(int width, int height, SurfaceOwner* owner)
    : SurfaceBody(pooledContext(), gdi::Rect{0, 0, std::max(width, 0), std::max(height, 0)}, owner),
      bitmap_(width, height) {
  if (!bitmap_.isEmpty()) static_cast<PooledMemoryDC&>(dc()).selectBitmap(&bitmap_);
}

BitmapSurface::~BitmapSurface() {
  // The base selects its null objects into the context before the pooled context restores
  // itself; the bitmap must not be selected when this object's storage goes.
  static_cast<PooledMemoryDC&>(dc()).selectBitmap(nullptr);
}

std::shared_ptr<SurfaceBody> BitmapSurface::makeCopy(int kind, bool shareable) const {
  if (kind == kCopyAsDib) return DibSnapshot::fromBitmap(bitmap_, bounds(), owner(), shareable);
  if (kind == kCopyAsBitmap) {
    auto copy = std::make_shared<BitmapSurface>(width(), height(), owner());
    if (!bitmap_.isEmpty()) copy->bitmap_ = bitmap_;
    return copy;
  }
  return nullptr;
}

SurfaceImage BitmapSurface::detachImage() {
  SurfaceImage image;
  static_cast<PooledMemoryDC&>(dc()).selectBitmap(nullptr);
  image.bitmap = std::move(bitmap_);
  bitmap_ = gdi::Bitmap();
  return image;
}

bool BitmapSurface::copyToDc(gdi::DeviceContext& target, const gdi::Rect& src, gdi::Point dest) {
  if (bitmap_.isEmpty() || src.isEmpty()) return false;
  return target.bitBlt(dest.x, dest.y, src.width(), src.height(), dc().dc(), src.left, src.top);
}

std::uint16_t BitmapSurface::printImage(ocx::PrintServices* services) {
  if (bitmap_.isEmpty()) return kPrintNotDone;
  // A true-colour screen has no system palette; the conversion then takes the default one.
  const std::optional<gdi::Palette> palette = CaptureSystemPalette(dc().dc());
  const std::optional<gdi::PackedDib> dib =
      BitmapToPackedDib(&bitmap_, palette ? &*palette : nullptr);
  if (!dib) return kPrintNotDone;
  return PrintPackedDib(services, &*dib, kPrintBestFit, 0, 0, "Plotrex");
}

}  // namespace kvplotax::output
