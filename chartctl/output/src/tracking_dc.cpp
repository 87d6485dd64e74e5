#include "output/tracking_dc.h"

namespace kvplotax::output {

TrackingDC::TrackingDC(gdi::DeviceContext* dc, bool owns) : dc_(dc), owns_(owns) {}

TrackingDC::~TrackingDC() {
  gdi::DeviceContext* dc = restoreAndDetach();
  if (owns_) delete dc;
}

gdi::Brush TrackingDC::selectBrush(const gdi::Brush& brush) {
  gdi::Brush old = dc_->selectBrush(brush);
  if (!initialBrush_) initialBrush_ = old;
  return old;
}

gdi::Pen TrackingDC::selectPen(const gdi::Pen& pen) {
  gdi::Pen old = dc_->selectPen(pen);
  if (!initialPen_) initialPen_ = old;
  return old;
}

gdi::FontHandle TrackingDC::selectFont(gdi::FontHandle font) {
  gdi::FontHandle old = dc_->selectFont(std::move(font));
  if (!initialFont_) initialFont_ = old;
  return old;
}

int TrackingDC::selectClipRegion(const gdi::Region* region) {
  recordRegionOnce();
  return dc_->selectClipRegion(region);
}

int TrackingDC::selectClipRect(const gdi::Rect& rect) {
  recordRegionOnce();
  return dc_->selectClipRect(rect);
}

void TrackingDC::recordRegionOnce() {
  if (initialRegion_) return;
  const gdi::Region* current = dc_->clipRegion();
  initialRegion_.emplace(current ? std::optional<gdi::Region>(*current) : std::nullopt);
}

void TrackingDC::recordCurrentObjects() {
  initialBrush_ = dc_->brush();
  initialPen_ = dc_->pen();
  initialFont_ = dc_->font();
  initialRegion_.reset();
  recordRegionOnce();
}

int TrackingDC::excludeClipRect(const gdi::Rect& rect) {
  recordRegionOnce();
  return dc_->excludeClipRect(rect);
}

gdi::DeviceContext* TrackingDC::restoreAndDetach() {
  gdi::DeviceContext* dc = dc_;
  if (!dc) return nullptr;
  if (initialBrush_) dc->selectBrush(*initialBrush_);
  if (initialPen_) dc->selectPen(*initialPen_);
  if (initialFont_) dc->selectFont(*initialFont_);
  if (initialRegion_) dc->selectClipRegion(*initialRegion_ ? &**initialRegion_ : nullptr);
  initialBrush_.reset();
  initialPen_.reset();
  initialFont_.reset();
  initialRegion_.reset();
  dc_ = nullptr;
  return dc;
}

}  // namespace kvplotax::output
