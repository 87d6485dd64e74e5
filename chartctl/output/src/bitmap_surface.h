// The surface the chart draws into: a bitmap like the screen's, in a pooled memory context.
#pragma once

#include "output/draw_surface.h"

namespace kvplotax::output {

class BitmapSurface : public SurfaceBody {
 public:
  // A size that is not positive, or too large, gives an empty bitmap that draws nothing.
  BitmapSurface(int width, int height, SurfaceOwner* owner);
  ~BitmapSurface() override;

  std::shared_ptr<SurfaceBody> makeCopy(int kind, bool shareable) const override;
  SurfaceImage detachImage() override;
  bool copyToDc(gdi::DeviceContext& dc, const gdi::Rect& src, gdi::Point dest) override;
  std::uint16_t printImage(ocx::PrintServices* services) override;

  const gdi::Bitmap& bitmap() const { return bitmap_; }

 private:
  // The context outlives nothing it points at: the bitmap is selected out before it goes.
  gdi::Bitmap bitmap_;
};

}  // namespace kvplotax::output
