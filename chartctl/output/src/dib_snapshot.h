// A device-independent copy of the chart's surface, made for the clipboard and for bitmap files.
// It lives only for the one command that made it.
#pragma once

#include <memory>
#include <optional>

#include "gdi/packed_dib.h"
#include "output/draw_surface.h"

namespace kvplotax::output {

class DibSnapshot : public SurfaceBody {
 public:
  // Null when the source has no pixels.
  static std::shared_ptr<DibSnapshot> fromBitmap(const gdi::Bitmap& source, const gdi::Rect& bounds,
                                                 SurfaceOwner* owner, bool shareable);
  DibSnapshot(gdi::Bitmap pixels, const gdi::Rect& bounds, SurfaceOwner* owner, bool shareable);
  ~DibSnapshot() override;

  std::shared_ptr<SurfaceBody> makeCopy(int kind, bool shareable) const override;
  bool putOnClipboard(ocx::Clipboard& clipboard) override;
  bool writeToFile(const std::string& path) override;
  SurfaceImage detachImage() override;
  bool copyToDc(gdi::DeviceContext& dc, const gdi::Rect& src, gdi::Point dest) override;
  const gdi::Palette* palette() const override { return &palette_; }

  bool shareable() const { return shareable_; }
  // The packed DIB of the current pixels: information header, colour table, bottom-up rows.
  // Empty once the image has been handed over.
  std::vector<std::uint8_t> packedDib() const;

 private:
  gdi::Bitmap pixels_;
  gdi::Palette palette_;
  bool shareable_;
};

}  // namespace kvplotax::output
