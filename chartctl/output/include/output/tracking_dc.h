// A device-context wrapper that puts back what it displaced: the brush, pen, font and clip
// region a context had when they were first replaced through the wrapper are selected again
// when the wrapper goes away, so that no chart object stays selected in a context it outlives.
#pragma once

#include <optional>

#include "gdi/device_context.h"

namespace kvplotax::output {

class TrackingDC {
 public:
  // With owns set the wrapper deletes the context when it goes away.
  TrackingDC(gdi::DeviceContext* dc, bool owns);
  virtual ~TrackingDC();
  TrackingDC(const TrackingDC&) = delete;
  TrackingDC& operator=(const TrackingDC&) = delete;

  gdi::DeviceContext& dc() { return *dc_; }
  const gdi::DeviceContext& dc() const { return *dc_; }
  bool ownsDc() const { return owns_; }

  gdi::Brush selectBrush(const gdi::Brush& brush);
  gdi::Pen selectPen(const gdi::Pen& pen);
  gdi::FontHandle selectFont(gdi::FontHandle font);
  // Null removes clipping.
  int selectClipRegion(const gdi::Region* region);
  int selectClipRect(const gdi::Rect& rect);
  // Changes the clip region too, so the region it had is recorded first.
  int excludeClipRect(const gdi::Rect& rect);

 protected:
  // Records the brush, pen, font and region the context holds now as the ones to put back.
  void recordCurrentObjects();
  // Records the context's clip region as the one to put back, unless one is recorded already.
  void recordRegionOnce();
  // Puts the recorded objects back and hands the context over (null afterwards); the caller
  // decides what happens to it.
  gdi::DeviceContext* restoreAndDetach();

 private:
  gdi::DeviceContext* dc_;
  bool owns_;
  std::optional<gdi::Brush> initialBrush_;
  std::optional<gdi::Pen> initialPen_;
  std::optional<gdi::FontHandle> initialFont_;
  // Outer: whether recorded; inner: the region (none = the context was not clipped).
  std::optional<std::optional<gdi::Region>> initialRegion_;
};

}  // namespace kvplotax::output
