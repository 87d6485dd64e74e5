// The screen image of a headless window and its update region: invalidation accumulates the
// region, a paint hands it to the control through a device context clipped to it and leaves the
// window valid.
#pragma once

#include <functional>

#include "gdi/bitmap.h"
#include "gdi/device_context.h"
#include "gdi/region.h"

namespace host {

class PaintCycle {
 public:
  // The largest side of a window: the largest square surface the drawing layer gives.
  static constexpr int kMaxSide = 16384;

  // Sizes below 0 count as 0, sides above kMaxSide as kMaxSide. A surface memory cannot hold
  // raises std::bad_alloc.
  PaintCycle(int width, int height, gdi::ColorRef background);
  PaintCycle(const PaintCycle&) = delete;
  PaintCycle& operator=(const PaintCycle&) = delete;

  int width() const { return screen_.width(); }
  int height() const { return screen_.height(); }
  const gdi::Bitmap& screen() const { return screen_; }

  // The image keeps what it showed where the old and new sizes overlap; the rest shows the
  // background until painted. The whole window becomes invalid. Sizes are bounded as by the
  // constructor; when memory cannot hold the new surface, std::bad_alloc leaves the window as it
  // was.
  void resize(int width, int height);

  // Parts outside the window are dropped.
  void invalidate(const gdi::Rect& rect);
  void invalidateAll();
  bool needsPaint() const { return !update_.isEmpty(); }

  // Paints: paint(dc, bounds, invalid). The region is taken (the window validated) before the
  // call, so invalidation during the paint waits for the next one. With nothing invalid (a
  // posted paint request) the device context covers the whole window and invalid is empty.
  using PaintEntry = std::function<void(gdi::DeviceContext&, const gdi::Rect&, const gdi::Rect&)>;
  void paint(const PaintEntry& entry);

 private:
  void resetDeviceContext(const gdi::Region* clip);

  gdi::ColorRef background_;
  gdi::Bitmap screen_;
  gdi::DeviceContext dc_;
  gdi::Region update_;
  gdi::Region painting_;  // the region of the paint in progress
};

}  // namespace host
