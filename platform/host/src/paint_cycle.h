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
  PaintCycle(int width, int height, gdi::ColorRef background);
  PaintCycle(const PaintCycle&) = delete;
  PaintCycle& operator=(const PaintCycle&) = delete;

  int width() const { return screen_.width(); }
  int height() const { return screen_.height(); }
  const gdi::Bitmap& screen() const { return screen_; }

  // The image keeps what it showed where the old and new sizes overlap; the rest shows the
  // background until painted. The whole window becomes invalid.
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
