#include "host/internal/paint_cycle.h"

#include <algorithm>
#include <utility>

namespace host {

namespace {

// A square of kMaxSide is the largest surface the drawing layer gives; past it the bitmap would
// come back empty.
int boundedSide(int value) { return std::clamp(value, 0, PaintCycle::kMaxSide); }

}  // namespace

PaintCycle::PaintCycle(int width, int height, gdi::ColorRef background)
    : background_(background),
      screen_(boundedSide(width), boundedSide(height), background),
      dc_(&screen_) {}

void PaintCycle::resize(int width, int height) {
  width = boundedSide(width);
  height = boundedSide(height);
  if (width == screen_.width() && height == screen_.height()) return;
  // Allocation failure raises before anything changes.
  gdi::Bitmap resized(width, height, background_);
  const int keepWidth = std::min(resized.width(), screen_.width());
  const int keepHeight = std::min(resized.height(), screen_.height());
  for (int y = 0; y < keepHeight; ++y) {
    std::copy_n(screen_.row(y), keepWidth, resized.row(y));
  }
  screen_ = std::move(resized);
  // The device context sizes its drawable area from the bitmap when it is selected.
  dc_.selectBitmap(&screen_);
  update_.clear();
  invalidateAll();
}

void PaintCycle::invalidate(const gdi::Rect& rect) {
  const gdi::Rect clipped = rect.intersect(screen_.bounds());
  if (!clipped.isEmpty()) update_.unite(clipped);
}

void PaintCycle::invalidateAll() { invalidate(screen_.bounds()); }

void PaintCycle::resetDeviceContext(const gdi::Region* clip) {
  // Each paint starts from a fresh context's defaults, whatever the last one left selected.
  dc_.selectBitmap(&screen_);
  dc_.selectPen(gdi::Pen());
  dc_.selectBrush(gdi::Brush());
  dc_.selectFont(nullptr);
  dc_.setBkMode(gdi::OPAQUE);
  dc_.setBkColor(0xFFFFFF);
  dc_.setTextColor(0);
  dc_.moveTo(0, 0);
  dc_.selectClipRegion(clip);
}

void PaintCycle::paint(const PaintEntry& entry) {
  // The two regions trade storage paint after paint, so a warm window paints without
  // allocating.
  std::swap(painting_, update_);
  update_.clear();
  const gdi::Rect invalid = painting_.bounds();
  resetDeviceContext(painting_.isEmpty() ? nullptr : &painting_);
  entry(dc_, screen_.bounds(), invalid);
}

}  // namespace host
