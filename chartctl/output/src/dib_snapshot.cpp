#include "dib_snapshot.h"

#include "bitmap_file_writer.h"
#include "ocx/messages.h"
#include "ocx/services.h"

namespace kvplotax::output {

namespace {

// The snapshot's own context, like a context of the DIB driver on the copy.
std::unique_ptr<TrackingDC> ownContext() {
  return std::make_unique<TrackingDC>(new gdi::DeviceContext(), true);
}

}  // namespace

std::shared_ptr<DibSnapshot> DibSnapshot::fromBitmap(const gdi::Bitmap& source,
                                                     const gdi::Rect& bounds, SurfaceOwner* owner,
                                                     bool shareable) {
  if (source.isEmpty()) return nullptr;
  return std::make_shared<DibSnapshot>(source, bounds, owner, shareable);
}

DibSnapshot::DibSnapshot(gdi::Bitmap pixels, const gdi::Rect& bounds, SurfaceOwner* owner,
                         bool shareable)
    : SurfaceBody(ownContext(), bounds, owner), pixels_(std::move(pixels)), shareable_(shareable) {
  // Device bitmaps here hold 32 bits per pixel: the copy has no colour table, hence no palette.
  if (!pixels_.isEmpty()) dc().dc().selectBitmap(&pixels_);
}

DibSnapshot::~DibSnapshot() { dc().dc().selectBitmap(nullptr); }

std::vector<std::uint8_t> DibSnapshot::packedDib() const {
  if (pixels_.isEmpty()) return {};
  const gdi::PackedDib dib = gdi::PackedDib::fromBitmap(pixels_, 32);
  return {dib.bytes().begin(), dib.bytes().end()};
}

std::shared_ptr<SurfaceBody> DibSnapshot::makeCopy(int, bool shareable) const {
  return fromBitmap(pixels_, bounds(), owner(), shareable);
}

bool DibSnapshot::putOnClipboard(ocx::Clipboard& clipboard) {
  std::vector<std::uint8_t> block = packedDib();
  if (block.empty()) return false;
  if (!clipboard.setData(ocx::kCfDib, std::move(block))) return false;
  // The clipboard owns the image now.
  detachImage();
  return true;
}

bool DibSnapshot::writeToFile(const std::string& path) {
  const std::vector<std::uint8_t> block = packedDib();
  if (block.empty()) return false;
  return writeBitmapFile(path, block);
}

SurfaceImage DibSnapshot::detachImage() {
  SurfaceImage image;
  image.dib = packedDib();
  dc().dc().selectBitmap(nullptr);
  pixels_ = gdi::Bitmap();
  return image;
}

bool DibSnapshot::copyToDc(gdi::DeviceContext& target, const gdi::Rect& src, gdi::Point dest) {
  if (pixels_.isEmpty() || src.isEmpty()) return false;
  const std::optional<gdi::PackedDib> dib = gdi::PackedDib::fromBytes(packedDib());
  if (!dib) return false;
  const gdi::Palette previous = target.selectPalette(palette_);
  target.realizePalette();
  const int rows =
      target.stretchDIBits(dest.x, dest.y, src.width(), src.height(), src.left,
                           pixels_.height() - src.bottom, src.width(), src.height(), *dib);
  target.selectPalette(previous);
  target.realizePalette();
  return rows > 0;
}

}  // namespace kvplotax::output
